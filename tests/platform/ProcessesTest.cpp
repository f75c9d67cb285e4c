#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>

#include "platform/Abort.h"
#include "platform/Help.h"
#include "platform/Instances.h"
#include "platform/Processes.h"
#include "shell/RunPrograms.h"
#include "shell/ShellState.h"
#include "support/Installed.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

using test::Dialogs;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
  return std::filesystem::exists(path);
}

TRunOptions Options(const std::string& out, const std::string& err = "",
                    const std::string& folder = "") {
  TRunOptions options;
  options.stdoutFile = out;
  options.stderrFile = err;
  options.workingFolder = folder;
  return options;
}

TRunOptions Titled(const std::string& title) {
  TRunOptions options;
  options.title = title;
  return options;
}

// A FIFO that a child script blocks on (`read line < FIFO`) until the test opens
// it, so the script's next step waits for the test and never for the clock.
class Gate {
 public:
  explicit Gate(std::string path) : path_(std::move(path)) {
    EXPECT_EQ(mkfifo(path_.c_str(), 0600), 0) << path_;
  }
  const std::string& Path() const { return path_; }
  // Lets the blocked script go on; waits until it has opened the FIFO.
  void Open() {
    const int fd = open(path_.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0) << path_;
    EXPECT_EQ(write(fd, "\n", 1), 1);
    close(fd);
  }

 private:
  std::string path_;
};

// The user's side of a wait: runs `step` each time the wait lets events through.
class Meanwhile : public test::ScriptedDialogs {
 public:
  explicit Meanwhile(std::function<void()> step) : step_(std::move(step)) { SetUserDialogs(this); }
  ~Meanwhile() { SetUserDialogs(&test::Dialogs()); }
  void ProcessMessages() override { step_(); }

 private:
  std::function<void()> step_;
};

class ProcessesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::TestHome() + "processes-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    ResetProcesses();
    SetHelpViewer(nullptr);
  }

  // A small shell script used as the child program (it is run directly, by its
  // "#!" line; nothing is ever passed through a shell by the program itself).
  std::string Script(const std::string& name, const std::string& body) {
    std::string path = dir_ + name;
    std::ofstream(path) << "#!/bin/sh\n" << body;
    chmod(path.c_str(), 0755);
    return path;
  }

  std::string dir_;
};

TEST_F(ProcessesTest, ProgramsAreFoundOnPathOrByTheirPath) {
  EXPECT_NE(FindProgram("sh"), "");
  EXPECT_EQ(FindProgram(FindProgram("sh")), FindProgram("sh"));
  EXPECT_EQ(FindProgram("no-such-program-here"), "");
  EXPECT_EQ(FindProgram(dir_), "");  // a folder is no program
  std::ofstream(dir_ + "data.txt") << "x";
  EXPECT_EQ(FindProgram(dir_ + "data.txt"), "");  // not executable
}

TEST_F(ProcessesTest, AMissingProgramSaysSoAndEndsTheCommand) {
  EXPECT_THROW(RunHidden("/no/such/abc2midi", {"x.abc"}), EAbort);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_NE(Dialogs().Last().text.find("Program not found: /no/such/abc2midi"), std::string::npos);
  EXPECT_TRUE(StartedProcesses().empty());

  // With a help context, its topic is opened instead of the message.
  Dialogs().Clear();
  int shown = 0;
  SetHelpViewer([&](int context) { shown = context; });
  EXPECT_THROW(RunHidden("no-such-program-here", {}, 55020), EAbort);
  EXPECT_EQ(shown, 55020);
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(ProcessesTest, AProgramThatCannotStartIsReported) {
  std::string notExecutable = dir_ + "tool";
  std::ofstream(notExecutable) << "#!/bin/sh\n";
  EXPECT_FALSE(RunHidden(notExecutable, {}));
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, "Could not run \r" + notExecutable + "\rError code was 13");

  // Executable, but no program inside.
  Dialogs().Clear();
  std::string garbage = dir_ + "garbage";
  std::ofstream(garbage) << std::string("\x01\x02\x03\x04 not a program", 19);
  chmod(garbage.c_str(), 0755);
  EXPECT_FALSE(RunHidden(garbage, {}));
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text.rfind("Could not run \r" + garbage + "\rError code was ", 0), 0u);
}

