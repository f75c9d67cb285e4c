#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Abort.h"
#include "publish/Connection.h"
#include "publish/ServerPaths.h"
#include "publish/SiteDetails.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

using test::Dialogs;
using ::testing::HasSubstr;
using ::testing::Not;

// The text of the message that stopped a conversion; "" when it went through.
template <typename F>
std::string StopMessage(F&& convert) {
  Dialogs().Clear();
  try {
    convert();
  } catch (const EAbort&) {
    return Dialogs().Calls().empty() ? "(silent)" : Dialogs().Last().text;
  }
  return "";
}

TEST(NormaliseSitePath, RemovesEachDotDotWithTheSegmentBeforeIt) {
  struct Case {
    std::string path;
    std::string normal;
  } cases[] = {
      {"a/b/../c", "a/c"},
      {"a\\b\\..\\c", "a\\c"},
      {"/x/../y", "/y"},
      {"a/b/c/../../d", "a/d"},
      {"My Pages/../index.htm", "index.htm"},
      {"a/../c", "c"},  // stays relative
      {"a/b/", "a/b/"},
      {"a/b/..", "a/"},
      {"a/b/../", "a/"},
      {"a/..", ""},
      {"a/./b", "a/b"},
      {"./x", "x"},
      {"a/.", "a/"},
      {"a//b", "a//b"},
      {"a//../b", "b"},  // an empty segment is no folder to climb out of
      {"Sub%20Dir/../A.HTM", "A.HTM"},
      {"/home/u/My Site/x/../Index.htm", "/home/u/My Site/Index.htm"},
      {"", ""},
      {"/", "/"},
      {"index.htm", "index.htm"},
      {"a..b/c", "a..b/c"},  // dots inside a name are no segment
  };
  for (const auto& c : cases) {
    std::string normal;
    EXPECT_EQ(StopMessage([&] { normal = NormaliseSitePath(c.path); }), "") << c.path;
    EXPECT_EQ(normal, c.normal) << c.path;
  }
}

TEST(NormaliseSitePath, StopsAtEveryClimbAboveTheRoot) {
  const char* paths[] = {"/../x", "..",       "../x",         "a/../../x",     "a/./../..",
                         "./..",  "a//../..", "a\\..\\..\\x", "x\\..\\../etc", "/a/b/../../../etc"};
  for (const char* path : paths) {
    EXPECT_EQ(StopMessage([&] { NormaliseSitePath(path); }),
              std::string("Reference to above website root.\r") + path)
        << path;
  }
}

TEST(ToServerAndLocalPath, ConvertSeparatorsBlanksAndDotDot) {
  struct Case {
    std::string path;
    std::string server;
    std::string local;
  } cases[] = {
      {"a\\b\\c.htm", "a/b/c.htm", "a/b/c.htm"},
      {"My%20Pages/a%20b.htm", "My%20Pages/a%20b.htm", "My Pages/a b.htm"},
      {"My Pages/a b.htm", "My Pages/a b.htm", "My Pages/a b.htm"},
      {"Images/../Pics/A.GIF", "Pics/A.GIF", "Pics/A.GIF"},
      {"public_html\\", "public_html/", "public_html/"},
      {"www\\html", "www/html", "www/html"},
      {"Dir/Sub/", "Dir/Sub/", "Dir/Sub/"},
      {"UPPER/lower/MiXeD.Htm", "UPPER/lower/MiXeD.Htm", "UPPER/lower/MiXeD.Htm"},
      {"/images/logo.gif", "/images/logo.gif", "/images/logo.gif"},
      {"/usr/share/doc/../x", "/usr/share/x", "/usr/share/x"},  // outside any site
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToServerPath(c.path), c.server) << c.path;
    EXPECT_EQ(ToLocalPath(c.path), c.local) << c.path;
  }
  EXPECT_THAT(Dialogs().Texts(), ::testing::IsEmpty());
}

