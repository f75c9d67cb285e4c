// The sets dialog on the offscreen platform, with the sets of a real settings file.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "shell/FileSets.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "support/OpenDocuments.h"
#include "support/ScriptedDialogs.h"
#include "ui/shell/SetForm.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

void Click(QWidget* target, QPoint at, bool twice = false) {
  auto send = [&](QEvent::Type type) {
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
  };
  send(QEvent::MouseButtonPress);
  send(QEvent::MouseButtonRelease);
  if (twice) {
    send(QEvent::MouseButtonDblClick);
    send(QEvent::MouseButtonRelease);
  }
}

void PressKey(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(target, &release);
}

class SetFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const auto& entry : std::filesystem::directory_iterator(DocumentsFolder())) {
      std::filesystem::remove_all(entry.path());
    }
    OpenMainIni();
    for (const char* name : {"pears", "Apples", "figs"}) MainIni->WriteString("Sets", name, "Y");
  }

  // Runs step inside the dialog's own event loop, once it shows.
  static void WhileOpen(std::function<void()> step) { QTimer::singleShot(0, qApp, step); }

  QPoint RowCentre(int row) {
    return form.SetList->visualItemRect(form.SetList->item(row)).center();
  }

  TSetForm form;
};

TEST_F(SetFormTest, OpenListsTheSetsInTheirOrderAndTakesTheChosenOne) {
  bool nameBoxShown = true, selectShown = true;
  int currentRow = -1;
  QStringList names;
  int listHeight = 0, formHeight = 0, row = 0;
  WhileOpen([&] {
    nameBoxShown = form.NewName->isVisible();
    selectShown = form.SelectBtn->isVisible();
    currentRow = form.SetList->currentRow();
    for (int i = 0; i < form.SetList->count(); ++i) names << form.SetList->item(i)->text();
    listHeight = form.SetList->height();
    formHeight = form.height();
    row = form.SetList->sizeHintForRow(0);
    Click(form.SetList->viewport(), RowCentre(1), true);
  });
  std::string name;
  ASSERT_TRUE(form.Choose(false, name));
  EXPECT_EQ(name, "Apples");
  EXPECT_EQ(names, (QStringList{"pears", "Apples", "figs"}));
  EXPECT_EQ(currentRow, 0);
  EXPECT_FALSE(nameBoxShown);
  EXPECT_FALSE(selectShown);
  // One row more than the sets; the form 120 pixels taller than the list.
  EXPECT_EQ(listHeight, row * 4 + 2 * form.SetList->frameWidth());
  EXPECT_EQ(formHeight, listHeight + 120);
  EXPECT_EQ(form.windowTitle(), "Sets of files");

  // OK takes the selected set; Cancel takes none.
  WhileOpen([&] { form.OKBtn->click(); });
  ASSERT_TRUE(form.Choose(false, name));
  EXPECT_EQ(name, "pears");
  WhileOpen([&] { form.CancelBtn->click(); });
  name = "unchanged";
  EXPECT_FALSE(form.Choose(false, name));
  EXPECT_EQ(name, "unchanged");
}

TEST_F(SetFormTest, SaveAsTakesATypedNameOrAClickedOne) {
  bool nameBoxShown = false;
  WhileOpen([&] {
    nameBoxShown = form.NewName->isVisible() && form.SelectBtn->isVisible();
    form.NewName->insert("Garden");
    form.OKBtn->click();
  });
  std::string name;
  ASSERT_TRUE(form.Choose(true, name));
  EXPECT_TRUE(nameBoxShown);
  EXPECT_EQ(name, "Garden");

  // The box starts empty again; a click on a set takes that name.
  QString boxText = "?";
  WhileOpen([&] {
    boxText = form.NewName->text();
    Click(form.SetList->viewport(), RowCentre(2));
  });
  ASSERT_TRUE(form.Choose(true, name));
  EXPECT_TRUE(boxText.isEmpty());
  EXPECT_EQ(name, "figs");

  WhileOpen([&] {
    form.SetList->setCurrentRow(1);
    form.SelectBtn->click();
  });
  ASSERT_TRUE(form.Choose(true, name));
  EXPECT_EQ(name, "Apples");
}

TEST_F(SetFormTest, SortRewritesTheSetsAndKeepsTheDialogOpen) {
  QStringList shown;
  bool stillOpen = false;
  QString selected;
  WhileOpen([&] {
    form.SetList->setCurrentRow(0);  // "pears"
    form.SortBtn->click();
    stillOpen = form.isVisible();
    for (int i = 0; i < form.SetList->count(); ++i) shown << form.SetList->item(i)->text();
    selected = form.SetList->currentItem()->text();
    form.CancelBtn->click();
  });
  std::string name;
  EXPECT_FALSE(form.Choose(false, name));
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(shown, (QStringList{"Apples", "figs", "pears"}));
  EXPECT_EQ(selected, "pears");
  EXPECT_EQ(TIniFile(DocumentsFolder() + MainIniName).ReadSection("Sets"),
            (std::vector<std::string>{"Apples", "figs", "pears"}));
}

TEST_F(SetFormTest, SaveAsFromTheSetMenuMakesTheSetFile) {
  InstallSetForm();
  SettingsIni = std::make_unique<TIniFile>(MainIni->FileName());
  test::SetOpenFiles({"/garden/a.htm", "/garden/b.htm"});
  WhileOpen([] {
    auto* box = qobject_cast<TSetForm*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    box->NewName->insert("Garden");
    PressKey(box->NewName, Qt::Key_Return);
  });
  SetSaveAsClick();
  EXPECT_EQ(CurrentSetName, "Garden");
  EXPECT_EQ(TIniFile(DocumentsFolder() + "Garden.Ini").ReadSectionValues("Files"),
            (std::vector<std::string>{"1=/garden/a.htm", "2=/garden/b.htm"}));
  EXPECT_TRUE(test::Dialogs().Calls().empty());
}

TEST_F(SetFormTest, TheSetMenuOfTheMainWindowNamesTheSetOrOpensOne) {
  TWebForm webForm;
  SetMainWindow(&webForm);
  InstallFileSetCommands();
  InstallSetForm();
  QMenu* menu = webForm.Menu("SetMenu");
  ASSERT_NE(menu, nullptr);
  QAction* save = webForm.Action("SetSave");
  ASSERT_NE(save, nullptr);

  // A document open and a set current: Save and Delete name the set.
  webForm.NewTab()->SetTag(0);
  test::SetOpenFiles({"/garden/a.htm"});
  CurrentSetName = "Garden";
  Q_EMIT menu->aboutToShow();
  EXPECT_EQ(save->text(), "&Save Garden");
  EXPECT_TRUE(save->isEnabled());
  EXPECT_EQ(webForm.Action("SetDelete")->text(), "Delete Garden");

  // No document open: the sets dialog comes at once.
  webForm.CloseTab(0);
  ClearDocuments();
  bool asked = false;
  QTimer::singleShot(0, qApp, [&] {
    QTimer::singleShot(0, qApp, [&] {
      auto* box = qobject_cast<TSetForm*>(QApplication::activeModalWidget());
      asked = box != nullptr;
      if (box) box->CancelBtn->click();
    });
  });
  Q_EMIT menu->aboutToShow();
  EXPECT_FALSE(save->isEnabled());
  EXPECT_EQ(save->text(), "&Save");
  for (int i = 0; i < 20 && !asked; ++i) QCoreApplication::processEvents();
  EXPECT_TRUE(asked);
  SetMainWindow(nullptr);
}

}  // namespace
}  // namespace quorrel
