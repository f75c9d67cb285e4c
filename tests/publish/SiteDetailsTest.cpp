#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "platform/Abort.h"
#include "platform/Help.h"
#include "platform/IniFile.h"
#include "platform/Launcher.h"
#include "publish/Connection.h"
#include "publish/PasswordCodec.h"
#include "publish/ServerPaths.h"
#include "publish/SiteDetails.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFixture.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using test::ReadFile;
using test::WriteFile;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A Data.FTP as the program writes it on Windows (CR LF line ends).
constexpr char kHandMadeDetails[] =
    "[System]\r\n"
    "Section=1\r\n"
    "[1]\r\n"
    "FTPAddr=ftp.example.org/www/\r\n"
    "User=alice\r\n"
    "Password=AC9A9C8D9A8BCEDE\r\n"
    "WWWAddr=http://www.example.org/\r\n"
    "WebRoot=public_html\\\r\n"
    "[2]\r\n"
    "FTPAddr=None\r\n"
    "[3]\r\n"
    "FTPAddr=ftp.three.net\r\n"
    "User=bob\r\n"
    "Password=\xA7\x9D\x90\x9D\r\n";  // the older raw form of "bob"

using SiteDetailsTest = test::SiteFixture;

TEST_F(SiteDetailsTest, ReadsAHandMadeFileWithItsPassword) {
  WriteFile(site_ + "Data.FTP", kHandMadeDetails);
  OpenDocument(site_ + "public_html/index.htm");
  ServerCheckedFiles = {"old/page.htm"};

  EXPECT_TRUE(LoadServerDetails(CurrentFileName));
  EXPECT_EQ(DataFtpPath, site_ + "Data.FTP");
  EXPECT_EQ(DataFtpFolder, site_);
  EXPECT_EQ(SiteFolder, site_);
  EXPECT_EQ(ServerSet, "1");
  EXPECT_EQ(ServerName, "ftp.example.org");
  EXPECT_EQ(ServerStartDir, "www");
  EXPECT_EQ(JoinFtpAddress(), "ftp.example.org/www");
  EXPECT_EQ(ServerUser, "alice");
  EXPECT_EQ(ServerPassword, "Secret1!");
  EXPECT_EQ(SiteWebAddress, "http://www.example.org/");
  EXPECT_EQ(SiteWebRoot, "public_html\\");
  EXPECT_EQ(WebRootPath, "public_html/");
  EXPECT_TRUE(ServerCheckedFiles.empty());
  EXPECT_THAT(Dialogs().Texts(), ::testing::IsEmpty());
}

TEST_F(SiteDetailsTest, TheNearestFileWinsAndAnyLetterCaseIsFound) {
  WriteFile(root_ + "Data.FTP", "[System]\r\nSection=1\r\n[1]\r\nFTPAddr=outer.net\r\n");
  WriteFile(site_ + "Sub Dir/data.ftp", "[System]\r\nSection=1\r\n[1]\r\nFTPAddr=inner.net\r\n");
  OpenDocument(site_ + "Sub Dir/Deeper/page.htm");
  EXPECT_TRUE(LoadServerDetails(CurrentFileName));
  EXPECT_EQ(ServerName, "inner.net");
  EXPECT_EQ(DataFtpPath, site_ + "Sub Dir/data.ftp");
  EXPECT_EQ(SiteFolder, site_ + "Sub Dir/");

  OpenDocument(site_ + "Other/page.htm");
  EXPECT_TRUE(LoadServerDetails(CurrentFileName));
  EXPECT_EQ(ServerName, "outer.net");
  EXPECT_EQ(SiteFolder, root_);
}

TEST_F(SiteDetailsTest, NoFileLeavesASiteWithoutServer) {
  ServerName = "stale.net";
  ServerStartDir = "www";
  ServerSet = "4";
  SiteFolder = "?";
  OpenDocument(site_ + "a/page.htm");
  EXPECT_FALSE(LoadServerDetails(CurrentFileName));
  EXPECT_EQ(DataFtpPath, "");
  EXPECT_EQ(DataFtpFolder, "");
  EXPECT_EQ(ServerSet, "1");
  EXPECT_EQ(ServerName, "");
  EXPECT_EQ(ServerStartDir, "");
  EXPECT_EQ(SiteFolder, site_ + "a/");
  EXPECT_EQ(WebRootPath, "");
  // A relative path or none at all is not looked up from the current directory.
  EXPECT_FALSE(LoadServerDetails("page.htm"));
  EXPECT_FALSE(LoadServerDetails(""));
}