TEST(ToServerAndLocalPath, NamesFromOutsideNeverClimbAboveTheSite) {
  // Names as a server listing or a link may hand them over.
  const char* names[] = {"..",     "../x",    "..\\..\\.bashrc", "a/../../x", "a%20b/../../x",
                         "./../x", "a\\../.."};
  for (const char* name : names) {
    EXPECT_THAT(StopMessage([&] { ToLocalPath(name); }),
                HasSubstr("Reference to above website root.\r"))
        << name;
    EXPECT_THAT(StopMessage([&] { ToServerPath(name); }),
                HasSubstr("Reference to above website root.\r"))
        << name;
  }
  // "%2e" is no dot here, as it is none on the server either.
  EXPECT_EQ(ToLocalPath("%2e%2e/x"), "%2e%2e/x");
}

class SitePathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SiteFolder = "/srv/web/My Site/";
    OnlineTicked = true;
  }
};

TEST_F(SitePathTest, AbsolutePathsThatStartInTheSiteMustStayInIt) {
  EXPECT_EQ(ToLocalPath("/srv/web/My Site/a/../b.htm"), "/srv/web/My Site/b.htm");
  EXPECT_EQ(ToLocalPath("/srv/web/My Site/a/.."), "/srv/web/My Site/");
  EXPECT_EQ(ToLocalPath("/srv/web/My Site/a/../../My Site"), "/srv/web/My Site");  // the site
  EXPECT_EQ(StopMessage([] { ToLocalPath("/srv/web/My Site/a/../.."); }),
            "/srv/web/My Site/a/../..\ris not within site /srv/web/My Site/");
  const std::string stop =
      "/srv/web/My Site/a/../../../etc/passwd\ris not within site /srv/web/My Site/";
  EXPECT_EQ(StopMessage([] { ToLocalPath("/srv/web/My Site/a/../../../etc/passwd"); }), stop);
  EXPECT_EQ(StopMessage([] { ToServerPath("/srv/web/My Site/a/../../../etc/passwd"); }), stop);
  EXPECT_EQ(StopMessage([] { ToLocalPath("/srv/web/My Site/../My Site2/x"); }),
            "/srv/web/My Site/../My Site2/x\ris not within site /srv/web/My Site/");
}

TEST_F(SitePathTest, ServerPathOfLocalFiles) {
  struct Case {
    std::string local;
    std::string server;
  } cases[] = {
      {"/srv/web/My Site/index.htm", "index.htm"},
      {"/srv/web/My Site/Sub Dir/Page One.htm", "Sub Dir/Page One.htm"},
      {"/srv/web/My Site/public_html/a%20b.htm", "public_html/a%20b.htm"},
      {"/srv/web/My Site/sub/../x.htm", "x.htm"},
      {"/srv/web/My Site/Images/", "Images/"},
      {"/srv/web/My Site/", ""},
      {"/srv/web/My Site/UPPER/Lower.HTM", "UPPER/Lower.HTM"},
  };
  for (const auto& c : cases) {
    std::string server;
    EXPECT_EQ(StopMessage([&] { server = ServerPathOf(c.local); }), "") << c.local;
    EXPECT_EQ(server, c.server) << c.local;
  }
}

TEST_F(SitePathTest, ServerPathOfStopsForPathsOutsideTheSite) {
  struct Case {
    std::string local;
    std::string message;
  } cases[] = {
      {"/etc/passwd", "/etc/passwd\ris not within site /srv/web/My Site/"},
      {"/srv/web/MY SITE/index.htm",
       "/srv/web/MY SITE/index.htm\ris not within site /srv/web/My Site/\r"
       "There is a difference in case!"},
      {"/srv/web/My Site/sub/../../Other/x.htm",
       "/srv/web/My Site/sub/../../Other/x.htm\ris not within site /srv/web/My Site/"},
      {"/srv/web/My Site2/x.htm", "/srv/web/My Site2/x.htm\ris not within site /srv/web/My Site/"},
      {"/srv/web/My Site/../../../../../x",
       "Reference to above website root.\r"
       "/srv/web/My Site/../../../../../x"},
  };
  for (const auto& c : cases) {
    CurrentCommand = "Upload";
    EXPECT_EQ(StopMessage([&] { ServerPathOf(c.local); }), c.message) << c.local;
  }
}

