#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Abort.h"
#include "platform/IniFile.h"
#include "publish/Connection.h"
#include "publish/ServerPaths.h"
#include "publish/SiteDetails.h"
#include "publish/SiteDetailsDialog.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFixture.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using test::WriteFile;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr char kDetails[] =
    "[System]\r\nSection=1\r\n"
    "[1]\r\nFTPAddr=127.0.0.1/www\r\nUser=alice\r\nPassword=AC9A9C8D9A8BCEDE\r\n"
    "WWWAddr=http://www.example.org/\r\nWebRoot=public_html/\r\n"
    "[3]\r\nFTPAddr=127.0.0.3\r\nUser=bob\r\nPassword=9D909D\r\nWWWAddr=http://b.org/\r\n"
    "WebRoot=htdocs\r\n";

class SiteDetailsDialogTest : public test::SiteFixture {
 protected:
  void SetUp() override {
    SiteFixture::SetUp();
    OpenDocument(site_ + "public_html/index.htm");
  }

  void LoadSite() {
    LoadDetails(kDetails);
    OnlineTicked = false;
  }

  static TServerFields Good() {
    return {"127.0.0.1/www", "alice", "Secret1!", "www.example.org", "public_html/"};
  }
};

TEST(CurrentServerSetNumber, IsTheSetOrOne) {
  struct Case {
    const char* set;
    int number;
  } cases[] = {{"1", 1}, {"5", 5}, {"9", 9}, {"0", 1}, {"10", 1}, {"", 1}, {"x", 1}};
  for (const auto& c : cases) {
    ServerSet = c.set;
    EXPECT_EQ(CurrentServerSetNumber(), c.number) << c.set;
  }
}

TEST_F(SiteDetailsDialogTest, OpensWithTheStateOfTheSite) {
  LoadSite();
  EXPECT_EQ(ServerDetailsCaption(), "Server details for " + site_);
  const TServerFields fields = CurrentServerFields();
  EXPECT_EQ(fields.ftpAddress, "127.0.0.1/www");
  EXPECT_EQ(fields.user, "alice");
  EXPECT_EQ(fields.password, "Secret1!");
  EXPECT_EQ(fields.website, "http://www.example.org/");
  EXPECT_EQ(fields.webRoot, "public_html/");
}

TEST_F(SiteDetailsDialogTest, ASetButtonLoadsItsSetAndMakesItCurrent) {
  LoadSite();
  TServerFields fields = Good();
  EXPECT_EQ(ChooseServerSet(3, 1, fields), 3);
  EXPECT_EQ(fields.ftpAddress, "127.0.0.3");
  EXPECT_EQ(fields.user, "bob");
  EXPECT_EQ(fields.password, "bob");
  EXPECT_EQ(fields.website, "http://b.org/");
  EXPECT_EQ(fields.webRoot, "htdocs");
  EXPECT_EQ(TIniFile(site_ + "Data.FTP").ReadString("System", "Section", ""), "3");
  EXPECT_THAT(Dialogs().Texts(), ::testing::IsEmpty());
}

TEST_F(SiteDetailsDialogTest, ASetThatDoesNotExistYetIsCreatedOnlyWhenWanted) {
  LoadSite();
  for (bool yes : {true, false}) {
    TServerFields fields = Good();
    fields.user = "typed";
    Dialogs().Answer(yes ? mrYes : mrNo);
    EXPECT_EQ(ChooseServerSet(7, 1, fields), yes ? 7 : 1);
    EXPECT_EQ(Dialogs().Last().text, "Create new section?");
    EXPECT_EQ(fields.user, "typed");
    EXPECT_EQ(TIniFile(site_ + "Data.FTP").ReadString("System", "Section", ""), "1");
  }
}

TEST_F(SiteDetailsDialogTest, SetButtonsNeedSavedDetails) {
  TServerFields fields = Good();
  EXPECT_EQ(ChooseServerSet(2, 1, fields), 1);  // no Data.FTP at all
  WriteFile(site_ + "Data.FTP", "[2]\r\nFTPAddr=x.net\r\n");
  DataFtpPath = site_ + "Data.FTP";
  EXPECT_EQ(ChooseServerSet(2, 1, fields), 1);  // not written by the program
  EXPECT_THAT(Dialogs().Texts(), ElementsAre("Please save the Server Details and then try again!",
                                             "Please save the Server Details and then try again!"));
  EXPECT_EQ(fields.user, "alice");
}

