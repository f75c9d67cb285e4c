#include <gtest/gtest.h>

#include <QProcess>
#include <algorithm>
#include <random>

#include "shell/FastStrings.h"
#include "shell/ShellState.h"
#include "platform/Abort.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"

namespace quorrel {
namespace {

struct PosCaseRow {
  const char* pattern;
  const char* text;
  size_t start;
  size_t noCase;  // PosNoCase
  size_t exact;   // PosCase
};

TEST(FastStrings, ForwardSearchTable) {
  const PosCaseRow rows[] = {
      {"", "abc", 1, 1, 0},  // empty pattern: 1 without case, 0 with
      {"ABC", "xxabc", 1, 3, 0},
      {"abc", "xxabc", 1, 3, 3},
      {"ab", "abab", 2, 3, 3},
      {"ab", "abab", 1, 1, 1},
      {"ab", "abab", 4, 0, 0},     // window would pass the end
      {"ab", "abab", 3, 3, 3},     // start at the last possible position
      {"abcdef", "abc", 1, 0, 0},  // longer than the text
      {"a", "", 1, 0, 0},
      {"a", "bbba", 1, 4, 4},
      {"A", "bbba", 1, 4, 0},
      {"c", "abc", 3, 3, 3},
      {"c", "abc", 4, 0, 0},                  // start beyond the end
      {"\xE9t\xE9", "L'\xC9T\xC9", 1, 3, 0},  // é/É through the cp1252 table
      {"\x9A", "x\x8A", 1, 2, 0},             // š/Š
      {"aab", "aaaab", 1, 3, 3},              // mismatch after a partial match
      {"needle", "haystack with a NeEdLe in it", 1, 17, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.pattern) + " in " + r.text);
    EXPECT_EQ(PosNoCase(r.pattern, r.text, r.start), r.noCase);
    EXPECT_EQ(PosCase(r.pattern, r.text, r.start), r.exact);
  }
}

TEST(FastStrings, BackwardSearchTable) {
  struct Row {
    const char* pattern;
    const char* text;
    size_t start;
    size_t expected;
  } rows[] = {
      {"ab", "abab", 0, 3},                            // from the end
      {"ab", "abab", 2, 1},    {"ab", "abab", 10, 3},  // beyond the end: last possible start
      {"AB", "abab", 3, 3},    {"ab", "abab", 1, 1},  {"", "abab", 0, 0},
      {"abcde", "abab", 0, 0}, {"b", "abab", 3, 2},   {"x", "abab", 0, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.pattern) + " from " + std::to_string(r.start));
    EXPECT_EQ(PosBackNoCase(r.pattern, r.text, r.start), r.expected);
  }
}

TEST(FastStrings, ReplaceTable) {
  struct Row {
    const char* text;
    const char* find;
    const char* replace;
    bool caseSensitive;
    const char* expected;
  } rows[] = {
      {"aaaa", "aa", "b", true, "bb"},  // non-overlapping, left to right
      {"aaa", "aa", "b", true, "ba"},
      {"AaAa", "aa", "b", false, "bb"},
      {"AaAa", "aa", "b", true, "AaAa"},
      {"", "a", "b", true, ""},
      {"abc", "", "x", true, "abc"},
      {"abc", "abc", "", true, ""},
      {"a.b.c", ".", "<dot>", true, "a<dot>b<dot>c"},  // growing past the first estimate
      {"xyx", "x", "xx", true, "xxyxx"},               // replacement contains the find
      {"tail ab", "ab", "Z", false, "tail Z"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.text) + " / " + r.find);
    EXPECT_EQ(ReplaceAll(r.text, r.find, r.replace, r.caseSensitive), r.expected);
  }
  EXPECT_EQ(ReplaceNoCase("Hello HELLO", "hello", "bye"), "bye bye");
  EXPECT_EQ(ReplaceCase("Hello HELLO", "HELLO", "bye"), "Hello bye");
}

TEST(FastStrings, ReplaceAllMatchesNaiveReplaceOnRandomText) {
  std::mt19937 rng(42);
  for (int round = 0; round < 300; ++round) {
    std::string text, find, replace;
    for (int i = 0, n = rng() % 60; i < n; ++i) text += "abAB"[rng() % 4];
    for (int i = 0, n = 1 + rng() % 3; i < n; ++i) find += "ab"[rng() % 2];
    for (int i = 0, n = rng() % 5; i < n; ++i) replace += "xyz"[rng() % 3];
    std::string expected;
    for (size_t i = 0; i < text.size();) {
      bool hit = i + find.size() <= text.size() &&
                 std::equal(find.begin(), find.end(), text.begin() + i, [](char a, char b) {
                   return UpperCaseTable[(unsigned char)a] == UpperCaseTable[(unsigned char)b];
                 });
      if (hit) {
        expected += replace;
        i += find.size();
      } else {
        expected += text[i++];
      }
    }
    ASSERT_EQ(ReplaceAll(text, find, replace, false), expected) << text << " " << find;
  }
}

