// What the user sees of each tab on the real editor control: every tab opened at
// start gets the scheme's background and its colours when it comes to the front, the
// tune at the caret of an ABC document is coloured without the caret having to move
// into another tune, and a question about a tab's document shows over its own text.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <filesystem>
#include <fstream>

#include "commands/IdleLoop.h"
#include "commands/StartUp.h"
#include "platform/Paths.h"
#include "shell/Documents.h"
#include "shell/IdleClock.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/ClickIntoText.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "ui/platform/Colours.h"
#include "ui/platform/RichEdit.h"
#include "ui/shell/WebForm.h"
#include "validate/ColourScheme.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

constexpr char kTune[] = "X:1\r\nT:Speed the Plough\r\nM:4/4\r\nK:G\r\n|:GABc dedB|dedB dedB:|\r\n";
constexpr char kCss[] = "/* the page */\r\nbody {\r\n  color: navy;\r\n}\r\n";
constexpr char kPage[] = "<!DOCTYPE html>\r\n<html>\r\n<p>Hi</p>\r\n</html>\r\n";

class TabsOnScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site = test::TestHome() + "tabs-on-screen/";
    fs::create_directories(site);
    SetIdleClockForTests([this] { return now; });
    form = std::make_unique<TWebForm>();
    SetMainWindow(form.get());
  }
  void TearDown() override {
    form.reset();
    SetMainWindow(nullptr);
    fs::remove_all(site);
    fs::remove(DocumentsFolder() + "Quorrel.Ini");
  }
  std::string Write(const std::string& name, const std::string& text) {
    std::ofstream(site + name, std::ios::binary) << text;
    return site + name;
  }
  // Starts the program with the documents on its command line, as the user does.
  void Start(const std::vector<std::string>& names) {
    StartParameters.clear();
    for (const std::string& name : names) StartParameters.push_back(site + name);
    FormActivate();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->isActiveWindow(); }, 2000));
  }
  // Moves the passes' clock on and waits for the window's idle timer to run one.
  void NextPass() {
    now += IdleIntervalMs + 100;
    const int64_t before = LastIdleTime;
    ASSERT_TRUE(QTest::qWaitFor([&] { return LastIdleTime != before; }, 3000));
    QApplication::processEvents();
  }
  TRichEdit* Tab(int index) {
    form->PC()->setCurrentIndex(index);
    QApplication::processEvents();
    return qobject_cast<TRichEdit*>(form->PC()->widget(index));
  }
  // The colour a character is drawn in: its layout format's, else the editor's text colour.
  static std::string ColourAt(TRichEdit* rich, const std::string& part, size_t inside = 0) {
    const QString text = rich->document()->toPlainText();
    const int at = text.indexOf(QString::fromStdString(part));
    if (at < 0) return "(" + part + " not in the text)";
    const int pos = at + static_cast<int>(inside);
    // Colours are laid over the blocks in batches: let every batch run.
    QApplication::processEvents();
    const QTextBlock block = rich->document()->findBlock(pos);
    for (const QTextLayout::FormatRange& r : block.layout()->formats()) {
      const int offset = pos - block.position();
      if (offset >= r.start && offset < r.start + r.length &&
          r.format.hasProperty(QTextFormat::ForegroundBrush)) {
        return r.format.foreground().color().name().toStdString();
      }
    }
    return rich->palette().color(QPalette::Text).name().toStdString();
  }
  static std::string Hex(int bgr) { return ColourFromBgr(bgr).name().toStdString(); }
  static std::string Background(TRichEdit* rich) {
    return rich->palette().color(QPalette::Base).name().toStdString();
  }

  std::string site;
  std::unique_ptr<TWebForm> form;
  int64_t now = 10'000'000;
};

// What each document must show: a part of its text and the scheme colour of that part.
struct Expected {
  const char* name;
  const char* part;
  size_t inside;
  int TColourScheme::*colour;
};

const Expected kExpected[] = {
    {"tune.abc", "T:Speed", 3, &TColourScheme::tuneName},
    {"tune.abc", "|:GABc", 0, &TColourScheme::barLine},
    {"style.css", "the page", 0, &TColourScheme::comments},
    {"page.html", "<p>", 1, &TColourScheme::tags},
};