TEST_F(ProcessesTest, NamesWithBlanksAndShellCharactersStayOneArgument) {
  const std::string names[] = {"a b.abc",
                               "it's \"quoted\".abc",
                               "$(touch pwned).abc",
                               "x; touch pwned2 ;.abc",
                               "`touch pwned3`&|<>*?.abc",
                               "-leading-dash.abc"};
  for (const auto& name : names) {
    std::string path = dir_ + name;
    ASSERT_TRUE(RunHidden("touch", {"--", path}));
    WaitForOutputFile(path);  // empty, but it exists
    Dialogs().Clear();
    EXPECT_TRUE(Exists(path)) << name;
  }
  // printf repeats its format for each argument: one line per argument it got.
  std::string out = dir_ + "args.txt";
  ASSERT_TRUE(RunHidden("printf", {"[%s]\\n", names[0], names[2], names[3]}, 0, Options(out)));
  WaitForOutputFile(out);
  EXPECT_EQ(ReadAll(out), "[" + names[0] + "]\n[" + names[2] + "]\n[" + names[3] + "]\n");
  for (const char* bad : {"pwned", "pwned2", "pwned3"}) {
    EXPECT_FALSE(Exists(dir_ + bad)) << bad;
    EXPECT_FALSE(Exists(bad)) << bad;
  }
}

