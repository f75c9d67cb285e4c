// The small forms on real widgets: the pick list, the special-characters grid
// from its menu item and from the Find dialog's Ctrl+S, the file-associations
// dialog from its menu item on a temporary HOME, the program-location question and
// the pop-up note.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>

#include "commands/StartUp.h"
#include "edit/SpecialChars.h"
#include "platform/CodePage.h"
#include "platform/Desktop.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "shell/LinkPick.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/FileAssociations.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "shell/SmallForms.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "support/TestWindow.h"
#include "support/XdgHome.h"
#include "ui/shell/AssForm.h"
#include "ui/shell/FindForm.h"
#include "ui/shell/LinkForm.h"
#include "ui/shell/PopForm.h"
#include "ui/shell/SpecForm.h"
#include "ui/shell/SplashForm.h"
#include "ui/shell/WebForm.h"
#include "ui/shell/WhereForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

// Acts on the modal form of type Form as soon as it shows, then closes it when the
// step left it open.
template <class Form>
void WhenShown(bool& seen, std::function<void(Form&)> step) {
  QTimer::singleShot(0, qApp, [&seen, step] {
    auto* shown = qobject_cast<Form*>(QApplication::activeModalWidget());
    ASSERT_NE(shown, nullptr);
    seen = true;
    step(*shown);
    if (shown->isVisible()) shown->reject();
  });
}

void Key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
         const QString& text = {}) {
  QKeyEvent shortcut(QEvent::ShortcutOverride, key, modifiers, text);
  QApplication::sendEvent(widget, &shortcut);
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(widget, &press);
}

// ---- the pick list ----------------------------------------------------------------

TEST(LinkFormTest, EntriesAreSeventeenApartAndTheListAsHighAsThey) {
  TLinkForm form;
  for (int i = 0; i < 20; ++i) form.AddEntry("page" + std::to_string(i) + ".html");
  form.show();
  EXPECT_EQ(form.NextLinkTop(), 344);
  EXPECT_EQ(form.height(), 344);
  const auto entries = form.findChildren<QPushButton*>("LinkEntry");
  ASSERT_EQ(entries.size(), 20);
  EXPECT_EQ(entries[0]->geometry(), QRect(4, 4, form.width() - 40, 15));
  EXPECT_EQ(entries[19]->geometry().top(), 4 + 19 * 17);
}

TEST(LinkFormTest, AClickChoosesTheEntryAsAddedAndEscChoosesNothing) {
  ChosenLink = "before";
  {
    TLinkForm form;
    form.AddEntry("Tom & Jerry");
    form.AddEntry("T");
    const auto entries = form.findChildren<QPushButton*>("LinkEntry");
    // "&" shows once; a group letter is green and bold.
    EXPECT_EQ(entries[0]->text(), "Tom && Jerry");
    EXPECT_FALSE(entries[0]->font().bold());
    EXPECT_TRUE(entries[1]->font().bold());
    EXPECT_NE(entries[1]->styleSheet().indexOf("#00dc00"), -1);
    form.show();
    Key(&form, Qt::Key_Escape);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(ChosenLink, "before");
  }
  InstallLinkForm();
  bool seen = false;
  WhenShown<TLinkForm>(seen, [](TLinkForm& form) {
    EXPECT_EQ(form.windowTitle(), "Links with home");
    form.findChildren<QPushButton*>("LinkEntry")[0]->click();
  });
  EXPECT_TRUE(PickLink("Links with home", {"Tom & Jerry", "T"}));
  EXPECT_TRUE(seen);
  EXPECT_EQ(ChosenLink, "Tom & Jerry");
  SetLinkForm(nullptr);
}

// ---- the main window's forms --------------------------------------------------------

class UtilityFormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site_ = test::SiteTestFolder() + "forms/";
    fs::create_directories(site_);
    form_ = std::make_unique<TWebForm>();
    SetMainWindow(form_.get());
    form_->SetSplash(new TSplashForm(form_.get()));
    FormActivate();
    InstallSpecForm();
    InstallAssForm();
    QApplication::processEvents();
  }
  void TearDown() override {
    SetSpecForm(nullptr);
    SetAssForm(nullptr);
    test::CloseTestWindow(form_);
  }
  void OpenTab(const std::string& name, const std::string& text) {
    std::ofstream(site_ + name, std::ios::binary) << text;
    Dialogs().AnswerPath(site_ + name);
    form_->Action("OpenTab")->trigger();
    QApplication::processEvents();
    ASSERT_EQ(CurrentFileName, site_ + name);
  }

  std::string site_;
  std::unique_ptr<TWebForm> form_;
};

