// The server files window's listing in tree mode against a real pyftpdlib server
// on loopback: the icon of each comparison, the folder nodes, the questions and
// messages on the way, and listings the server sends that must not be trusted.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "ServerListingTestSupport.h"
#include "platform/Abort.h"
#include "publish/Connection.h"
#include "publish/ServerDates.h"
#include "publish/ServerListing.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/SiteState.h"
#include "support/FtpServer.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "support/TimeZone.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

using test::kHour;
using test::kMidnight;
using test::kMinute;
using test::kTen;
using test::NoRow;

class ServerListingTest : public test::ServerListingTestBase {};

TEST_F(ServerListingTest, EachFileGetsTheIconOfItsComparison) {
  struct Case {
    const char* name;
    int64_t server;  // 0: not on the server
    int64_t local;   // 0: not local
    int icon;        // NoRow: not listed
  };
  const Case cases[] = {
      // One hour apart, as after a daylight-saving shift, is the same date.
      {"same.htm", kTen, kTen + kHour, SameDateIcon},
      {"newer.htm", kTen, kTen + 2 * kMinute, LocalNewerIcon},
      {"older.htm", kTen + 2 * kMinute, kTen, ServerNewerIcon},
      {"onlyserver.htm", kTen, 0, NotOnLocalIcon},
      {"onlylocal.htm", 0, kTen, NotOnServerIcon},
      {"web.config", kTen, kTen + 50 * kHour, IgnoreDateIcon},
      {".user.ini", kTen, 0, IgnoreDateIcon},
      {"THUMBS.DB", 0, kTen, NoRow},
      {"Photothumb.db", 0, kTen, NoRow},
      {"index.htm.BAK", 0, kTen, NoRow},
      {"Data.FTP", 0, kTen, NoRow},
      {".Data.FTP.lock", 0, kTen, NoRow},
      // Work files of our own that killed writes left: never site files.
      {".Data.FTP.a1B2c3", 0, kTen, NoRow},
      {".same.htm.save-Xy12Zw", 0, kTen, NoRow},
      {".same.htm.Q9w8E7", 0, kTen, NoRow},
      {".newer.htm.download", 0, kTen, NoRow},
      // A hidden file of the user's that only looks like one is listed.
      {".notes.backup", 0, kTen, NotOnServerIcon},
  };
  test::FtpServer server;
  for (const Case& c : cases) {
    if (c.server) Put(server.Root() + c.name, c.server);
    if (c.local) Put(site_ + c.name, c.local);
  }
  Connect(server);

  ShowDir(std::nullopt);

  const std::map<std::string, int> icons = Icons();
  for (const Case& c : cases) {
    const auto row = icons.find(c.name);
    if (c.icon == NoRow) {
      EXPECT_EQ(row, icons.end()) << c.name;
    } else {
      ASSERT_NE(row, icons.end()) << c.name;
      EXPECT_EQ(row->second, c.icon) << c.name;
    }
  }
  EXPECT_EQ(icons.size(), 8u);
  // Rows come sorted by name, letter case aside.
  std::vector<std::string> names = RowNames();
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](auto& a, auto& b) {
    return UpperCaseLatin1(a) < UpperCaseLatin1(b);
  }));
  EXPECT_EQ(ServerList.caption, "Files for " + site_ + "  on server  127.0.0.1  in folder  [Root]");
  EXPECT_TRUE(ServerList.listVisible);
  EXPECT_THAT(Dialogs().Texts(), IsEmpty());
}

