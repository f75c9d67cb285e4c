// Every public function of the shell that takes a path, on files whose names hold
// letters outside ASCII and blanks: the program spells them in Windows-1252, the
// file system in UTF-8, and a path that skips the conversion finds nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Paths.h"
#include "shell/ArchiveMemberWipe.h"
#include "shell/Backups.h"
#include "shell/DocumentsOpen.h"
#include "shell/FileRoutines.h"
#include "shell/Scrambled.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/TextFiles.h"
#include "support/MemoryRich.h"
#include "support/OpenDocuments.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

class NonAsciiPathsTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    root = test::TestHome() + "non-ascii/";
    std::filesystem::remove_all(root);
    // "Ordner \xE4" in Windows-1252, as the program holds it.
    folder = root + "Ordner \xE4/";
    std::filesystem::create_directories(NativePath(folder));
    path = folder + GetParam();
  }
  void TearDown() override { std::filesystem::remove_all(root); }

  // The file as the file system names it, read without the program's help.
  std::string OnDisk(const std::string& file) const {
    std::ifstream in(NativePath(file), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  bool ExistsOnDisk(const std::string& file) const {
    return std::filesystem::exists(std::filesystem::u8path(NativePath(file)));
  }

  std::string root, folder, path;
};

TEST_P(NonAsciiPathsTest, OpenSaveBackUpAndDate) {
  ASSERT_NE(NativePath(path), path) << "the name must need converting";
  // Written and read.
  WriteTextFile(path, "one\r\ntwo\r\n");
  ASSERT_TRUE(ExistsOnDisk(path));
  EXPECT_TRUE(FileExists(path));
  EXPECT_TRUE(DirectoryExists(folder));
  EXPECT_EQ(ResolveNoCase(path), path);
  EXPECT_EQ(ListFiles(folder, "*.*"), std::vector<std::string>{GetParam()});
  std::string bytes;
  ASSERT_TRUE(FileBytes(path, bytes));
  EXPECT_EQ(bytes, "one\r\ntwo\r\n");
  EXPECT_EQ(ReadTextFile(path), "one\r\ntwo\r\n");

  // Dates and sizes: the date-and-size panel, the changed-on-disk check.
  struct stat st {};
  ASSERT_EQ(::stat(NativePath(path).c_str(), &st), 0);
  EXPECT_EQ(DateSize(path), FormatFileDate(st.st_mtime) + "10 B ");
  EXPECT_EQ(LocalFileDate, static_cast<int64_t>(st.st_mtime));
  EXPECT_EQ(LocalFileSize, 10);
  EXPECT_EQ(FileSize64(path), 10);
  EXPECT_EQ(FileAge(path), static_cast<int64_t>(st.st_mtime));

  // Loaded into a tab, with its file time.
  test::MemoryRich editor;
  test::RecordOfSlot(0).FileAge = 0;
  LoadIntoEditor(editor, path, 0);
  EXPECT_EQ(editor.GetText(), "one\r\ntwo\r\n");
  EXPECT_EQ(Documents[0].FileAge, static_cast<int64_t>(st.st_mtime));
  test::RecordOfSlot(0).FileAge = 0;

  // Saved with a back-up, copied, renamed to the back-up.
  ASSERT_EQ(ReplaceFile(path, "three\r\n", true), TReplaceResult::Replaced);
  EXPECT_EQ(OnDisk(path), "three\r\n");
  EXPECT_EQ(OnDisk(BackupPath(path)), "one\r\ntwo\r\n");
  const std::string copy = folder + "copy " + GetParam();
  ASSERT_TRUE(CopyFileBytes(path, copy));
  EXPECT_EQ(OnDisk(copy), "three\r\n");
  RenameToBackup(copy);
  EXPECT_FALSE(ExistsOnDisk(copy));
  EXPECT_EQ(OnDisk(BackupPath(copy)), "three\r\n");

  // Scrambled documents and their back-ups.
  SetScramblePassword("secret");
  ASSERT_TRUE(WriteScrambledFile(path, "plain\r\n"));
  EXPECT_NE(OnDisk(path), "plain\r\n");
  EXPECT_TRUE(IsScrambledData(OnDisk(path)));
  ASSERT_TRUE(ScrambleBackupInPlace(BackupPath(path)));
  EXPECT_TRUE(IsScrambledData(OnDisk(BackupPath(path))));
  test::Dialogs().AnswerText("secret");
  EXPECT_EQ(ReadScrambledFile(path), "plain\r\n");
  ResetScrambled();

  // Deleted and wiped.
  DeleteFileOrAbort(BackupPath(copy));
  EXPECT_FALSE(ExistsOnDisk(BackupPath(copy)));
  WipeFile(BackupPath(path));
  EXPECT_FALSE(ExistsOnDisk(BackupPath(path)));
  WipeFile(path);
  EXPECT_FALSE(ExistsOnDisk(path));
  EXPECT_EQ(DateSize(path), "*** Not found ***");
  EXPECT_TRUE(test::Dialogs().Calls().empty()) << test::Dialogs().Last().text;
}

INSTANTIATE_TEST_SUITE_P(Names, NonAsciiPathsTest,
                         ::testing::Values("my caf\xE9 notes.txt",
                                           "\xFC"
                                           "ber uns.htm",
                                           "Gr\xFC\xDF"
                                           "e an Ren\xE9.css"));

}  // namespace
}  // namespace quorrel
