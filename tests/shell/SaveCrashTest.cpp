// Saves killed at each of their steps, with hard links and where the file system
// refuses them, and the work files such saves leave behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/Backups.h"
#include "shell/WorkFiles.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

int RefuseLink(const char*, const char*) {
  errno = EPERM;  // as FAT sticks and some network shares answer
  return -1;
}

// A save running in a child process that stops when it reaches a step and waits
// there to be killed.
class TStoppedSave {
 public:
  TStoppedSave(const std::string& path, const std::string& bytes, const std::string& step,
               bool linksRefused) {
    int ready[2], hold[2];
    if (::pipe(ready) != 0 || ::pipe(hold) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(ready[0]);
      ::close(hold[1]);
      if (linksRefused) SetWorkFileLinkForTests(RefuseLink);
      SetReplaceStepForTests([&](const char* reached) {
        if (step != reached) return;
        char c = 1;
        if (::write(ready[1], &c, 1) == 1) (void)::read(hold[0], &c, 1);  // until killed
      });
      ReplaceFile(path, bytes, true);
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(hold[0]);
    hold_ = hold[1];
    char c;
    // The child either reaches the step or ends, which closes the pipe.
    reached_ = pid_ > 0 && ::read(ready[0], &c, 1) == 1;
    ::close(ready[0]);
  }
  ~TStoppedSave() { Kill(); }
  TStoppedSave(const TStoppedSave&) = delete;
  TStoppedSave& operator=(const TStoppedSave&) = delete;

  bool Reached() const { return reached_; }
  void Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    ::close(hold_);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int hold_ = -1;
  bool reached_ = false;
};

void SetAge(const std::string& path, time_t seconds) {
  struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

class SaveCrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = test::TestHome() + "crash/";
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override {
    SetWorkFileLinkForTests(nullptr);
    fs::remove_all(folder);
  }
  std::vector<std::string> Files(const std::string& in = "") const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder + in)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string folder;
};

TEST_F(SaveCrashTest, AKillAtAnyStepLeavesTheFileAndItsBackUpWholeAndTheNextSaveTidiesUp) {
  // Big enough that writing and copying take a while.
  const std::string older = "the generation before\r\n";
  const std::string old(1 << 20, 'o');
  const std::string fresh(3 << 19, 'n');
  struct Case {
    const char* step;
    bool linksRefused;
    const std::string& file;
    const std::string& backup;
  } cases[] = {
      {"written", false, old, older},  {"written", true, old, older},
      {"backed-up", false, old, old},  {"backed-up", true, old, old},
      {"replaced", false, fresh, old}, {"replaced", true, fresh, old},
  };
  const std::string path = folder + "page.htm";
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.step) + (c.linksRefused ? ", no hard links" : ""));
    WriteFile(path, old);
    WriteFile(path + ".Bak", older);
    SetAge(path, 1700000000);
    {
      TStoppedSave save(path, fresh, c.step, c.linksRefused);
      ASSERT_TRUE(save.Reached());
      save.Kill();
    }
    EXPECT_TRUE(ReadFile(path) == c.file) << "the file under its own name, whole";
    EXPECT_TRUE(ReadFile(path + ".Bak") == c.backup) << "the back-up whole";

    ASSERT_EQ(ReplaceFile(path, "newest", true), TReplaceResult::Replaced);
    EXPECT_EQ(Files(), (std::vector<std::string>{"page.htm", "page.htm.Bak"}));
    EXPECT_TRUE(ReadFile(path + ".Bak") == c.file);
  }
}

TEST_F(SaveCrashTest, WithoutHardLinksTheBackUpIsACopyAndTheFileIsReplacedInOneStep) {
  SetWorkFileLinkForTests(RefuseLink);
  const std::string path = folder + "script.sh";
  WriteFile(path, "#!/bin/sh\n");
  ::chmod(path.c_str(), 0750);
  ASSERT_EQ(ReplaceFile(path, "#!/bin/sh\necho hi\n", true), TReplaceResult::Replaced);
  EXPECT_EQ(ReadFile(path), "#!/bin/sh\necho hi\n");
  EXPECT_EQ(ReadFile(path + ".Bak"), "#!/bin/sh\n");
  struct stat file, backup;
  ASSERT_EQ(::stat(path.c_str(), &file), 0);
  ASSERT_EQ(::stat((path + ".Bak").c_str(), &backup), 0);
  EXPECT_EQ(file.st_mode & 07777, 0750u);
  EXPECT_EQ(backup.st_mode & 07777, 0750u) << "the copy keeps the mode";
  EXPECT_EQ(Files(), (std::vector<std::string>{"script.sh", "script.sh.Bak"}));
}