TEST_F(ServerListingTest, FoldersBecomeNodesByWhereTheyAre) {
  test::FtpServer server;
  Put(server.Root() + "both/a.htm", kTen);
  Put(server.Root() + "serveronly/a.htm", kTen);
  Put(site_ + "Both/a.htm", kTen);
  Put(site_ + "localonly/a.htm", kTen);
  // A link to its own folder is no folder: following it would never end.
  fs::create_directory_symlink(server.Root(), server.Root() + "www");
  Connect(server);

  ShowDir(std::nullopt);

  EXPECT_EQ(ServerList.tree.name, "[Root]");
  EXPECT_EQ(Nodes(ServerList.tree), (std::map<std::string, int>{{"both", FolderOnBoth},
                                                                {"serveronly", FolderServerOnly},
                                                                {"localonly", FolderLocalOnly}}));
  EXPECT_THAT(ServerList.rows, Not(IsEmpty()));

  // Listing a folder walks the tree from the root: the nodes stay.
  ShowDir(std::vector<std::string>{"both"});
  EXPECT_EQ(ServerList.folder, "both/");
  EXPECT_THAT(RowNames(), ElementsAre("a.htm"));
  EXPECT_EQ(Icons()["a.htm"], SameDateIcon);
  EXPECT_EQ(Nodes(ServerList.tree).size(), 3u);
  EXPECT_EQ(ServerList.caption, "Files for " + site_ + "  on server  127.0.0.1  in folder  both/");

  // A folder only on this side has nothing to ask the server for.
  ShowDir(std::vector<std::string>{"localonly"});
  EXPECT_THAT(RowNames(), ElementsAre("a.htm"));
  EXPECT_EQ(Icons()["a.htm"], NotOnServerIcon);
  EXPECT_THAT(Dialogs().Texts(), IsEmpty());
}

TEST_F(ServerListingTest, AServerDateWithoutTimeComparesByDay) {
  // Without MLSD and MDTM an old file's LIST line gives only its day.
  test::FtpServer server({.noMlsd = true, .noMdtm = true});
  Put(server.Root() + "day.htm", kTen);
  Put(server.Root() + "nextday.htm", kTen);
  Put(site_ + "day.htm", kMidnight + 15 * kHour);
  Put(site_ + "nextday.htm", kMidnight + 39 * kHour);
  Connect(server);

  ShowDir(std::nullopt);

  EXPECT_EQ(Icons()["day.htm"], SameDateIcon);
  EXPECT_EQ(Icons()["nextday.htm"], LocalNewerIcon);
}

TEST_F(ServerListingTest, ADifferenceInCaseIsReportedWithBothSpellings) {
  test::FtpServer server;
  Put(server.Root() + "Page.htm", kTen);
  Put(site_ + "page.htm", kTen);
  Connect(server);

  Dialogs().Answer(mrYes);  // OK
  ShowDir(std::nullopt);

  const DialogCall& box = Dialogs().Last();
  EXPECT_EQ(box.helpContext, NameCaseHelp);
  EXPECT_EQ(box.text,
            "\rDifference in case will be a problem on a Unix server.\r"
            "    Server name:\tPage.htm\r    Local name:\tpage.htm");
  // The local copy was found all the same.
  EXPECT_EQ(Icons()["Page.htm"], SameDateIcon);
  EXPECT_THAT(RowNames(), ElementsAre("Page.htm"));
}

TEST_F(ServerListingTest, NamesThatDifferOnlyInCaseAreReported) {
  struct Case {
    int answer;
    bool closes;
  };
  for (const Case& c : {Case{mrYes, false}, Case{mrCancel, true}}) {
    SCOPED_TRACE(c.answer);
    test::FtpServer server;
    Put(server.Root() + "a.htm", kTen);
    Put(server.Root() + "A.htm", kTen);
    Connect(server);
    view_.closed = 0;
    Dialogs().Clear();

    Dialogs().Answer(c.answer);
    if (c.closes) {
      EXPECT_THROW(ShowDir(std::nullopt), EAbort);
    } else {
      ShowDir(std::nullopt);
      EXPECT_THAT(RowNames(), ElementsAre("A.htm", "a.htm"));
    }
    EXPECT_EQ(Dialogs().Last().text, "A.htm and a.htm both appear in this folder.");
    EXPECT_EQ(Dialogs().Last().helpContext, NameCaseHelp);
    EXPECT_EQ(view_.closed, c.closes ? 1 : 0);
    test::EndConnections();
  }
}

