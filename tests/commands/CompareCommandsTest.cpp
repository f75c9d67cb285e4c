// "Compare", "Compare with..." and "Compare folder": the compare program is a
// setting (here a script that hands its arguments back through a pipe), started
// with each path as one argument, one comparison at a time.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "commands/CompareCommands.h"
#include "platform/Processes.h"
#include "shell/CompareProgram.h"
#include "shell/Hooks.h"
#include "shell/SaveTestKit.h"
#include "shell/SmallForms.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

class CompareTest : public test::SaveFixture {
 protected:
  void SetUp() override {
    SaveFixture::SetUp();
    InstallCompareCommands();
    bin = test::TestHome() + "compare bin/";
    fs::create_directories(bin);
    pipe = bin + "arguments";
    fs::remove(pipe);
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // Each argument ends with a zero byte; then it stays, as a compare window would.
    recorder = Program("record args", "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > '" + pipe +
                                          "'\n"
                                          "exec tail -f /dev/null\n");
    SettingsIni->WriteString("System", "ExamDiff", recorder);
  }
  void TearDown() override {
    ResetProcesses();
    SetWhereForm(nullptr);
    FoldFormHook.Set(nullptr);
    fs::remove_all(bin);
    SaveFixture::TearDown();
  }

  std::string Program(const std::string& name, const std::string& body) {
    const std::string path = bin + name;
    std::ofstream(path) << "#!/bin/sh\n" << body;
    chmod(path.c_str(), 0755);
    return path;
  }
  // The arguments the compare program started last was given.
  std::vector<std::string> Arguments() {
    const int fd = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    std::string bytes;
    char buffer[4096];
    for (;;) {
      pollfd wait{fd, POLLIN, 0};
      // A guard against a program that never writes, not a timing of it.
      if (poll(&wait, 1, 20000) <= 0) {
        ADD_FAILURE() << "the compare program wrote nothing";
        break;
      }
      const ssize_t n = read(fd, buffer, sizeof buffer);
      if (n <= 0) break;
      bytes.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    std::vector<std::string> arguments;
    for (size_t at = 0, end; (end = bytes.find('\0', at)) != std::string::npos; at = end + 1) {
      arguments.push_back(bytes.substr(at, end - at));
    }
    return arguments;
  }
  static int Running() {
    int running = 0;
    for (const TProcessInfo& p : StartedProcesses()) running += p.running;
    return running;
  }

  std::string bin, pipe, recorder;
};

TEST_F(CompareTest, TheDocumentBesideItsBackUpOrAChosenFileOneComparisonAtATime) {
  fs::create_directories(site + "old site");
  const std::string path = Open("my page; v2.htm", "<p>new</p>\r\n");
  const std::string backup = Write("my page; v2.htm.Bak", "<p>old</p>\r\n");
  ASSERT_TRUE(MainMenu().Click("Compare"));
  EXPECT_EQ(Arguments(), (std::vector<std::string>{backup, path}));
  const int64_t first = LastStartedPid();
  EXPECT_EQ(Running(), 1);

  const std::string other = Write("old site/my page; v2.htm", "<p>older</p>\r\n");
  Dialogs().AnswerPath(other);
  ASSERT_TRUE(MainMenu().Click("CompareWith"));
  const auto& dialog = Dialogs().PathCalls().at(0).call;
  EXPECT_EQ(dialog.title, "File to compare with");
  EXPECT_EQ(dialog.filter, "All files|*.*");
  EXPECT_EQ(dialog.folder, site);
  EXPECT_FALSE(dialog.save);
  EXPECT_EQ(Arguments(), (std::vector<std::string>{other, path}));
  EXPECT_NE(LastStartedPid(), first);
  EXPECT_EQ(Running(), 1) << "the first comparison was ended";

  Dialogs().CancelPath();
  EXPECT_FALSE(MainMenu().Click("CompareWith"));
  EXPECT_EQ(Running(), 1);
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(CompareTest, AMissingBackUpIsReported) {
  const std::string path = Open("alone.txt", "text\r\n");
  EXPECT_FALSE(MainMenu().Click("Compare"));
  EXPECT_EQ(Dialogs().Last().text, path + ".Bak not found");
  EXPECT_TRUE(StartedProcesses().empty());
}

TEST_F(CompareTest, AProgramThatIsGoneIsAskedForAndRemembered) {
  const std::string gone = bin + "ExamDiff/ExamDiff";
  SettingsIni->WriteString("System", "ExamDiff", gone);
  const std::string path = Open("page.txt", "new\r\n");
  const std::string backup = Write("page.txt.Bak", "old\r\n");
  std::vector<std::pair<std::string, int>> asked;
  std::vector<std::string> answers = {bin + "typo", recorder};
  SetWhereForm([&](std::string& where, int help) {
    asked.push_back({where, help});
    if (asked.size() > answers.size()) return false;
    where = answers[asked.size() - 1];
    return true;
  });
  ASSERT_TRUE(MainMenu().Click("Compare"));
  ASSERT_EQ(asked.size(), 2u) << "asked again until the answer exists";
  EXPECT_EQ(asked[0], std::make_pair(gone, 32120));
  EXPECT_EQ(asked[1].first, bin + "typo");
  EXPECT_EQ(Arguments(), (std::vector<std::string>{backup, path}));
  EXPECT_EQ(SettingsIni->ReadString("System", "ExamDiff", ""), recorder);

  // Cancelled: nothing runs and nothing is said.
  ResetProcesses();
  SettingsIni->WriteString("System", "ExamDiff", gone);
  answers.clear();
  asked.clear();
  EXPECT_FALSE(MainMenu().Click("Compare"));
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_TRUE(StartedProcesses().empty());
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_EQ(SettingsIni->ReadString("System", "ExamDiff", ""), gone);
}

TEST_F(CompareTest, WithoutASettingTheFirstKnownProgramOnThePathIsUsed) {
  SettingsIni->DeleteKey("System", "ExamDiff");
  const std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
  setenv("PATH", bin.c_str(), 1);
  EXPECT_EQ(CompareProgram(), "");
  Program("kdiff3", "");
  EXPECT_EQ(CompareProgram(), "kdiff3");
  Program("meld", "");
  EXPECT_EQ(CompareProgram(), "meld");
  setenv("PATH", oldPath.c_str(), 1);
}

// The folder form is still to come: its item has no command and is greyed.
TEST_F(CompareTest, CompareFolderWaitsForTheFolderForm) {
  Open("page.txt", "text\r\n");
  EXPECT_FALSE(MainMenu().HasHandler("CompareFolder"));
  EXPECT_FALSE(MainMenu().Click("CompareFolder"));
}

}  // namespace
}  // namespace quorrel
