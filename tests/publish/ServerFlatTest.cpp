// The whole site in one list, against a real pyftpdlib server on loopback: the
// folders in order under their header rows, the folders that are never walked, a
// link that would lead round in circles, and the runs that keep only some files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "ServerListingTestSupport.h"
#include "platform/Abort.h"
#include "publish/ServerDates.h"
#include "shell/MenuModel.h"
#include "support/ScriptedDialogs.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using test::kTen;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

struct Row {
  std::string name;
  int icon;
  bool header;
  bool operator==(const Row&) const = default;
};
void PrintTo(const Row& row, std::ostream* out) {
  *out << (row.header ? "[" : "") << row.name << (row.header ? "]" : "") << ":" << row.icon;
}

std::vector<Row> Listed() {
  std::vector<Row> rows;
  for (const TServerRow& row : ServerList.rows) rows.push_back({row.name, row.icon, row.header});
  return rows;
}

const std::string kOut(1, OutsideWebRootMark);

class ServerFlatTest : public test::ServerListingTestBase {
 protected:
  void SetUp() override {
    ServerListingTestBase::SetUp();
    FlatListing = true;
    WebRootPath = "public_html/";
  }
  // A hosting account: the site in public_html, the account's own folders beside
  // it, and a link back to the top.
  void MakeSite(const test::FtpServer& server) {
    const std::string root = server.Root();
    Put(root + "index.htm", kTen);
    Put(root + "public_html/index.htm", kTen);
    Put(root + "public_html/style.css", kTen);
    Put(root + "public_html/img/a.png", kTen);
    Put(root + "wp-content/x.php", kTen);
    Put(root + ".hidden/y.htm", kTen);
    Put(root + "logs/access.log", kTen);
    Put(root + "mail/m.txt", kTen);
    fs::create_directory_symlink(root, root + "www");
    Put(site_ + "public_html/index.htm", kTen);
    Put(site_ + "public_html/drafts/d.htm", kTen);
  }
};

TEST_F(ServerFlatTest, FoldersFollowInOrderUnderTheirHeaders) {
  for (bool ignoreMail : {true, false}) {
    SCOPED_TRACE(ignoreMail);
    test::FtpServer server;
    MakeSite(server);
    MainMenu().SetChecked("IgnoreMail", ignoreMail);
    Connect(server);
    FlatListing = true;  // the connection's reset forgets it

    ListFlat();

    std::vector<Row> expected = {
        {"[Root]", IgnoreDateIcon, true},
        {kOut + "index.htm", NotOnLocalIcon, false},
        // The link is listed, never walked.
        {kOut + "www", NotOnLocalIcon, false},
    };
    if (!ignoreMail) {
      expected.push_back({"mail/", NotOnLocalIcon, true});
      expected.push_back({kOut + "m.txt", NotOnLocalIcon, false});
    }
    const std::vector<Row> site = {
        {"public_html/", IgnoreDateIcon, true}, {"index.htm", SameDateIcon, false},
        {"style.css", NotOnLocalIcon, false},   {"public_html/drafts/", NotOnServerIcon, true},
        {"d.htm", NotOnServerIcon, false},      {"public_html/img/", NotOnLocalIcon, true},
        {"a.png", NotOnLocalIcon, false},
    };
    expected.insert(expected.end(), site.begin(), site.end());
    EXPECT_THAT(Listed(), ElementsAreArray(expected));
    EXPECT_EQ(ServerList.caption, "Files for " + site_ + "  on server  127.0.0.1");
    EXPECT_FALSE(ServerList.treeVisible);
    EXPECT_FALSE(StopTransfer);
    EXPECT_THAT(Dialogs().Texts(), IsEmpty());
    test::EndConnections();
  }
}

