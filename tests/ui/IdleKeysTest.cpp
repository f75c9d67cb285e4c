// The main window's keyboard hooks and idle pass on real widgets: key events sent to
// the real editor go through the shortcut override and the key press as typed keys
// do, and the idle timer of the window runs the passes (on a clock the test moves).
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTextCursor>
#include <filesystem>
#include <fstream>

#include "commands/IdleLoop.h"
#include "commands/KeyHooks.h"
#include "commands/OpenDocs.h"
#include "music/PlayerBar.h"
#include "platform/IniFile.h"
#include "shell/Closing.h"
#include "shell/Documents.h"
#include "shell/DocumentsOpen.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "support/ClickIntoText.h"
#include "support/Installed.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "ui/platform/RichEdit.h"
#include "ui/shell/Marker.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

class IdleKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site = test::TestHome() + "idle-keys/";
    fs::create_directories(site);
    SettingsIni = std::make_unique<TIniFile>(site + "settings.ini");
    SetIdleClockForTests([this] { return now; });
    form = std::make_unique<TWebForm>();
    SetMainWindow(form.get());
    form->resize(900, 600);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->isActiveWindow(); }, 2000));
    AppPhase = 1;
    IdleReady = true;
  }
  void TearDown() override {
    form.reset();
    SetMainWindow(nullptr);
    fs::remove_all(site);
  }

  // A document in a tab, its editor focused with the caret at a position.
  TRichEdit* Open(const std::string& name, const std::string& text, size_t caret) {
    std::ofstream(site + name, std::ios::binary) << text;
    OpenThis(site + name);
    PCChange();
    auto* rich = dynamic_cast<TRichEdit*>(form->PC()->currentWidget());
    rich->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return rich->hasFocus(); }, 2000));
    // The user clicks into the text (which ends the caret's blink) and the caret
    // goes where the test wants it.
    test::ClickIntoText(rich);
    rich->Select(caret, 0);
    return rich;
  }
  // A key as the user types it.
  void Type(int key, const QString& text = QString(),
            Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
  }
  // Moves the passes' clock on and waits for the window's idle timer to run one.
  void NextPass() {
    now += IdleIntervalMs + 100;
    const int64_t before = LastIdleTime;
    ASSERT_TRUE(QTest::qWaitFor([&] { return LastIdleTime != before || !CurrentEditor; }, 3000));
    QApplication::processEvents();
  }
  std::string MessageBar() { return form->StatusPanel(MessagePanel)->text().toStdString(); }

  std::string site;
  std::unique_ptr<TWebForm> form;
  int64_t now = 10'000'000;
};

TEST_F(IdleKeysTest, TabUnderAnEmptyLineGoesToColumnSix) {
  TRichEdit* rich = Open("a.txt", "\r\nab\r\n", 2);
  Type(Qt::Key_Tab, "\t");
  EXPECT_EQ(rich->GetText(), "\r\na    b\r\n");
  EXPECT_EQ(rich->SelStart(), 6u);
}

TEST_F(IdleKeysTest, EnterKeepsTheLinesIndent) {
  TRichEdit* rich = Open("a.txt", "    one\r\ntwo\r\n", 7);
  Type(Qt::Key_Return, "\r");
  EXPECT_EQ(rich->GetText(), "    one\r\n    \r\ntwo\r\n");
  EXPECT_EQ(rich->SelStart(), 12u);
}

TEST_F(IdleKeysTest, TypedBlanksAlternateWithNonBreakingBlanksEachKeyOnce) {
  const std::string head = "<HTML>\n<Head>\n</Head>\n<Body>\n";
  TRichEdit* rich = Open("p.htm", head + "Hello\n</Body>\n</HTML>\n", head.size() + 5);
  for (int i = 0; i < 5; ++i) Type(Qt::Key_Space, " ");
  EXPECT_NE(rich->GetText().find("\nHello&nbsp; &nbsp; &nbsp;\r\n</Body>"), std::string::npos)
      << rich->GetText();
}

TEST_F(IdleKeysTest, EnterAfterAListTagStartsAListItem) {
  TRichEdit* rich = Open("l.htm", "<UL>\n</UL>\n", 4);
  Type(Qt::Key_Return, "\r");
  EXPECT_EQ(rich->GetText(), "<UL>\r\n<LI></LI>\r\n</UL>\r\n");
  EXPECT_EQ(rich->SelStart(), 9u) << "between the two tags";
  Type(Qt::Key_X, "x");
  EXPECT_EQ(rich->GetText(), "<UL>\r\n<LI>x</LI>\r\n</UL>\r\n");
}

