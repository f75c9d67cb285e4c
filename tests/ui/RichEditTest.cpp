// The real editor control on the offscreen platform: the shared conformance suite,
// then what only a real control can show.
#include <QApplication>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

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

}  // namespace
}  // namespace quorrel::test
