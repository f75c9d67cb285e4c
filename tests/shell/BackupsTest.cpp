// Back-ups, text files written through a string list, and the replacement of a
// file that never leaves it half-written.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "shell/Backups.h"
#include "shell/DBoxUnit.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/WorkFiles.h"
#include "platform/Abort.h"
#include "shell/Backups.h"
#include "shell/DBoxUnit.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using test::ReadFile;

class BackupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = test::TestHome() + "backups/";
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override {
    SetWorkFileLinkForTests(nullptr);
    fs::remove_all(folder);
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder + name, std::ios::binary) << bytes;
    return folder + name;
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string folder;
};

TEST(QuotePathTest, OnlyPathsWithBlanksAreQuoted) {
  EXPECT_EQ(QuotePath("/home/me/page.htm"), "/home/me/page.htm");
  EXPECT_EQ(QuotePath("/home/me/my page.htm"), "\"/home/me/my page.htm\"");
  EXPECT_EQ(QuotePath(""), "");
  EXPECT_EQ(BackupPath("/a/b.htm"), "/a/b.htm.Bak");
}

TEST_F(BackupsTest, RenameToBackupKeepsOneGeneration) {
  const std::string path = Write("page.htm", "new");
  Write("page.htm.Bak", "old");
  RenameToBackup(path);
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(ReadFile(path + ".Bak"), "new");
  RenameToBackup(folder + "missing.htm");
  EXPECT_EQ(Files(), std::vector<std::string>{"page.htm.Bak"});
}

TEST_F(BackupsTest, ABackUpThatCannotBeMadeAsksWhetherToGoOn) {
  // A folder in the back-up's place: it can be neither deleted as a file nor
  // replaced by one.
  const std::string path = Write("page.htm", "text");
  fs::create_directories(path + ".Bak/inside");
  Dialogs().Answer(mrCancel);
  EXPECT_THROW(RenameToBackup(path), EAbort);
  EXPECT_EQ(Dialogs().Last().kind, DialogKind::Custom);
  EXPECT_EQ(Dialogs().Last().helpContext, 20970);
  EXPECT_NE(Dialogs().Last().text.find("\rwhen trying to delete " + path + ".Bak"),
            std::string::npos);
  EXPECT_EQ(ReadFile(path), "text");

  // A name so long that ".Bak" makes it too long for the folder: no back-up can be
  // made. Going on writes the file all the same; No leaves it alone.
  const std::string longPath = Write(std::string(252, 'n'), "text");
  NotInSite = true;
  Dialogs().Answer(mrNo);
  EXPECT_EQ(ReplaceFile(longPath, "newer", true), TReplaceResult::BackupRefused);
  EXPECT_EQ(Dialogs().Last().text,
            "Cannot rename " + longPath + "\r to " + longPath +
                ".Bak\r(it's probably held by Internet Explorer)\rContinue?");
  EXPECT_EQ(ReadFile(longPath), "text");
  NotInSite = false;
  Dialogs().Answer(mrYes);
  EXPECT_EQ(ReplaceFile(longPath, "newest", true), TReplaceResult::Replaced);
  EXPECT_EQ(Dialogs().Last().text,
            "Cannot rename " + longPath + "\r to " + longPath + ".Bak\rContinue?");
  EXPECT_EQ(ReadFile(longPath), "newest");
  Dialogs().Answer(mrNo);
  EXPECT_THROW(RenameToBackup(longPath), EAbort);
  EXPECT_EQ(ReadFile(longPath), "newest");
  EXPECT_EQ(Files(), (std::vector<std::string>{std::string(252, 'n'), "page.htm", "page.htm.Bak"}));
}

// Files this process writes cannot grow past a size, as on a full disk.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    oldSignal_ = ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
    struct rlimit limit = {bytes, saved_.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, oldSignal_);
  }

 private:
  struct rlimit saved_ {};
  sighandler_t oldSignal_;
};

