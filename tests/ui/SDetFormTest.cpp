#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "platform/Help.h"
#include "platform/IniFile.h"
#include "publish/Connection.h"
#include "publish/SiteDetails.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFixture.h"
#include "support/TestEnvironment.h"
#include "ui/platform/QtDialogs.h"
#include "ui/publish/SDetForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr char kDetails[] =
    "[System]\r\nSection=3\r\n"
    "[1]\r\nFTPAddr=127.0.0.1\r\nUser=alice\r\nPassword=AC9A9C8D9A8BCEDE\r\n"
    "[3]\r\nFTPAddr=127.0.0.3/www\r\nUser=bob\r\nPassword=9D909D\r\n"
    "WWWAddr=http://b.org/\r\nWebRoot=htdocs/\r\n";

void Type(QLineEdit* edit, const char* text) {
  edit->setText(QString::fromLatin1(text));
}

class SDetFormTest : public test::SiteFixture {
 protected:
  void SetUp() override {
    SiteFixture::SetUp();
    OpenDocument(site_ + "htdocs/index.htm");
  }

  void LoadSite() { LoadDetails(kDetails); }
};

TEST_F(SDetFormTest, OpensWithTheDetailsOfTheSiteInTheirSet) {
  LoadSite();
  TSDetForm form;
  EXPECT_EQ(form.windowTitle().toStdString(), "Server details for " + site_);
  EXPECT_EQ(form.FtpAddr->text(), "127.0.0.3/www");
  EXPECT_EQ(form.UserName->text(), "bob");
  EXPECT_EQ(form.Password->text(), "bob");
  EXPECT_EQ(form.Password->echoMode(), QLineEdit::Password);
  EXPECT_EQ(form.WebSite->text(), "http://b.org/");
  EXPECT_EQ(form.WebRoot->text(), "htdocs/");
  EXPECT_EQ(form.SetGroup->title(), " Set ");
  EXPECT_EQ(form.Set(), 3);
  for (int i = 0; i < ServerSetCount; ++i) {
    QRadioButton* button = form.SetButtons[static_cast<size_t>(i)];
    EXPECT_EQ(button->text(), QString::number(i + 1));
    EXPECT_EQ(button->parentWidget(), form.SetGroup);
    EXPECT_EQ(button->isChecked(), i == 2);
    if (i > 0) {
      EXPECT_EQ(button->y() - form.SetButtons[static_cast<size_t>(i - 1)]->y(), 24);
    }
  }
  EXPECT_EQ(form.OkBtn->text(), "&OK");
  EXPECT_EQ(form.CancelBtn->text(), "Cancel");
  EXPECT_EQ(form.DeleteBtn->text(), "Delete");
  EXPECT_EQ(form.HelpBtn->text(), "&Help");
  EXPECT_FALSE(form.HelpBtn->icon().isNull());
  EXPECT_THAT(form.InfoLab->text().toStdString(), HasSubstr("stored in a file called Data.FTP"));
}

TEST_F(SDetFormTest, ThePasswordShowsOnlyWhileItsFieldIsEntered) {
  LoadSite();
  TSDetForm form;
  form.show();
  QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(form.Password, &focusIn);
  EXPECT_EQ(form.Password->echoMode(), QLineEdit::Normal);
  form.CancelBtn->click();
  EXPECT_EQ(form.Password->echoMode(), QLineEdit::Password);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Rejected);
}

TEST_F(SDetFormTest, OkChecksTheFieldsInOrderAndStaysOpenAfterEachRefusal) {
  LoadSite();
  TSDetForm form;
  form.show();
  Type(form.FtpAddr, "ftp://127.0.0.5/");
  Type(form.UserName, "");
  Type(form.Password, "pw");
  Type(form.WebRoot, "C:\\Sites\\htdocs");
  QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(form.Password, &focusIn);

  struct Step {
    std::function<void()> fix;  // what the user corrects before pressing OK
    std::vector<int> answers;
    const char* message;
  } steps[] = {
      {[] {}, {}, "Web root must not contain a full path, just the part after the IIS root."},
      {[&] { Type(form.WebRoot, "/Sites/htdocs/"); },
       {},
       "Web root must not contain a full path, just the part after the IIS root."},
      {[&] { Type(form.WebRoot, "public_html\\"); }, {mrNo}, "Specified Web root public_html"},
      {[&] { Type(form.WebRoot, "htdocs/"); }, {}, "Server, User and Password must all be"},
      {[&] { Type(form.UserName, "eve"); }, {}, "Do not use \"ftp:// or http://\" prefix."},
      {[&] { Type(form.FtpAddr, "HTTP://127.0.0.5"); }, {}, "Do not use \"ftp:// or http://\""},
      {[&] { Type(form.FtpAddr, "127.0.0.5/"); },
       {mrNo},
       "Cannot connect to this FTP server using this username and password."},
  };
  for (auto& step : steps) {
    step.fix();
    Dialogs().Clear();
    for (int answer : step.answers) Dialogs().Answer(answer);
    form.OkBtn->click();
    ASSERT_EQ(Dialogs().Calls().size(), 1u) << step.message;
    EXPECT_THAT(Dialogs().Last().text, HasSubstr(step.message));
    EXPECT_TRUE(form.isVisible()) << step.message;
    EXPECT_EQ(form.Password->echoMode(), QLineEdit::Password);
  }
  EXPECT_EQ(form.WebRoot->text(), "htdocs");  // the trailing separator went
  EXPECT_FALSE(fs::exists(site_ + "htdocs/Data.FTP"));
  EXPECT_EQ(TIniFile(site_ + "Data.FTP").ReadString("3", "User", ""), "bob");

  // All checks passed: the save dialog, then the details are written and read back.
  Dialogs().Clear();
  Dialogs().Answer(mrYes);
  Dialogs().AnswerPath(site_ + "Data.FTP");
  form.OkBtn->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.Password->echoMode(), QLineEdit::Password);
  TIniFile ini(site_ + "Data.FTP");
  EXPECT_EQ(ini.ReadString("System", "Section", ""), "3");
  EXPECT_EQ(ini.ReadString("3", "FTPAddr", ""), "127.0.0.5");
  EXPECT_EQ(ini.ReadString("3", "User", ""), "eve");
  EXPECT_EQ(ini.ReadString("1", "User", ""), "alice");
  EXPECT_EQ(ServerName, "127.0.0.5");
  EXPECT_EQ(ServerStartDir, "");
  EXPECT_EQ(ServerPassword, "pw");
  EXPECT_EQ(SiteWebRoot, "htdocs");
  EXPECT_TRUE(SiteHasServer);
}