TEST_F(UtilityFormsTest, TheGridShowsEveryCodeAndAClickInsertsItsByteAtTheCaret) {
  OpenTab("page.txt", "ab");
  CurrentEditor->SetSelStart(1);
  bool seen = false;
  WhenShown<TSpecForm>(seen, [](TSpecForm& grid) {
    EXPECT_EQ(grid.windowTitle(), "Special characters");
    EXPECT_EQ(grid.size(), QSize(580, 580));
    // Row 4, column 1.
    QPushButton* a = grid.Button(0x41);
    EXPECT_EQ(a->text(), "A");
    EXPECT_EQ(a->toolTip(), "41  65");
    EXPECT_EQ(a->geometry(), QRect(4 + 36, 4 + 4 * 36, 32, 32));
    EXPECT_EQ(grid.Button(0xFF)->geometry(), QRect(4 + 15 * 36, 4 + 15 * 36, 32, 32));
    EXPECT_EQ(grid.Button(0xE9)->text(), QString(QChar(0xE9)));
    EXPECT_EQ(grid.Button(0x80)->text(), QString(QChar(0x20AC)));
    EXPECT_EQ(grid.Button('&')->text(), "&&");
    EXPECT_EQ(grid.Button(0x00)->toolTip(), "00  0");
    EXPECT_EQ(grid.Button(0x00)->text(), "");
    EXPECT_NE(grid.Button(0x81)->text(), QString(QChar(0x81)));  // a visible placeholder
    grid.Button(0xE9)->click();
    grid.Button(0x00)->click();  // inserts nothing
    grid.Button(0x81)->click();  // undefined, but its byte all the same
  });
  form_->Action("Special")->trigger();
  EXPECT_TRUE(seen);
  EXPECT_EQ(CurrentEditor->GetText(), "a\xE9\x81" "b");
  EXPECT_EQ(Desktop().ClipboardText(), "\x81");
}

TEST_F(UtilityFormsTest, CtrlSInTheFindBoxPutsTheCharacterIntoThatBox) {
  OpenTab("page.txt", "text");
  TFindForm* find = CreateFindForm(form_.get());
  ASSERT_NE(find, nullptr);
  find->show();
  QApplication::setActiveWindow(find);
  find->FText->setEditText("caf");
  find->RepText->setEditText("tea");
  find->FText->lineEdit()->setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(QApplication::focusWidget() == find->FText ||
              QApplication::focusWidget() == find->FText->lineEdit());
  bool seen = false;
  WhenShown<TSpecForm>(seen, [](TSpecForm& grid) { grid.Button(0xE9)->click(); });
  Key(find->FText->lineEdit(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(seen);
  EXPECT_EQ(QStringToAnsi(find->FText->currentText()), "caf\xE9");
  EXPECT_EQ(QStringToAnsi(find->RepText->currentText()), "tea");
  EXPECT_EQ(CurrentEditor->GetText(), "text");
  EXPECT_EQ(Desktop().ClipboardText(), "\xE9");
  find->hide();
}

class AssFormTest : public UtilityFormsTest {
 protected:
  void SetUp() override {
    UtilityFormsTest::SetUp();
    home_ = test::TestHome() + "assform/";
    xdg_ = std::make_unique<test::XdgHome>(home_);
  }
  void TearDown() override {
    xdg_.reset();
    UtilityFormsTest::TearDown();
  }
  std::map<std::string, std::string> Files() {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(home_)) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      files[entry.path().string()] = bytes.str();
    }
    return files;
  }
  // The box captions as the dialog shows them when opened from its menu item.
  std::vector<std::string> Captions(std::function<void(TAssForm&)> then = {}) {
    std::vector<std::string> captions;
    bool seen = false;
    WhenShown<TAssForm>(seen, [&](TAssForm& dialog) {
      for (QCheckBox* box : dialog.Boxes) captions.push_back(QStringToAnsi(box->text()));
      if (then) then(dialog);
    });
    form_->Action("FileAss")->trigger();
    EXPECT_TRUE(seen);
    return captions;
  }

  std::string home_;
  std::unique_ptr<test::XdgHome> xdg_;
};

