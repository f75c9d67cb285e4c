// Closing and errors on the real main window: a close that fails half-way keeps
// the window and its documents, a changed tab closed from the menu asks first, and
// a command that throws leaves the event loop running.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTabWidget>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "commands/Exit.h"
#include "commands/OpenDocs.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/MyException.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

class ExitFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site = test::TestHome() + "exitform/";
    fs::create_directories(site + "sub");
    form = std::make_unique<TWebForm>();
    SetMainWindow(form.get());
    SettingsIni = std::make_unique<TIniFile>(DocumentsFolder() + "Quorrel.Ini");
    InstallMyException();
    InstallExitCommands();
    AppPhase = 1;
  }
  void TearDown() override {
    form.reset();
    SettingsIni.reset();
    fs::remove_all(site);
    fs::remove(DocumentsFolder() + "Quorrel.Ini");
  }
  std::string Write(const std::string& name) {
    std::ofstream(site + name, std::ios::binary) << "text\r\n";
    return site + name;
  }
  void OpenEdited(const std::string& path) {
    OpenInNewTab(path);
    CurrentEditor->Select(0, 0);
    CurrentEditor->SetSelText("new ");
  }
  std::string site;
  std::unique_ptr<TWebForm> form;
};

TEST_F(ExitFormTest, AFailedSaveOnTheWayOutKeepsTheWindowAndItsDocuments) {
  form->show();
  const std::string path = Write("sub/a.txt");
  OpenEdited(path);
  fs::remove_all(site + "sub");
  Dialogs().Answer(mrYes);
  EXPECT_FALSE(form->close());
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(form->updatesEnabled()) << "painted again";
  EXPECT_EQ(Dialogs().Last().text, "Unable to create\r" + path);
  ASSERT_EQ(form->PC()->count(), 1);
  EXPECT_EQ(form->TabEditor(0)->GetText(), "new text\r\n");

  // Leaving the changes behind, the program closes.
  Dialogs().Answer(mrNo);
  EXPECT_TRUE(form->close());
  EXPECT_EQ(form->PC()->count(), 0);
}

TEST_F(ExitFormTest, CloseTabFromTheMenuAsksAndCancelKeepsTheTab) {
  const std::string path = Write("a.txt");
  OpenEdited(path);
  Dialogs().Answer(mrCancel);
  form->Action("CloseTab")->trigger();
  EXPECT_EQ(Dialogs().Last().kind, DialogKind::YesNoCancel);
  EXPECT_EQ(form->PC()->count(), 1);
  Dialogs().Answer(mrNo);
  form->Action("CloseTab")->trigger();
  EXPECT_EQ(form->PC()->count(), 0);
}

TEST_F(ExitFormTest, ACommandThatThrowsIsReportedAndTheProgramGoesOn) {
  const std::string path = Write("a.txt");
  OpenEdited(path);
  MainMenu().SetHandler("Compare", [](const TMenuItem&) { throw std::out_of_range("vector"); });
  QAction* compare = form->Action("Compare");
  ASSERT_NE(compare, nullptr);
  compare->setEnabled(true);
  compare->trigger();
  QCoreApplication::processEvents();
  EXPECT_EQ(Dialogs().Last().text, "vector\rException Address:  00000000");
  EXPECT_EQ(CurrentCommand, "");
  EXPECT_EQ(form->TabEditor(0)->GetText(), "new text\r\n");
  Dialogs().Answer(mrNo);
  EXPECT_TRUE(form->close());
}

// File > Exit asks about a changed document with that document on the screen: the
// tabs closed before it are gone from the tab bar, and its text is the one drawn.
TEST_F(ExitFormTest, ExitAsksAboutTheDocumentItShows) {
  form->resize(800, 600);
  form->show();
  OpenInNewTab(Write("first.txt"));
  OpenEdited(Write("dash.txt"));
  for (const char* name : {"c.txt", "d.txt", "e.txt"}) OpenInNewTab(Write(name));
  ASSERT_EQ(form->PC()->count(), 5);
  int asked = 0;
  Dialogs().whileShowing = [&](const DialogCall& call) {
    if (call.text.find("Save changes to ") == std::string::npos) return;
    ++asked;
    EXPECT_EQ(call.text, "Save changes to " + site + "dash.txt?");
    EXPECT_TRUE(form->updatesEnabled()) << "the window is drawn";
    EXPECT_EQ(form->PC()->count(), 2) << "the tabs closed before are gone";
    QWidget* shown = form->PC()->currentWidget();
    EXPECT_EQ(dynamic_cast<TMyRich*>(shown), form->TabEditor(1));
    EXPECT_TRUE(shown && shown->isVisible() && shown->updatesEnabled()) << "its text is drawn";
    EXPECT_EQ(form->TabEditor(1)->GetText(), "new text\r\n");
  };
  Dialogs().Answer(mrNo);
  form->Action("Exit")->trigger();
  Dialogs().whileShowing = nullptr;
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(form->PC()->count(), 0);
}

}  // namespace
}  // namespace quorrel
