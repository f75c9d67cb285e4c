// Writing a page only when it changed: the comparison, file times kept, and
// failures that must never pass for a written page.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "sitebuild/PageWrite.h"
#include "support/ReadOnlyFolder.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

TEST(PageWriteTest, SamePageComparesUpToTheFeedbackLink) {
  const std::string head = "<HTML>\n<Body>text\n";
  const std::string link = "<a href=\"feedback.asp?Page=p&amp;Title=";
  struct Case {
    const char* what;
    std::string oldText;
    std::string newText;
    bool same;
  };
  const Case cases[] = {
      {"equal", head, head, true},
      {"only the feedback query differs", head + link + "Old\">", head + link + "New\">", true},
      {"mark in another case", head + "FEEDBACK.ASP?x", head + "feedback.asp?y", true},
      {"text before the link differs", "<HTML>\n<Body>texT\n" + link, head + link, false},
      {"old longer", head + "more", head, false},
      {"new longer", head, head + "more", false},
      {"only the last byte differs", head + "a", head + "b", false},
      {"old has the link, new not", head + link, head + "x", false},
      {"new has the link, old not", head + "x", head + link, false},
      {"link moved", head + "x" + link, head + link + "x", false},
      {"both empty", "", "", true},
  };
  for (const Case& c : cases) EXPECT_EQ(SamePage(c.oldText, c.newText), c.same) << c.what;
}

TEST(PageWriteTest, LineEndsBecomeLf) {
  EXPECT_EQ(WithLfLineEnds("a\r\nb\r\n\r\nc\rd\n"), "a\nb\n\nc\rd\n");
}

class PageWriteFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = TestHome() + "out/";
    fs::create_directories(folder);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(folder, fs::perms::owner_all, ec);
  }
  // Sets the file's time well into the past, so a rewrite shows.
  void AgeFile(const std::string& path) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(48));
  }
  std::string folder;
};

TEST_F(PageWriteFolderTest, UnchangedPageKeepsItsFileTime) {
  const std::string path = folder + "page.htm";
  // The old copy has CR LF line ends; the new page compares with LF.
  WriteFile(path, "<HTML>\r\n<Body>x\r\n");
  AgeFile(path);
  const auto before = fs::last_write_time(path);
  const TPageWriteResult result = WritePageIfChanged(folder, "page.htm", "<HTML>\n<Body>x\n");
  EXPECT_EQ(result.outcome, TPageWrite::Unchanged);
  EXPECT_EQ(fs::last_write_time(path), before);
  EXPECT_EQ(ReadFile(path), "<HTML>\r\n<Body>x\r\n");
}

TEST_F(PageWriteFolderTest, ChangedPagesAreRewritten) {
  struct Case {
    const char* what;
    std::string fileName;
    std::string oldText;
    std::string newText;
    TPageWrite outcome;
    bool compared = true;
  };
  const Case cases[] = {
      {"new page", "new.htm", "", "<HTML>\n", TPageWrite::Written},
      {"old longer", "p1.htm", "<HTML>\nend\n", "<HTML>\n", TPageWrite::Written},
      {"last byte", "p2.htm", "<HTML>\nA", "<HTML>\nB", TPageWrite::Written},
      {"after feedback kept", "p3.php", "x feedback.asp?T=a", "x feedback.asp?T=b",
       TPageWrite::Unchanged},
      {"html compared", "p4.html", "same", "same", TPageWrite::Unchanged},
      // A long extension is always written.
      {"long extension", "p5.shtml", "same", "same", TPageWrite::Written, false},
  };
  for (const Case& c : cases) {
    const std::string path = folder + c.fileName;
    if (!c.oldText.empty()) WriteFile(path, c.oldText);
    const TPageWriteResult result = WritePageIfChanged(folder, c.fileName, c.newText);
    EXPECT_EQ(result.outcome, c.outcome) << c.what << ": " << result.error;
    EXPECT_EQ(ReadFile(path), c.outcome == TPageWrite::Written ? c.newText : c.oldText) << c.what;
    const bool differed = c.compared && c.outcome == TPageWrite::Written && !c.oldText.empty();
    EXPECT_EQ(result.hadOld, differed) << c.what;
    if (result.hadOld) {
      EXPECT_EQ(result.oldText, c.oldText) << c.what;
    }
  }
  // Nothing of the temporary files stays behind.
  for (const auto& entry : fs::directory_iterator(folder))
    EXPECT_EQ(entry.path().filename().string().find(".Quorrel"), std::string::npos);
}

TEST_F(PageWriteFolderTest, MissingFolderIsReported) {
  const TPageWriteResult missing = WritePageIfChanged(folder + "none/", "a.htm", "x");
  EXPECT_EQ(missing.outcome, TPageWrite::Failed);
  EXPECT_NE(missing.error.find(folder + "none/a.htm"), std::string::npos) << missing.error;

  // A file where the folder should be stops even a superuser.
  WriteFile(folder + "plain", "");
  const TPageWriteResult notFolder = WritePageIfChanged(folder + "plain/", "a.htm", "x");
  EXPECT_EQ(notFolder.outcome, TPageWrite::Failed);
}

TEST_F(PageWriteFolderTest, ReadOnlyFolderIsReportedAndKeepsTheOldPage) {
  WriteFile(folder + "b.htm", "old");
  ReadOnlyFolder locked(folder);
  ASSERT_TRUE(locked.Holds());
  const TPageWriteResult readOnly = WritePageIfChanged(folder, "b.htm", "new");
  EXPECT_EQ(readOnly.outcome, TPageWrite::Failed);
  EXPECT_NE(readOnly.error.find("b.htm"), std::string::npos);
  EXPECT_EQ(ReadFile(folder + "b.htm"), "old");
}

TEST_F(PageWriteFolderTest, NewPagesGetTheUsualMode) {
  ASSERT_EQ(WritePageIfChanged(folder, "m.htm", "x").outcome, TPageWrite::Written);
  struct stat info {};
  ASSERT_EQ(stat((folder + "m.htm").c_str(), &info), 0);
  const mode_t mask = umask(022);
  umask(mask);
  EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
}

}  // namespace
}  // namespace quorrel::test
