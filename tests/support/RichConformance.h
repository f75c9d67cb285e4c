#pragma once
// One suite of behaviour that every editor control must share, run against the
// in-memory editor (tests/editor) and the real control (tests/ui), so that the
// two cannot drift apart.
//
// Instantiate with a factory type:
//   struct Factory {
//     static std::unique_ptr<TMyRich> Make();  // a control with a view of some lines
//     static void Settle();                    // lets pending layout work run
//   };
//   INSTANTIATE_TYPED_TEST_SUITE_P(Name, RichConformance, Factory);
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "shell/MyRich.h"

namespace quorrel::test {

template <typename Factory>
class RichConformance : public ::testing::Test {
 protected:
  void SetUp() override { rich = Factory::Make(); }
  void Put(const std::string& text) {
    rich->SetText(text);
    Factory::Settle();
  }
  static std::string NumberedLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
      if (i > 0) text += "\r\n";
      text += "line " + std::to_string(i);
    }
    return text;
  }
  std::unique_ptr<TMyRich> rich;
};

TYPED_TEST_SUITE_P(RichConformance);

TYPED_TEST_P(RichConformance, TextReadsOutWithCrLfAndNoFinalLineEnd) {
  struct Case {
    std::string in, out;
    size_t length, lines;
  } cases[] = {
      {"", "", 0, 1},
      {"a", "a", 1, 1},
      {"ab\r\ncd", "ab\r\ncd", 5, 2},
      {"ab\ncd", "ab\r\ncd", 5, 2},
      {"ab\rcd", "ab\r\ncd", 5, 2},
      {"ab\r\n", "ab\r\n", 3, 2},
      {"\r\n\r\n", "\r\n\r\n", 2, 3},
      {"a\n\r\nb", "a\r\n\r\nb", 4, 3},
      {"\tx  \x0b y", "\tx  \x0b y", 7, 1},
  };
  for (const auto& c : cases) {
    this->Put(c.in);
    EXPECT_EQ(this->rich->GetText(), c.out) << "in: " << c.in;
    EXPECT_EQ(this->rich->TextLength(), c.length) << "in: " << c.in;
    EXPECT_EQ(this->rich->LineCount(), c.lines) << "in: " << c.in;
  }
}

TYPED_TEST_P(RichConformance, EveryWindows1252ByteSurvives) {
  std::string all;
  for (int b = 1; b < 256; ++b) {
    if (b != '\r' && b != '\n') all += static_cast<char>(b);
  }
  this->Put(all + "\r\n" + all);
  EXPECT_EQ(this->rich->GetText(), all + "\r\n" + all);
  this->rich->Select(0, all.size());
  EXPECT_EQ(this->rich->SelText(), all);
}

TYPED_TEST_P(RichConformance, SelectionIsClampedAndCountsOnePositionPerLineEnd) {
  this->Put("ab\r\ncd");
  struct Case {
    size_t start, length, wantStart, wantLength;
    std::string text;
  } cases[] = {
      {1, 3, 1, 3, "b\r\nc"}, {2, 1, 2, 1, "\r\n"}, {0, 100, 0, 5, "ab\r\ncd"},
      {100, 4, 5, 0, ""},     {3, 0, 3, 0, ""},
  };
  for (const auto& c : cases) {
    this->rich->Select(c.start, c.length);
    EXPECT_EQ(this->rich->SelStart(), c.wantStart) << c.start << "," << c.length;
    EXPECT_EQ(this->rich->SelLength(), c.wantLength) << c.start << "," << c.length;
    EXPECT_EQ(this->rich->SelText(), c.text) << c.start << "," << c.length;
  }
  EXPECT_EQ(this->rich->TextRange(1, 3), "b\r\nc");
  EXPECT_EQ(this->rich->TextRange(4, 10), "d");
  EXPECT_EQ(this->rich->TextRange(9, 1), "");
}

