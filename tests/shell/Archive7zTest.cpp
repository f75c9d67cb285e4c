// Password-protected 7z archives opened with Debian's real 7z: the password reaches
// 7z on its input only, never in an argument list that every user of the machine
// can read, nor in a file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "platform/Abort.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "shell/Archive7z.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

// Every character a shell or 7z's own switch parser would take for something.
const std::string kPassword = "pa ss'\"$(id)`;&|<>*?\\!#-p~";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The user's side of a wait: runs `step` each time the wait lets events through.
class Meanwhile : public test::ScriptedDialogs {
 public:
  explicit Meanwhile(std::function<void()> step) : step_(std::move(step)) { SetUserDialogs(this); }
  ~Meanwhile() { SetUserDialogs(&test::Dialogs()); }
  void ProcessMessages() override { step_(); }

 private:
  std::function<void()> step_;
};

// What /proc shows every user about a running program.
struct TSeenFromOutside {
  std::string program;    // the file it runs
  std::string arguments;  // its argument list, NUL-separated
  std::string environment;
  std::string input;  // what its standard input is
};

TSeenFromOutside SeeFromOutside(int64_t pid) {
  const std::string proc = "/proc/" + std::to_string(pid) + "/";
  TSeenFromOutside seen;
  std::error_code error;
  seen.program = fs::read_symlink(proc + "exe", error).string();
  seen.arguments = ReadAll(proc + "cmdline");
  seen.environment = ReadAll(proc + "environ");
  seen.input = fs::read_symlink(proc + "fd/0", error).string();
  return seen;
}

class Archive7zTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = test::TestHome() + "archives/";
    fs::create_directories(folder_);
  }
  void TearDown() override {
    ResetProcesses();
    fs::remove_all(folder_);
  }

  // An archive made by the real 7z, the member's data encrypted, and with
  // `hideNames` its list of names too.
  std::string MakeArchive(const std::string& name, bool hideNames) {
    const std::string work = folder_ + name + ".d/";
    fs::create_directories(work + "notes");
    std::ofstream(work + "notes/member.txt", std::ios::binary) << "Member text\r\n";
    QStringList arguments = {"a", QString::fromStdString("-p" + kPassword)};
    if (hideNames) arguments << "-mhe=on";
    arguments << "--" << QString::fromStdString(folder_ + name) << "notes/member.txt";
    QProcess maker;
    maker.setWorkingDirectory(QString::fromStdString(work));
    maker.start("7z", arguments);
    EXPECT_TRUE(maker.waitForFinished(60000));
    EXPECT_EQ(maker.exitCode(), 0) << maker.readAllStandardError().toStdString();
    return folder_ + name;
  }

  // Files in the work folder holding the password.
  std::vector<std::string> FilesHoldingThePassword() {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(TempFolder())) {
      if (entry.is_regular_file() &&
          ReadAll(entry.path().string()).find(kPassword) != std::string::npos)
        found.push_back(entry.path().string());
    }
    return found;
  }

  std::string folder_;
};

TEST_F(Archive7zTest, ThePasswordIsNotInTheArgumentsOfTheRunning7z) {
  // The archive's name is a FIFO, which 7z waits at until the test has looked at
  // it from outside, so the look never races 7z's end. 7z then finds no archive
  // there; the archive itself is opened in the test below.
  const std::string held = folder_ + "held.7z";
  ASSERT_EQ(mkfifo(held.c_str(), 0600), 0);

  std::vector<TSeenFromOutside> seen;
  bool released = false;
  int looks = 0;
  const auto release = [&] {
    released = true;
    const int fd = open(held.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    close(fd);
  };
  Meanwhile user([&] {
    if (released) return;
    for (const TProcessInfo& process : StartedProcesses()) {
      if (!process.running) continue;
      TSeenFromOutside outside = SeeFromOutside(process.pid);
      // 7z itself, not the wrapper script that starts it, and past the moment of
      // its start when the system shows no arguments yet.
      if (fs::path(outside.program).filename() != "7z" || outside.arguments.empty()) continue;
      seen.push_back(outside);
      release();
      return;
    }
    // Never left waiting for a program that does not turn up under that name.
    if (++looks == 1000) {
      ADD_FAILURE() << "no running 7z seen";
      release();
    }
  });
  user.AnswerText(kPassword);
  EXPECT_THROW(ExtractFirstMember(held), EAbort);

  ASSERT_EQ(seen.size(), 1u);
  const std::string& arguments = seen[0].arguments;
  EXPECT_NE(arguments.find(std::string("l\0-slt\0--\0", 10) + held), std::string::npos)
      << "the listing run was the one seen";
  size_t start = 0;
  while (start < arguments.size()) {
    const std::string argument = arguments.substr(start, arguments.find('\0', start) - start);
    EXPECT_FALSE(argument.starts_with("-p")) << argument;
    start += argument.size() + 1;
  }
  for (const std::string& part : {kPassword, std::string("pa ss"), std::string("$(id)")}) {
    EXPECT_EQ(arguments.find(part), std::string::npos) << part;
    EXPECT_EQ(seen[0].environment.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(seen[0].input.rfind("pipe:", 0), 0u) << "a pipe, not a file: " << seen[0].input;
  ASSERT_EQ(user.Calls().size(), 1u);
  EXPECT_EQ(user.Last().text.rfind("7z could not read\r" + held, 0), 0u) << user.Last().text;
  EXPECT_TRUE(FilesHoldingThePassword().empty());
}

TEST_F(Archive7zTest, TheRightPasswordOpensAndAWrongOneIsReported) {
  struct Case {
    const char* what;
    bool hideNames;  // a wrong password fails the listing, else only the extraction
  } cases[] = {{"names hidden", true}, {"names listed", false}};
  for (const Case& c : cases) {
    const std::string archive =
        MakeArchive(std::string(c.hideNames ? "hidden" : "listed") + " $(x).7z", c.hideNames);

    test::Dialogs().Clear();
    test::Dialogs().AnswerText(kPassword);
    const std::string member = ExtractFirstMember(archive);
    EXPECT_EQ(member, TempFolder() + "member.txt") << c.what;
    EXPECT_EQ(ReadAll(member), "Member text\r\n") << c.what;
    EXPECT_TRUE(test::Dialogs().Calls().empty()) << c.what;
    EXPECT_TRUE(FilesHoldingThePassword().empty()) << c.what;
    fs::remove(member);

    test::Dialogs().AnswerText(kPassword + "x");
    EXPECT_THROW(ExtractFirstMember(archive), EAbort) << c.what;
    ASSERT_EQ(test::Dialogs().Calls().size(), 1u) << c.what;
    EXPECT_EQ(test::Dialogs().Last().text, "Wrong password for\r" + archive) << c.what;
    EXPECT_FALSE(fs::exists(TempFolder() + "Quorrel7z.txt")) << c.what;
    EXPECT_FALSE(fs::exists(TempFolder() + "Quorrel7z.err")) << c.what;
  }
}

}  // namespace
}  // namespace quorrel