TEST_F(BackupsTest, ThePreviousBackUpStaysUntilItsSuccessorIsThere) {
  // No hard links, and no room for the copy that stands in for one: the new
  // back-up cannot be made. Directly and through a symbolic link.
  SetWorkFileLinkForTests([](const char*, const char*) {
    errno = EPERM;
    return -1;
  });
  const std::string old(64 * 1024, 'o');
  for (const std::string name : {"page.htm", "link.htm"}) {
    SCOPED_TRACE(name);
    const std::string path = Write("page.htm", old);
    if (name == "link.htm") fs::create_symlink("page.htm", folder + name);
    Write(name + ".Bak", "previous");
    Dialogs().Answer(mrNo);
    {
      TFileSizeLimit full(16 * 1024);
      EXPECT_EQ(ReplaceFile(folder + name, "new", true), TReplaceResult::BackupRefused);
    }
    EXPECT_EQ(ReadFile(folder + name + ".Bak"), "previous");
    EXPECT_TRUE(ReadFile(path) == old);
    Dialogs().Answer(mrYes);
    {
      TFileSizeLimit full(16 * 1024);
      EXPECT_EQ(ReplaceFile(folder + name, "new", true), TReplaceResult::Replaced);
    }
    EXPECT_EQ(ReadFile(folder + name + ".Bak"), "previous") << "no successor: it stays";
    EXPECT_EQ(ReadFile(path), "new");
    fs::remove(folder + name);
    fs::remove(folder + name + ".Bak");
    fs::remove(path);
    EXPECT_TRUE(Files().empty()) << "no work file left";
  }
  SetWorkFileLinkForTests(nullptr);
}

TEST_F(BackupsTest, WriteTextFileEndsEveryLineWithCrLf) {
  struct Case {
    std::string text;
    std::string file;
  } cases[] = {
      {"a\nb", "a\r\nb\r\n"},
      {"a\r\nb\r\n", "a\r\nb\r\n"},
      {"a\rb\r\r\n", "a\r\nb\r\n\r\n"},
      {"", ""},
  };
  for (const Case& c : cases) {
    WriteTextFile(folder + "list.txt", c.text);
    EXPECT_EQ(ReadFile(folder + "list.txt"), c.file);
  }
  EXPECT_EQ(Files(), std::vector<std::string>{"list.txt"}) << "no back-up, no work file";

  const std::string nowhere = folder + "no/such/folder/list.txt";
  EXPECT_THROW(WriteTextFile(nowhere, "x"), EAbort);
  EXPECT_EQ(Dialogs().Last().text, "Unable to create file " + nowhere);
}

TEST_F(BackupsTest, AReplacedFileKeepsItsModeAndANewOneGetsTheOneAskedFor) {
  const std::string path = Write("script.sh", "#!/bin/sh\n");
  ::chmod(path.c_str(), 0750);
  ASSERT_EQ(ReplaceFile(path, "#!/bin/sh\necho hi\n", true), TReplaceResult::Replaced);
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0750u);
  EXPECT_EQ(ReadFile(path + ".Bak"), "#!/bin/sh\n");

  const mode_t mask = ::umask(022);
  ASSERT_EQ(ReplaceFile(folder + "secret.txt", "x", true, 0600), TReplaceResult::Replaced);
  ASSERT_EQ(ReplaceFile(folder + "open.txt", "x", true), TReplaceResult::Replaced);
  ::umask(mask);
  ASSERT_EQ(::stat((folder + "secret.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  ASSERT_EQ(::stat((folder + "open.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
  EXPECT_FALSE(fs::exists(folder + "secret.txt.Bak")) << "nothing to back up";

  EXPECT_EQ(ReplaceFile(folder, "x", true), TReplaceResult::NotCreated) << "a folder is no file";
}

TEST_F(BackupsTest, DeleteFileOrAbortPassesOverMissingFiles) {
  DeleteFileOrAbort(folder + "never.txt");
  const std::string path = Write("gone.txt", "x");
  DeleteFileOrAbort(path);
  EXPECT_FALSE(fs::exists(path));
  fs::create_directories(folder + "ABCErrors.Txt/x");
  DeleteFileOrAbort(folder + "ABCErrors.Txt");  // the music tools' own: no word
  EXPECT_TRUE(Dialogs().Calls().empty());
}

}  // namespace
}  // namespace quorrel