TYPED_TEST_P(RichConformance, ReplacingTheSelectionIsAnEdit) {
  int changes = 0;
  this->rich->SetOnChange([&] { ++changes; });
  this->Put("one two");
  EXPECT_FALSE(this->rich->Modified());
  EXPECT_GE(changes, 1);
  changes = 0;
  this->rich->Select(4, 3);
  this->rich->SetSelText("2\r\nthree");
  EXPECT_EQ(this->rich->GetText(), "one 2\r\nthree");
  EXPECT_EQ(this->rich->SelStart(), 11u);  // after the insertion, one position per line end
  EXPECT_EQ(this->rich->SelLength(), 0u);
  EXPECT_TRUE(this->rich->Modified());
  EXPECT_GE(changes, 1);
  this->rich->SetModified(false);
  EXPECT_FALSE(this->rich->Modified());
  this->rich->SetModified(true);
  this->Put("fresh");
  EXPECT_FALSE(this->rich->Modified()) << "setting the text clears the flag";
  EXPECT_EQ(this->rich->SelStart(), 0u);
}

TYPED_TEST_P(RichConformance, LinesAreTextLines) {
  this->Put("ab\r\n\r\ncde\r\nf");
  EXPECT_EQ(this->rich->LineCount(), 4u);
  struct Case {
    size_t line, index, length;
  } lines[] = {{0, 0, 2}, {1, 3, 0}, {2, 4, 3}, {3, 8, 1}, {4, 9, 0}, {99, 9, 0}};
  for (const auto& c : lines) {
    EXPECT_EQ(this->rich->LineIndex(c.line), c.index) << "line " << c.line;
    EXPECT_EQ(this->rich->LineLength(c.line), c.length) << "line " << c.line;
  }
  size_t lineOf[] = {0, 0, 0, 1, 2, 2, 2, 2, 3, 3};
  for (size_t pos = 0; pos < 10; ++pos) {
    EXPECT_EQ(this->rich->LineFromChar(pos), lineOf[pos]) << "pos " << pos;
  }
}

TYPED_TEST_P(RichConformance, OffsetsOfTheCrLfTextConvertBothWays) {
  const std::string text = "ab\r\n\r\ncde\r\nf";
  this->Put(text);
  // Every offset that is not the LF of a CR LF maps to a position and back.
  for (size_t offset = 0; offset <= text.size(); ++offset) {
    if (offset > 0 && text[offset - 1] == '\r') continue;
    size_t pos = this->rich->OffsetToPos(offset);
    EXPECT_EQ(this->rich->PosToOffset(pos), offset) << "offset " << offset;
    EXPECT_EQ(this->rich->TextRange(0, pos), text.substr(0, offset)) << "offset " << offset;
  }
  EXPECT_EQ(this->rich->OffsetToPos(3), 2u) << "the LF of a CR LF is its line end";
  EXPECT_EQ(this->rich->OffsetToPos(100), 9u);
  EXPECT_EQ(this->rich->PosToOffset(100), text.size());
}

TYPED_TEST_P(RichConformance, ViewScrollsByLinesWithinTheText) {
  this->Put(this->NumberedLines(300));
  TMyRich& r = *this->rich;
  const size_t visible = r.VisibleLineCount();
  ASSERT_GE(visible, 5u);
  ASSERT_LT(visible, 200u);
  EXPECT_EQ(r.FirstVisibleLine(), 0u);
  EXPECT_EQ(r.FirstVisiblePos(), 0u);

  r.ScrollLines(50);
  TypeParam::Settle();
  EXPECT_EQ(r.FirstVisibleLine(), 50u);
  EXPECT_EQ(r.FirstVisiblePos(), r.LineIndex(50));
  size_t bottomLine = r.LineFromChar(r.BottomLeftPos());
  EXPECT_GE(bottomLine, 50 + visible - 1);
  EXPECT_LE(bottomLine, 50 + visible);

  r.ScrollLines(-20);
  TypeParam::Settle();
  EXPECT_EQ(r.FirstVisibleLine(), 30u);
  r.ScrollLines(-100);
  TypeParam::Settle();
  EXPECT_EQ(r.FirstVisibleLine(), 0u);

  // The caret brought into view from below and from above: its line lies between
  // the first visible line and the line at the bottom-left of the view.
  r.Select(r.LineIndex(200) + 2, 0);
  EXPECT_EQ(r.FirstVisibleLine(), 0u) << "selecting alone does not scroll";
  r.ScrollCaret();
  TypeParam::Settle();
  EXPECT_LE(r.FirstVisibleLine(), 200u);
  EXPECT_GE(r.LineFromChar(r.BottomLeftPos()), 200u);
  EXPECT_GE(r.FirstVisibleLine() + visible, 200u) << "scrolled no further than needed";
  r.Select(r.LineIndex(10), 0);
  r.ScrollCaret();
  TypeParam::Settle();
  EXPECT_EQ(r.FirstVisibleLine(), 10u);

  r.ScrollToBottom();
  TypeParam::Settle();
  EXPECT_EQ(r.LineFromChar(r.BottomLeftPos()), 299u);
  EXPECT_GE(r.FirstVisibleLine() + visible, 299u);
  r.ScrollLines(1000);
  TypeParam::Settle();
  EXPECT_EQ(r.LineFromChar(r.BottomLeftPos()), 299u) << "scrolling stops at the end";
}