TEST_F(SiteDetailsTest, TheSetInUseComesFromTheSystemSection) {
  WriteFile(site_ + "Data.FTP", ReplaceAll(kHandMadeDetails, "Section=1", "Section=3", true));
  OpenDocument(site_ + "index.htm");
  EXPECT_TRUE(LoadServerDetails(CurrentFileName));
  EXPECT_EQ(ServerSet, "3");
  EXPECT_EQ(ServerName, "ftp.three.net");
  EXPECT_EQ(ServerUser, "bob");
  EXPECT_EQ(ServerPassword, "bob");
}

TEST_F(SiteDetailsTest, AnUnknownSetCanSwitchToSetOne) {
  for (bool yes : {true, false}) {
    ResetSiteDetails();
    OnlineTicked = false;
    Dialogs().Clear();
    WriteFile(site_ + "Data.FTP",
              "[System]\r\nSection=5\r\nFTPAddr=fallback.net\r\n[1]\r\nFTPAddr=one.net\r\n"
              "User=u1\r\n");
    OpenDocument(site_ + "index.htm");
    Dialogs().Answer(yes ? mrYes : mrNo);
    EXPECT_TRUE(LoadServerDetails(CurrentFileName));
    EXPECT_EQ(Dialogs().Last().text, "Set 5 not known.  Switch to set 1?");
    EXPECT_EQ(Dialogs().Last().kind, DialogKind::YesNo);
    TIniFile ini(site_ + "Data.FTP");
    if (yes) {
      EXPECT_EQ(ServerSet, "1");
      EXPECT_EQ(ServerName, "one.net");
      EXPECT_EQ(ServerUser, "u1");
      EXPECT_EQ(ini.ReadString("System", "Section", ""), "1");
    } else {
      EXPECT_EQ(ServerSet, "5");
      EXPECT_EQ(ServerName, "fallback.net");
      EXPECT_EQ(ServerUser, "");
      EXPECT_EQ(ini.ReadString("System", "Section", ""), "5");
    }
  }
}

TEST_F(SiteDetailsTest, NoAddressAnywhereIsAnErrorExceptInTheDetailsCommand) {
  WriteFile(site_ + "Data.FTP", "[System]\r\nSection=1\r\n[1]\r\nUser=u\r\n");
  OpenDocument(site_ + "index.htm");
  OnlineTicked = true;
  CurrentCommand = "Upload";
  EXPECT_THROW(LoadServerDetails(CurrentFileName), EAbort);
  EXPECT_THAT(Dialogs().Last().text, HasSubstr("Error in Data.FTP"));
  EXPECT_FALSE(OnlineChecked());
  EXPECT_EQ(ServerName, "");

  Dialogs().Clear();
  OnlineTicked = true;
  CurrentCommand = ServerDetailsCommand;
  EXPECT_TRUE(LoadServerDetails(CurrentFileName));
  EXPECT_THAT(Dialogs().Texts(), ::testing::IsEmpty());
  EXPECT_EQ(ServerName, "");
  EXPECT_EQ(ServerUser, "u");
  EXPECT_EQ(SiteFolder, site_);
  EXPECT_TRUE(OnlineChecked());
}

TEST_F(SiteDetailsTest, ASiteWithoutServerTurnsOnLineOff) {
  WriteFile(site_ + "Data.FTP", ReplaceAll(kHandMadeDetails, "Section=1", "Section=2", true));
  OpenDocument(site_ + "index.htm");
  OnlineTicked = true;
  EXPECT_TRUE(LoadServerDetails(CurrentFileName));
  EXPECT_EQ(ServerName, "None");
  EXPECT_EQ(ServerUser, "");
  EXPECT_FALSE(OnlineChecked());
}

