// Very long lines in the real editor control: shown unwrapped, so that a page of
// one long line without blanks opens at once, while ordinary paragraphs still wrap.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextLayout>

#include "ui/platform/RichEdit.h"

namespace quorrel {
namespace {

class LongLines : public ::testing::Test {
 protected:
  void SetUp() override {
    rich.SetEditorFont("DejaVu Sans Mono", 10, false);
    rich.resize(600, 400);
    rich.show();
    QApplication::processEvents();
  }
  // Lines the block of an editor line is laid out in, once the view has painted.
  int RowsOf(size_t line) {
    QApplication::processEvents();
    QTextBlock block = rich.document()->findBlockByNumber(static_cast<int>(line));
    rich.document()->documentLayout()->blockBoundingRect(block);  // lays it out
    return block.layout()->lineCount();
  }

  TRichEdit rich;
};

TEST_F(LongLines, ALongLineWithoutBlanksIsShownUnwrappedAndQuickly) {
  const std::string solid(200000, 'x');
  QElapsedTimer timer;
  timer.start();
  rich.SetText("short\r\n" + solid + "\r\n" + std::string(300, 'y'));
  EXPECT_EQ(RowsOf(1), 1) << "one row, scrolled sideways";
  // Wrapped, this line took seconds; the bound leaves room for a slow machine.
  EXPECT_LT(timer.elapsed(), 3000);
  EXPECT_GT(RowsOf(2), 1) << "a line under the limit still wraps";
  EXPECT_EQ(rich.GetText(), "short\r\n" + solid + "\r\n" + std::string(300, 'y'));
  EXPECT_FALSE(rich.Modified());
  EXPECT_FALSE(rich.document()->isUndoAvailable()) << "no step to undo after setting the text";
}

TEST_F(LongLines, ALongLineTypedInOrPastedIsUnwrappedInTheSameUndoStep) {
  rich.SetText("before\r\nafter");
  rich.Select(6, 0);
  rich.SetSelText(std::string(20000, 'z'));
  EXPECT_EQ(RowsOf(0), 1);
  EXPECT_TRUE(rich.Modified());
  rich.undo();
  EXPECT_EQ(rich.GetText(), "before\r\nafter") << "one undo takes the paste back";
}

}  // namespace
}  // namespace quorrel
