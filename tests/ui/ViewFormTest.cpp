// The report viewer on real widgets: its text, size and place, the jump into the
// real editor, Copy, Close and Help.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTimer>
#include <QWindow>

#include "music/ReportView.h"
#include "music/ToolMessages.h"
#include "music/TunePrep.h"
#include "platform/Help.h"
#include "shell/BlinkJob.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "ui/platform/RichEdit.h"
#include "ui/shell/ViewForm.h"

namespace quorrel {
namespace {

// Runs the event loop until the closed viewer has been freed (at most two seconds).
bool Freed(const QPointer<TViewForm>& form) {
  QElapsedTimer clock;
  clock.start();
  while (!form.isNull() && clock.elapsed() < 2000) {
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return form.isNull();
}

void Click(QWidget* widget, QPoint at) {
  QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QApplication::sendEvent(widget, &release);
}

void Key(QWidget* widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
}

class ViewFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main.setGeometry(40, 60, 800, 500);
    main.show();
    InstallViewForm(&main);
  }
  void TearDown() override {
    if (ViewForm) delete ViewForm;
    CurrentEditor = nullptr;
  }

  QRect WorkArea() const { return main.screen()->availableGeometry(); }

  QMainWindow main;
};

TEST_F(ViewFormTest, ListsTheMessagesWithItsButtons) {
  ReadList = {"Messages from ABC2MIDI", "Error in line-char 4-2 : Malformed note", "Caf\xE9"};
  TViewForm* form = ShowViewForm(&main);
  ASSERT_EQ(form, ViewForm);
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(form->isModal());
  EXPECT_EQ(form->windowTitle(), "Errors/Warnings");
  EXPECT_EQ(form->ViewText->toPlainText(),
            QString("Messages from ABC2MIDI\nError in line-char 4-2 : Malformed note\nCaf\u00e9"))
      << "no line end after the last message";
  EXPECT_TRUE(form->ViewText->isReadOnly());
  EXPECT_EQ(form->OKBtn->text(), "Close");
  EXPECT_EQ(form->CopyBtn->text(), "&Copy");
  EXPECT_EQ(form->HelpBtn->text(), "&Help");
  EXPECT_FALSE(form->HelpBtn->icon().isNull()) << "the help glyph";
}

TEST_F(ViewFormTest, AShortListGivesAShortWindowAtTheRightEdge) {
  ReadList = {"one", "two", "three"};
  TViewForm* form = ShowViewForm(&main);
  const int panel = form->BPanel->sizeHint().height();
  EXPECT_EQ(form->height(), 16 * 3 + panel + 6);
  EXPECT_EQ(form->width(), 233) << "never narrower";
  EXPECT_EQ(form->ViewText->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
  EXPECT_EQ(form->frameGeometry().right(), WorkArea().right());
  EXPECT_EQ(form->frameGeometry().top(), main.frameGeometry().top());
}

TEST_F(ViewFormTest, ALongListIsAsHighAsTheMainWindowWithAScrollBar) {
  ReadList.clear();
  for (int i = 1; i <= 200; ++i)
    ReadList.push_back("Warning in line-char " + std::to_string(i) + "-0 : x");
  ReadList.push_back(std::string(300, 'w'));
  TViewForm* form = ShowViewForm(&main);
  EXPECT_EQ(form->height(), main.height());
  EXPECT_EQ(form->width(), 600) << "never wider";
  EXPECT_EQ(form->ViewText->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(ViewFormTest, WidthFollowsTheLongestLineAndTopNeverAboveTheScreen) {
  ReadList = {"short", "a somewhat longer message line that needs more room than the least width"};
  main.move(40, -30);
  TViewForm* form = ShowViewForm(&main);
  const QFontMetrics metrics(form->ViewText->font());
  // The line's width, and room round it for the memo's frame, margins and scroll bar.
  const int line = metrics.horizontalAdvance(QString::fromStdString(ReadList[1]));
  const int scrollBar = form->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  EXPECT_GE(form->width(), line + 16);
  EXPECT_LE(form->width(), line + 16 + scrollBar);
  EXPECT_EQ(form->frameGeometry().top(), std::max(0, main.frameGeometry().top()));
}

TEST_F(ViewFormTest, AClickOnAMessageMovesTheCaretOfTheEditor) {
  TRichEdit editor;
  editor.SetText("X:1\r\nT:Tune\r\nK:G\r\nGABc|cBAG|\r\n");
  editor.resize(400, 300);
  editor.show();
  CurrentEditor = &editor;
  ReadList = {"Messages from ABCM2PS", "4:5: error: Bad character",
              "Error in line-char [past end of tune] : Missing :|", "Error in line-char 2-2 : x"};
  TViewForm* form = ShowViewForm(&main);
  QApplication::processEvents();

  auto clickLine = [&](int line) {
    QTextCursor cursor(form->ViewText->document()->findBlockByNumber(line));
    QPoint at = form->ViewText->cursorRect(cursor).center() + QPoint(4, 0);
    Click(form->ViewText->viewport(), at);
  };
  clickLine(1);
  EXPECT_EQ(editor.SelStart(), editor.LineIndex(3) + 5);
  clickLine(3);
  EXPECT_EQ(editor.SelStart(), editor.LineIndex(1) + 2);
  clickLine(2);
  EXPECT_EQ(editor.SelStart(), editor.LineIndex(1) + 2) << "a number not computed goes nowhere";
  clickLine(0);
  EXPECT_EQ(editor.SelStart(), editor.LineIndex(1) + 2);
  EXPECT_EQ(ViewForm, form) << "the viewer stays open";
}

// A click makes the viewer the active window; the jump must hand the focus back to
// the editor's window, so that the caret shows and blinks where the message points.
TEST_F(ViewFormTest, AClickOnAMessageGivesTheFocusBackToTheEditor) {
  auto* editor = new TRichEdit;
  main.setCentralWidget(editor);
  editor->SetText("X:1\r\nT:Tune\r\nK:G\r\nGABc|cBAG|\r\n");
  CurrentEditor = editor;
  SetReportJumpHooks(nullptr, ScheduleTimerRefresh);
  ReadList = {"Messages from ABC2MIDI", "Error in line-char 4-3 : Bar too long"};
  TViewForm* form = ShowViewForm(&main);
  form->activateWindow();
  form->ViewText->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::activeWindow(), form);

  QTextCursor cursor(form->ViewText->document()->findBlockByNumber(1));
  Click(form->ViewText->viewport(), form->ViewText->cursorRect(cursor).center() + QPoint(4, 0));
  QApplication::processEvents();
  EXPECT_EQ(editor->SelStart(), editor->LineIndex(3) + 3);
  EXPECT_EQ(QApplication::activeWindow(), &main);
  EXPECT_EQ(QApplication::focusWidget(), editor);
  EXPECT_TRUE(Blinking()) << "the caret refresh is scheduled";
  EXPECT_EQ(ViewForm, form) << "the viewer stays open";
  ASSERT_NE(form->windowHandle(), nullptr);
  EXPECT_EQ(form->windowHandle()->transientParent(), main.windowHandle())
      << "and above the main window, which is active again";
  CurrentEditor = nullptr;
}

// The window takes the room its messages take on screen: no message is cut off,
// whether it fits the widest window or wraps in it.
TEST_F(ViewFormTest, EveryCharacterOfTheMessagesShows) {
  std::vector<std::string> manyLines;
  for (int i = 1; i <= 60; ++i) {
    manyLines.push_back("Warning in line-char " + std::to_string(i) + "-0 : Line of music");
  }
  struct Case {
    const char* name;
    std::vector<std::string> messages;
    bool scrolls;  // as high as the main window, with a scroll bar
  };
  const Case cases[] = {
      {"three short messages",
       {"Messages from ABC2MIDI", "Error in line-char 4-2 : x", "y"},
       false},
      {"a long last message",
       {"Messages from ABC2MIDI",
        "Warning in line-char 14-4 : Track 2 is 4.054167 quarter notes long not 8.054167",
        "Error in line-char 6-26 : Bad variant list : Overlay  (This may be an ABC2MIDI bug "
        "when using \"&\" for Voice overlay) and a little more text to be sure it wraps"},
       false},
      {"abc2midi's messages on a tune with faults",
       {"Messages from ABC2MIDI",
        "Error in line-char 7-8 : Guitar chord does not start with A-G or a-g",
        "Warning in line-char 8-10 : Track 1 Bar 1 has 9/2 time units while the time signature "
        "has 4"},
       false},
      {"a message of one long word", {"a", std::string(160, 'w'), "b"}, false},
      {"more messages than the window holds", manyLines, true},
  };
  auto checkEveryCharacterShows = [](TViewForm* form) {
    QPlainTextEdit* text = form->ViewText;
    EXPECT_FALSE(text->horizontalScrollBar()->isVisible());
    if (form->width() < 600) {
      for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
        EXPECT_EQ(block.layout()->lineCount(), 1) << "fits without wrapping";
      }
    }
    EXPECT_EQ(text->verticalScrollBar()->maximum(), 0) << "nothing to scroll to";
    const QRect view = text->viewport()->rect();
    for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
      QTextCursor end(block);
      end.movePosition(QTextCursor::EndOfBlock);
      const QRect caret = text->cursorRect(end);
      EXPECT_LE(caret.bottom(), view.bottom()) << block.text().toStdString();
      EXPECT_LE(caret.right(), view.right()) << block.text().toStdString();
      EXPECT_GE(text->cursorRect(QTextCursor(block)).top(), view.top())
          << block.text().toStdString();
    }
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReadList = c.messages;
    TViewForm* form = ShowViewForm(&main);
    QApplication::processEvents();
    if (c.scrolls) {
      EXPECT_EQ(form->height(), main.height());
      for (QTextBlock block = form->ViewText->document()->begin(); block.isValid();
           block = block.next()) {
        EXPECT_EQ(block.layout()->lineCount(), 1) << "fits beside the scroll bar";
      }
      continue;
    }
    checkEveryCharacterShows(form);
    // On a real display the memo may show its scroll bar while it is filled, before
    // the window has its size; the bar must not then stay for a line it wrapped.
    const QSize size = form->size();
    form->resize(size.width() / 2, size.height());
    QApplication::processEvents();
    form->resize(size);
    QApplication::processEvents();
    SCOPED_TRACE("after a narrower memo with its scroll bar");
    checkEveryCharacterShows(form);
  }
}

TEST_F(ViewFormTest, CopyPutsEveryMessageOnTheClipboard) {
  test::MemoryMainWindow window;
  SetMainWindow(&window);
  ReadList = {"first", "second"};
  TViewForm* form = ShowViewForm(&main);
  form->CopyBtn->click();
  SetMainWindow(nullptr);
  EXPECT_EQ(QApplication::clipboard()->text(), "first\nsecond");
  EXPECT_EQ(window.StatusText(MessagePanel), "  Messages copied to clipboard");
}

TEST_F(ViewFormTest, CloseFreesTheViewerAndEscapeCloses) {
  ReadList = {"a"};
  QPointer<TViewForm> form = ShowViewForm(&main);
  form->OKBtn->click();
  EXPECT_EQ(ViewForm, nullptr);
  EXPECT_TRUE(Freed(form));

  form = ShowViewForm(&main);
  Key(form, Qt::Key_Escape);
  EXPECT_EQ(ViewForm, nullptr);
  EXPECT_TRUE(Freed(form));
}

TEST_F(ViewFormTest, AtMostOneViewer) {
  ReadList = {"first list"};
  QPointer<TViewForm> first = ShowViewForm(&main);
  ReadList = {"second list"};
  TViewForm* second = ShowViewForm(&main);
  EXPECT_EQ(ViewForm, second);
  EXPECT_TRUE(Freed(first));
  EXPECT_EQ(second->ViewText->toPlainText(), "second list");
}

TEST_F(ViewFormTest, HelpShowsItsTopic) {
  std::vector<int> topics;
  SetHelpViewer([&](int context) { topics.push_back(context); });
  ReadList = {"a"};
  TViewForm* form = ShowViewForm(&main);
  form->HelpBtn->click();
  Key(form, Qt::Key_F1);
  SetHelpViewer(nullptr);
  EXPECT_EQ(topics, (std::vector<int>{55500, 55500}));
}

TEST_F(ViewFormTest, ToolErrorsOpenTheViewerAndTheCommandsCloseIt) {
  ReadList = {"Messages from ABC2MIDI", "Error in line-char 3-1 : x"};
  LastTuneText = "X:1\r\n";
  ShowToolErrors();
  ASSERT_NE(ViewForm, nullptr);
  EXPECT_TRUE(ReportViewer()->Showing());
  EXPECT_EQ(ViewForm->ViewText->toPlainText(),
            "Messages from ABC2MIDI\nError in line-char 3-1 : x");
  QPointer<TViewForm> form = ViewForm;
  CloseReportViewer();
  EXPECT_FALSE(ReportViewer()->Showing());
  EXPECT_TRUE(Freed(form));
}

}  // namespace
}  // namespace quorrel
