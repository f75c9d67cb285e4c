// The colour-run engine: the colour stack, skipping, run lists, and how runs
// follow edits of the editor.
#include <gtest/gtest.h>

#include "shell/MainWindow.h"
#include "support/MemoryMainWindow.h"
#include "support/MemoryRich.h"
#include "validate/ColourRuns.h"
#include "validate/ColourSyntax.h"
#include "validate/ColourTestKit.h"

namespace quorrel::test {
namespace {

constexpr int kDefault = 0x111111;
constexpr int A = 0xA, B = 0xB, C = 0xC, D = 0xD, E = 0xE, F = 0xF;

std::vector<TColourRun> R(std::initializer_list<TColourRun> runs) {
  return runs;
}

class ColourRunsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetColouring();
    SetMainWindow(&window_);
  }
  void TearDown() override { SetMainWindow(nullptr); }
  std::string Status() const { return window_.StatusText(4); }

  MemoryMainWindow window_;
  std::string text_ = std::string(20, 'x') + std::string(12, ' ');
};

TEST_F(ColourRunsTest, PushPaintsThePendingRunAndPopReturns) {
  TColourPainter p(text_, 20, kDefault);
  p.pos = 2;
  p.Push(A);
  p.pos = 5;
  p.Push(B, 0x123);
  p.pos = 6;
  p.Pop();
  p.pos = 8;
  p.Pop();
  EXPECT_EQ(p.Finish(), R({{2, 3, A}, {5, 1, B, 0x123}, {6, 2, A}}));
}

TEST_F(ColourRunsTest, DefaultColourAndEmptyRunsAreNotPainted) {
  TColourPainter p(text_, 20, kDefault);
  p.pos = 3;
  p.Push(kDefault);
  p.pos = 6;
  p.Push(A);  // nothing pending in A yet
  p.Push(B);
  p.pos = 7;
  p.Pop();
  p.Pop();
  EXPECT_EQ(p.Finish(), R({{6, 1, B}}));
}

TEST_F(ColourRunsTest, TheStackHoldsSixEntries) {
  TColourPainter p(text_, 20, kDefault);
  for (int colour : {A, B, C, D, E}) p.Push(colour);
  EXPECT_EQ(p.Depth(), 5u);
  p.Push(F);  // a seventh entry replaces the top
  EXPECT_EQ(p.Depth(), 5u);
  p.pos = 1;
  p.Pop();
  p.pos = 2;
  p.Pop();                               // back to D: E was replaced
  for (int i = 0; i < 10; ++i) p.Pop();  // never below the first entry
  EXPECT_EQ(p.Depth(), 0u);
  p.pos = 3;
  EXPECT_EQ(p.Finish(), R({{0, 1, F}, {1, 1, D}}));
}

TEST_F(ColourRunsTest, AColourOf123456IsAColourLikeAnyOther) {
  TColourPainter p(text_, 20, kDefault);
  p.Push(A);
  p.pos = 1;
  p.Push(123456);
  p.pos = 2;
  p.Pop();
  p.pos = 3;
  p.Pop();
  EXPECT_EQ(p.Finish(), R({{0, 1, A}, {1, 1, 123456}, {2, 1, A}}));
}

TEST_F(ColourRunsTest, SkippingToAText) {
  std::string text = "ab-->cd\n--> " + std::string(12, ' ');
  TColourPainter p(text, 12, kDefault);
  EXPECT_TRUE(p.SkipTo("-->"));
  EXPECT_EQ(p.pos, 2u);
  p.pos = 3;
  EXPECT_TRUE(p.SkipTo("-->"));
  EXPECT_EQ(p.pos, 8u);
  p.pos = 9;
  EXPECT_FALSE(p.SkipTo("-->"));
  EXPECT_EQ(p.pos, 12u);
  EXPECT_EQ(Status(), "  Could not find --> after offset 9");
  // A line end: missing inside the text, and missing at its end, which ends the line.
  p.pos = 9;
  EXPECT_FALSE(p.SkipTo("\n"));
  EXPECT_EQ(Status(), "  Could not find end-of-line after offset 9");
  window_.SetStatusText(4, "");
  EXPECT_FALSE(p.SkipTo("\n"));
  EXPECT_EQ(Status(), "");
  p.pos = 11;
  p.Advance(3);
  EXPECT_EQ(p.pos, 12u);
  EXPECT_EQ(Status(), "  Unexpected end of text!");
}