TEST_F(IdleKeysTest, EscapeClosesThePlayerBarFirstThenGoesOnToTheMenu) {
  Open("a.txt", "text\r\n", 0);
  int exits = 0;
  MainMenu().SetHandler("Exit", [&](const TMenuItem&) { ++exits; });
  ASSERT_TRUE(form->Action("Exit")->isEnabled());
  PlayPnl().SetVisible(true);
  SectionLines = {"0"};
  Type(Qt::Key_Escape);
  EXPECT_FALSE(PlayPnl().Visible());
  EXPECT_EQ(exits, 0) << "the key was spent on the player bar";
  EXPECT_EQ(SectionLines.size(), 1u);
  Type(Qt::Key_Escape);
  EXPECT_EQ(exits, 1) << "nothing left to close: Esc is the Exit item's key";
  EXPECT_TRUE(SectionLines.empty());
}

TEST_F(IdleKeysTest, WhileCorrectingTypingInAnRtfDocumentTakesTheCorrectionColour) {
  TRichEdit* rich = Open("c.rtf",
                         "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil"
                         "\\fcharset0 Arial;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 Hello\\par\r\n}",
                         5);
  ASSERT_FALSE(rich->PlainText());
  auto colourAfterTyping = [&](int key, const QString& text) {
    Type(key, text);
    QTextCursor cursor(rich->document());
    cursor.setPosition(static_cast<int>(rich->SelStart()));
    return cursor.charFormat().foreground().color();
  };
  const QColor plain = colourAfterTyping(Qt::Key_A, "a");
  TMenuItem correcting;
  correcting.name = CorrectingItem;
  correcting.caption = "Correcting";
  correcting.checkable = true;
  correcting.checked = true;
  MainMenu().AddItem("TextMenu", std::move(correcting));
  EXPECT_EQ(colourAfterTyping(Qt::Key_B, "b"), QColor(255, 0, 1));
  EXPECT_NE(plain, QColor(255, 0, 1));
  EXPECT_EQ(rich->GetText().substr(0, 7), "Helloab");
}

TEST_F(IdleKeysTest, InsertSwitchesToOverwriteAndTheIndicatorShows) {
  TRichEdit* rich = Open("a.txt", "abc\r\n", 0);
  NextPass();
  EXPECT_TRUE(form->OvrPanel()->isHidden());
  Type(Qt::Key_Insert);
  EXPECT_TRUE(rich->overwriteMode());
  EXPECT_EQ(MessageBar(), "  INSERT MODE OFF");
  NextPass();
  EXPECT_FALSE(form->OvrPanel()->isHidden());
  Type(Qt::Key_Z, "z");
  EXPECT_EQ(rich->GetText(), "zbc\r\n") << "typing replaces";
}

TEST_F(IdleKeysTest, TheStatusMessageBlinksAndClearsAfterAboutSixSeconds) {
  Open("a.txt", "abc\r\n", 0);
  NextPass();
  ShowStatus("Saved");
  QLabel* bar = form->StatusPanel(MessagePanel);
  EXPECT_EQ(bar->palette().color(QPalette::Window), QColor(255, 128, 0));
  NextPass();
  EXPECT_TRUE(bar->autoFillBackground());
  EXPECT_EQ(bar->palette().color(QPalette::Window), QColor(Qt::red));
  EXPECT_EQ(bar->palette().color(QPalette::WindowText), QColor(Qt::white));
  NextPass();
  EXPECT_FALSE(bar->autoFillBackground()) << "the normal colours in turn";
  EXPECT_EQ(MessageBar(), "  Saved");
  now = StatusShownAt + StatusLifetimeMs - IdleIntervalMs - 200;
  NextPass();
  EXPECT_EQ(MessageBar(), "  Saved");
  NextPass();
  EXPECT_EQ(MessageBar(), "") << "gone after six seconds without any input";
}

TEST_F(IdleKeysTest, ThePassShowsLineAndColumnAndPlacesAMarkerBesideItsText) {
  Open("a.txt", "alpha\r\nbeta\r\n", 7);
  Markers[4].position = 7;  // "beta"
  NextPass();
  EXPECT_EQ(form->StatusPanel(LineColumnPanel)->text(), "  Line 2  Col. 2");
  TMarker* marker = form->Marker(4);
  EXPECT_TRUE(marker->isVisible());
  EXPECT_FALSE(form->Marker(3)->isVisible());
  MainMenu().SetChecked("ShowMarkers", false);
  NextPass();
  EXPECT_FALSE(marker->isVisible());
}

TEST_F(IdleKeysTest, WithNoDocumentTheBannerShows) {
  ASSERT_EQ(form->PC()->count(), 0);
  now += 10'000;
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->NoDocumentBanner()->isVisible(); }, 3000));
  EXPECT_EQ(form->NoDocumentBanner()->text(),
            "No files.  Use File | Open, File | New, Web | Download entire site, or Set.");
  EXPECT_EQ(form->windowTitle(), "Quorrel");
  Open("a.txt", "x\r\n", 0);
  NextPass();
  EXPECT_FALSE(form->NoDocumentBanner()->isVisible());
}