TYPED_TEST_P(RichConformance, ShortTextNeverScrolls) {
  this->Put("one\r\ntwo");
  this->rich->ScrollLines(5);
  TypeParam::Settle();
  EXPECT_EQ(this->rich->FirstVisibleLine(), 0u);
  EXPECT_EQ(this->rich->LineFromChar(this->rich->BottomLeftPos()), 1u);
}

TYPED_TEST_P(RichConformance, SettingsAreKept) {
  TMyRich& r = *this->rich;
  EXPECT_EQ(r.Zoom(), 100);
  r.SetZoom(150);
  EXPECT_EQ(r.Zoom(), 150);
  r.SetWordWrap(false);
  EXPECT_FALSE(r.WordWrap());
  r.SetWordWrap(true);
  EXPECT_TRUE(r.WordWrap());
  EXPECT_TRUE(r.PlainText());
  r.SetPlainText(false);
  EXPECT_FALSE(r.PlainText());
  r.SetPlainText(true);
  r.SetRedraw(false);
  EXPECT_FALSE(r.Redraw());
  r.SetRedraw(true);
  EXPECT_TRUE(r.Redraw());
  r.SetTag(17);
  EXPECT_EQ(r.Tag(), 17);
  r.SetEditorFont("FixedSys", 9, false);
  this->Put("kept");
  EXPECT_EQ(r.Zoom(), 150) << "zoom survives new text";
}

TYPED_TEST_P(RichConformance, LargeTextRoundTrips) {
  std::string text = this->NumberedLines(20000);
  this->Put(text);
  EXPECT_EQ(this->rich->GetText(), text);
  EXPECT_EQ(this->rich->LineCount(), 20000u);
  size_t offset = text.find("line 12345");
  size_t pos = this->rich->OffsetToPos(offset);
  EXPECT_EQ(this->rich->LineFromChar(pos), 12345u);
  EXPECT_EQ(this->rich->TextRange(pos, 10), "line 12345");
}

TYPED_TEST_P(RichConformance, ColourRunsAreNoEditAndFollowEdits) {
  TMyRich& r = *this->rich;
  this->Put("0123456789\r\nabcdef");
  int changes = 0;
  r.SetOnChange([&changes] { ++changes; });
  const std::vector<TColourRun> runs{{4, 3, 0xA}, {10, 3, 0xB, 0xC}};
  r.SetColourRuns(runs);
  r.SetEditorColour(0x123456);
  r.SetTextColour(0x654321);
  EXPECT_EQ(changes, 0);
  EXPECT_FALSE(r.Modified());
  EXPECT_EQ(r.ColourRuns(), runs);
  EXPECT_EQ(r.EditorColour(), 0x123456);
  EXPECT_EQ(r.TextColour(), 0x654321);
  struct Case {
    size_t at, removed;
    const char* typed;
    std::vector<TColourRun> after;
  } cases[] = {
      {1, 0, "++", {{6, 3, 0xA}, {12, 3, 0xB, 0xC}}},    // before: moved
      {4, 0, "+", {{5, 3, 0xA}, {11, 3, 0xB, 0xC}}},     // at a run's start: not in it
      {5, 0, "++", {{4, 5, 0xA}, {12, 3, 0xB, 0xC}}},    // inside: grows
      {7, 0, "+", {{4, 4, 0xA}, {11, 3, 0xB, 0xC}}},     // at its end: grows
      {3, 2, "", {{3, 2, 0xA}, {8, 3, 0xB, 0xC}}},       // over its start
      {9, 3, "", {{4, 3, 0xA}, {9, 1, 0xB, 0xC}}},       // across the line end
      {5, 0, "\r\n", {{4, 4, 0xA}, {11, 3, 0xB, 0xC}}},  // a line end typed inside
  };
  for (const auto& c : cases) {
    this->Put("0123456789\r\nabcdef");
    r.SetColourRuns(runs);
    r.Select(c.at, c.removed);
    r.SetSelText(c.typed);
    EXPECT_EQ(r.ColourRuns(), c.after) << c.at << " " << c.removed << " " << c.typed;
  }
  this->Put("new text");
  EXPECT_TRUE(r.ColourRuns().empty());
}

