// The real editor control with RTF documents: the RTF conformance suite, then
// what only the real control shows.
#include <QApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "shell/RtfView.h"
#include "support/RtfConformance.h"
#include "ui/platform/RichEdit.h"

namespace quorrel::test {
namespace {

struct QtRtfFactory {
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

INSTANTIATE_TYPED_TEST_SUITE_P(QTextEdit, RtfConformance, QtRtfFactory);

QTextCharFormat FormatAt(TRichEdit& rich, const std::string& text) {
  const size_t at = rich.GetText().find(text);
  EXPECT_NE(at, std::string::npos) << text;
  QTextCursor cursor(rich.document());
  cursor.setPosition(static_cast<int>(rich.OffsetToPos(at)) + 1);
  return cursor.charFormat();
}

TEST(RtfEdit, FormattedViewShowsTheFormatting) {
  auto made = QtRtfFactory::Make();
  auto& rich = static_cast<TRichEdit&>(*made);
  rich.SetRtfSource(
      OurRtf("plain \\b bold\\b0  \\i italic\\i0  \\cf1 red\\cf0  \\highlight2 lit\\highlight0  "
             "\\fs40 big\\fs24\r\n\\par \\pard\\qc centred",
             "\\red255\\green0\\blue1;\\red255\\green255\\blue140;"));
  EXPECT_EQ(FormatAt(rich, "plain").fontWeight(), QFont::Normal);
  EXPECT_EQ(FormatAt(rich, "bold").fontWeight(), QFont::Bold);
  EXPECT_TRUE(FormatAt(rich, "italic").fontItalic());
  EXPECT_EQ(FormatAt(rich, "red").foreground().color(), QColor(255, 0, 1));
  EXPECT_EQ(FormatAt(rich, "lit").background().color(), QColor(255, 255, 140));
  EXPECT_EQ(FormatAt(rich, "big").fontPointSize(), 20.0);
  EXPECT_EQ(FormatAt(rich, "plain").fontFamilies().toStringList().value(0), "Arial");
  EXPECT_EQ(rich.document()->lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
            Qt::AlignHCenter);
}

// Find's correction colour is one step off pure red: it must come back exactly.
TEST(RtfEdit, ColoursSetInTheEditorAreWrittenExactly) {
  auto made = QtRtfFactory::Make();
  auto& rich = static_cast<TRichEdit&>(*made);
  rich.SetRtfSource(OurRtf("one two three"));
  QTextCursor cursor(rich.document());
  cursor.setPosition(4);
  cursor.setPosition(7, QTextCursor::KeepAnchor);
  QTextCharFormat red;
  red.setForeground(QColor(255, 0, 1));
  cursor.mergeCharFormat(red);
  EXPECT_EQ(rich.GetRtfSource(), OurRtf("one \\cf1 two\\cf0  three", "\\red255\\green0\\blue1;"));
}

TEST(RtfEdit, LineBreakTypedIntoFormattedText) {
  auto made = QtRtfFactory::Make();
  made->SetRtfSource(OurRtf("first second"));
  made->Select(5, 1);
  made->SetSelText("\v");
  EXPECT_EQ(made->GetText(), "first\vsecond");
  EXPECT_EQ(made->GetRtfSource(), OurRtf("first\\line second"));
}

TEST(RtfEdit, SwitchingViewsKeepsTheCaretOnItsText) {
  auto made = QtRtfFactory::Make();
  const std::string doc = OurRtf(
      "Opening words of the text \\b bold part\\b0  and then plain words\r\n"
      "\\par Second paragraph with \\i some italic\\i0  words in it");
  made->SetRtfSource(doc);
  made->Select(made->GetText().find("part and"), 0);
  size_t caret = SwitchRtfView(*made);
  ASSERT_TRUE(made->PlainText());
  EXPECT_EQ(made->GetText(), doc);
  EXPECT_EQ(made->GetText().substr(made->PosToOffset(caret), 9), "part\\b0  ");
  made->Select(made->OffsetToPos(doc.find("Second paragraph") + 9), 0);
  caret = SwitchRtfView(*made);
  ASSERT_FALSE(made->PlainText());
  EXPECT_EQ(made->GetRtfSource(), doc);
  EXPECT_EQ(made->GetText().substr(made->PosToOffset(caret), 5), " with");
}

}  // namespace
}  // namespace quorrel::test
