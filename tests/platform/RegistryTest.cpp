#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Registry.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel {
namespace {

using Names = std::vector<std::string>;

const char kKey[] = "\\SOFTWARE\\Microsoft\\Shared Tools\\Proofing Tools\\Spelling\\2057\\Normal";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::remove(RegistryFileName()); }
};

TEST_F(RegistryTest, KeysLiveInRegistryIniInTheUsersConfigurationFolder) {
  EXPECT_EQ(RegistryFileName(), test::TestHome() + ".config/Quorrel/Registry.ini");
  TRegistry writer(TRootKey::LocalMachine);
  ASSERT_TRUE(writer.OpenKey(kKey, true));
  writer.WriteString("Engine", "/opt/q/libquorrel-csapi.so");
  writer.WriteString("", "default");

  const std::string file = test::ReadFile(RegistryFileName());
  EXPECT_NE(file.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\Proofing "
                      "Tools\\Spelling\\2057\\Normal]"),
            std::string::npos)
      << file;
  EXPECT_NE(file.find("Engine=/opt/q/libquorrel-csapi.so"), std::string::npos) << file;

  // Another object, as another unit would make it, reads the same values.
  TRegistry reader(TRootKey::LocalMachine);
  ASSERT_TRUE(reader.OpenKeyReadOnly(kKey));
  EXPECT_EQ(reader.ReadString("Engine"), "/opt/q/libquorrel-csapi.so");
  EXPECT_EQ(reader.ReadString(""), "default");
  EXPECT_EQ(reader.ReadString("Missing"), "");
}

TEST_F(RegistryTest, KeyPathsAndValueNamesIgnoreCaseAndEmptyParts) {
  TRegistry writer(TRootKey::LocalMachine);
  ASSERT_TRUE(writer.OpenKey("\\Software\\Quorrel\\", true));
  writer.WriteString("Value", "1");
  for (const char* path :
       {"\\SOFTWARE\\QUORREL", "software\\quorrel", "\\\\software\\\\quorrel\\"}) {
    TRegistry reader(TRootKey::LocalMachine);
    ASSERT_TRUE(reader.OpenKeyReadOnly(path)) << path;
    EXPECT_EQ(reader.ReadString("VALUE"), "1") << path;
  }
}

TEST_F(RegistryTest, RootsAreSeparate) {
  TRegistry machine(TRootKey::LocalMachine);
  ASSERT_TRUE(machine.OpenKey("\\Software\\Quorrel", true));
  machine.WriteString("Where", "machine");
  TRegistry user(TRootKey::CurrentUser);
  EXPECT_FALSE(user.OpenKeyReadOnly("\\Software\\Quorrel"));
  EXPECT_FALSE(user.KeyExists("\\Software\\Quorrel"));
}

TEST_F(RegistryTest, OpeningAMissingKeyMakesItOnlyWhenAllowed) {
  TRegistry registry(TRootKey::LocalMachine);
  EXPECT_FALSE(registry.OpenKeyReadOnly(kKey));
  EXPECT_FALSE(registry.OpenKey(kKey, false));
  EXPECT_FALSE(registry.KeyExists(kKey));
  // A key made without any value still exists for the next reader, and so do the
  // keys above it.
  ASSERT_TRUE(registry.OpenKey(kKey, true));
  TRegistry other(TRootKey::LocalMachine);
  EXPECT_TRUE(other.KeyExists(kKey));
  EXPECT_TRUE(other.KeyExists("\\SOFTWARE\\Microsoft\\Shared Tools"));
  EXPECT_TRUE(other.OpenKeyReadOnly(kKey));
  EXPECT_EQ(other.GetValueNames(), Names{});
}

TEST_F(RegistryTest, AKeyOpenedReadOnlyRefusesWrites) {
  TRegistry writer(TRootKey::LocalMachine);
  ASSERT_TRUE(writer.OpenKey(kKey, true));
  writer.WriteString("Dictionary", "/usr/share/hunspell/en_GB.dic");
  TRegistry reader(TRootKey::LocalMachine);
  ASSERT_TRUE(reader.OpenKeyReadOnly(kKey));
  EXPECT_THROW(reader.WriteString("Dictionary", "other"), ERegistryError);
  EXPECT_FALSE(reader.DeleteValue("Dictionary"));
  EXPECT_EQ(reader.ReadString("Dictionary"), "/usr/share/hunspell/en_GB.dic");
  // With no key open there is nowhere to write.
  TRegistry closed(TRootKey::LocalMachine);
  EXPECT_THROW(closed.WriteString("Dictionary", "x"), ERegistryError);
  EXPECT_EQ(closed.ReadString("Dictionary"), "");
}

TEST_F(RegistryTest, RelativeKeysAreTakenFromTheOpenKey) {
  TRegistry registry(TRootKey::CurrentUser);
  ASSERT_TRUE(registry.OpenKey("\\Software\\Classes", true));
  ASSERT_TRUE(registry.OpenKey(".abc\\OpenWithList", true));
  EXPECT_EQ(registry.CurrentPath(), "Software\\Classes\\.abc\\OpenWithList");
  registry.WriteString("a", "Quorrel");
  ASSERT_TRUE(registry.OpenKeyReadOnly("\\Software\\Classes"));
  EXPECT_EQ(registry.GetKeyNames(), Names{".abc"});
}

TEST_F(RegistryTest, ValuesAndKeysAreDeleted) {
  TRegistry registry(TRootKey::CurrentUser);
  ASSERT_TRUE(registry.OpenKey("\\Software\\Quorrel\\Sub\\Deeper", true));
  registry.WriteString("x", "1");
  ASSERT_TRUE(registry.OpenKey("\\Software\\Quorrel", true));
  registry.WriteString("Keep", "1");
  registry.WriteString("Drop", "1");
  EXPECT_TRUE(registry.DeleteValue("drop"));
  EXPECT_FALSE(registry.DeleteValue("drop"));
  EXPECT_EQ(registry.GetValueNames(), Names{"Keep"});

  EXPECT_TRUE(registry.DeleteKey("\\Software\\Quorrel\\Sub"));
  EXPECT_FALSE(registry.KeyExists("\\Software\\Quorrel\\Sub\\Deeper"));
  EXPECT_FALSE(registry.KeyExists("\\Software\\Quorrel\\Sub"));
  EXPECT_TRUE(registry.KeyExists("\\Software\\Quorrel"));
  EXPECT_FALSE(registry.DeleteKey("\\Software\\Quorrel\\Sub"));
  // Deleting the open key closes it.
  EXPECT_TRUE(registry.DeleteKey("\\Software\\Quorrel"));
  EXPECT_EQ(registry.CurrentPath(), "");
  EXPECT_THROW(registry.WriteString("Keep", "2"), ERegistryError);
}

}  // namespace
}  // namespace quorrel
