#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/Sound.h"
#include "shell/FileRoutines.h"
#include "shell/ShellState.h"
#include "support/MemoryRich.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

using test::Dialogs;

class FileRoutinesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::TestHome() + "files-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    SetSoundPlayer(nullptr);
    SetShiftKeyQuery(nullptr);
  }

  std::string Make(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ + name, std::ios::binary) << bytes;
    return dir_ + name;
  }

  // Sets a file's time to a local date and time and returns it in seconds.
  static int64_t SetLocalTime(const std::string& path, int year, int month, int day, int hour,
                              int minute) {
    struct tm local {};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_isdst = -1;
    time_t t = mktime(&local);
    struct timespec times[2] = {{t, 0}, {t, 0}};
    EXPECT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    return t;
  }

  std::string dir_;
};

TEST(FormatSizeTest, EachUnitAndItsBoundaries) {
  struct Case {
    int64_t bytes;
    const char* text;
  } cases[] = {
      {0, "0 B "},
      {1, "1 B "},
      {10000, "10000 B "},  // ten thousand still counts bytes
      {10001, "10 KB "},    // one more gives kilobytes
      {10499, "10 KB "},
      {10500, "11 KB "},  // rounded half up
      {999499, "999 KB "},
      {999500, "1000 KB "},
      {1000000, "1000 KB "},
      {1000001, "1.0 MB "},  // one over a million gives megabytes
      {1049999, "1.0 MB "},
      {1050000, "1.1 MB "},
      {1234567, "1.2 MB "},
      {9999999, "10.0 MB "},
      {5368709120LL, "5368.7 MB "},  // beyond 32 bits
  };
  for (const auto& c : cases) EXPECT_EQ(FormatSize(c.bytes), c.text) << c.bytes;
}