TEST_F(AssFormTest, OkAssociatesTheCheckedTypesAndTheDialogMarksThemNextTime) {
  const auto before = Files();
  EXPECT_EQ(Captions([](TAssForm& dialog) { dialog.CancelBtn->click(); }),
            (std::vector<std::string>{".TXT", ".RTF", ".ABC", ".INI", ".HTM", ".HTML", ".JS"}));
  EXPECT_EQ(Files(), before);  // looking and cancelling writes nothing

  Captions([](TAssForm& dialog) {
    for (QCheckBox* box : dialog.Boxes) {
      box->setChecked(box->text() == ".TXT" || box->text() == ".ABC" || box->text() == ".HTML");
    }
    dialog.UserExt->setText("xyz");
    dialog.UserDesc->setText("My notes");
    dialog.OKBtn->click();
    EXPECT_FALSE(dialog.isVisible());
  });
  EXPECT_EQ(form_->StatusText(MessagePanel), "  File associations updated.");
  EXPECT_TRUE(fs::exists(home_ + "data/mime/packages/quorrel-xyz.xml"));

  const std::string mark = "    Already associated";
  EXPECT_EQ(Captions(), (std::vector<std::string>{".TXT" + mark, ".RTF", ".ABC" + mark, ".INI",
                                                  ".HTM" + mark, ".HTML" + mark, ".JS"}));
}

TEST_F(AssFormTest, AUserTypeThatIsNoExtensionIsRefusedAndTheDialogStays) {
  Captions([](TAssForm& dialog) {
    for (QCheckBox* box : dialog.Boxes) box->setChecked(false);
    dialog.UserExt->setText("../x");
    dialog.OKBtn->click();
    EXPECT_TRUE(dialog.isVisible());
  });
  ASSERT_FALSE(Dialogs().Texts().empty());
  EXPECT_NE(Dialogs().Texts().back().find("\"../x\" is not a file extension"), std::string::npos);
  EXPECT_FALSE(fs::exists(home_ + "config/mimeapps.list"));
}

TEST_F(UtilityFormsTest, WhereBrowsesForAnyExecutableFile) {
  InstallWhereForm();
  const std::string text = site_ + "notes.txt";
  std::ofstream(text) << "x";
  bool seen = false;
  WhenShown<TWhereForm>(seen, [text](TWhereForm& where) {
    EXPECT_EQ(where.windowTitle(), "Where is the program?");
    EXPECT_EQ(QStringToAnsi(where.FName->text()), "/nowhere/abc2midi");
    Dialogs().AnswerPath(text);
    where.BrowseBtn->click();
    EXPECT_EQ(QStringToAnsi(where.FName->text()), "/nowhere/abc2midi");
    Dialogs().AnswerPath("/bin/sh");
    where.BrowseBtn->click();
    where.OKBtn->click();
  });
  std::string path = "/nowhere/abc2midi";
  EXPECT_TRUE(AskWhere(path));
  EXPECT_TRUE(seen);
  EXPECT_EQ(path, "/bin/sh");
  EXPECT_EQ(Dialogs().Texts().back(), text + " is not a program.");

  WhenShown<TWhereForm>(seen, [](TWhereForm& where) { where.CancelBtn->click(); });
  EXPECT_FALSE(AskWhere(path));
  SetWhereForm(nullptr);
}

TEST_F(UtilityFormsTest, ThePopUpIsFortyPixelsALineAndAnyKeyClosesIt) {
  TPopForm pop;
  pop.SetText(AnsiToQString("one\r\ntwo\r\nthree"));
  EXPECT_TRUE(pop.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(pop.height(), 120);
  EXPECT_EQ(pop.Content->height(), 120);
  pop.show();
  Key(pop.Content, Qt::Key_Shift, Qt::ShiftModifier);
  EXPECT_TRUE(pop.isVisible());
  Key(pop.Content, Qt::Key_F5);
  EXPECT_FALSE(pop.isVisible());
}

}  // namespace
}  // namespace quorrel
