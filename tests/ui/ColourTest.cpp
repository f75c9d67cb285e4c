// Syntax colours on the real editor control: laid over the text as layout
// formats, never as edits, and kept in place while the user types.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <filesystem>

#include "platform/IniFile.h"
#include "shell/ClassifyDocument.h"
#include "shell/Documents.h"
#include "shell/ShellState.h"
#include "support/TestEnvironment.h"
#include "ui/platform/RichEdit.h"
#include "validate/ColourScheme.h"
#include "validate/ColourSyntax.h"

namespace quorrel::test {
namespace {

QColor ColourOf(int bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

class ColourTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetColouring();
    std::string ini = TestHome() + "colour-ui-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
    std::filesystem::remove(ini);
    SettingsIni = std::make_unique<TIniFile>(ini);
    LoadColours();
    edit_.resize(600, 400);
    edit_.show();
    edit_.SetOnChange([this] {
      ++changes_;
      DocModified = true;
    });
    QApplication::processEvents();
  }

  void Open(const std::string& path, const std::string& text) {
    CurrentFileName = path;
    edit_.SetText(text);
    CurrentEditor = &edit_;
    CurrentText.clear();
    DocModified = true;
    ClassifyDocument();
    changes_ = 0;
  }
  void Colour(int request) {
    RecolourRequest = request;
    ApplySyntaxColours();
    QApplication::processEvents();
  }
  // The layout formats of a block as "start+length:colour" items.
  std::string Formats(int blockNumber) {
    QTextBlock block = edit_.document()->findBlockByNumber(blockNumber);
    std::string out;
    for (const QTextLayout::FormatRange& r : block.layout()->formats()) {
      if (!out.empty()) out += ' ';
      out += std::to_string(r.start) + "+" + std::to_string(r.length) + ":" +
             r.format.foreground().color().name().toStdString();
    }
    return out;
  }
  std::string Hex(int bgr) { return ColourOf(bgr).name().toStdString(); }

