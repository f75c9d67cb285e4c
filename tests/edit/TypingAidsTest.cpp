// The computations behind the typing aids: indent, smart tab, alternating
// non-breaking blanks, list items, ABC note groups, and the Sections list's keys.
#include <gtest/gtest.h>

#include "commands/KeyHooks.h"
#include "edit/TypingAids.h"

namespace quorrel {
namespace {

constexpr size_t npos = std::string::npos;

TEST(TypingAids, TheWordAboveGivesTheSmartTabsColumn) {
  struct Case {
    std::string line;
    size_t column;
    size_t word;
  } cases[] = {
      {"int    count;", 0, 7},     // text at the column, blanks, then the word
      {"int    count;", 2, 7},     // from inside the text
      {"int    count;", 4, npos},  // a blank at the column
      {"int", 0, npos},            // no blanks after the text
      {"int   ", 0, npos},         // blanks, but no word after them
      {"", 0, npos},               // an empty line
      {"ab", 5, npos},             // the line ends before the column
      {"a b c", 2, 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WordColumnAbove(c.line, c.column), c.word) << c.line << " at " << c.column;
  }
}

TEST(TypingAids, TabStopsAreEveryFifthColumn) {
  // 0-based: the 6th, 11th, 16th ... column.
  struct Case {
    size_t column, stop;
  } cases[] = {{0, 5}, {1, 5}, {4, 5}, {5, 10}, {9, 10}, {10, 15}};
  for (const auto& c : cases) EXPECT_EQ(NextTabStop(c.column), c.stop) << c.column;
}

TEST(TypingAids, BlanksAlternateWithNonBreakingBlanks) {
  EXPECT_EQ(BlankAfter("word"), TBlankTyped::Plain);
  EXPECT_EQ(BlankAfter(""), TBlankTyped::Plain);
  EXPECT_EQ(BlankAfter("word "), TBlankTyped::EarlierToNbsp);
  EXPECT_EQ(BlankAfter("word&nbsp; "), TBlankTyped::TypedAsNbsp);
  EXPECT_EQ(BlankAfter("word&nbsp;"), TBlankTyped::Plain);
  EXPECT_EQ(BlankAfter(" "), TBlankTyped::EarlierToNbsp);
}

TEST(TypingAids, ListTagsAtTheEndOfALine) {
  for (const char* line : {"<UL>", "  <ol>", "<li>One</LI>", "<Ul>  "}) {
    EXPECT_TRUE(EndsWithListTag(line)) << line;
  }
  for (const char* line : {"", "<UL> x", "<LI>", "</UL>", "<p>"}) {
    EXPECT_FALSE(EndsWithListTag(line)) << line;
  }
}

TEST(TypingAids, NoteGroupsOfAnAbcTune) {
  const std::string tune = "abc de | fg\nA2 B";
  //                         0123456789012345
  struct Case {
    size_t from, next, previous;
  } cases[] = {
      {0, 4, 0},                   // "abc" -> "de"
      {4, 9, 0},                   // "de" -> "fg": the bar line after a blank is passed over
      {6, 9, 4},                   // at the blank after "de"
      {9, 12, 4},                  // "fg" -> "A2" over the line end; back over the bar line
      {12, 15, 9},  {15, 16, 12},  // the last group: to the end of the text
      {16, 16, 15},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NextNoteGroup(tune, c.from), c.next) << c.from;
    EXPECT_EQ(PreviousNoteGroup(tune, c.from), c.previous) << c.from;
  }
}

TEST(SectionKeys, TheHighlightMovesOverTheVisibleEntries) {
  auto hidden = [](int i) { return i == 1 || i == 5; };
  struct Case {
    TKeyCode code;
    int from, to;
  } cases[] = {
      {TKeyCode::Home, 4, 0},     {TKeyCode::PageUp, 4, 0}, {TKeyCode::End, 2, 6},
      {TKeyCode::PageDown, 0, 6}, {TKeyCode::Down, 0, 2},   // past the hidden entry
      {TKeyCode::Up, 2, 0},       {TKeyCode::Down, 6, 6},   // stays at the end
      {TKeyCode::Up, 0, 0},       {TKeyCode::Right, 0, 3},  // a column of three
      {TKeyCode::Right, 4, 6},  // a column on is past the end: the last entry
      {TKeyCode::Left, 6, 3},     {TKeyCode::Left, 2, 0},   {TKeyCode::Other, 2, -1},
      {TKeyCode::Enter, 2, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SectionKeyTarget(c.code, c.from, 7, 3, hidden), c.to)
        << static_cast<int>(c.code) << " from " << c.from;
  }
  EXPECT_EQ(SectionKeyTarget(TKeyCode::Down, 0, 0, 3, hidden), -1) << "no entries";
}

}  // namespace
}  // namespace quorrel
