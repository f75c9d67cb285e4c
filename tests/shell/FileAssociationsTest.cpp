// File associations on real files in a temporary HOME, judged by the desktop's
// own tool: Debian's xdg-mime reads back the defaults and the new types.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/Abort.h"
#include "shell/FileAssociations.h"
#include "support/ReadOnlyFolder.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/ProgramOutput.h"
#include "support/XdgHome.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// What a program prints, with its trailing line end taken off.
std::string Output(const std::string& command) {
  std::string text = test::ProgramOutput(command);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// Every file under a folder with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
    if (entry.is_regular_file()) files[entry.path().string()] = Read(entry.path().string());
  }
  return files;
}

TEST(AssExtensionTest, CaptionsAndTypedNamesBecomeUpperCaseExtensions) {
  const struct {
    const char* caption;
    const char* extension;
  } cases[] = {
      {".HTML", ".HTML"},
      {".TXT    Already associated", ".TXT"},
      {"xyz", ".XYZ"},
      {".abc", ".ABC"},
      {"c++", ".C++"},
      {"my_type-2", ".MY_TYPE-2"},
      {"", ""},
      {".", ""},
      {"../etc", ""},
      {"a/b", ""},
      {"x;y", ""},
      {"\"x\"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(AssExtension(c.caption), c.extension) << c.caption;
}

TEST(AssMimeTypeTest, TypesComeFromTheSharedDatabaseOrAreOurOwn) {
  EXPECT_EQ(AssMimeType(".HTML"), "text/html");
  EXPECT_EQ(AssMimeType(".TXT"), "text/plain");
  EXPECT_EQ(AssMimeType(".QZQ"), "application/x-quorrel-qzq");
}

class FileAssociationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = test::TestHome() + "assoc/";
    xdg_ = std::make_unique<test::XdgHome>(home_);
  }
  void TearDown() override { xdg_.reset(); }
  // xdg-mime with the test's folders; "filetype" asks through GIO, which reads the
  // user's MIME database.
  std::string XdgMime(const std::string& arguments) {
    return Output("XDG_CURRENT_DESKTOP=GNOME xdg-mime query " + arguments + " 2>/dev/null");
  }
  std::string XdgDefault(const std::string& type) {
    return Output("env -u XDG_CURRENT_DESKTOP xdg-mime query default " + type + " 2>/dev/null");
  }

  std::string home_;
  std::unique_ptr<test::XdgHome> xdg_;
};

TEST_F(FileAssociationsTest, ChosenTypesBecomeTheDesktopsDefaultsAndReadBackAsOurs) {
  Associate(".HTML", "Web page");
  Associate(".TXT", "Text file");
  Associate(".ABC", "ABC music file");
  Associate(AssExtension("xyz"), "My <own> & type");
  AssociationsChanged();

  EXPECT_EQ(XdgDefault("text/html"), "quorrel.desktop");
  EXPECT_EQ(XdgDefault("text/plain"), "quorrel.desktop");
  std::ofstream(home_ + "tune.abc") << "X:1\n";
  std::ofstream(home_ + "notes.XYZ") << "x\n";
  EXPECT_EQ(XdgMime("filetype " + home_ + "tune.abc"), "application/x-quorrel-abc");
  EXPECT_EQ(XdgMime("filetype " + home_ + "notes.XYZ"), "application/x-quorrel-xyz");
  EXPECT_EQ(XdgDefault("application/x-quorrel-abc"), "quorrel.desktop");

  for (const char* ours : {".HTML", ".TXT", ".ABC", ".XYZ"}) EXPECT_TRUE(IsAssociated(ours)) << ours;
  for (const char* other : {".RTF", ".INI", ".JS"}) EXPECT_FALSE(IsAssociated(other)) << other;
  // ".HTM" is the same type as ".HTML": the desktop opens both with one program.
  EXPECT_TRUE(IsAssociated(".HTM"));

  // The package spells the description as XML; the entry runs this very program.
  const std::string package = Read(home_ + "data/mime/packages/quorrel-xyz.xml");
  EXPECT_NE(package.find("<comment>My &lt;own&gt; &amp; type</comment>"), std::string::npos);
  EXPECT_NE(package.find("<glob pattern=\"*.xyz\"/>"), std::string::npos);
  const std::string entry = Read(home_ + "data/applications/quorrel.desktop");
  EXPECT_NE(entry.find("Exec=" + fs::read_symlink("/proc/self/exe").string() + " %f\n"),
            std::string::npos);
  EXPECT_NE(entry.find("MimeType=text/html;text/plain;application/x-quorrel-abc;"
                       "application/x-quorrel-xyz;\n"),
            std::string::npos);
}