TEST_F(ServerListingTest, AServerFolderWithoutALocalOneOffersToMakeIt) {
  for (bool yes : {false, true}) {
    SCOPED_TRACE(yes);
    test::FtpServer server;
    Put(server.Root() + "sub/deeper/x.htm", kTen);
    fs::remove_all(site_ + "sub");
    Connect(server);
    ShowDir(std::nullopt);
    ASSERT_EQ(Nodes(ServerList.tree)["sub"], FolderServerOnly);

    Dialogs().Clear();
    Dialogs().Answer(yes ? mrYes : mrNo);
    ShowDir(std::vector<std::string>{"sub", "deeper"});

    EXPECT_EQ(Dialogs().Texts(),
              std::vector<std::string>{site_ + "sub/deeper/\rCreate local folder?"});
    EXPECT_EQ(fs::is_directory(site_ + "sub/deeper"), yes);
    EXPECT_EQ(Nodes(ServerList.tree)["sub"], yes ? FolderOnBoth : FolderServerOnly);
    EXPECT_THAT(RowNames(), ElementsAre("x.htm"));
    EXPECT_EQ(Icons()["x.htm"], NotOnLocalIcon);
    test::EndConnections();
  }
}

TEST_F(ServerListingTest, ALongFolderAsksOnceAndStopsOnYes) {
  for (bool stop : {false, true}) {
    SCOPED_TRACE(stop);
    test::FtpServer server;
    for (int i = 0; i < 1001; ++i) test::WriteFile(server.Root() + "f" + std::to_string(i), "x");
    Connect(server);
    StopTransfer = false;
    Dialogs().Clear();

    Dialogs().Answer(stop ? mrYes : mrNo);
    ShowDir(std::nullopt);

    EXPECT_EQ(Dialogs().Texts(),
              std::vector<std::string>{"1000 files listed.  Terminate listing?"});
    EXPECT_EQ(ServerList.rows.size(), stop ? 1000u : 1001u);
    EXPECT_EQ(view_.counters.back(), "Files processed: 1001");
    // The next listing is whole again (the counter goes on: no second question).
    ShowDir(std::vector<std::string>{});
    EXPECT_EQ(ServerList.rows.size(), 1001u);
    EXPECT_EQ(Dialogs().Texts().size(), 1u);
    test::EndConnections();
  }
}

TEST_F(ServerListingTest, TwoThousandFilesTakeOneListingAndNoRoundTripEach) {
  test::FtpServer server;
  for (int i = 0; i < 2000; ++i) test::WriteFile(server.Root() + "f" + std::to_string(i), "x");
  Connect(server);
  const size_t before = server.Commands().size();

  Dialogs().Answer(mrNo);
  ShowDir(std::nullopt);

  EXPECT_EQ(ServerList.rows.size(), 2000u);
  const std::vector<std::string> all = server.Commands();
  const std::vector<std::string> listing(all.begin() + static_cast<long>(before), all.end());
  EXPECT_EQ(std::count(listing.begin(), listing.end(), "MLSD"), 1);
  EXPECT_THAT(listing, Not(Contains("MDTM")));
  EXPECT_THAT(listing, Not(Contains("SIZE")));
  EXPECT_THAT(listing, Not(Contains("LIST")));
}