TEST_F(ProcessesTest, TheMusicToolsTakeAwkwardNamesAsTheyAre) {
  // Debian's abcmidi and abcm2ps on one of their own example tunes, in a folder
  // and under names a shell would take apart.
  std::string folder = dir_ + "my tunes; $(echo x)/";
  std::filesystem::create_directories(folder);
  std::string tune = folder + "it's \"Coleraine\" & co.abc";
  const std::string example = "/usr/share/doc/abcmidi/examples/coleraine.abc";
  ASSERT_TRUE(test::Installed(example, "abcmidi"));
  std::filesystem::copy_file(example, tune);

  std::string midi = folder + "Temp 1.mid";
  ASSERT_TRUE(RunHidden("abc2midi", {tune, "-o", midi}));
  WaitForOutputFile(midi);
  EXPECT_EQ(ReadAll(midi).substr(0, 4), "MThd");

  std::string postscript = folder + "ABC.PS", report = folder + "Quorrel.txt";
  ASSERT_TRUE(RunHidden("abcm2ps", {tune, "-O", postscript}, 0, Options(report)));
  WaitForOutputFile(postscript);
  EXPECT_EQ(ReadAll(postscript).substr(0, 4), "%!PS");
  EXPECT_NE(ReadAll(report).find("Output written on " + postscript), std::string::npos);
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(ProcessesTest, OutputErrorsAndWorkingFolderGoWhereAsked) {
  std::string tool = Script("tool.sh", "echo out-text\necho err-text >&2\npwd\n");
  std::string work = dir_ + "work folder/";
  std::filesystem::create_directories(work);
  std::string out = dir_ + "out.txt", err = dir_ + "err.txt";
  std::ofstream(out) << "stale output of an earlier run";
  ASSERT_TRUE(RunHidden(tool, {}, 0, Options(out, err, work)));
  WaitForOutputFile(out);
  EXPECT_EQ(ReadAll(out), "out-text\n" + work.substr(0, work.size() - 1) + "\n");
  EXPECT_EQ(ReadAll(err), "err-text\n");
}

TEST_F(ProcessesTest, InputGivenReachesTheProgramAndThenEnds) {
  // The script copies its input and reports that the input ended: a program that
  // reads until the end of its input is never left waiting.
  std::string copier = Script("copy.sh", "cat > \"$1\"\necho ended >> \"$1\"\n");
  struct Case {
    const char* what;
    std::optional<std::string> input;
    std::string copied;
  } cases[] = {
      {"a line of shell characters", std::string("p w'\"$(x)`;&|<>*?\\\n"),
       "p w'\"$(x)`;&|<>*?\\\nended\n"},
      {"an empty input", std::string(), "ended\n"},
      {"no input at all", std::nullopt, "ended\n"},
  };
  for (const auto& c : cases) {
    std::string out = dir_ + "copy.txt";
    TRunOptions options;
    options.input = c.input;
    ASSERT_TRUE(RunHidden(copier, {out}, 0, options)) << c.what;
    EXPECT_EQ(WaitForLastProgram(), 0) << c.what;
    EXPECT_EQ(ReadAll(out), c.copied) << c.what;
  }

  // A program that ends without reading its input is no trouble either.
  TRunOptions unread;
  unread.input = "never read\n";
  ASSERT_TRUE(RunHidden("true", {}, 0, unread));
  EXPECT_EQ(WaitForLastProgram(), 0);
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(ProcessesTest, ASlowWriterIsWaitedForUntilItEnds) {
  // The file has content long before the program is done with it: the program
  // goes on only once the wait has seen that content.
  Gate gate(dir_ + "gate");
  std::string tool = Script("slow.sh",
                            "printf 'first part ' > \"$1\"\n"
                            "read line < \"$2\"\n"
                            "printf 'second part' >> \"$1\"\n");
  std::string out = dir_ + "tune.mid";
  bool released = false;
  Meanwhile user([&] {
    if (!released && !ReadAll(out).empty()) {
      released = true;
      gate.Open();
    }
  });
  ASSERT_TRUE(RunHidden(tool, {out, gate.Path()}));
  // Long enough for any machine to start a shell; the wait itself is under test.
  ToolWaitSeconds = 60;
  WaitForOutputFile(out);
  EXPECT_TRUE(released);
  EXPECT_EQ(ReadAll(out), "first part second part");
  EXPECT_TRUE(user.Calls().empty());
  EXPECT_EQ(ToolWaitSeconds, 2);
}

// While a wait lets events through, the user may run another command that starts
// programs of its own; the tool ends only after they have.
TEST_F(ProcessesTest, AWaitOutlivesProgramsStartedMeanwhile) {
  Gate gate(dir_ + "gate");
  std::string tool = Script("slow.sh", "read line < \"$2\"\nprintf done > \"$1\"\n");
  std::string out = dir_ + "out.txt";
  int passes = 0;
  Meanwhile user([&] {
    if (++passes <= 4) {
      for (int i = 0; i < 10; ++i) RunHidden("true", {});
    } else if (passes == 5) {
      gate.Open();
    }
  });
  ASSERT_TRUE(RunHidden(tool, {out, gate.Path()}));
  ToolWaitSeconds = 60;
  WaitForOutputFile(out);
  EXPECT_GE(passes, 5);
  EXPECT_EQ(ReadAll(out), "done");
}

TEST_F(ProcessesTest, OutputThatNeverComesEndsTheCommand) {
  std::string out = dir_ + "never.mid";
  ASSERT_TRUE(RunHidden("true", {}));
  EXPECT_THROW(WaitForOutputFile(out), EAbort);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, "Unable to create\r" + out + "\rPlease try again.");
}

TEST_F(ProcessesTest, AToolSlowerThanTheWaitEndsTheCommand) {
  // The tool cannot write before the test lets it, and the test never does.
  Gate gate(dir_ + "gate");
  std::string tool = Script("late.sh", "read line < \"$2\"\nprintf late > \"$1\"\n");
  std::string out = dir_ + "late.txt";
  ASSERT_TRUE(RunHidden(tool, {out, gate.Path()}));
  ToolWaitSeconds = 1;
  EXPECT_THROW(WaitForOutputFile(out), EAbort);
  EXPECT_EQ(Dialogs().Last().text, "Unable to create\r" + out + "\rPlease try again.");
  EXPECT_EQ(ToolWaitSeconds, 2);  // back to the default after the wait, even a failed one
}

TEST_F(ProcessesTest, EmptyOutputFiles) {
  struct Case {
    const char* name;
    int wait;
    bool aborts;
    bool warns;
  } cases[] = {
      {"ABC.PS", 2, false, true},
      {"ABCPSErr.Txt", 2, true, false},  // no messages from the typesetter
      {"ABCPSErr.Txt", -1, false, false},
      {"Temp.wav", 2, false, false},
      {"tune.MP3", 2, false, false},
      {"ABCErrors.txt", 2, false, false},
      {"Quorrel.txt", -1, false, false},
  };
  for (const auto& c : cases) {
    Dialogs().Clear();
    std::string out = dir_ + c.name;
    std::filesystem::remove(out);
    ASSERT_TRUE(RunHidden("touch", {out}));
    ToolWaitSeconds = c.wait;
    bool aborted = false;
    try {
      WaitForOutputFile(out);
    } catch (const EAbort&) {
      aborted = true;
    }
    EXPECT_EQ(aborted, c.aborts) << c.name;
    EXPECT_EQ(ToolWaitSeconds, 2);
    if (c.warns) {
      ASSERT_EQ(Dialogs().Calls().size(), 1u) << c.name;
      EXPECT_EQ(Dialogs().Last().text, "Warning: File is 0 bytes long.\r" + out);
    } else {
      EXPECT_TRUE(Dialogs().Calls().empty()) << c.name;
    }
  }
}

TEST_F(ProcessesTest, OnlyProgramsStartedHereAreEnded) {
  QProcess outsider;  // stands for a program the user runs on their own
  outsider.start("sleep", {"infinity"});
  ASSERT_TRUE(outsider.waitForStarted());

  ASSERT_TRUE(RunHidden("sleep", {"infinity"}, 0, Titled("Media Player - tune.mid")));
  ASSERT_TRUE(RunHidden("sleep", {"infinity"}, 0, Titled("VLC Media Player")));
  ASSERT_TRUE(RunHidden("sleep", {"infinity"}, 0, Titled("Ghostscript")));
  ASSERT_EQ(StartedProcesses().size(), 3u);

  EXPECT_EQ(KillWindowsByTitle("media PLAYER"), 1);
  auto table = StartedProcesses();
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].title, "VLC Media Player");
  EXPECT_TRUE(table[0].running);
  EXPECT_EQ(table[1].title, "Ghostscript");

  EXPECT_EQ(KillProcessByName("/usr/bin/SLEEP"), 2);
  EXPECT_TRUE(StartedProcesses().empty());
  EXPECT_EQ(outsider.state(), QProcess::Running);
  outsider.kill();
  outsider.waitForFinished();
}

