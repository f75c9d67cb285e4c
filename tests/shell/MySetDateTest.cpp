// Re-dating a file to the time a transfer brought.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "shell/Backups.h"
#include "shell/DBoxUnit.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"
#include "support/MemoryMainWindow.h"
#include "support/MemoryRich.h"
#include "support/OpenDocuments.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

class MySetDateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = test::TestHome() + "redate/";
    fs::create_directories(folder_);
    path_ = folder_ + "page.htm";
    std::ofstream(path_) << "<p>";
    SetMainWindow(&window_);
  }
  void TearDown() override {
    SetMainWindow(nullptr);
    CurrentEditor = nullptr;
    fs::remove_all(folder_);
  }
  test::MemoryMainWindow window_;
  std::string folder_;
  std::string path_;
};

TEST_F(MySetDateTest, TheCurrentDocumentTakesTheTimeAndKeepsItAsItsOwn) {
  TMyRich* editor = window_.NewTab();
  editor->SetTag(3);
  CurrentEditor = editor;
  CurrentFileName = path_;
  test::RecordOfSlot(3).FileAge = FileAge(path_);
  TransferFileTime = 1746515291;  // an odd second: whole seconds, not two

  EXPECT_TRUE(MySetDate(path_));
  EXPECT_EQ(FileAge(path_), 1746515291);
  EXPECT_EQ(Documents[3].FileAge, 1746515291) << "no time-stamp question about our own re-date";
  EXPECT_TRUE(Dialogs().Calls().empty());

  // Another file: the document's stored time stays.
  const std::string other = folder_ + "other.htm";
  std::ofstream(other) << "x";
  TransferFileTime = 1746515000;
  EXPECT_TRUE(MySetDate(other));
  EXPECT_EQ(FileAge(other), 1746515000);
  EXPECT_EQ(Documents[3].FileAge, 1746515291);
}

TEST_F(MySetDateTest, AFileThatCannotBeRedatedIsReportedExceptInAWholeSiteDownload) {
  struct Case {
    const char* what;
    std::string path;
    int64_t time;
    bool entireRun;
    bool reported;
  } cases[] = {
      {"missing file", folder_ + "gone.htm", 1746515290, false, true},
      {"no time known", path_, 0, false, true},
      {"missing, whole-site download", folder_ + "gone.htm", 1746515290, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Dialogs().Clear();
    TransferFileTime = c.time;
    EntireRun = c.entireRun;
    EXPECT_FALSE(MySetDate(c.path));
    if (c.reported) {
      ASSERT_EQ(Dialogs().Calls().size(), 1u);
      EXPECT_EQ(Dialogs().Last().text, MessageText("Could not redate " + c.path));
    } else {
      EXPECT_TRUE(Dialogs().Calls().empty());
    }
  }
  EntireRun = false;
}

}  // namespace
}  // namespace quorrel
