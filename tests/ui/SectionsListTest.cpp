// The Sections list on real widgets: F11 and F12 through a style sheet's rules,
// the list of an ABC file's tunes filtered by typed keys, and Enter choosing one.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabWidget>
#include <filesystem>
#include <fstream>

#include "commands/CompositionRoot.h"
#include "commands/OpenDocs.h"
#include "edit/Sections.h"
#include "platform/IniFile.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/TestEnvironment.h"
#include "ui/platform/RichEdit.h"
#include "ui/shell/SectionsList.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

class SectionsListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site = test::TestHome() + "sections-list/";
    fs::create_directories(site);
    SettingsIni = std::make_unique<TIniFile>(site + "settings.ini");
    form = std::make_unique<TWebForm>();
    SetMainWindow(form.get());
    InstallSectionCommands();
    form->resize(900, 600);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->isActiveWindow(); }, 2000));
    AppPhase = 1;
  }
  void TearDown() override {
    form.reset();
    SetMainWindow(nullptr);
    fs::remove_all(site);
  }
  TRichEdit* Open(const std::string& name, const std::string& text) {
    std::ofstream(site + name, std::ios::binary) << text;
    OpenThis(site + name);
    PCChange();
    auto* rich = dynamic_cast<TRichEdit*>(form->PC()->currentWidget());
    rich->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return rich->hasFocus(); }, 2000));
    // What the idle pass does first: the list built quietly shows its menu item.
    SectionsClick("");
    return rich;
  }
  void Type(int key, const QString& text = QString()) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
    QApplication::processEvents();
  }
  QStringList Captions() {
    TSectionsList* list = form->SectionsList();
    return list ? list->Captions() : QStringList();
  }

  std::string site;
  std::unique_ptr<TWebForm> form;
};

TEST_F(SectionsListTest, F12AndF11WalkTheRulesOfAStyleSheet) {
  const std::string css = "body { margin: 0 }\r\nh1 { color: red }\r\n\r\n.note { x: 1 }\r\n";
  TRichEdit* rich = Open("site.css", css);
  ASSERT_TRUE(form->Action("Sections")->isVisible());
  rich->Select(0, 0);
  std::vector<std::string> visited;
  for (int i = 0; i < 3; ++i) {
    Type(Qt::Key_F12);
    visited.push_back(rich->TextRange(rich->SelStart(), 3));
  }
  EXPECT_EQ(visited, std::vector<std::string>({"h1 ", ".no", ""})) << "then the end";
  Type(Qt::Key_F11);
  EXPECT_EQ(rich->TextRange(rich->SelStart(), 3), ".no");
  Type(Qt::Key_F11);
  EXPECT_EQ(rich->TextRange(rich->SelStart(), 3), "h1 ");
}

TEST_F(SectionsListTest, TypedKeysFilterTheTunesAndEnterChoosesOne) {
  const std::string abc =
      "X:1\r\nT:Alpha\r\nK:C\r\nX:2\r\nT:The Globe\r\nK:C\r\nX:3\r\nT:Glory Reel\r\nK:D\r\n"
      "X:4\r\nT:Galway\r\nK:G\r\n";
  TRichEdit* rich = Open("tunes.abc", abc);
  form->Action("Sections")->trigger();
  QApplication::processEvents();
  ASSERT_TRUE(form->SectionsBoxShowing());
  EXPECT_EQ(Captions(), QStringList({"Alpha", "The Globe", "Glory Reel", "Galway"}));
  EXPECT_TRUE(form->SectionsBoxFocused());
  // The first caption is highlighted, white on the highlight colour.
  TSectionsList* list = form->SectionsList();
  EXPECT_EQ(list->Highlighted(), 0);
  EXPECT_EQ(list->TextColour(0), QColor(Qt::white));
  EXPECT_EQ(list->Background(0), QColor(0x60, 0x88, 0xC0));
  EXPECT_EQ(list->TextColour(1), QColor(Qt::black));

  Type(Qt::Key_G, "g");
  EXPECT_EQ(Captions(), QStringList({"The Globe", "Glory Reel", "Galway"}));
  Type(Qt::Key_L, "l");
  EXPECT_EQ(Captions(), QStringList({"The Globe", "Glory Reel"})) << "GL keeps The Globe";
  ASSERT_TRUE(form->SectionsBoxFocused());
  Type(Qt::Key_Return, "\r");
  EXPECT_FALSE(form->SectionsBoxShowing());
  EXPECT_EQ(TextOffsetOf(rich->SelStart()), abc.find("X:2"));
}

TEST_F(SectionsListTest, TheMouseHighlightsACaptionAndAClickChoosesIt) {
  const std::string abc = "X:1\r\nT:One\r\nK:C\r\nX:2\r\nT:Two\r\nK:C\r\nX:3\r\nT:Three\r\nK:D\r\n";
  TRichEdit* rich = Open("three.abc", abc);
  form->Action("Sections")->trigger();
  TSectionsList* list = form->SectionsList();
  ASSERT_NE(list, nullptr);
  QWidget* canvas = list->widget();
  const QPointF at = list->LabelRect(2).center();
  QMouseEvent move(QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(canvas, &move);
  EXPECT_EQ(list->Highlighted(), 2);
  EXPECT_EQ(list->Background(0), list->Background(1)) << "the others in the button colour";
  QMouseEvent release(QEvent::MouseButtonRelease, at, canvas->mapToGlobal(at), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(canvas, &release);
  EXPECT_FALSE(form->SectionsBoxShowing());
  EXPECT_EQ(TextOffsetOf(rich->SelStart()), abc.find("X:3"));
}

}  // namespace
}  // namespace quorrel