TEST_F(ProcessesTest, TheTableNamesEachProgram) {
  ASSERT_TRUE(RunHidden("sleep", {"infinity"}));
  EXPECT_TRUE(Busy);  // until the idle pass finds nothing more to do
  auto table = StartedProcesses();
  ASSERT_EQ(table.size(), 1u);
  EXPECT_EQ(table[0].program, FindProgram("sleep"));
  EXPECT_EQ(table[0].title, "sleep");
  EXPECT_GT(table[0].pid, 0);
  EXPECT_TRUE(table[0].running);
}

TEST_F(ProcessesTest, ListTasksNamesOurWindowsAndOurPrograms) {
  RegisterInstance("/site/index.htm - Quorrel v. 1.921, 16-Jun-26");
  ASSERT_TRUE(RunHidden("sleep", {"infinity"}, 0, Titled("Ghostscript")));
  TRunOptions finished = Options(dir_ + "done.txt");
  finished.title = "finished at once";
  ASSERT_TRUE(RunHidden("echo", {"done"}, 0, finished));
  WaitForOutputFile(dir_ + "done.txt");  // until echo has ended
  std::string text = "Tasks:\r\n";
  ListTaskWindow(text);
  UnregisterInstance();
  EXPECT_EQ(text, "Tasks:\r\n/site/index.htm - Quorrel v. 1.921, 16-Jun-26\r\nGhostscript\r\n");
}

}  // namespace
}  // namespace quorrel