TEST_F(SiteDetailsTest, AnEmptyWebRootIsGuessedAndWrittenBack) {
  struct Case {
    std::string document;   // below the site folder
    std::string subFolder;  // made below the document's folder; "" for none
    std::string webRoot;
  } cases[] = {
      {"public_html/index.htm", "", "public_html/"},
      {"www/html/index.htm", "", "www/html/"},
      {"wwwroot/htdocs/index.htm", "", "htdocs/"},  // a later name wins
      {"index.htm", "httpdocs", "httpdocs/"},
      {"index.htm", "Public_HTML", "Public_HTML/"},  // as the folder is spelt on disk
      {"index.htm", "", ""},
      {"Public_Html/index.htm", "", ""},  // names in the path match in their own case
  };
  for (const auto& c : cases) {
    ResetSiteDetails();
    OnlineTicked = false;
    fs::remove_all(site_);
    WriteFile(site_ + "Data.FTP", "[System]\r\nSection=1\r\n[1]\r\nFTPAddr=h.net\r\nWebRoot=\r\n");
    OpenDocument(site_ + c.document);
    if (!c.subFolder.empty()) fs::create_directories(CurrentFolder + c.subFolder);
    EXPECT_TRUE(LoadServerDetails(CurrentFileName));
    EXPECT_EQ(SiteWebRoot, c.webRoot) << c.document << " " << c.subFolder;
    EXPECT_EQ(WebRootPath, c.webRoot) << c.document;
    EXPECT_EQ(TIniFile(site_ + "Data.FTP").ReadString("1", "WebRoot", ""), c.webRoot);
  }
}

TEST_F(SiteDetailsTest, ReadingDetailsWritesNothingChangesNoSiteAndConnectsNowhere) {
  const std::string file =
      "[System]\r\nSection=5\r\n[1]\r\nFTPAddr=one.net/www\r\nUser=u1\r\nWebRoot=\r\n";
  WriteFile(site_ + "Data.FTP", file);
  OpenDocument(site_ + "public_html/index.htm");
  OnlineTicked = true;
  ServerName = "current.net";
  SiteFolder = "/elsewhere/";
  ServerCheckedFiles = {"kept.htm"};
  Dialogs().Answer(mrYes);

  const TSiteDetails details = ReadDetails(CurrentFileName);
  EXPECT_TRUE(details.found);
  EXPECT_EQ(details.DataFtpPath, site_ + "Data.FTP");
  EXPECT_EQ(details.SiteFolder, site_);
  EXPECT_EQ(details.ServerSet, "1");
  EXPECT_EQ(details.FtpAddress, "one.net/www");
  EXPECT_EQ(details.ServerUser, "u1");
  EXPECT_EQ(details.SiteWebRoot, "public_html/");
  EXPECT_TRUE(details.switchedToSetOne) << "the user's choice, for the caller to write";
  EXPECT_TRUE(details.webRootGuessed);
  EXPECT_THAT(Dialogs().Texts(), ElementsAre("Set 5 not known.  Switch to set 1?"));

  EXPECT_EQ(ReadFile(site_ + "Data.FTP"), file);
  EXPECT_EQ(ServerName, "current.net");
  EXPECT_EQ(SiteFolder, "/elsewhere/");
  EXPECT_EQ(ServerCheckedFiles, std::set<std::string>{"kept.htm"});
  EXPECT_FALSE(FtpConnected());

  // A file nowhere above: the folder of the path, no server.
  const TSiteDetails none = ReadDetails(root_ + "index.htm");
  EXPECT_FALSE(none.found);
  EXPECT_EQ(none.SiteFolder, root_);
  EXPECT_EQ(none.FtpAddress, "");
  EXPECT_EQ(none.ServerSet, "1");
}

TEST_F(SiteDetailsTest, TheDetailsAreReadAgainOnlyForAnotherSite) {
  WriteFile(site_ + "Data.FTP", kHandMadeDetails);
  OpenDocument(site_ + "index.htm");
  ASSERT_TRUE(LoadServerDetails(CurrentFileName));
  ServerCheckedFiles = {"index.htm"};
  WriteFile(site_ + "Data.FTP", ReplaceAll(kHandMadeDetails, "alice", "carol", true));

  OpenDocument(site_ + "sub/page.htm");
  EXPECT_TRUE(LoadServerDetails(CurrentFileName));
  EXPECT_EQ(ServerUser, "alice");  // the same site: cached
  EXPECT_THAT(ServerCheckedFiles, ElementsAre("index.htm"));

  SiteFolder = "?";
  EXPECT_TRUE(LoadServerDetails(CurrentFileName));
  EXPECT_EQ(ServerUser, "carol");
  EXPECT_TRUE(ServerCheckedFiles.empty());

  // A path that merely holds the site folder further on is another site.
  const std::string elsewhere = root_ + "copy" + site_ + "page.htm";
  OpenDocument(elsewhere);
  EXPECT_FALSE(LoadServerDetails(elsewhere));
}

