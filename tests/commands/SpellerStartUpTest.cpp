#include <gtest/gtest.h>

#include <filesystem>

#include "commands/StartUp.h"
#include "platform/Help.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "shell/ShellState.h"
#include "spell/SpellerRegistry.h"
#include "support/MemoryMainWindow.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

// The first start gives the speller its registry: one key per installed dictionary.
TEST(SpellerStartUp, TheFirstStartRegistersTheInstalledDictionaries) {
  test::MemoryMainWindow window;
  SetMainWindow(&window);
  SetHelpViewer([](int) {});
  fs::remove(RegistryFileName());
  StartParameters = {};
  FormActivate();
  for (const auto& [language, dictionary] : {std::pair{2057, "/usr/share/hunspell/en_GB.dic"},
                                             {1033, "/usr/share/hunspell/en_US.dic"}}) {
    TRegistry registry(TRootKey::LocalMachine);
    ASSERT_TRUE(registry.OpenKeyReadOnly(SpellingKey(static_cast<TLanguage>(language))));
    EXPECT_EQ(registry.ReadString("Engine"), ExecutableDir() + "libquorrel-csapi.so");
    EXPECT_EQ(registry.ReadString("Dictionary"), dictionary);
  }
  SetHelpViewer(nullptr);
  for (const auto& entry : fs::directory_iterator(DocumentsFolder())) {
    if (entry.path().extension() == ".Ini") fs::remove(entry.path());
  }
}

}  // namespace
}  // namespace quorrel