// The search tries sixteen places at once: every length of text around that block,
// every start and both kinds of match agree with a plain search.
TEST(FastStrings, ForwardSearchMatchesNaiveSearchOnRandomText) {
  std::mt19937 rng(7);
  const char alphabet[] = "abAB<\xE9\xC9\xFF\x9F";
  auto fold = [](char c) { return UpperCaseTable[static_cast<unsigned char>(c)]; };
  for (int round = 0; round < 3000; ++round) {
    std::string text, pattern;
    for (int i = 0, n = rng() % 70; i < n; ++i) text += alphabet[rng() % 9];
    for (int i = 0, n = 1 + rng() % 4; i < n; ++i) pattern += alphabet[rng() % 9];
    const size_t start = 1 + rng() % (text.size() + 2);
    size_t noCase = 0, exact = 0;
    for (size_t i = start - 1; i + pattern.size() <= text.size(); ++i) {
      if (noCase == 0 && std::equal(pattern.begin(), pattern.end(), text.begin() + i,
                                    [&](char a, char b) { return fold(a) == fold(b); })) {
        noCase = i + 1;
      }
      if (exact == 0 && text.compare(i, pattern.size(), pattern) == 0) exact = i + 1;
    }
    ASSERT_EQ(PosNoCase(pattern, text, start), noCase) << text << " / " << pattern << " " << start;
    ASSERT_EQ(PosCase(pattern, text, start), exact) << text << " / " << pattern << " " << start;
  }
}

TEST(FastStrings, MultiReplacePairsAndMismatch) {
  EXPECT_EQ(MultiReplace("one two three", "one|two", "1|2", true), "1 2 three");
  EXPECT_EQ(MultiReplace("a", "", "", true), "a");

  EXPECT_THROW(MultiReplace("one two", "one|two", "1", true), EAbort);
  ASSERT_EQ(test::Dialogs().Calls().size(), 1u);
  EXPECT_EQ(test::Dialogs().Last().text,
            "MultiReplace must use same number of elements.\r\r[one]  >  [1]\r\n");
}

TEST(FastStrings, MultiReplaceAppliesFirstPairBeforeStopping) {
  // The text itself is not returned on abort, but the first pair's log line is shown.
  EXPECT_THROW(MultiReplace("x", "a", "b|c", false), EAbort);
  EXPECT_NE(test::Dialogs().Last().text.find("[a]  >  [b]"), std::string::npos);
}

TEST(FastStrings, BarLists) {
  EXPECT_EQ(InBarListNoCase("htm", "|HTM|HTML|"), 1u);
  EXPECT_EQ(InBarList("htm", "|HTM|HTML|"), 0u);
  EXPECT_EQ(InBarListNoCase("html", "|HTM|HTML|"), 5u);
  EXPECT_EQ(InBarListNoCase("ht", "|HTM|HTML|"), 0u);  // whole items only
  EXPECT_EQ(InBarList("", "|a||b|"), 3u);
}

TEST(FastStrings, UpperCaseLatin1IgnoresTheCodePage) {
  EXPECT_EQ(UpperCaseLatin1("abc\xE9\xFF\xF7z"), "ABC\xC9\xDF\xD7Z");
  EXPECT_EQ(UpperCaseLatin1("\x9A\xB5\x60{"), "\x9A\xB5\x60{");
}

TEST(FastStrings, RightCharsAndCopyToEnd) {
  EXPECT_EQ(RightChars("abcdef", 2), "ef");
  EXPECT_EQ(RightChars("ab", 5), "ab");
  EXPECT_EQ(RightChars("ab", 0), "");
  EXPECT_EQ(CopyToEnd("abcdef", 3), "cdef");
  EXPECT_EQ(CopyToEnd("abcdef", 7), "");
  EXPECT_EQ(CopyToEnd("abcdef", 0), "abcdef");
}

TEST(FastStrings, PosNoCaseOrAbortMessages) {
  CurrentCommand = "FindNext";
  EXPECT_EQ(PosNoCaseOrAbort("b", "abc", 1), 2u);
  EXPECT_TRUE(test::Dialogs().Calls().empty());

  EXPECT_THROW(PosNoCaseOrAbort("\t", "abc & def", 1), EAbort);
  EXPECT_EQ(test::Dialogs().Last().text,
            "The text:\r$9\rwas not found in\rabc & def ..." + std::string(20, ' '));

  std::string longText(150, 'x');
  EXPECT_THROW(PosNoCaseOrAbort("zz", longText, 5), EAbort);
  EXPECT_EQ(test::Dialogs().Last().text,
            "The text:\rzz\rwas not found in\r" + std::string(100, 'x') +
                " ...\rwhen searching beyond position 5" + std::string(20, ' '));
  EXPECT_EQ(test::Dialogs().Last().kind, DialogKind::Message);
}

// The upper-case table against Python's cp1252 codec: a byte upper-cases when
// its character's upper case is one character that cp1252 can encode.
TEST(FastStrings, UpperCaseTableMatchesTheCp1252Charmap) {
  QProcess py;
  py.start("python3", {"-c",
                       "import sys\n"
                       "out=[]\n"
                       "for b in range(256):\n"
                       "  try:\n"
                       "    u=bytes([b]).decode('cp1252').upper()\n"
                       "    e=u.encode('cp1252') if len(u)==1 else bytes([b])\n"
                       "  except UnicodeError:\n"
                       "    e=bytes([b])\n"
                       "  out.append(str(e[0]))\n"
                       "print(' '.join(out))\n"});
  ASSERT_TRUE(py.waitForFinished(10000));
  QStringList values = QString::fromUtf8(py.readAllStandardOutput()).simplified().split(' ');
  ASSERT_EQ(values.size(), 256);
  for (int b = 0; b < 256; ++b) {
    EXPECT_EQ(UpperCaseTable[b], values[b].toInt()) << "byte " << b;
  }
}

}  // namespace
}  // namespace quorrel