TEST_F(SiteDetailsDialogTest, DeleteRemovesTheFileAfterAsking) {
  LoadSite();
  Dialogs().Answer(mrNo);
  EXPECT_FALSE(RemoveServerDetails());
  EXPECT_TRUE(fs::exists(site_ + "Data.FTP"));
  Dialogs().Answer(mrYes);
  EXPECT_TRUE(RemoveServerDetails());
  EXPECT_THAT(Dialogs().Texts(), ElementsAre("Remove server details?", "Remove server details?"));
  EXPECT_FALSE(fs::exists(site_ + "Data.FTP"));
  EXPECT_EQ(DataFtpPath, "");
  EXPECT_EQ(SiteFolder, "");
  // The next lookup no longer finds the removed details.
  EXPECT_FALSE(LoadServerDetails(CurrentFileName));
  EXPECT_EQ(ServerName, "");
}

TEST_F(SiteDetailsDialogTest, BrowsePutsTheChosenFolderIntoTheWebRoot) {
  std::string webRoot = "old";
  Dialogs().CancelPath();
  EXPECT_FALSE(BrowseWebRoot(webRoot));
  EXPECT_EQ(webRoot, "old");
  Dialogs().AnswerPath(site_ + "public_html");
  EXPECT_TRUE(BrowseWebRoot(webRoot));
  EXPECT_EQ(webRoot, site_ + "public_html");
  ASSERT_EQ(Dialogs().PathCalls().size(), 2u);
  EXPECT_TRUE(Dialogs().PathCalls()[0].folderChooser);
  EXPECT_EQ(Dialogs().PathCalls()[0].call.folder, test::TestHome());
}

TEST_F(SiteDetailsDialogTest, OkSavesIntoTheChosenFolderAndReadsBack) {
  LoadSite();
  TServerFields fields = Good();
  fields.user = "zoe";
  Dialogs().Answer(mrYes);  // cannot connect: save anyway
  Dialogs().AnswerPath(site_ + "Data.FTP");
  EXPECT_TRUE(AcceptServerDetails(fields, 1));

  EXPECT_EQ(fields.webRoot, "public_html");
  ASSERT_EQ(Dialogs().PathCalls().size(), 1u);
  const FileDialogCall& save = Dialogs().PathCalls()[0].call;
  EXPECT_TRUE(save.save);
  EXPECT_EQ(save.title, "Make sure you save in the top-level folder of the website");
  EXPECT_EQ(save.helpContext, 31700);
  EXPECT_EQ(save.folder, site_);
  EXPECT_EQ(Dialogs().PathCalls()[0].path, site_ + "Data.FTP");
  EXPECT_FALSE(OnlineChecked());  // the connection failed
  EXPECT_THAT(
      Dialogs().Calls()[0].text,
      ::testing::StartsWith("Cannot connect to this FTP server using this username and password.\r"
                            "Save anyway?  Error message is:\r"));

  ResetSiteDetails();
  OnlineTicked = false;
  ASSERT_TRUE(LoadServerDetails(CurrentFileName));
  EXPECT_EQ(JoinFtpAddress(), "127.0.0.1/www");
  EXPECT_EQ(ServerUser, "zoe");
  EXPECT_EQ(ServerPassword, "Secret1!");
  EXPECT_EQ(SiteWebAddress, "http://www.example.org/");
  EXPECT_EQ(SiteWebRoot, "public_html");
  EXPECT_EQ(TIniFile(site_ + "Data.FTP").ReadString("3", "User", ""), "bob");  // untouched
}