TEST_F(ColourRunsTest, FinishPaintsToTheEnd) {
  TColourPainter p(text_, 20, kDefault, 4);
  p.pos = 18;
  p.Push(A);
  EXPECT_EQ(p.Finish(), R({{18, 2, A}}));
}

TEST_F(ColourRunsTest, Overlay) {
  auto base = R({{0, 10, A}, {12, 4, B}, {20, 5, C}});
  EXPECT_EQ(OverlayRuns(base, {}), base);
  EXPECT_EQ(OverlayRuns({}, base), base);
  EXPECT_EQ(OverlayRuns(base, R({{2, 3, D}, {8, 6, E}, {30, 1, F}})),
            R({{0, 2, A}, {2, 3, D}, {5, 3, A}, {8, 6, E}, {14, 2, B}, {20, 5, C}, {30, 1, F}}));
  EXPECT_EQ(RunsOutside(base, 5, 14), R({{0, 5, A}, {14, 2, B}, {20, 5, C}}));
  EXPECT_EQ(RunsInside(base, 5, 14), R({{5, 5, A}, {12, 2, B}}));
  EXPECT_EQ(Normalised(R({{5, 5, A}, {0, 3, B}, {7, 5, C}})), R({{0, 3, B}, {5, 2, A}, {7, 5, C}}));
}

TEST_F(ColourRunsTest, OffsetsOfCrLfTextBecomeEditorPositions) {
  std::string text = "ab\r\ncd\r\n\r\ne";
  TOffsetMap map(text);
  EXPECT_EQ(map.PosOf(0), 0u);
  EXPECT_EQ(map.PosOf(2), 2u);   // the CR: the line end
  EXPECT_EQ(map.PosOf(3), 2u);   // its LF: the same line end
  EXPECT_EQ(map.PosOf(4), 3u);   // "c"
  EXPECT_EQ(map.PosOf(10), 7u);  // "e"
  EXPECT_EQ(RunsToPositions(R({{1, 5, A}, {8, 3, B}}), map), R({{1, 4, A}, {6, 2, B}}));
}

// How runs follow the editor's edits: text typed in or at the end of a run takes
// its colour, text typed at its start does not, removed text loses its run.
TEST_F(ColourRunsTest, RunsFollowEdits) {
  struct Case {
    const char* name;
    size_t at, removed;
    const char* typed;
    std::vector<TColourRun> after;
  } cases[] = {
      {"typed before", 1, 0, "++", R({{6, 3, A}, {12, 2, B}})},
      {"typed at a run's start", 4, 0, "+", R({{5, 3, A}, {11, 2, B}})},
      {"typed inside", 5, 0, "++", R({{4, 5, A}, {12, 2, B}})},
      {"typed at a run's end", 7, 0, "+", R({{4, 4, A}, {11, 2, B}})},
      {"removed inside", 5, 1, "", R({{4, 2, A}, {9, 2, B}})},
      {"removed over a run's start", 3, 2, "", R({{3, 2, A}, {8, 2, B}})},
      {"removed whole", 4, 3, "", R({{7, 2, B}})},
      {"removed after a run's end", 7, 2, "", R({{4, 3, A}, {8, 2, B}})},
      {"replaced across two runs", 6, 5, "+", R({{4, 3, A}, {7, 1, B}})},
      {"line end typed inside", 5, 0, "\r\n", R({{4, 4, A}, {11, 2, B}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRich rich;
    rich.SetText("0123456789abcdef");
    rich.SetColourRuns(R({{4, 3, A}, {10, 2, B}}));
    rich.Select(c.at, c.removed);
    rich.SetSelText(c.typed);
    EXPECT_EQ(rich.ColourRuns(), c.after);
  }
  MemoryRich rich;
  rich.SetText("abc");
  rich.SetColourRuns(R({{0, 2, A}}));
  rich.SetText("new text");
  EXPECT_TRUE(rich.ColourRuns().empty());
}

}  // namespace
}  // namespace quorrel::test
