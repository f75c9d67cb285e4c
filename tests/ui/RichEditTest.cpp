// The real editor control on the offscreen platform: the shared conformance suite,
// then what only a real control can show.
#include <QApplication>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include "shell/Documents.h"
#include "shell/ShellState.h"
#include "support/RichConformance.h"
#include "ui/platform/RichEdit.h"

namespace quorrel::test {
namespace {

struct QtFactory {
  static std::unique_ptr<TMyRich> Make() {
    auto rich = std::make_unique<TRichEdit>();
    rich->SetEditorFont("DejaVu Sans Mono", 10, false);
    rich->resize(600, 400);
    rich->show();
    Settle();
    return rich;
  }
  static void Settle() { QApplication::processEvents(); }
};

INSTANTIATE_TYPED_TEST_SUITE_P(QTextEdit, RichConformance, QtFactory);

// Colours every "a" red, the way syntax colouring lays its runs over the text.
class RedA : public QSyntaxHighlighter {
 public:
  using QSyntaxHighlighter::QSyntaxHighlighter;
  void highlightBlock(const QString& text) override {
    QTextCharFormat red;
    red.setForeground(Qt::red);
    for (int i = 0; i < text.size(); ++i) {
      if (text[i] == u'a') setFormat(i, 1, red);
    }
  }
};

TEST(RichEdit, ColouringIsNeitherAnEditNorAModification) {
  TRichEdit rich;
  rich.SetText("banana\r\nalpha");
  int changes = 0;
  rich.SetOnChange([&] { ++changes; });
  RedA highlighter(rich.document());
  highlighter.rehighlight();
  QApplication::processEvents();
  EXPECT_EQ(changes, 0);
  EXPECT_FALSE(rich.Modified());
  EXPECT_EQ(rich.GetText(), "banana\r\nalpha");
}

TEST(RichEdit, TypingIsAnEdit) {
  TRichEdit rich;
  rich.resize(300, 200);
  rich.show();
  rich.SetText("abc");
  int changes = 0;
  rich.SetOnChange([&] { ++changes; });
  rich.Select(3, 0);
  rich.setFocus();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_D, Qt::NoModifier, "d");
  QApplication::sendEvent(&rich, &press);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
  QApplication::sendEvent(&rich, &enter);
  EXPECT_EQ(rich.GetText(), "abcd\r\n");
  EXPECT_GE(changes, 2);
  EXPECT_TRUE(rich.Modified());
}

TEST(RichEdit, NoBreakSpaceAndSoftBreakReadOutAsTheirBytes) {
  TRichEdit rich;
  rich.SetText("a\xa0z");
  EXPECT_EQ(rich.GetText(), "a\xa0z") << "no-break space is not a blank";
  rich.Select(1, 1);
  rich.insertPlainText(QString(QChar::LineSeparator));
  EXPECT_EQ(rich.GetText(), "a\x0bz") << "a soft line break reads out as VT, as rich edit gives it";
}

TEST(RichEdit, FocusNeedsAShowingEnabledControl) {
  QWidget parent;
  auto* rich = new TRichEdit(&parent);
  EXPECT_FALSE(rich->CanFocus()) << "parent not shown";
  parent.show();
  EXPECT_TRUE(rich->CanFocus());
  parent.setEnabled(false);
  EXPECT_FALSE(rich->CanFocus());
}

}  // namespace
}  // namespace quorrel::test