  TRichEdit edit_;
  int changes_ = 0;
};

TEST_F(ColourTest, ColouringIsNoEdit) {
  Open("/site/page.htm", "<p>Hi <!-- note --></p>\n<b>x</b>\n");
  QTextCursor cursor(edit_.document());
  cursor.insertText("typed ");  // one undo step of the user's own
  edit_.SetModified(false);
  GetEditorText();
  const int undo = edit_.document()->availableUndoSteps();
  const int revision = edit_.document()->revision();
  changes_ = 0;
  Colour(1);
  Colour(2);
  EXPECT_EQ(edit_.document()->availableUndoSteps(), undo);
  EXPECT_EQ(edit_.document()->revision(), revision);
  EXPECT_FALSE(edit_.Modified());
  EXPECT_EQ(changes_, 0);
  EXPECT_FALSE(DocModified);
  const std::string h = Hex(ColourScheme.tags), c = Hex(ColourScheme.comments);
  EXPECT_EQ(Formats(0), "6+3:" + h + " 12+13:" + c + " 25+4:" + h);
  EXPECT_EQ(Formats(1), "0+3:" + h + " 4+4:" + h);
  // The modified state stays set as well.
  edit_.SetModified(true);
  Colour(1);
  EXPECT_TRUE(edit_.Modified());
  EXPECT_EQ(edit_.document()->availableUndoSteps(), undo);
}

TEST_F(ColourTest, BackgroundAndTextColourOfTheEditor) {
  Open("/site/page.htm", "x\n");
  Colour(1);
  EXPECT_EQ(edit_.palette().color(QPalette::Base), ColourOf(0x600000));
  EXPECT_EQ(edit_.palette().color(QPalette::Text), ColourOf(0xD0D0D0));
}

TEST_F(ColourTest, BlankRemovalIsOneStepTheUserCanUndo) {
  Open("/site/notes.txt", "one  \r\ntwo \r\nthree\r\n");
  ASSERT_FALSE(edit_.document()->isUndoAvailable());
  Colour(1);
  EXPECT_EQ(edit_.GetText(), "one\r\ntwo\r\nthree\r\n");
  edit_.undo();
  EXPECT_EQ(edit_.GetText(), "one  \r\ntwo \r\nthree\r\n");
  EXPECT_FALSE(edit_.document()->isUndoAvailable());
}

TEST_F(ColourTest, ColoursFollowTyping) {
  Open("/site/page.htm", "a <b>x</b> c\n<i>y</i>\n");
  Colour(1);
  const std::string h = Hex(ColourScheme.tags);
  EXPECT_EQ(Formats(0), "2+3:" + h + " 6+4:" + h);
  QTextCursor cursor(edit_.document());
  cursor.setPosition(3);
  cursor.insertText("bb");  // inside the tag: "<bbb>"
  EXPECT_EQ(Formats(0), "2+5:" + h + " 8+4:" + h);
  cursor.setPosition(0);
  cursor.insertText("\n");  // the line splits: every run moves on
  EXPECT_EQ(Formats(0), "");
  EXPECT_EQ(Formats(1), "2+5:" + h + " 8+4:" + h);
  EXPECT_EQ(Formats(2), "0+3:" + h + " 4+4:" + h);
  edit_.undo();
  edit_.undo();
  EXPECT_EQ(Formats(0), "2+3:" + h + " 6+4:" + h);
  // The next recolour finds nothing to change.
  int revision = edit_.document()->revision();
  Colour(2);
  EXPECT_EQ(Formats(0), "2+3:" + h + " 6+4:" + h);
  EXPECT_EQ(edit_.document()->revision(), revision);
}

TEST_F(ColourTest, RecolouringChangesOnlyWhatDiffers) {
  Open("/site/page.htm", "<p>\n<b>\n<i>\n");
  Colour(1);
  // A block whose formats are set again loses its layout; the others keep theirs.
  QTextLayout* first = edit_.document()->findBlockByNumber(0).layout();
  QTextLayout* last = edit_.document()->findBlockByNumber(2).layout();
  ASSERT_GT(first->lineCount(), 0);
  ASSERT_GT(last->lineCount(), 0);
  QTextCursor cursor(edit_.document());
  cursor.setPosition(edit_.document()->findBlockByNumber(2).position() + 1);
  cursor.deleteChar();  // "<>": no tag now
  DocModified = true;
  QApplication::processEvents();
  ASSERT_GT(first->lineCount(), 0);
  Colour(2);
  EXPECT_EQ(Formats(2), "");
  EXPECT_GT(first->lineCount(), 0);
}

TEST_F(ColourTest, ALongTextIsColouredNearTheViewFirst) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "<b>x</b>\n";
  Open("/site/page.htm", text);
  RecolourRequest = 1;
  ApplySyntaxColours();  // no events yet: the blocks away from the view wait
  const std::string h = Hex(ColourScheme.tags);
  EXPECT_EQ(Formats(0), "0+3:" + h + " 4+4:" + h);
  ASSERT_TRUE(edit_.ColoursWaiting());
  EXPECT_EQ(Formats(2999), "");
  // An edit while blocks wait: their runs move with the text.
  QTextCursor cursor(edit_.document());
  cursor.insertText("<i>\n");
  for (int i = 0; i < 10000 && edit_.ColoursWaiting(); ++i) QApplication::processEvents();
  EXPECT_FALSE(edit_.ColoursWaiting());
  EXPECT_EQ(Formats(0), "");  // typed text waits for the next recolour
  EXPECT_EQ(Formats(1), "0+3:" + h + " 4+4:" + h);
  EXPECT_EQ(Formats(3000), "0+3:" + h + " 4+4:" + h);
  // Nothing was an edit but the user's.
  edit_.undo();
  EXPECT_EQ(edit_.GetText().substr(0, 10), "<b>x</b>\r\n");
  EXPECT_FALSE(edit_.document()->isUndoAvailable());
}

}  // namespace
}  // namespace quorrel::test