TEST_F(FileAssociationsTest, AnotherProgramsDefaultIsNotOursWhateverEntriesWeLeft) {
  fs::create_directories(home_ + "data/applications");
  std::ofstream(home_ + "data/applications/other.desktop")
      << "[Desktop Entry]\nType=Application\nName=Other\nExec=true %f\n";
  Associate(".TXT", "Text file");
  ASSERT_TRUE(IsAssociated(".TXT"));
  // Another program takes text/plain over; our desktop entry and our added
  // association stay behind.
  std::string list = Read(home_ + "config/mimeapps.list");
  list.replace(list.find("text/plain=quorrel.desktop;"), 27, "text/plain=other.desktop;");
  std::ofstream(home_ + "config/mimeapps.list") << list;
  EXPECT_EQ(XdgDefault("text/plain"), "other.desktop");
  EXPECT_FALSE(IsAssociated(".TXT"));
}

TEST_F(FileAssociationsTest, TheCurrentDesktopsOwnListComesFirst) {
  fs::create_directories(home_ + "data/applications");
  std::ofstream(home_ + "data/applications/other.desktop")
      << "[Desktop Entry]\nType=Application\nName=Other\nExec=true %f\n";
  Associate(".TXT", "Text file");
  std::ofstream(home_ + "config/gnome-mimeapps.list")
      << "[Default Applications]\ntext/plain=other.desktop;\n";
  const char* before = std::getenv("XDG_CURRENT_DESKTOP");
  const std::string old = before ? before : "";
  setenv("XDG_CURRENT_DESKTOP", "GNOME", 1);
  EXPECT_FALSE(IsAssociated(".TXT"));
  setenv("XDG_CURRENT_DESKTOP", "KDE", 1);
  EXPECT_TRUE(IsAssociated(".TXT"));
  if (before) {
    setenv("XDG_CURRENT_DESKTOP", old.c_str(), 1);
  } else {
    unsetenv("XDG_CURRENT_DESKTOP");
  }
}

TEST_F(FileAssociationsTest, OtherLinesOfMimeappsListAreKept) {
  std::ofstream(home_ + "config/mimeapps.list")
      << "[Default Applications]\nimage/png=viewer.desktop;\n\n"
         "[Added Associations]\ntext/html=browser.desktop;\n\n"
         "[Removed Associations]\ntext/x-c=editor.desktop;\n";
  Associate(".HTML", "Web page");
  EXPECT_EQ(Read(home_ + "config/mimeapps.list"),
            "[Default Applications]\nimage/png=viewer.desktop;\ntext/html=quorrel.desktop;\n\n"
            "[Added Associations]\ntext/html=quorrel.desktop;browser.desktop;\n\n"
            "[Removed Associations]\ntext/x-c=editor.desktop;\n");
  // Doing it again changes nothing.
  Associate(".HTML", "Web page");
  EXPECT_EQ(Read(home_ + "config/mimeapps.list").find("quorrel.desktop;quorrel"), std::string::npos);
}

TEST_F(FileAssociationsTest, ANewTypeWithoutTheDatabaseRebuildIsNotReportedAsDone) {
  Associate(".ABC", "ABC music file");
  const std::string path = std::getenv("PATH");
  setenv("PATH", home_.c_str(), 1);  // no update-mime-database there
  AssociationsChanged();
  setenv("PATH", path.c_str(), 1);
  ASSERT_FALSE(Dialogs().Texts().empty());
  EXPECT_EQ(Dialogs().Texts().back(), "Could not run update-mime-database on " + home_ +
                                          "data/mime: the new file types are not known yet.");
}

TEST_F(FileAssociationsTest, ReadingCreatesNothing) {
  for (const TAssType& type : AssTypes) EXPECT_FALSE(IsAssociated(type.extension));
  EXPECT_TRUE(Snapshot(home_).empty());
}

TEST_F(FileAssociationsTest, AFileThatCannotBeWrittenStopsTheCommandWithItsPath) {
  {
    test::ReadOnlyFolder locked(home_ + "data");
    ASSERT_TRUE(locked.Holds());
    EXPECT_THROW(Associate(".TXT", "Text file"), EAbort);
  }
  ASSERT_FALSE(Dialogs().Texts().empty());
  EXPECT_EQ(Dialogs().Texts().back(), "Could not create " + home_ + "data/applications/quorrel.desktop");
  EXPECT_FALSE(fs::exists(home_ + "config/mimeapps.list"));
}

}  // namespace
}  // namespace quorrel