TEST_F(SiteDetailsTest, AReadOnlyDocumentKeepsTheDetailsItHas) {
  WriteFile(site_ + "Data.FTP", kHandMadeDetails);
  OpenDocument(site_ + "index.htm");
  ASSERT_TRUE(LoadServerDetails(CurrentFileName));
  const std::string outside = root_ + "Elsewhere/notes.htm";
  OpenDocument(outside);
  chmod(outside.c_str(), 0444);
  EXPECT_TRUE(LoadServerDetails(outside));
  EXPECT_TRUE(CurrentFileReadOnly);
  EXPECT_EQ(SiteFolder, site_);
  EXPECT_EQ(ServerName, "ftp.example.org");

  // "?" reads again even then.
  SiteFolder = "?";
  EXPECT_FALSE(LoadServerDetails(outside));
  EXPECT_EQ(SiteFolder, root_ + "Elsewhere/");
}

TEST_F(SiteDetailsTest, APageBuildLooksUpTheGeneratedPage) {
  WriteFile(site_ + "Data.FTP", kHandMadeDetails);
  OpenDocument(root_ + "Masters/site.rtf");
  IsDotPage = true;
  SetBuildTargetQuery([this] { return TBuildTarget{false, site_ + "public_html/page.htm"}; });
  EXPECT_TRUE(LoadServerDetails(CurrentFileName));
  EXPECT_EQ(SiteFolder, site_);

  IsDotPage = false;
  SiteFolder = "?";
  EXPECT_FALSE(LoadServerDetails(CurrentFileName));  // not a master, no run
  SetBuildTargetQuery([this] { return TBuildTarget{true, site_ + "public_html/page.htm"}; });
  SiteFolder = "?";
  EXPECT_TRUE(LoadServerDetails(CurrentFileName));
}

TEST_F(SiteDetailsTest, SavedDetailsReadBackTheSame) {
  ServerName = "ftp.example.org";
  ServerStartDir = "www";
  ServerUser = "alice";
  ServerPassword = "p\xE9 ss=;[x]";
  SiteWebAddress = "www.example.org";
  SiteWebRoot = "public_html";
  ServerSet = "1";
  OpenDocument(site_ + "public_html/index.htm");
  const std::string file = site_ + "Data.FTP";
  DoSave(file);

  EXPECT_EQ(ReadFile(file),
            "[System]\r\nSection=1\r\n[1]\r\nFTPAddr=ftp.example.org/www\r\nUser=alice\r\n"
            "Password=8F16DF8C8CC2C4A487A2\r\n"
            "WWWAddr=http://www.example.org/\r\nWebRoot=public_html\r\n");
  EXPECT_TRUE(SiteHasServer);

  ResetSiteDetails();
  OnlineTicked = false;
  EXPECT_TRUE(LoadServerDetails(CurrentFileName));
  EXPECT_EQ(ServerName, "ftp.example.org");
  EXPECT_EQ(ServerStartDir, "www");
  EXPECT_EQ(ServerUser, "alice");
  EXPECT_EQ(ServerPassword, "p\xE9 ss=;[x]");
  EXPECT_EQ(SiteWebAddress, "http://www.example.org/");
  EXPECT_EQ(SiteWebRoot, "public_html");
  EXPECT_EQ(WebRootPath, "public_html/");
  EXPECT_EQ(SiteFolder, site_);
}