namespace quorrel::test {
namespace {

// Display lines are the lines the view lays out: a long line wraps into several at
// the view's width, and a larger zoom makes more of them.
TEST(RichEdit, DisplayLinesCountWrappedLines) {
  TRichEdit rich;
  rich.SetEditorFont("DejaVu Sans Mono", 10, false);
  rich.resize(400, 300);
  rich.show();
  std::string words;
  for (int i = 0; i < 100; ++i) words += "word ";
  rich.SetText("short\r\n" + words + "\r\nend");
  QApplication::processEvents();
  const size_t wrapped = rich.DisplayLinesFrom(0);
  EXPECT_GT(wrapped, 4u);
  EXPECT_EQ(rich.DisplayLinesFrom(rich.LineIndex(1)), wrapped - 1);
  EXPECT_EQ(rich.DisplayLinesFrom(rich.LineIndex(2)), 1u);
  rich.SetZoom(200);
  QApplication::processEvents();
  EXPECT_GT(rich.DisplayLinesFrom(0), wrapped);
  rich.SetWordWrap(false);
  QApplication::processEvents();
  EXPECT_EQ(rich.DisplayLinesFrom(0), 3u);
}

// Replacing many words over a long text (Replace all) is one step the user can
// undo, keeps the view where the user was reading, and leaves the formats of the
// text between the words as they were.
TEST(RichEdit, ReplacingRangesOfALongTextIsOneUndoStepAndKeepsTheView) {
  struct Case {
    const char* name;
    bool rtf;
    int lines;  // over a thousand: the layout waits for the whole change
  } cases[] = {{"plain, short", false, 50}, {"plain, long", false, 5000}, {"RTF", true, 3000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TRichEdit rich;
    rich.SetEditorFont("DejaVu Sans Mono", 10, false);
    rich.resize(600, 400);
    rich.show();
    std::string text;
    for (int i = 0; i < c.lines; ++i) text += (i ? "\r\n" : "") + std::string("the line ") + std::to_string(i);
    if (c.rtf) {
      std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil Arial;}}\\f0 ";
      for (int i = 0; i < c.lines; ++i) rtf += "the \\b line\\b0  " + std::to_string(i) + "\\par\r\n";
      rich.SetRtfSource(rtf + "}");
      text = rich.GetText();
    } else {
      rich.SetText(text);
    }
    QApplication::processEvents();
    const size_t reading = static_cast<size_t>(c.lines) / 2;
    rich.Select(rich.LineIndex(reading), 0);
    rich.ScrollLines(static_cast<long>(reading));
    const size_t firstLine = rich.FirstVisibleLine();
    std::vector<TReplacement> edits;
    for (int i = 0; i < c.lines; ++i) edits.push_back({rich.LineIndex(i), 3, "A"});
    rich.ReplaceRanges(edits);
    QApplication::processEvents();
    EXPECT_EQ(rich.TextRange(rich.LineIndex(reading), 6), "A line");
    EXPECT_EQ(rich.FirstVisibleLine(), firstLine);
    EXPECT_EQ(rich.SelStart(), rich.LineIndex(c.lines - 1) + 1);  // after the last "A"
    if (c.rtf) {
      EXPECT_TRUE(rich.CharFormatAt(rich.LineIndex(reading) + 3).bold);
    }
    rich.undo();
    EXPECT_EQ(rich.GetText(), text);
    EXPECT_FALSE(rich.document()->isUndoAvailable());
  }
}

// Scrolling to a place in a long text lays out the text only as far as the view
// needs, never the whole text first.
TEST(RichEdit, ScrollingToAPositionLaysOutOnlyUpToTheView) {
  TRichEdit rich;
  rich.resize(600, 400);
  rich.show();
  QApplication::processEvents();
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + "\r\n";
  rich.SetText(text);  // no events after it: Qt lays out the rest only when idle
  CurrentEditor = &rich;
  const int phase = AppPhase;
  AppPhase = PhaseRunning;
  ScrollToPos(rich.LineIndex(200), true);
  StdCursor();
  AppPhase = phase;
  CurrentEditor = nullptr;
  EXPECT_EQ(rich.SelStart(), rich.LineIndex(200));
  EXPECT_EQ(rich.FirstVisibleLine(), 185u);  // the line with context above it
  EXPECT_EQ(rich.document()->lastBlock().layout()->lineCount(), 0);
}

}  // namespace
}  // namespace quorrel::test