TEST_F(ServerListingTest, NamesThatWouldLeaveTheSiteAreLeftOutAndReportedOnce) {
  test::FtpServer server({.hostileNames = true});
  Put(server.Root() + "good.htm", kTen);
  Put(server.Root() + "sub/inner.htm", kTen);
  fs::create_directories(site_ + "sub");
  Connect(server);
  const fs::path outside = fs::path(site_).parent_path().parent_path();

  ShowDir(std::nullopt);
  EXPECT_THAT(RowNames(), ElementsAre("good.htm"));
  ASSERT_EQ(Dialogs().Texts().size(), 1u);
  EXPECT_THAT(Dialogs().Last().text, HasSubstr("../x"));
  EXPECT_THAT(Dialogs().Last().text, HasSubstr("a/b"));

  ShowDir(std::vector<std::string>{"sub"});
  Dialogs().Clear();
  EXPECT_THAT(RowNames(), ElementsAre("inner.htm"));
  EXPECT_FALSE(fs::exists(outside / "x"));
  EXPECT_FALSE(fs::exists(fs::path(site_) / "x"));
  EXPECT_FALSE(fs::exists(fs::path(site_) / "a"));
}

TEST_F(ServerListingTest, FilesThatBelongOnlyLocallyAreReportedOnTheServer) {
  test::FtpServer server;
  Put(server.Root() + "Data.FTP", kTen);
  Put(server.Root() + "CPanel.HTM", kTen);
  fs::create_directories(server.Root() + "[Root]");
  Connect(server);

  Dialogs().Answer({mrYes, mrYes});
  ShowDir(std::nullopt);

  std::vector<std::pair<std::string, int>> boxes;
  for (const DialogCall& call : Dialogs().Calls()) boxes.push_back({call.text, call.helpContext});
  EXPECT_THAT(boxes,
              Contains(std::pair<std::string, int>(
                  "Data.FTP found on server.  Please delete it (but not from local).", 31700)));
  EXPECT_THAT(boxes,
              Contains(std::pair<std::string, int>(
                  "CPanel.HTM found on server.  Please delete it (but not from local).", 31600)));
  EXPECT_THAT(Dialogs().Texts(),
              Contains(HasSubstr("There is a folder called \"[Root]\" on the server!")));
  EXPECT_THAT(Nodes(ServerList.tree), IsEmpty());
}

TEST_F(ServerListingTest, PagesUploadedInTheOtherFormAreMarked) {
  const std::string laidOut = "<html>\n<Head>\n</head>\n</html>\n";
  const std::string condensed = "<html><head></head></html>\n\n\n";  // the same size
  const std::string preformatted =
      "<html>\n<Head>\n</head>\n<body>\n<pre class=\"code\">a\n  b</pre>\n</body>\n</html>\n";
  struct Case {
    const char* what;
    bool condense;
    std::string local;
    std::string server;
    bool mismatch;
  };
  const Case cases[] = {
      {"laid out, sent as it is", true, laidOut, laidOut, true},
      {"condensed locally too", true, condensed, condensed, false},
      {"condensed on the way up", true, laidOut, "<html><head></head></html>", false},
      {"condensed although the option is off", false, laidOut, "<html><head></head></html>", true},
      {"sent as it is, option off", false, laidOut, laidOut, false},
      // The upload never condenses a page with preformatted text.
      {"preformatted, sent as it is", true, preformatted, preformatted, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::FtpServer server;
    Put(server.Root() + "page.htm", kTen, c.server);
    Put(site_ + "page.htm", kTen, c.local);
    MainMenu().SetChecked("Condense", c.condense);
    Connect(server);

    ShowDir(std::nullopt);

    ASSERT_EQ(ServerList.rows.size(), 1u);
    EXPECT_EQ(ServerList.rows[0].icon, SameDateIcon);
    EXPECT_EQ(ServerList.rows[0].condenseMismatch, c.mismatch);
    test::EndConnections();
  }
}

TEST_F(ServerListingTest, AnEmptySiteShowsOneRowWithoutIcon) {
  test::FtpServer server;
  Connect(server);
  ShowDir(std::nullopt);
  ASSERT_EQ(ServerList.rows.size(), 1u);
  EXPECT_EQ(ServerList.rows[0].name, "[NO FILES]");
  EXPECT_EQ(ServerList.rows[0].icon, NoIcon);
  EXPECT_THAT(Dialogs().Texts(), IsEmpty());
}

}  // namespace
}  // namespace quorrel
