// The server details hold a password: the "Data.FTP" the dialog saves is for its
// owner's eyes only, also when it replaces one that every user could read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "platform/IniFile.h"
#include "publish/SiteDetails.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFixture.h"
#include "ui/publish/SDetForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

class SDetFormSecretsTest : public test::SiteFixture {
 protected:
  void SetUp() override {
    SiteFixture::SetUp();
    OpenDocument(site_ + "htdocs/index.htm");
  }

  int Mode(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
  }
};

TEST_F(SDetFormSecretsTest, SaveWritesDataFtpForItsOwnerAlone) {
  struct Case {
    const char* what;
    int before;  // mode of the Data.FTP there was; -1: none
  } cases[] = {{"a new file", -1}, {"a file every user could read", 0644}};
  const std::string dataFtp = site_ + "Data.FTP";
  for (const Case& c : cases) {
    fs::remove(dataFtp);
    if (c.before >= 0) {
      std::ofstream(dataFtp, std::ios::binary)
          << "[System]\r\nSection=1\r\n[1]\r\nFTPAddr=127.0.0.5\r\nUser=bob\r\nPassword=9D909D\r\n"
             "WebRoot=htdocs/\r\n";
      fs::permissions(dataFtp, static_cast<fs::perms>(c.before));
      SiteFolder = "?";  // read afresh, not the details the last case saved
      ASSERT_TRUE(LoadServerDetails(CurrentFileName)) << c.what;
      EXPECT_EQ(ServerPassword, "bob") << c.what << ": a file others can read still reads";
      EXPECT_EQ(Mode(dataFtp), c.before) << c.what << ": reading leaves it as it was";
    }
    TSDetForm form;
    form.show();
    form.FtpAddr->setText("127.0.0.5");
    form.UserName->setText("eve");
    form.Password->setText("s3cret pass");
    form.WebRoot->setText("htdocs/");
    Dialogs().Clear();
    Dialogs().Answer(mrYes);  // no server there: save anyway
    Dialogs().AnswerPath(dataFtp);
    form.OkBtn->click();
    EXPECT_EQ(form.result(), QDialog::Accepted) << c.what;
    EXPECT_EQ(Mode(dataFtp), 0600) << c.what;
    EXPECT_EQ(TIniFile(dataFtp).ReadString("1", "User", ""), "eve") << c.what;
    EXPECT_EQ(ServerPassword, "s3cret pass") << c.what;
  }
}

}  // namespace
}  // namespace quorrel