TEST_F(ServerFlatTest, OnLineValidationKeepsPagesAndStyleSheetsOnly) {
  test::FtpServer server;
  MakeSite(server);
  Put(server.Root() + "public_html/form.php", kTen);
  Connect(server);
  BulkRunMode = 'V';

  ListFlat();

  EXPECT_THAT(Listed(), ElementsAreArray(std::vector<Row>{
                            {"public_html/", IgnoreDateIcon, true},
                            {"index.htm", NotOnServerIcon, false},
                            {"public_html/", IgnoreDateIcon, true},
                            {"form.php", NotOnServerIcon, false},
                            {"index.htm", NotOnServerIcon, false},
                            {"style.css", NotOnServerIcon, false},
                            {"public_html/img/", IgnoreDateIcon, true},
                        }));
  EXPECT_EQ(ServerList.caption, "On-line validate:  " + SiteWebAddress);
  EXPECT_FALSE(ServerList.topVisible);
}

TEST_F(ServerFlatTest, AnEmptyServerListsEmptyWithoutAnError) {
  test::FtpServer server;
  Connect(server);
  ListFlat();
  EXPECT_THAT(Listed(), ElementsAreArray(std::vector<Row>{{"[Root]", IgnoreDateIcon, true}}));
  EXPECT_THAT(Dialogs().Texts(), IsEmpty());
}

TEST_F(ServerFlatTest, UntickingFlatStopsTheListingAndShowsTheTree) {
  test::FtpServer server;
  MakeSite(server);
  Connect(server);
  const size_t before = server.Commands().size();
  view_.flatTicked = [] { return false; };

  ListFlat();

  // The top folder was listed twice, flat and then for the tree; nothing below it.
  const std::vector<std::string> all = server.Commands();
  EXPECT_EQ(std::count(all.begin() + static_cast<long>(before), all.end(), "MLSD"), 2);
  EXPECT_FALSE(FlatListing);
  EXPECT_TRUE(ServerList.treeVisible);
  EXPECT_THAT(Listed(), ElementsAreArray(std::vector<Row>{{"index.htm", NotOnLocalIcon, false},
                                                          {"www", NotOnLocalIcon, false}}));
  EXPECT_EQ(ServerList.tree.children.size(), 5u);
  EXPECT_FALSE(StopTransfer);
}

TEST_F(ServerFlatTest, TheWalkStopsThirtyFoldersDown) {
  test::FtpServer server;
  std::string deep;
  for (int i = 0; i < 34; ++i) deep += "d" + std::to_string(i) + "/";
  Put(server.Root() + deep + "bottom.htm", kTen);
  Connect(server);
  FlatListing = true;

  ListFlat();

  size_t deepest = 0;
  for (const TServerRow& row : ServerList.rows) {
    if (row.header)
      deepest = std::max<size_t>(deepest, std::count(row.name.begin(), row.name.end(), '/'));
  }
  EXPECT_EQ(deepest, 30u);
  EXPECT_THAT(Dialogs().Texts(), IsEmpty());
}

TEST_F(ServerFlatTest, TheFirstColumnFollowsTheNumberOfRows) {
  struct Case {
    size_t rows;
    int remembered;
    int width;
    bool remember;
  };
  const Case cases[] = {
      {89, 150, 360, true},  {129, 150, 360, true},  {130, 150, 200, true},
      {249, 150, 200, true}, {250, 150, 150, true},  {450, 150, 150, true},
      {451, 150, 89, true},  {250, 100, 100, false}, {450, 120, 120, false},
  };
  for (const Case& c : cases) {
    const TColumnWidth width = FirstColumnWidth(c.rows, c.remembered);
    EXPECT_EQ(width.width, c.width) << c.rows << " rows";
    EXPECT_EQ(width.remember, c.remember) << c.rows << " rows";
  }
}

TEST_F(ServerFlatTest, TheRefreshAfterAnErrorNeverStartsAnother) {
  int refreshes = 0;
  std::function<void()> refresh = [&] {
    ++refreshes;
    // The listing fails again: its error box asks for a refresh in turn.
    RefreshAfterError(refresh);
    Abort();
  };
  EXPECT_THROW(RefreshAfterError(refresh), EAbort);
  EXPECT_EQ(refreshes, 1);
  // The next error may refresh again.
  EXPECT_THROW(RefreshAfterError(refresh), EAbort);
  EXPECT_EQ(refreshes, 2);
}

}  // namespace
}  // namespace quorrel