TEST_F(SiteDetailsDialogTest, SavingInsideTheWebRootIsQuestioned) {
  LoadSite();
  WriteFile(site_ + "public_html/Data.FTP", kDetails);  // stale copy in the web root
  for (bool changeMind : {false, true}) {
    Dialogs().Clear();
    TServerFields fields = Good();
    Dialogs().Answer({mrYes, changeMind ? mrYes : mrNo});
    Dialogs().AnswerPath(site_ + "PUBLIC_HTML/Data.FTP");
    fs::create_directories(site_ + "PUBLIC_HTML");
    EXPECT_TRUE(AcceptServerDetails(fields, 1));
    ASSERT_EQ(Dialogs().Calls().size(), 2u);
    EXPECT_EQ(Dialogs().Calls()[1].text, "I think you should be saving into " + site_ +
                                             "\rrather than " + site_ +
                                             "PUBLIC_HTML/\rWon't you change your mind?");
    EXPECT_EQ(Dialogs().Calls()[1].kind, DialogKind::YesNoHelp);
    EXPECT_EQ(Dialogs().Calls()[1].helpContext, 31700);
    EXPECT_EQ(DataFtpPath, changeMind ? site_ + "Data.FTP" : site_ + "PUBLIC_HTML/Data.FTP");
  }
  // Saving at the top level removed the copy that would have hidden it.
  EXPECT_FALSE(fs::exists(site_ + "public_html/Data.FTP"));
  EXPECT_TRUE(fs::exists(site_ + "Data.FTP"));
}

TEST_F(SiteDetailsDialogTest, AWebRootOutsideTheCurrentPathIsQuestioned) {
  CurrentFolder = site_ + "elsewhere/";
  TServerFields fields = Good();
  Dialogs().Answer(mrNo);
  EXPECT_FALSE(AcceptServerDetails(fields, 1));
  EXPECT_EQ(Dialogs().Last().text,
            "Specified Web root public_html\rdoes not appear in current "
            "path " +
                site_ + "elsewhere/\rSave anyway?");

  // Not during a whole-site download.
  Dialogs().Clear();
  EntireRun = true;
  Dialogs().Answer(mrNo);  // cannot connect: do not save
  EXPECT_FALSE(AcceptServerDetails(fields, 1));
  EXPECT_THAT(Dialogs().Last().text, HasSubstr("Cannot connect"));
}

TEST_F(SiteDetailsDialogTest, ASiteWithoutServerNeedsNoCredentialsNorConnection) {
  TServerFields fields{"None", "", "", "", ""};
  ServerStartDir = "www";
  Dialogs().AnswerPath(site_ + "Data.FTP");
  EXPECT_TRUE(AcceptServerDetails(fields, 1));
  EXPECT_EQ(Dialogs().Calls().size(), 0u);
  EXPECT_FALSE(OnlineChecked());
  EXPECT_EQ(TIniFile(site_ + "Data.FTP").ReadString("1", "FTPAddr", ""), "None");
  EXPECT_EQ(ServerName, "None");
  EXPECT_EQ(ServerStartDir, "");
}

TEST_F(SiteDetailsDialogTest, CancellingTheSaveDialogEndsTheCommand) {
  TServerFields fields = Good();
  Dialogs().Answer(mrYes);
  Dialogs().CancelPath();
  EXPECT_THROW(AcceptServerDetails(fields, 1), EAbort);
  EXPECT_FALSE(fs::exists(site_ + "Data.FTP"));
}

TEST_F(SiteDetailsDialogTest, TheSaveDialogOpensWhereTheDetailsAre) {
  struct Case {
    std::string dataFtp;
    std::string document;
    std::string folder;
  } cases[] = {
      {"Data.FTP", "public_html/index.htm", ""},
      {"", "public_html/index.htm", "public_html/"},
  };
  for (const auto& c : cases) {
    ResetSiteDetails();
    OnlineTicked = false;
    Dialogs().Clear();
    fs::remove(site_ + "Data.FTP");
    if (!c.dataFtp.empty()) LoadSite();
    TServerFields fields = Good();
    Dialogs().Answer(mrYes);
    Dialogs().CancelPath();
    EXPECT_THROW(AcceptServerDetails(fields, 1), EAbort);
    ASSERT_EQ(Dialogs().PathCalls().size(), 1u);
    EXPECT_EQ(Dialogs().PathCalls()[0].call.folder, site_ + c.folder);
  }
}

}  // namespace
}  // namespace quorrel