TEST_F(SiteDetailsTest, SavingWebAddresses) {
  struct Case {
    std::string typed;
    std::string saved;
  } cases[] = {
      {"www.example.org", "http://www.example.org/"},
      {"http://www.example.org", "http://www.example.org/"},
      {"https://secure.example.org/", "https://secure.example.org/"},
      {"HTTP://WWW.EXAMPLE.ORG", "HTTP://WWW.EXAMPLE.ORG/"},
      {"", ""},
  };
  for (const auto& c : cases) {
    ServerName = "h.net";
    SiteWebAddress = c.typed;
    DoSave(site_ + "Data.FTP");
    EXPECT_EQ(TIniFile(site_ + "Data.FTP").ReadString("1", "WWWAddr", "?"), c.saved) << c.typed;
  }
}

TEST_F(SiteDetailsTest, AFileTheProgramDidNotWriteIsReplacedBySetOne) {
  WriteFile(site_ + "Data.FTP", "[3]\r\nFTPAddr=old.net\r\n[Other]\r\nKey=1\r\n");
  ServerName = "new.net";
  ServerSet = "3";
  DoSave(site_ + "Data.FTP");
  TIniFile ini(site_ + "Data.FTP");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"System", "1"}));
  EXPECT_EQ(ini.ReadString("1", "FTPAddr", ""), "new.net");
  EXPECT_EQ(ServerSet, "1");
}

TEST_F(SiteDetailsTest, SavingANewSetKeepsTheOtherSets) {
  WriteFile(site_ + "Data.FTP", kHandMadeDetails);
  ServerName = "four.net";
  ServerUser = "dora";
  ServerPassword = "pw4";
  ServerSet = "4";
  DoSave(site_ + "Data.FTP");
  TIniFile ini(site_ + "Data.FTP");
  EXPECT_EQ(ini.ReadString("System", "Section", ""), "4");
  EXPECT_EQ(ini.ReadString("4", "FTPAddr", ""), "four.net");
  EXPECT_EQ(ini.ReadString("1", "FTPAddr", ""), "ftp.example.org/www/");
  EXPECT_EQ(ini.ReadString("1", "User", ""), "alice");
  EXPECT_EQ(ServerPassword, "pw4");
}

TEST_F(SiteDetailsTest, SavingNoneDropsTheStartFolder) {
  WriteFile(site_ + "Data.FTP", kHandMadeDetails);
  OpenDocument(site_ + "index.htm");
  ASSERT_TRUE(LoadServerDetails(CurrentFileName));
  SplitFtpAddress("None");
  DoSave(site_ + "Data.FTP");
  EXPECT_EQ(TIniFile(site_ + "Data.FTP").ReadString("1", "FTPAddr", ""), "None");
  EXPECT_EQ(ServerName, "None");
}

TEST_F(SiteDetailsTest, ControlPanelOpensWithTheShellOrInThePreview) {
  std::vector<std::string> shell, preview;
  std::vector<int> help;
  SetShellOpener([&](const std::string& target) { return shell.push_back(target), true; });
  SetPreviewOpener([&](const std::string& target) { return preview.push_back(target), true; });
  SetHelpViewer([&](int context) { help.push_back(context); });

  WriteFile(site_ + "Data.FTP", kHandMadeDetails);
  OpenDocument(site_ + "public_html/index.htm");
  OpenControlPanel(true);
  EXPECT_THAT(help, ElementsAre(ControlPanelHelp));
  EXPECT_TRUE(SiteHasServer);

  WriteFile(site_ + "cpanel.HTM", "<html></html>");
  OpenControlPanel(true);
  OpenControlPanel(false);
  EXPECT_THAT(shell, ElementsAre(site_ + "cpanel.HTM"));
  EXPECT_THAT(preview, ElementsAre(site_ + "cpanel.HTM"));
  EXPECT_THAT(help, ElementsAre(ControlPanelHelp));
  SetHelpViewer(nullptr);
}

TEST_F(SiteDetailsTest, DeletingADetailsFile) {
  DeleteDetailsFile(site_ + "Data.FTP");  // missing: no error
  DeleteDetailsFile("");
  WriteFile(site_ + "Data.FTP", kHandMadeDetails);
  DeleteDetailsFile(site_ + "Data.FTP");
  EXPECT_FALSE(fs::exists(site_ + "Data.FTP"));
  EXPECT_THAT(Dialogs().Texts(), ::testing::IsEmpty());
}

}  // namespace
}  // namespace quorrel
