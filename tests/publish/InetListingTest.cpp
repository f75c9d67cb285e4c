// The pure parts of the FTP layer: listings as real servers send them, replies,
// names, wildcards and times.
#include <gtest/gtest.h>

#include "platform/Inet.h"
#include "platform/InetListing.h"

namespace quorrel::inet {
namespace {

// 2024-06-15 12:00:00 UTC, the "now" of the year guesses.
const int64_t kNow = UtcSeconds(2024, 6, 15, 12, 0, 0);

struct Expected {
  std::string name;
  bool isDir, isLink;
  uint64_t size;
  int64_t time;
  bool hasSeconds;
};

void ExpectEntries(const std::vector<TListingEntry>& got, const std::vector<Expected>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(want[i].name);
    EXPECT_EQ(got[i].name, want[i].name);
    EXPECT_EQ(got[i].isDir, want[i].isDir);
    EXPECT_EQ(got[i].isLink, want[i].isLink);
    EXPECT_EQ(got[i].size, want[i].size);
    EXPECT_EQ(got[i].time, want[i].time);
    EXPECT_EQ(got[i].hasSeconds, want[i].hasSeconds);
  }
}

TEST(InetListing, PyftpdlibUnixListing) {
  // As pyftpdlib 1.5.7 sends it: GMT times, "Mmm dd  yyyy" after six months.
  const std::string data =
      "-rw-r--r--   1 root     root            6 Jun 10 13:20 a b#%.htm\r\n"
      "lrwxrwxrwx   1 root     root            3 Jun 10 13:20 lnk -> sub\r\n"
      "drwxr-xr-x   2 root     root         4096 Jun 10 13:20 sub\r\n"
      "-rw-r--r--   1 root     root     5242880 Dec 31  2019 big.bin\r\n";
  ExpectEntries(ParseListListing(data, kNow),
                {{"a b#%.htm", false, false, 6, UtcSeconds(2024, 6, 10, 13, 20, 0), false},
                 {"lnk", false, true, 3, UtcSeconds(2024, 6, 10, 13, 20, 0), false},
                 {"sub", true, false, 4096, UtcSeconds(2024, 6, 10, 13, 20, 0), false},
                 {"big.bin", false, false, 5242880, UtcSeconds(2019, 12, 31, 0, 0, 0), false}});
}

TEST(InetListing, VsftpdListingWithNumericOwners) {
  const std::string data =
      "-rw-r--r--    1 0        0               3 Jun 10 13:28 a b.htm\r\n"
      "lrwxrwxrwx    1 0        0               3 Jun 10 13:28 lnk -> sub\r\n"
      "-rw-r--r--    1 0        0               0 Mar 04  2020 old.htm\r\n"
      "drwxr-xr-x    2 0        0            4096 Jun 10 13:28 sub\r\n";
  std::vector<TListingEntry> entries = ParseListListing(data, kNow);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].name, "a b.htm");
  EXPECT_EQ(entries[1].linkTarget, "sub");
  EXPECT_EQ(entries[2].time, UtcSeconds(2020, 3, 4, 0, 0, 0));
  EXPECT_TRUE(entries[3].isDir);
}

