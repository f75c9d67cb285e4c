// The main window's keyboard hooks and idle pass on real widgets: key events sent to
// the real editor go through the shortcut override and the key press as typed keys
// do, and the idle timer of the window runs the passes (on a clock the test moves).
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
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
#include "shell/Documents.h"
#include "shell/DocumentsOpen.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "support/ClickIntoText.h"
#include "support/TestEnvironment.h"
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

}  // namespace
}  // namespace quorrel