TEST_F(TabsOnScreenTest, EveryTabOpenedAtStartShowsTheScheme) {
  Write("tune.abc", kTune);
  Write("style.css", kCss);
  Write("page.html", kPage);
  Start({"tune.abc", "style.css", "page.html"});
  ASSERT_EQ(form->PC()->count(), 3);
  // Without the CSS preview, a style sheet's comments are coloured.
  MainMenu().SetChecked("ColourCSS", false);
  NextPass();
  // Every tab, the front one first, then the others as the user clicks them.
  for (int index : {2, 0, 1, 2}) {
    TRichEdit* rich = Tab(index);
    NextPass();
    const std::string name = form->PC()->tabText(index).toStdString();
    SCOPED_TRACE(name);
    EXPECT_EQ(Background(rich), Hex(ColourScheme.background));
    for (const Expected& e : kExpected) {
      if (name != e.name) continue;
      SCOPED_TRACE(e.part);
      EXPECT_EQ(ColourAt(rich, e.part, e.inside), Hex(ColourScheme.*e.colour));
    }
    // Entering a tab leaves its text as it was read.
    EXPECT_FALSE(rich->Modified());
  }
}

TEST_F(TabsOnScreenTest, TheOneTuneOfADocumentIsColouredAndStaysColouredWhileTyping) {
  Write("tune.abc", kTune);
  Start({"tune.abc"});
  NextPass();
  TRichEdit* rich = Tab(0);
  EXPECT_EQ(ColourAt(rich, "T:Speed", 3), Hex(ColourScheme.tuneName));
  EXPECT_EQ(ColourAt(rich, "|:GABc"), Hex(ColourScheme.barLine));

  // A bar line typed at the end of the tune gets its colour at the next pass.
  rich->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return rich->hasFocus(); }, 2000));
  // The user clicks into the text (which ends the caret's blink) and then goes to
  // the end of the tune.
  test::ClickIntoText(rich);
  rich->Select(rich->document()->toPlainText().indexOf("dedB:|") + 4, 0);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Bar, Qt::NoModifier, "|");
  QApplication::sendEvent(rich, &press);
  ASSERT_NE(rich->GetText().find("dedB|:|"), std::string::npos) << rich->GetText();
  NextPass();
  NextPass();
  EXPECT_EQ(ColourAt(rich, "dedB|:|", 4), Hex(ColourScheme.barLine));
  EXPECT_EQ(ColourAt(rich, "T:Speed", 3), Hex(ColourScheme.tuneName));
}

TEST_F(TabsOnScreenTest, TheSaveQuestionShowsOverTheTextOfTheTabItIsAbout) {
  Write("a.txt", "first document\r\n");
  Write("b.txt", "second document\r\n");
  Start({"a.txt", "b.txt"});
  NextPass();
  TRichEdit* a = Tab(0);
  NextPass();
  a->setFocus();
  a->Select(0, 0);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
  QApplication::sendEvent(a, &press);
  ASSERT_TRUE(a->Modified());
  Tab(1);
  NextPass();

  // Back to the first tab and Ctrl+W at once, before the next pass.
  Tab(0);
  bool asked = false;
  test::Dialogs().whileShowing = [&](const DialogCall& call) {
    if (call.text.find("Save changes to") == std::string::npos) return;
    asked = true;
    EXPECT_EQ(form->PC()->currentWidget(), a);
    EXPECT_TRUE(a->isVisible());
    // A control whose updates are off shows whatever was on screen before it.
    EXPECT_TRUE(a->updatesEnabled());
    EXPECT_TRUE(a->viewport()->updatesEnabled());
  };
  test::Dialogs().Answer(mrNo);
  form->Action("CloseTab")->trigger();
  EXPECT_TRUE(asked);
  ASSERT_EQ(form->PC()->count(), 1);
  EXPECT_EQ(CurrentFileName, site + "b.txt");
}

}  // namespace
}  // namespace quorrel