TEST(InetListing, UnixListingOddities) {
  struct Case {
    const char* line;
    const char* name;  // nullptr: not an entry
    uint64_t size;
  };
  const Case cases[] = {
      {"total 48", nullptr, 0},
      {"", nullptr, 0},
      {"crw-rw-rw-   1 root root 1, 3 Jun 10 13:20 null", nullptr, 0},
      {"prw-r--r--   1 root root    0 Jun 10 13:20 fifo", nullptr, 0},
      // No group column, as some servers send.
      {"-rw-r--r--   1 owner   1234 Jun 10 13:20 nogroup.htm", "nogroup.htm", 1234},
      // An owner called like a month.
      {"-rw-r--r--   1 Jan   staff   77 Feb  3 10:00 owner.htm", "owner.htm", 77},
      // ACL marks after the permissions.
      {"-rw-r--r--+  1 a b 5 Jun 10 13:20 acl.htm", "acl.htm", 5},
      // Blanks inside and at the end of a name belong to it.
      {"-rw-r--r--   1 a b 5 Jun 10 13:20 two  blanks ", "two  blanks ", 5},
      // A size beyond 4 GB.
      {"-rw-r--r--   1 a b 6442450944 Jun 10 13:20 huge.iso", "huge.iso", 6442450944ULL},
      // No name at all.
      {"-rw-r--r--   1 a b 5 Jun 10 13:20", nullptr, 0},
      {"-rw-r--r--   1 a b 5 Jun 10 13:20 ", nullptr, 0},
      {"-rw-r--r--   1 a b 5 Foo 10 13:20 bad month", nullptr, 0},
      {"-rw-r--r--   1 a b 99999999999999999999 Jun 10 13:20 too big", nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::optional<TListingEntry> e = ParseListLine(c.line, kNow);
    ASSERT_EQ(e.has_value(), c.name != nullptr);
    if (!e) continue;
    EXPECT_EQ(e->name, c.name);
    EXPECT_EQ(e->size, c.size);
  }
}

TEST(InetListing, YearlessDatesNeverLieAheadByMoreThanADay) {
  struct Case {
    const char* stamp;
    int64_t expected;
  };
  const Case cases[] = {
      {"Jun 15 11:00", UtcSeconds(2024, 6, 15, 11, 0, 0)},
      {"Jun 16 11:00", UtcSeconds(2024, 6, 16, 11, 0, 0)},  // within a day: clocks differ
      {"Jun 17 13:00", UtcSeconds(2023, 6, 17, 13, 0, 0)},
      {"Dec 31 23:59", UtcSeconds(2023, 12, 31, 23, 59, 0)},
      {"Jan  1 00:00", UtcSeconds(2024, 1, 1, 0, 0, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stamp);
    auto e = ParseListLine(std::string("-rw-r--r-- 1 a b 1 ") + c.stamp + " f", kNow);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->time, c.expected);
  }
  // 29 February seen in a year without one can only be last year's.
  auto leap = ParseListLine("-rw-r--r-- 1 a b 1 Feb 29 10:00 f", UtcSeconds(2025, 3, 1, 0, 0, 0));
  ASSERT_TRUE(leap);
  EXPECT_EQ(leap->time, UtcSeconds(2024, 2, 29, 10, 0, 0));
}

TEST(InetListing, DosAndIisListings) {
  const std::string data =
      "01-15-24  10:30AM       <DIR>          wwwroot\r\n"
      "01-15-24  12:05PM                 1234 index.htm\r\n"
      "12-31-99  12:00AM                    0 y2k.txt\r\n"
      "06-01-2023  23:45              5000000 big file.zip\r\n"
      "2022-03-04  07:08:09            42 iso date.htm\r\n"
      "01-15-24  13:30PM                 1 bad hour.htm\r\n";
  ExpectEntries(ParseListListing(data, kNow),
                {{"wwwroot", true, false, 0, UtcSeconds(2024, 1, 15, 10, 30, 0), false},
                 {"index.htm", false, false, 1234, UtcSeconds(2024, 1, 15, 12, 5, 0), false},
                 {"y2k.txt", false, false, 0, UtcSeconds(1999, 12, 31, 0, 0, 0), false},
                 {"big file.zip", false, false, 5000000, UtcSeconds(2023, 6, 1, 23, 45, 0), false},
                 {"iso date.htm", false, false, 42, UtcSeconds(2022, 3, 4, 7, 8, 9), true}});
}

TEST(InetListing, DosNamesKeepEveryBlankFromTheirColumnOn) {
  // IIS: sizes end at one column, names begin one blank after it; "<DIR>" is padded
  // to the same column.
  const int64_t t = UtcSeconds(2024, 1, 15, 10, 30, 0);
  struct Case {
    std::string data;
    std::vector<std::string> names;
  } cases[] = {
      {"01-15-24  10:30AM                   12  lead.txt\r\n"
       "01-15-24  10:30AM                   12 double  blank.txt\r\n"
       "01-15-24  10:30AM                   12 trail.txt \r\n"
       "01-15-24  10:30AM       <DIR>           lead dir\r\n"
       "01-15-24  10:30AM       <DIR>          dir  two \r\n",
       {" lead.txt", "double  blank.txt", "trail.txt ", " lead dir", "dir  two "}},
      // Folders alone: the padding IIS gives "<DIR>".
      {"01-15-24  10:30AM       <DIR>            two lead\r\n", {"  two lead"}},
      // A layout of another width: the file names' column holds for the folders.
      {"01-15-24  10:30AM      12  a\r\n"
       "01-15-24  10:30AM <DIR>    b\r\n",
       {" a", " b"}},
      // Nothing after the field: no entry.
      {"01-15-24  10:30AM                   12 \r\n"
       "01-15-24  10:30AM       <DIR>\r\n",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    std::vector<std::string> names;
    for (const TListingEntry& e : ParseListListing(c.data, kNow)) {
      names.push_back(e.name);
      EXPECT_EQ(e.time, t);
    }
    EXPECT_EQ(names, c.names);
  }
  // A single line, as a search for one name reads it.
  ASSERT_TRUE(ParseListLine("01-15-24  10:30AM                   12  lead.txt", kNow));
  EXPECT_EQ(ParseListLine("01-15-24  10:30AM                   12  lead.txt", kNow)->name,
            " lead.txt");
  EXPECT_EQ(ParseListLine("01-15-24  10:30AM       <DIR>           lead dir", kNow)->name,
            " lead dir");
}

TEST(InetListing, MachineListings) {
  const std::string data =
      // pyftpdlib 1.5.7 (a link to a folder reads as a folder here).
      "modify=20241210132028;perm=eldfmMTcp;size=4096;type=dir;unique=fe00ga723ea; loop\r\n"
      "type=file;size=156;perm=r;modify=20071029155301;unique=8012; music.mp3\r\n"
      // ProFTPD marks links, and a fraction of a second may follow.
      "modify=20200101000000.123;perm=adfr;size=11;type=OS.unix=slink:/srv/www/x;unique=1; lnk\r\n"
      "modify=20200101000000;perm=adfr;size=11;type=OS.unix=symlink;unique=1; lnk2\r\n"
      "type=cdir;modify=20200101000000; .\r\n"
      "type=pdir;modify=20200101000000; ..\r\n"
      "type=OS.unix=blockdev;size=0; sda\r\n"
      "Type=File;Size=7;Modify=19991231235959; Name With; Semicolon\n"
      "size=3; untyped\n"
      "nonsense-without-a-blank\n";
  std::vector<TListingEntry> entries = ParseMlsdListing(data);
  ExpectEntries(
      entries,
      {{"loop", true, false, 4096, UtcSeconds(2024, 12, 10, 13, 20, 28), true},
       {"music.mp3", false, false, 156, UtcSeconds(2007, 10, 29, 15, 53, 1), true},
       {"lnk", false, true, 11, UtcSeconds(2020, 1, 1, 0, 0, 0), true},
       {"lnk2", false, true, 11, UtcSeconds(2020, 1, 1, 0, 0, 0), true},
       {"Name With; Semicolon", false, false, 7, UtcSeconds(1999, 12, 31, 23, 59, 59), true},
       {"untyped", false, false, 3, kNoTime, false}});
  EXPECT_EQ(entries[2].linkTarget, "/srv/www/x");
}

TEST(InetListing, GarbageNeverBreaksTheParsers) {
  std::string junk;
  for (int i = 0; i < 4000; ++i) junk += static_cast<char>((i * 131 + 7) % 256);
  const std::string samples[] = {junk,
                                 std::string(1000, ' '),
                                 std::string(1000, ';'),
                                 "=;=;=; x",
                                 "type=",
                                 ";;;; ",
                                 "-rw",
                                 "01-",
                                 "99-99-99  99:99PM  1 x",
                                 "-rw-r--r-- 1 a b 1 Jun 99 13:20 f",
                                 "-rw-r--r-- 1 a b 1 Jun 1 25:61 f",
                                 std::string("\0\0\0", 3)};
  for (const std::string& s : samples) {
    ParseListListing(s, kNow);
    ParseMlsdListing(s);
    ParseFeatReply(s);
    ParsePwdReply(s);
  }
  // An impossible date still names a file; its time is unknown.
  auto e = ParseListLine("-rw-r--r-- 1 a b 1 Jun 31 10:00 june31", kNow);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->name, "june31");
  EXPECT_EQ(e->time, kNoTime);
}

TEST(InetReplies, CodesPathsAndFeatures) {
  EXPECT_EQ(ReplyCode("550 No such file or directory."), 550);
  EXPECT_EQ(ReplyCode("211-Features:\r\n UTF8\r\n211 End"), 211);
  EXPECT_EQ(ReplyCode("hello"), 0);
  EXPECT_EQ(ReplyCode("55"), 0);

  EXPECT_EQ(ParsePwdReply("257 \"/\" is the current directory."), "/");
  EXPECT_EQ(ParsePwdReply("257 \"/a \"\"quoted\"\" b\" is current"), "/a \"quoted\" b");
  EXPECT_EQ(ParsePwdReply("257 no quotes"), "");
  EXPECT_EQ(ParsePwdReply("257 \"/unterminated"), "");

  EXPECT_EQ(ParseFeatReply("211-Features supported:\r\n EPRT\r\n MLST type*;size*;\r\n UTF8\r\n"
                           " mdtm\r\n211 End FEAT."),
            (std::vector<std::string>{"EPRT", "MLST", "UTF8", "MDTM"}));
  EXPECT_TRUE(ParseFeatReply("500 Unknown command").empty());

  EXPECT_EQ(ParseFtpTimeVal("20240615120000"), kNow);
  EXPECT_EQ(ParseFtpTimeVal("20240615120000.999"), kNow);
  EXPECT_EQ(ParseFtpTimeVal("2024061512"), kNoTime);
  EXPECT_EQ(ParseFtpTimeVal("20241315120000"), kNoTime);
}

TEST(InetNames, WhatMayBecomeALocalFile) {
  struct Case {
    std::string name;
    bool ok;
  };
  const Case cases[] = {
      {"index.htm", true},
      {"a b#%&;.htm", true},
      {"caf\xE9.htm", true},
      {".htaccess", true},
      {"", false},
      {".", false},
      {"..", false},
      {"../up.htm", false},
      {"a/b", false},
      {"a\\b", false},
      {"tab\t", false},
      {std::string("nul\0x", 5), false},
      {"del\x7F", false},
      {std::string(259, 'n'), true},
      {std::string(260, 'n'), false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsAcceptableServerName(c.name), c.ok) << c.name;
  EXPECT_TRUE(IsSafeForCommand("/a b/c#d"));
  EXPECT_FALSE(IsSafeForCommand("a\r\nDELE b"));
  EXPECT_FALSE(IsSafeForCommand(std::string("a\0b", 3)));
}

TEST(InetNames, WindowsCodePageAndUtf8OnTheWire) {
  struct Case {
    std::string ansi, wire;
  };
  const Case cases[] =
      {
          {"plain.htm", "plain.htm"},     {"caf\xE9", "caf\xC3\xA9"},
          {"\x80uro", "\xE2\x82\xACuro"}, {"\x9C\x8A", "\xC5\x93\xC5\xA0"},
          {"\x81", "\xC2\x81"},  // a byte the code page leaves undefined survives
      };
  for (const Case& c : cases) {
    EXPECT_EQ(AnsiToWire(c.ansi), c.wire);
    std::string back;
    ASSERT_TRUE(WireToAnsi(c.wire, back));
    EXPECT_EQ(back, c.ansi);
  }
  std::string out;
  EXPECT_FALSE(WireToAnsi("caf\xE9", out));       // Latin-1 bytes, not UTF-8
  EXPECT_FALSE(WireToAnsi("\xE6\x97\xA5", out));  // no such character in the code page
  EXPECT_FALSE(WireToAnsi("\xC0\xAF", out));      // overlong "/"
  EXPECT_FALSE(WireToAnsi("\xED\xA0\x80", out));  // a lone surrogate
  EXPECT_FALSE(WireToAnsi("\xC3", out));          // cut short
  EXPECT_TRUE(IsUtf8("\xE6\x97\xA5"));
  EXPECT_FALSE(IsUtf8("caf\xE9"));
  EXPECT_EQ(PercentEncodePath("/a b/c#d%e?f\xE9"), "/a%20b/c%23d%25e%3Ff%E9");
}

TEST(InetWildcards, WindowsRules) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  };
  const Case cases[] = {
      {"*.*", "noext", true},
      {"*.*", "a.b.c", true},
      {"*", ".htaccess", true},
      {"*.htm", "a.HTM", true},
      {"*.htm", "a.html", true},
      {"*.htm", "a.ht", false},
      {"*.html", "a.htm", false},
      {"?.htm", "a.htm", true},
      {"?.htm", "ab.htm", false},
      {"a*b*c", "aXXbYYc", true},
      {"a*b*c", "aXXbYY", false},
      {"INDEX.*", "index.php", true},
      {"caf\xC9.*", "caf\xE9.htm", true},
      {"*.ht?", "x.htm", true},
      {"a?b", "a b", true},
      {"**", "", true},
      {"?", "", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " ~ " << c.name;
  EXPECT_TRUE(HasWildcard("a?"));
  EXPECT_FALSE(HasWildcard("plain.htm"));
}

TEST(InetTimes, FileTimesAndDosWords) {
  const int64_t t = UtcSeconds(2024, 6, 15, 12, 34, 57);
  FILETIME ft = UnixTimeToFileTime(t);
  EXPECT_EQ(FileTimeToUnixTime(ft), t);
  uint16_t date, clock;
  ASSERT_TRUE(FileTimeToDosDateTime(ft, &date, &clock));
  EXPECT_EQ(date, ((2024 - 1980) << 9) | (6 << 5) | 15);
  EXPECT_EQ(clock, (12 << 11) | (34 << 5) | 28);  // two-second grain

  struct Case {
    int year;
    bool ok;
  };
  for (Case c : {Case{1979, false}, Case{1980, true}, Case{2107, true}, Case{2108, false}}) {
    EXPECT_EQ(
        FileTimeToDosDateTime(UnixTimeToFileTime(UtcSeconds(c.year, 6, 1, 0, 0, 0)), &date, &clock),
        c.ok)
        << c.year;
  }
  // No time at all.
  EXPECT_FALSE(FileTimeToDosDateTime(FILETIME{}, &date, &clock));
  EXPECT_EQ(date, 0);
  EXPECT_EQ(FileTimeToUnixTime(FILETIME{}), kNoTime);
  EXPECT_EQ(UnixTimeToFileTime(kNoTime).dwLowDateTime, 0u);

  EXPECT_EQ(UtcSeconds(1970, 1, 1, 0, 0, 0), 0);
  EXPECT_EQ(UtcSeconds(2000, 2, 29, 0, 0, 0), 951782400);
  EXPECT_EQ(UtcSeconds(1900, 2, 29, 0, 0, 0), kNoTime);
  EXPECT_EQ(UtcSeconds(2023, 4, 31, 0, 0, 0), kNoTime);
}

}  // namespace
}  // namespace quorrel::inet