TEST_F(SDetFormTest, CancellingTheSaveDialogClosesTheFormWithoutSaving) {
  LoadSite();
  TSDetForm form;
  form.show();
  Type(form.UserName, "changed");
  Dialogs().Answer(mrYes);
  Dialogs().CancelPath();
  form.OkBtn->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Rejected);
  EXPECT_EQ(TIniFile(site_ + "Data.FTP").ReadString("3", "User", ""), "bob");
}

TEST_F(SDetFormTest, SetButtonsLoadTheirSetOrKeepTheFields) {
  LoadSite();
  TSDetForm form;
  form.show();
  form.SetButtons[0]->click();
  EXPECT_EQ(form.Set(), 1);
  EXPECT_EQ(form.FtpAddr->text(), "127.0.0.1");
  EXPECT_EQ(form.UserName->text(), "alice");
  EXPECT_EQ(form.Password->text(), "Secret1!");
  EXPECT_EQ(form.WebRoot->text(), "");
  EXPECT_EQ(TIniFile(site_ + "Data.FTP").ReadString("System", "Section", ""), "1");

  Dialogs().Answer(mrNo);
  form.SetButtons[8]->click();
  EXPECT_EQ(Dialogs().Last().text, "Create new section?");
  EXPECT_EQ(form.Set(), 1);
  EXPECT_TRUE(form.SetButtons[0]->isChecked());
  EXPECT_EQ(form.UserName->text(), "alice");

  Dialogs().Answer(mrYes);
  form.SetButtons[8]->click();
  EXPECT_EQ(form.Set(), 9);
  EXPECT_TRUE(form.SetButtons[8]->isChecked());
  EXPECT_EQ(form.UserName->text(), "alice");
}

TEST_F(SDetFormTest, DeleteEmptiesTheFieldsAndCloses) {
  LoadSite();
  TSDetForm form;
  form.show();
  Dialogs().Answer(mrNo);
  form.DeleteBtn->click();
  EXPECT_TRUE(form.isVisible());
  Dialogs().Answer(mrYes);
  form.DeleteBtn->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.FtpAddr->text(), "");
  EXPECT_EQ(form.UserName->text(), "");
  EXPECT_EQ(form.Password->text(), "");
  EXPECT_FALSE(fs::exists(site_ + "Data.FTP"));
}

TEST_F(SDetFormTest, BrowseAndHelp) {
  std::vector<int> help;
  SetHelpViewer([&](int context) { help.push_back(context); });
  TSDetForm form;
  Dialogs().AnswerPath(site_ + "htdocs");
  form.BrowseBtn->click();
  EXPECT_EQ(form.WebRoot->text().toStdString(), site_ + "htdocs");
  form.HelpBtn->click();
  EXPECT_THAT(help, ElementsAre(31700));
  SetHelpViewer(nullptr);
}

}  // namespace
}  // namespace quorrel

namespace quorrel {
namespace {

TEST(QtFileFilter, WritesTheProgramsFiltersInQtsForm) {
  struct Case {
    const char* filter;
    const char* qt;
  } cases[] = {
      {"Data.FTP|Data.FTP", "Data.FTP (Data.FTP)"},
      {"Pages|*.htm;*.html|All files|*.*", "Pages (*.htm *.html);;All files (*)"},
      {".png files|*.png|All files|*.*", ".png files (*.png);;All files (*)"},
      {"Library|*.lbi|All files|*.*", "Library (*.lbi);;All files (*)"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(QtFileFilter(c.filter).toStdString(), c.qt) << c.filter;
}

}  // namespace
}  // namespace quorrel