TEST_F(SitePathTest, ServerPathOfIsEmptyWhereThereIsNoServerPath) {
  EXPECT_EQ(ServerPathOf("/tmp/Untitled.htm"), "");  // an untitled document elsewhere
  OnlineTicked = false;
  EXPECT_EQ(ServerPathOf("/srv/web/My Site/index.htm"), "");
  OnlineTicked = true;
  NotInSite = true;
  EXPECT_EQ(ServerPathOf("/srv/web/My Site/index.htm"), "");
  NotInSite = false;
  SiteFolder.clear();
  EXPECT_EQ(ServerPathOf("/anywhere/index.htm"), "");
  EXPECT_THAT(Dialogs().Texts(), ::testing::IsEmpty());
}

TEST_F(SitePathTest, DownloadToAndUpdateCoursesConvertThePathAsItStands) {
  for (const char* command : {DownloadToCommand, UpdateCoursesCommand}) {
    CurrentCommand = command;
    EXPECT_EQ(ServerPathOf("/elsewhere/a\\b/../c.htm"), "/elsewhere/a/c.htm") << command;
  }
}

TEST_F(SitePathTest, LocalToServerToLocalRoundTrips) {
  const char* names[] = {"index.htm", "Sub Dir/Page One.htm", "a b c/d e.HTML", "UPPER/lower.Htm",
                         "images/",   "x/y/z/deep page.php",  "odd..name.htm"};
  for (const char* name : names) {
    const std::string local = SiteFolder + name;
    const std::string server = ServerPathOf(local);
    EXPECT_EQ(server, name);
    EXPECT_EQ(SiteFolder + ToLocalPath(server), local) << name;
    // The server spelling with "%20" comes back to the same local file.
    const std::string encoded = ReplaceAll(server, " ", "%20", true);
    EXPECT_EQ(SiteFolder + ToLocalPath(encoded), local) << name;
  }
}

TEST(FtpAddress, SplitAndJoin) {
  struct Case {
    std::string address;
    std::string name;
    std::string startDir;
    std::string joined;
  } cases[] = {
      {"ftp.example.org", "ftp.example.org", "", "ftp.example.org"},
      {"ftp.example.org/", "ftp.example.org", "", "ftp.example.org"},
      {"ftp.example.org/www/", "ftp.example.org", "www", "ftp.example.org/www"},
      {"ftp.example.org/www", "ftp.example.org", "www", "ftp.example.org/www"},
      {"Ftp.Example.ORG/Web Site/public", "Ftp.Example.ORG", "Web Site/public",
       "Ftp.Example.ORG/Web Site/public"},
      {"None", "None", "", "None"},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    ServerStartDir = "stale";
    SplitFtpAddress(c.address);
    EXPECT_EQ(ServerName, c.name) << c.address;
    EXPECT_EQ(ServerStartDir, c.startDir) << c.address;
    EXPECT_EQ(JoinFtpAddress(), c.joined) << c.address;
  }
}

TEST(SetBuildOutputFolder, PutsThePagesInsideTheWebRoot) {
  struct Case {
    std::string folder;
    std::string webRootPath;
    std::string output;
  } cases[] = {
      {"/s/My Site/", "public_html/", "/s/My Site/public_html/"},
      {"/s/My Site/public_html/sub/", "public_html/", "/s/My Site/public_html/sub/"},
      {"/s/My Site/", "www/html/", "/s/My Site/www/html/"},
      {"/s/My Site/", "", "/s/My Site/"},
      {"/s/My Site/", "My%20Root/", "/s/My Site/My Root/"},
  };
  for (const auto& c : cases) {
    CurrentFolder = c.folder;
    WebRootPath = c.webRootPath;
    SetBuildOutputFolder();
    EXPECT_EQ(OutputFolder, c.output) << c.folder << " " << c.webRootPath;
  }
}

}  // namespace
}  // namespace quorrel