TYPED_TEST_P(RichConformance, ReplacingKeepingFormatsIsAnEditInPlace) {
  this->Put("ab\r\ncd\r\n\xe9\xff");
  int changes = 0;
  this->rich->SetOnChange([&] { ++changes; });
  this->rich->Select(1, 4);
  this->rich->ReplaceKeepingFormats(1, "B\r\nCD\r\n\xc9");
  EXPECT_EQ(this->rich->GetText(), "aB\r\nCD\r\n\xc9\xff");
  EXPECT_TRUE(this->rich->Modified());
  EXPECT_GE(changes, 1);
  EXPECT_EQ(this->rich->SelStart(), 1u);
  EXPECT_EQ(this->rich->SelLength(), 4u);
  // Nothing different: no edit at all.
  this->rich->SetModified(false);
  changes = 0;
  this->rich->ReplaceKeepingFormats(0, "aB");
  EXPECT_FALSE(this->rich->Modified());
  EXPECT_EQ(changes, 0);
}

TYPED_TEST_P(RichConformance, ReplacingRangesIsOneEditWithTheCaretAfterTheLast) {
  // Positions: "one two\r\none two" has the second line at 8.
  struct Case {
    std::vector<TReplacement> edits;
    const char* text;
    size_t caret;
    std::vector<TColourRun> runs;  // of {4, 3} and {12, 3} before
  } cases[] = {
      {{{0, 3, "1"}, {8, 3, "ONE\r\n"}, {12, 3, ""}}, "1 two\r\nONE\r\n ", 11, {{2, 3, 0xA}}},
      {{{0, 3, "1"}, {8, 3, "ONE\r\n"}}, "1 two\r\nONE\r\n two", 10, {{2, 3, 0xA}, {11, 3, 0xB}}},
      {{{3, 0, "!"}}, "one! two\r\none two", 4, {{5, 3, 0xA}, {13, 3, 0xB}}},
  };
  for (const Case& c : cases) {
    this->Put("one two\r\none two");
    this->rich->SetColourRuns({{4, 3, 0xA}, {12, 3, 0xB}});
    int changes = 0;
    this->rich->SetOnChange([&changes] { ++changes; });
    this->rich->Select(5, 5);
    this->rich->ReplaceRanges(c.edits);
    EXPECT_EQ(this->rich->GetText(), c.text);
    EXPECT_TRUE(this->rich->Modified());
    EXPECT_GE(changes, 1);
    EXPECT_EQ(this->rich->SelStart(), c.caret) << c.text;
    EXPECT_EQ(this->rich->SelLength(), 0u);
    // The runs between the ranges follow the text; one replaced goes.
    EXPECT_EQ(this->rich->ColourRuns(), c.runs) << c.text;
  }
  // Nothing to replace: no edit.
  this->Put("abc");
  this->rich->ReplaceRanges({});
  EXPECT_FALSE(this->rich->Modified());
}

REGISTER_TYPED_TEST_SUITE_P(RichConformance, TextReadsOutWithCrLfAndNoFinalLineEnd,
                            EveryWindows1252ByteSurvives,
                            SelectionIsClampedAndCountsOnePositionPerLineEnd,
                            ReplacingTheSelectionIsAnEdit, LinesAreTextLines,
                            OffsetsOfTheCrLfTextConvertBothWays, ViewScrollsByLinesWithinTheText,
                            ShortTextNeverScrolls, SettingsAreKept, LargeTextRoundTrips,
                            ColourRunsAreNoEditAndFollowEdits,
                            ReplacingKeepingFormatsIsAnEditInPlace,
                            ReplacingRangesIsOneEditWithTheCaretAfterTheLast);

}  // namespace quorrel::test