TEST_F(SaveCrashTest, OnlyOurOwnUnheldWorkFilesOlderThanTheFileGo) {
  const std::string path = folder + "page.htm";
  WriteFile(path, "text");
  SetAge(path, 1700000000);
  const std::vector<std::string> gone = {
      ".page.htm.save-Ab12Cd",
      ".page.htm.Bak.save-Xy34Zw",  // a back-up that never got its name
  };
  const std::vector<std::string> kept = {
      ".page.htm.save-12345",    // not six letters
      ".page.htm.save-1234567",  //
      ".page.htm.save-ab_def",   // not letters and digits
      "page.htm.save-AbCdEf",    // not hidden
      ".other.htm.save-AbCdEf",  // another file's
      ".page.htm.save-Newer1",   // newer than the file: may hold newer text
      ".page.htm.save-Same12",   // as old as the file
      ".page.htm.save-Folder",   // a folder
      ".page.htm.save-Link12",   // a symbolic link
  };
  for (const std::string& name : gone) WriteFile(folder + name, "x");
  for (const std::string& name : kept) {
    if (name.ends_with("Folder")) {
      fs::create_directories(folder + name);
    } else if (name.ends_with("Link12")) {
      fs::create_symlink("page.htm", folder + name);
    } else {
      WriteFile(folder + name, "x");
    }
  }
  for (const std::string& name : gone) SetAge(folder + name, 1600000000);
  for (const std::string& name : kept) SetAge(folder + name, 1600000000);
  SetAge(folder + ".page.htm.save-Newer1", 1800000000);
  SetAge(folder + ".page.htm.save-Same12", 1700000000);

  RemoveLeftoverWorkFiles(path);
  std::vector<std::string> expected = kept;
  expected.push_back("page.htm");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Files(), expected);

  // Through a symbolic link: the work files beside the file it leads to go too.
  fs::create_directories(folder + "real");
  WriteFile(folder + "real/target.htm", "text");
  fs::create_symlink("real/target.htm", folder + "link.htm");
  WriteFile(folder + "real/.target.htm.save-AAAAAA", "x");
  WriteFile(folder + ".link.htm.Bak.save-BBBBBB", "x");
  SetAge(folder + "real/.target.htm.save-AAAAAA", 1600000000);
  SetAge(folder + ".link.htm.Bak.save-BBBBBB", 1600000000);
  RemoveLeftoverWorkFiles(folder + "link.htm");
  EXPECT_EQ(Files("real"), std::vector<std::string>{"target.htm"});
  EXPECT_FALSE(fs::exists(folder + ".link.htm.Bak.save-BBBBBB"));
}

TEST_F(SaveCrashTest, TheWorkFileOfASaveUnderWayStaysUntilThatSaveIsKilled) {
  const std::string path = folder + "page.htm";
  WriteFile(path, "old");
  TStoppedSave save(path, "new", "written", false);
  ASSERT_TRUE(save.Reached());
  std::vector<std::string> files = Files();
  ASSERT_EQ(files.size(), 2u);
  const std::string work = folder + files[0];
  ASSERT_TRUE(files[0].starts_with(".page.htm.save-")) << files[0];
  // Older than the file, as when another program wrote the file meanwhile.
  SetAge(work, 1600000000);

  RemoveLeftoverWorkFiles(path);
  EXPECT_TRUE(fs::exists(work)) << "held by a running save";
  save.Kill();
  RemoveLeftoverWorkFiles(path);
  EXPECT_FALSE(fs::exists(work));
  EXPECT_EQ(ReadFile(path), "old");
}

}  // namespace
}  // namespace quorrel
