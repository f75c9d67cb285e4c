// The tab strip and the editor's mouse on the real main window: dragging a tab
// onto another, the colour of a modified document's caption, the wrapped rows of
// "Multi-row tabs", and double clicks on addresses and file names.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTextEdit>
#include <filesystem>

#include "commands/DoubleClick.h"
#include "commands/OpenDocs.h"
#include "platform/Launcher.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/ClickIntoText.h"
#include "support/Installed.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownWindowTest.h"
#include "support/TestFiles.h"
#include "ui/music/PlayerBarForm.h"
#include "ui/shell/TabBar.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, buttons,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

class TabsAndClicksTest : public test::ShownWindowTest {
 protected:
  TabsAndClicksTest() : ShownWindowTest("tabs-clicks/") {}
  void SetUp() override {
    ShownWindowTest::SetUp();
    SetShellOpener([this](const std::string& target) {
      launched.push_back(target);
      return true;
    });
    SetBrowserWait([this](int ms) { waits.push_back(ms); });
  }
  void TearDown() override {
    SetBrowserWait(nullptr);
    SetShellOpener(nullptr);
    ShownWindowTest::TearDown();
  }
  TTabBar* Bar() const { return static_cast<TPageControl*>(form->PC())->Bar(); }
  QTextEdit* Edit() const { return qobject_cast<QTextEdit*>(Editor()); }
  std::string Write(const std::string& name, const std::string& text) {
    test::WriteFile(site + name, text);
    return site + name;
  }
  // A real double click with the mouse on the first occurrence of a text, a few
  // characters into it.
  void DoubleClickOn(const std::string& what, int into = 1) {
    const size_t at = CurrentEditor->GetText().find(what);
    ASSERT_NE(at, std::string::npos) << what;
    QTextCursor cursor = Edit()->textCursor();
    cursor.setPosition(static_cast<int>(CurrentEditor->OffsetToPos(at) + into));
    Edit()->setTextCursor(cursor);
    Edit()->ensureCursorVisible();
    const QPoint point = Edit()->cursorRect(cursor).center();
    QWidget* viewport = Edit()->viewport();
    SendMouse(viewport, QEvent::MouseButtonPress, point, Qt::LeftButton);
    SendMouse(viewport, QEvent::MouseButtonRelease, point, Qt::NoButton);
    SendMouse(viewport, QEvent::MouseButtonDblClick, point, Qt::LeftButton);
    SendMouse(viewport, QEvent::MouseButtonRelease, point, Qt::NoButton);
  }
  void DragTab(int from, int to) {
    const QPoint start = Bar()->TabRect(from).center();
    const QPoint end = Bar()->TabRect(to).center();
    SendMouse(Bar(), QEvent::MouseButtonPress, start, Qt::LeftButton);
    SendMouse(Bar(), QEvent::MouseMove, end, Qt::LeftButton);
    SendMouse(Bar(), QEvent::MouseButtonRelease, end, Qt::NoButton);
  }
  // Pixels of the grabbed tab strip within a tab that are nearly the colour.
  int PixelsLike(const QImage& image, const QRect& rect, QColor colour) {
    int found = 0;
    for (int y = rect.top(); y <= rect.bottom() && y < image.height(); ++y) {
      for (int x = rect.left(); x <= rect.right() && x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (std::abs(c.red() - colour.red()) < 40 && std::abs(c.green() - colour.green()) < 40 &&
            std::abs(c.blue() - colour.blue()) < 40) {
          ++found;
        }
      }
    }
    return found;
  }

  std::vector<std::string> launched;
  std::vector<int> waits;
};

TEST_F(TabsAndClicksTest, DoubleClicksOnAddressesAndNames) {
  Write("my notes.txt", "notes\r\n");
  OpenFile("links.htm",
           "<p>See www.example.org for more.</p>\n<a href=\"my notes.txt\">n</a>\n"
           "<a href=\"missing.htm\">m</a>\n");
  DoubleClickOn("www.example.org", 5);
  EXPECT_EQ(launched, std::vector<std::string>{"http://www.example.org"});
  EXPECT_EQ(waits, std::vector<int>{BrowserStartMs});
  EXPECT_EQ(CurrentEditor->SelText(), "www.example.org");

  DoubleClickOn("missing.htm", 2);
  EXPECT_EQ(Dialogs().Last().text, site + "missing.htm\rFile not found.");

  DoubleClickOn("my notes", 1);
  EXPECT_EQ(CurrentFileName, site + "my notes.txt");
  EXPECT_EQ(form->PC()->count(), 2);
}

TEST_F(TabsAndClicksTest, ALinkOfARealSiteOpensItsPage) {
  ASSERT_TRUE(test::Installed("/usr/share/doc/libxslt1-dev/html/index.html", "libxslt1-dev"));
  const std::string copy = site + "xslt/";
  fs::copy("/usr/share/doc/libxslt1-dev/html", copy, fs::copy_options::recursive);
  OpenFile("start.txt", "x\r\n");
  // The pages' own questions on opening (blank lines, title and heading) answered No.
  Dialogs().Answer({mrNo, mrNo, mrNo});
  OpenThis(copy + "index.html");
  ASSERT_EQ(CurrentFileName, copy + "index.html");
  DoubleClickOn("href=\"intro.html\"", 8);
  EXPECT_EQ(CurrentFileName, copy + "intro.html");
  EXPECT_NE(CurrentEditor->GetText().find("<title>"), std::string::npos);
  EXPECT_TRUE(launched.empty());
}

