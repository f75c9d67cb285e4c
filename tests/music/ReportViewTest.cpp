#include <gtest/gtest.h>

#include "music/AbcTestSupport.h"
#include "music/ReportView.h"
#include "shell/ShellState.h"

namespace quorrel::test {
namespace {

TEST(ReportViewTest, ThePlaceAMessageNames) {
  struct Case {
    const char* message;
    long line;  // 0: no place
    long column;
  } cases[] = {
      {"Error in line-char 12-5 : Malformed note", 12, 5},
      {"Warning in line 12 of the tune", 12, 0},
      {"12:7: error: Bad character", 12, 7},
      {"12.3 something", 12, 3},
      {"12-x", 12, 0},
      {"12", 12, 0},
      {"Error in line-char [past end of tune] : Missing :|", 0, 0},
      {"Error in line-char [cannot compute]-4 : Bad", 0, 0},
      {"12: error [with a bracket]", 0, 0},
      {"Messages from ABC2MIDI", 0, 0},
      {"writing MIDI file /tmp/Quorrel.Mid", 0, 0},
      {"   18 [Q:xx]a2 ~~}|", 0, 0},  // abcm2ps quoting the line: no number at the start
      {"Error in line", 0, 0},
      {"0:5: error", 0, 0},
      {"99999999999999999999:1: error", 0, 0},
      {"", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    std::optional<TReportPlace> place = ParseReportLine(c.message);
    ASSERT_EQ(place.has_value(), c.line != 0);
    if (!place) continue;
    EXPECT_EQ(place->line, c.line);
    EXPECT_EQ(place->column, c.column);
  }
}

TEST(ReportViewTest, AClickPutsTheCaretAtTheLineAndColumn) {
  TMyRich& editor = OpenDocument(Crlf("X:1\nT:Tune\nK:G\nGABc|cBAG|\n"));
  struct Case {
    const char* message;
    const char* before;  // the caret lands before this text of CurrentText
  } cases[] = {
      {"Error in line-char 4-0 : x", "GABc"},
      {"4:5: error: x", "cBAG"},
      {"Error in line-char 2-2 : x", "Tune"},
      {"Error in line-char 2-50 : past the line's end", "\r\nK:G"},
      {"Warning in line 3", "K:G"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_TRUE(ReportLineClicked(c.message));
    EXPECT_EQ(editor.PosToOffset(editor.SelStart()), OffsetOf(c.before));
    EXPECT_EQ(editor.SelLength(), 0u);
  }

  EXPECT_TRUE(ReportLineClicked("Error in line-char 40-1 : beyond the text"));
  EXPECT_EQ(editor.SelStart(), editor.TextLength());

  editor.Select(3, 0);
  EXPECT_FALSE(ReportLineClicked("Error in line-char [cannot compute] : x"));
  EXPECT_EQ(editor.SelStart(), 3u) << "nothing moves";
}

TEST(ReportViewTest, AJumpPausesThePlayerAndStartsTheBlink) {
  OpenDocument(Crlf("X:1\nK:G\n"));
  std::vector<std::string> calls;
  SetReportJumpHooks([&] { calls.push_back("pause"); }, [&] { calls.push_back("refresh"); });
  EXPECT_TRUE(ReportLineClicked("2:0: x"));
  EXPECT_EQ(calls, (std::vector<std::string>{"pause", "refresh"}));

  calls.clear();
  EXPECT_FALSE(ReportLineClicked("no place"));
  EXPECT_TRUE(calls.empty());
}

TEST(ReportViewTest, NoDocumentNoJump) {
  CurrentEditor = nullptr;
  EXPECT_FALSE(ReportLineClicked("Error in line-char 1-1 : x"));
}

}  // namespace
}  // namespace quorrel::test