TEST_F(FileRoutinesTest, DateSizeShowsTimeAndSizeAndKeepsThem) {
  struct Case {
    const char* name;
    size_t size;
    int day, month, hour, minute;
    const char* text;
  } cases[] = {
      {"a.htm", 5, 10, 12, 14, 5, "10-Dec-26  14.05  5 B "},
      {"b.htm", 12345, 1, 1, 0, 0, "01-Jan-26  00.00  12 KB "},
      {"c.htm", 1234567, 28, 2, 23, 59, "28-Feb-26  23.59  1.2 MB "},
  };
  for (const auto& c : cases) {
    std::string path = Make(c.name, std::string(c.size, 'x'));
    int64_t t = SetLocalTime(path, 2026, c.month, c.day, c.hour, c.minute);
    EXPECT_EQ(DateSize(path), c.text) << c.name;
    EXPECT_EQ(LocalFileDate, t);
    EXPECT_EQ(LocalFileSize, static_cast<int64_t>(c.size));
  }
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(FileRoutinesTest, DateSizeOfAMissingFile) {
  Make("a.htm", "abc");
  DateSize(dir_ + "a.htm");
  EXPECT_EQ(DateSize(dir_ + "none.htm"), "*** Not found ***");
  EXPECT_EQ(LocalFileDate, 0);
  EXPECT_EQ(LocalFileSize, 0);
}

TEST_F(FileRoutinesTest, DateSizeWarnsOfEmptyFilesButNotRobotsFoldersOrServerRuns) {
  std::string empty = Make("page.htm", "");
  DateSize(empty);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_NE(Dialogs().Last().text.find(empty + " is zero bytes long!"), std::string::npos);

  Dialogs().Clear();
  DateSize(Make("robots.txt", ""));
  DateSize(Make("ROBOTS.TXT", ""));
  DateSize(dir_);
  InServerRun = true;
  DateSize(empty);
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(FileRoutinesTest, FileSize64BeyondFourGigabytes) {
  std::string path = dir_ + "big.bin";
  int fd = open(path.c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, 5368709121LL), 0);  // sparse: takes no room
  close(fd);
  EXPECT_EQ(FileSize64(path), 5368709121LL);
  EXPECT_EQ(FileSize64(dir_ + "none"), 0);
  EXPECT_EQ(FileSize64(""), 0);
}

TEST(IsExemptFolderTest, GoogleAndNortonFolders) {
  struct Case {
    const char* path;
    bool exempt;
  } cases[] = {
      {"google/verify.htm", true},  // a slash is put in front
      {"/site/google12ab/x.htm", true},
      {"/site/nortonsw_1/x.htm", true},
      {"/site/mygoogle/x.htm", false},
      {"/site/pages/google.htm", true},  // any name beginning "google" counts
      {"/site/pages/x.htm", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsExemptFolder(c.path), c.exempt) << c.path;
}

TEST(StripUrlQueryTest, CutsAtQueryThenFragment) {
  struct Case {
    const char* url;
    const char* stripped;
  } cases[] = {
      {"http://a.com/p.htm", "http://a.com/p.htm"},
      {"http://a.com/p.php?x=1", "http://a.com/p.php"},
      {"http://a.com/p.htm#top", "http://a.com/p.htm"},
      {"p.php?x=1#top", "p.php"},
      {"p.htm#top?x=1", "p.htm"},  // a fragment before a query cuts at the "#"
      {"?only", ""},
      {"#only", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(StripUrlQuery(c.url), c.stripped) << c.url;
}

TEST(BytesToHexTest, TwoUpperCaseDigitsPerByte) {
  EXPECT_EQ(BytesToHex(""), "");
  EXPECT_EQ(BytesToHex(std::string("\x00\xff a\x9c", 5)), "00FF20619C");
}

TEST(FormatMinSecTest, MinutesAndTwoDigitSeconds) {
  struct Case {
    int64_t ms;
    const char* text;
  } cases[] = {
      {0, "0:00"},     {999, "0:00"},   {1000, "0:01"},     {59999, "0:59"},
      {60000, "1:00"}, {61000, "1:01"}, {3599999, "59:59"}, {3600000, "60:00"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatMinSec(c.ms), c.text) << c.ms;
}

TEST_F(FileRoutinesTest, SoundsAndShiftGoThroughTheDesktop) {
  PlayWaveResource("On");  // no player: nothing happens
  EXPECT_FALSE(IsShiftDown());

  std::vector<std::string> played;
  SetSoundPlayer([&](const std::string& name) { played.push_back(name); });
  PlayWaveResource("On");
  PlayWaveResource("Buzzer");
  EXPECT_EQ(played, (std::vector<std::string>{"On", "Buzzer"}));

  SetShiftKeyQuery([] { return true; });
  EXPECT_TRUE(IsShiftDown());
}

TEST(PlanBaseTagTest, FolderOfTheUrl) {
  struct Case {
    const char* url;
    const char* tag;
  } cases[] = {
      {"http://example.com/dir/page.htm", "<Base Href=\"http://example.com/dir/\">\n"},
      {"http://example.com/dir/", "<Base Href=\"http://example.com/dir/\">\n"},
      {"http://example.com", "<Base Href=\"http://example.com/\">\n"},  // slash of the scheme
      {"http://ab/x.htm", "<Base Href=\"http://ab/\">\n"},      // last "/" is the 10th character
      {"http://a/x.htm", "<Base Href=\"http://a/x.htm/\">\n"},  // ... here the 9th
  };
  for (const auto& c : cases) EXPECT_EQ(PlanBaseTag("", c.url).text, c.tag) << c.url;
}

TEST(PlanBaseTagTest, PlaceInThePage) {
  struct Case {
    const char* page;
    const char* before;  // the text before the tag
  } cases[] = {
      {"<html><Head><Title>T</TITLE></Head>", "<html><Head><Title>T</TITLE>"},
      {"<html><head><meta></HEAD><body>", "<html><head><meta>"},
      // Neither a title nor a head end: after the head tag, else the html tag, else first.
      {"<html><head lang=en><body>x", "<html><head lang=en>"},
      {"<html><header>x</header>", "<html>"},
      {"<HTML lang=en>\n<body>x", "<HTML lang=en>"},
      {"<body>just a body", ""},
      {"", ""},
      {"<html", ""},
  };
  for (const auto& c : cases) {
    TBaseTagInsertion plan = PlanBaseTag(c.page, "http://a.com/x/y.htm");
    EXPECT_EQ(std::string(c.page).substr(0, plan.offset), c.before) << c.page;
  }
}

TEST(InsertBaseTagTest, GoesIntoTheEditorAfterTheTitle) {
  struct Case {
    const char* page;
    const char* result;
  } cases[] = {
      {"<html>\r\n<head>\r\n<title>T</title>\r\n</head>\r\n<body>\r\nx",
       "<html>\r\n<head>\r\n<title>T</title><Base Href=\"http://a.com/d/\">\r\n\r\n</head>\r\n"
       "<body>\r\nx"},
      {"<html>\r\n<head>\r\n</head>\r\n<body>",
       "<html>\r\n<head>\r\n<Base Href=\"http://a.com/d/\">\r\n</head>\r\n<body>"},
      {"<html>\r\n<body>x</body>", "<html><Base Href=\"http://a.com/d/\">\r\n\r\n<body>x</body>"},
  };
  for (const auto& c : cases) {
    test::MemoryRich editor;
    editor.SetText(c.page);
    CurrentEditor = &editor;
    InsertBaseTag("http://a.com/d/index.htm");
    EXPECT_EQ(editor.GetText(), c.result) << c.page;
    // The caret ends just after the tag.
    std::string before = editor.TextRange(0, editor.SelStart());
    EXPECT_EQ(before.substr(before.size() - 5), "/\">\r\n") << c.page;
    EXPECT_TRUE(editor.Modified());
  }
  CurrentEditor = nullptr;
  InsertBaseTag("http://a.com/");  // no document: nothing to do
}

}  // namespace
}  // namespace quorrel