TEST_F(TabsAndClicksTest, DraggingTheThirdTabOntoTheFirstMovesIt) {
  OpenFile("a.txt", "first\r\n");
  OpenInNewTab(Write("b.txt", "second\r\n"));
  OpenInNewTab(Write("c.txt", "third\r\n"));
  ASSERT_EQ(form->PC()->count(), 3);
  DragTab(2, 0);
  std::vector<std::string> captions;
  for (int i = 0; i < 3; ++i) captions.push_back(form->TabCaption(i));
  EXPECT_EQ(captions, (std::vector<std::string>{"c.txt", "a.txt", "b.txt"}));

  // Each tab still saves to its own file.
  for (int i = 0; i < 3; ++i) {
    form->ActivateTab(i);
    PCChange();
    CurrentEditor->Select(0, 0);
    CurrentEditor->SetSelText("edited ");
    ASSERT_TRUE(MainMenu().Click("Save"));
  }
  EXPECT_EQ(test::ReadFile(site + "a.txt"), "edited first\r\n");
  EXPECT_EQ(test::ReadFile(site + "b.txt"), "edited second\r\n");
  EXPECT_EQ(test::ReadFile(site + "c.txt"), "edited third\r\n");
}

TEST_F(TabsAndClicksTest, TheTabShowsItsPathAtOnce) {
  OpenFile("averyverylongname.txt", "x\r\n");
  const QPoint at = Bar()->TabRect(0).center();
  SendMouse(Bar(), QEvent::MouseMove, at, Qt::NoButton);
  EXPECT_EQ(form->TabCaption(0), "averyver...txt");
  EXPECT_EQ(Bar()->hint(0), site + "averyverylongname.txt");
}

TEST_F(TabsAndClicksTest, AModifiedDocumentsCaptionIsDarkRed) {
  OpenFile("a.txt", "first\r\n");
  OpenInNewTab(Write("b.txt", "second\r\n"));
  form->ActivateTab(0);
  PCChange();
  CurrentEditor->SetSelText("changed ");
  ASSERT_TRUE(CurrentEditor->Modified());
  const QImage image = Bar()->grab().toImage();
  const QColor darkRed(210, 0, 0);
  EXPECT_GT(PixelsLike(image, Bar()->TabRect(0), darkRed), 0);
  EXPECT_EQ(PixelsLike(image, Bar()->TabRect(1), darkRed), 0);
}

TEST_F(TabsAndClicksTest, MultiRowTabsWrapInANarrowWindow) {
  OpenFile("tab00.txt", "x\r\n");
  for (int i = 1; i < 30; ++i) {
    OpenInNewTab(
        Write("tab" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".txt", "x\r\n"));
  }
  ASSERT_EQ(form->PC()->count(), 30);
  form->resize(400, 500);
  MainMenu().SetChecked("MultiRow", false);
  form->SetMultiRowTabs(false);
  QApplication::processEvents();
  EXPECT_EQ(Bar()->RowCount(), 1);
  const int oneRow = Bar()->height();

  ASSERT_TRUE(MainMenu().Click("MultiRow"));
  ASSERT_TRUE(MainMenu().Checked("MultiRow"));
  QApplication::processEvents();
  EXPECT_GT(Bar()->RowCount(), 2);
  EXPECT_GE(Bar()->height(), Bar()->RowCount() * oneRow - 2);
  // Every tab lies inside the strip, the last one too, and each row starts at the left.
  const QRect last = Bar()->TabRect(29);
  EXPECT_TRUE(Bar()->rect().contains(last)) << last.x() << "," << last.y();
  EXPECT_EQ(Bar()->HitTest(last.center()), 29);
  const QImage image = Bar()->grab().toImage();
  EXPECT_EQ(image.height(), Bar()->height());
}

TEST_F(TabsAndClicksTest, ThePlayerBarIsDraggedUpAndDown) {
  OpenFile("a.txt", "x\r\n");
  TPlayerBar* player = InstallPlayerBar(form.get());
  player->show();
  QApplication::processEvents();
  const int top = player->y();
  ASSERT_GT(top, 60);
  SendMouse(player, QEvent::MouseButtonPress, QPoint(3, 5), Qt::LeftButton);
  EXPECT_TRUE(player->Dragging());
  SendMouse(player, QEvent::MouseMove, QPoint(3, 5 - 50), Qt::LeftButton);
  EXPECT_EQ(player->y(), top - 50);
  SendMouse(player, QEvent::MouseButtonRelease, QPoint(3, 5), Qt::NoButton);
  EXPECT_FALSE(player->Dragging());
  // Moves without the button held leave it where it is.
  SendMouse(player, QEvent::MouseMove, QPoint(3, 40), Qt::NoButton);
  EXPECT_EQ(player->y(), top - 50);
}

TEST_F(TabsAndClicksTest, AClickFocusesTheEditor) {
  OpenFile("a.txt", "x\r\n");
  Bar()->setFocusPolicy(Qt::StrongFocus);
  Bar()->setFocus();
  ASSERT_FALSE(Edit()->hasFocus());
  test::ClickIntoText(Edit());
  EXPECT_TRUE(Edit()->hasFocus());
}

}  // namespace
}  // namespace quorrel