// While a menu has the keyboard, Escape closes the menu and nothing else: the player
// bar stays, and the next Escape, with no menu open, is the one that closes it.
TEST_F(IdleKeysTest, EscapeWithAMenuOpenClosesTheMenuOnly) {
  Open("a.txt", "text\r\n", 0);
  PlayPnl().SetVisible(true);
  SectionLines = {"0"};
  QMenu* menu = form->Menu("EditMenu");
  ASSERT_NE(menu, nullptr);
  form->menuBar()->setActiveAction(menu->menuAction());
  ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
  ASSERT_EQ(QApplication::activePopupWidget(), menu);
  // As Qt delivers a key with a menu open: the focus object (still the editor) is
  // asked first whether it takes the key as its own; if not, the menu gets it.
  QKeyEvent asked(QEvent::ShortcutOverride, Qt::Key_Escape, Qt::NoModifier);
  asked.setAccepted(false);
  QApplication::sendEvent(QApplication::focusObject(), &asked);
  if (!asked.isAccepted()) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(menu, &press);
    QApplication::sendEvent(menu, &release);
  }
  QApplication::processEvents();
  EXPECT_FALSE(menu->isVisible());
  EXPECT_TRUE(PlayPnl().Visible());
  EXPECT_EQ(SectionLines.size(), 1u);

  form->CloseMenus();
  form->activateWindow();
  QWidget* editor = form->PC()->currentWidget();
  editor->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return editor->hasFocus(); }, 2000));
  Type(Qt::Key_Escape);
  EXPECT_FALSE(PlayPnl().Visible());
}

// A document opened into the tab of another (File > Open) is entered anew: the
// Section panel names its own section, never the one the caret was in before.
TEST_F(IdleKeysTest, TheSectionPanelFollowsTheDocumentOpenedIntoTheTab) {
  InstallOpenCommands();
  const std::string tunes =
      "X:1\r\nT:One\r\nK:C\r\nCDE|\r\n\r\nX:2\r\nT:Two\r\nK:C\r\nCDE|\r\n\r\n"
      "X:3\r\nT:Three\r\nK:C\r\nCDE|\r\n";
  const std::string page =
      "<HTML>\n<Head>\n<Title>P</Title>\n</Head>\n<Body>\n<P>x</P>\n</Body>\n</HTML>\n";
  struct Case {
    const char* first;
    std::string text;
  } cases[] = {{"tunes.abc", tunes}, {"page.htm", page}};
  const std::string notes = site + "notes.txt";
  std::ofstream(notes, std::ios::binary) << "Some notes\r\nof no sections\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first);
    TRichEdit* rich = Open(c.first, c.text, 0);
    rich->Select(rich->TextLength() - 2, 0);
    NextPass();
    const QString before = form->StatusPanel(SectionPanel)->text();
    ASSERT_TRUE(before.startsWith("Section: ")) << before.toStdString();
    ASSERT_NE(before, "Section: [None]");

    test::Dialogs().AnswerPath(notes);
    MainMenu().Click("Open");
    ASSERT_EQ(CurrentFileName, notes);
    ASSERT_EQ(form->PC()->count(), 1);
    rich = dynamic_cast<TRichEdit*>(form->PC()->currentWidget());
    rich->setFocus();
    rich->Select(rich->TextLength(), 0);
    NextPass();
    EXPECT_EQ(form->StatusPanel(SectionPanel)->text(), "Section: [None]");
    CloseAllClick("CloseAll");
  }
}

// Colouring reports nothing when its search for the next comment runs out: pages
// that begin with "<?xml" (real XHTML without a comment, and a short one after its
// last comment) and a style sheet without comments open without a warning.
TEST_F(IdleKeysTest, PagesWithNoMoreCommentsOpenWithoutAWarning) {
  const char kXhtml[] = "/usr/share/doc/libxslt1-dev/html/API.html";
  ASSERT_TRUE(test::Installed(kXhtml, "libxslt1-dev"));
  // Its head on a line of its own, so that opening it does not re-lay the page.
  std::string xhtml = test::ReadFile(kXhtml);
  const size_t head = xhtml.find("<head>");
  ASSERT_NE(head, std::string::npos);
  xhtml.insert(head, "\n");
  struct Case {
    const char* name;
    std::string text;
  } cases[] = {
      {"API.html", xhtml},
      {"short.html",
       "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<html>\n<head>\n<title>T</title></head>\n"
       "<body>\n<!-- one -->\n<p>x</p>\n</body></html>\n"},
      {"plain.css", "p { color: red; }\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open(c.name, c.text, 0);
    NextPass();
    NextPass();
    EXPECT_EQ(MessageBar().find("Could not find"), std::string::npos) << MessageBar();
    CloseAllClick("CloseAll");
  }
}

}  // namespace
}  // namespace quorrel
