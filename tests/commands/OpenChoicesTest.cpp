// What the file-list form's buttons do, on the tests' main window: Open on an
// entry or a web address, the platform's open dialog, one level up, the root
// checked, Grab into the "Untitled" document, the entry of the current document,
// the root the form shows with, and File | Next at the end of the list.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "commands/FindTestKit.h"
#include "platform/Abort.h"
#include "publish/OpenChoices.h"
#include "publish/OpenUnit.h"
#include "publish/SiteFileList.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Recolour.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

const std::string kRaquo = "\xBB";

class OpenChoicesTest : public FindTest {
 protected:
  void List(const std::string& root, std::vector<std::string> entries, int selected = -1) {
    SiteFileList.root = root;
    SiteFileList.entries = std::move(entries);
    SiteFileList.selected = selected;
  }
};

TEST_F(OpenChoicesTest, OpenTakesTheWebAddressTypedLastOrTheSelectedFile) {
  struct Case {
    const char* what;
    bool webLast;
    std::string web;
    std::string root;
    int selected;
    TOpenChoice choice;
    std::string chosen;
  } cases[] = {
      {"web address typed last", true, "http://example.org/a.htm", "/s/", 0, TOpenChoice::Chosen,
       "http://example.org/a.htm"},
      {"nothing typed after http://", true, "http://", "/s/", 1, TOpenChoice::Chosen,
       "/s/sub/a b.htm"},
      {"the list used last", false, "http://example.org/", "/s/", 0, TOpenChoice::Chosen,
       "/s/index.htm"},
      {"a title without its blank", false, "", "/s/", 2, TOpenChoice::Chosen, "/s/odd.htm"},
      {"no root", false, "", "", 0, TOpenChoice::Cancelled, ""},
      {"nothing selected", false, "", "/s/", -1, TOpenChoice::Stay, ""},
  };
  for (const Case& c : cases) {
    List(c.root, {" index.htm " + kRaquo + " Home", "sub/ a b.htm", " odd.htm" + kRaquo + "X"},
         c.selected);
    ChosenPath.clear();
    EXPECT_EQ(OpenBtnClick(c.webLast, c.web), c.choice) << c.what;
    EXPECT_EQ(ChosenPath, c.chosen) << c.what;
  }
}

TEST_F(OpenChoicesTest, UpOneLevelCutsTheRootsLastFolder) {
  struct Case {
    std::string root;
    std::string up;
  } cases[] = {
      {"/srv/site/news/", "/srv/site/"},
      {"/srv/site", "/srv/"},
      {"/srv/", "/"},
      {"/", "/"},
      {"", ""},
      {"site", "site"},
  };
  for (const Case& c : cases) EXPECT_EQ(UpOneLevel(c.root), c.up) << c.root;
}

TEST_F(OpenChoicesTest, TheRootMustBeGivenAndMustExist) {
  EXPECT_EQ(CheckOpenRoot(site), site);
  EXPECT_EQ(CheckOpenRoot(site.substr(0, site.size() - 1)), site);
  EXPECT_EQ(CheckOpenRoot("/"), "/");
  // A relative root lies in the current directory.
  const fs::path here = fs::current_path();
  fs::create_directories(site + "rel/inner");
  fs::current_path(site + "rel");
  EXPECT_EQ(CheckOpenRoot("inner"), site + "rel/inner/");
  fs::current_path(here);

  EXPECT_THROW(CheckOpenRoot(""), EAbort);
  EXPECT_EQ(Dialogs().Last().text, MessageText("Root directory cannot be blank."));
  EXPECT_THROW(CheckOpenRoot(site + "missing"), EAbort);
  EXPECT_EQ(Dialogs().Last().text,
            MessageText(site + "missing does not exist.\rPlease specify a valid root directory"));
}

TEST_F(OpenChoicesTest, TheCurrentDocumentsEntryIsSelectedButReplaceKeepsTheFirst) {
  Open("b.htm", "b\r\n");
  List(site, {" a.htm", " B.htm", "sub/ b.htm " + kRaquo + " Bee", " b.htm"});
  EXPECT_EQ(CurrentFileEntry(), 2);  // the first of that name; letter case counts
  CurrentCommand = ReplaceCommand;
  EXPECT_EQ(CurrentFileEntry(), 0);
  CurrentCommand.clear();
  List(site, {" a.htm"});
  EXPECT_EQ(CurrentFileEntry(), 0);
  List(site, {});
  EXPECT_EQ(CurrentFileEntry(), -1);
}

TEST_F(OpenChoicesTest, NextOpensTheFollowingEntriesAndStopsAtTheLast) {
  Write("a.htm", "<p>a</p>\n");
  Write("sub/b.htm", "<p>b</p>\n");
  Open("start.txt", "x\r\n");
  List(site, {" a.htm", "sub/ b.htm " + kRaquo + " Bee"}, -1);
  ASSERT_TRUE(MainMenu().Click("NextFile"));
  EXPECT_EQ(CurrentFileName, site + "a.htm");
  EXPECT_FALSE(FileListEnded);
  ASSERT_TRUE(MainMenu().Click("NextFile"));
  EXPECT_EQ(CurrentFileName, site + "sub/b.htm");
  ASSERT_TRUE(MainMenu().Click("NextFile"));
  EXPECT_TRUE(FileListEnded);
  EXPECT_EQ(SiteFileList.selected, 1);
  EXPECT_EQ(CurrentFileName, site + "sub/b.htm");
  EXPECT_EQ(Status(), "  \x95\x95\x95 End of file list \x95\x95\x95");
}

TEST_F(OpenChoicesTest, GrabPutsTheListIntoTheUntitledDocumentButNeverOverUnsavedText) {
  List(site, {" a.htm " + kRaquo + " A", "sub/ b.css"});
  Open("start.txt", "x\r\n");
  GrabBtnClick();
  EXPECT_EQ(CurrentFileName.rfind("Untitled", 0), 0u) << CurrentFileName;
  EXPECT_EQ(Text(), "a.htm\r\nsub/b.css\r\n");
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(CurrentEditor->SelStart(), 0u);
  EXPECT_EQ(RecolourRequest, RecolourFull);
  EXPECT_TRUE(SiteFileList.rescanOnShow);
  const size_t tabs = Documents.size();

  // The same "Untitled" document takes the next list...
  Open("other.txt", "y\r\n");
  List(site, {" c.htm"});
  GrabBtnClick();
  EXPECT_EQ(Text(), "c.htm\r\n");
  EXPECT_EQ(Documents.size(), tabs + 1);  // other.txt only

  // ...unless the user has typed into it meanwhile.
  CurrentEditor->SetSelText("my notes\r\n");
  ASSERT_TRUE(CurrentEditor->Modified());
  TMyRich* notes = CurrentEditor;
  List(site, {" d.htm"});
  GrabBtnClick();
  EXPECT_EQ(Text(), "d.htm\r\n");
  EXPECT_NE(CurrentEditor, notes);
  EXPECT_EQ(notes->GetText(), "my notes\r\nc.htm\r\n");
  EXPECT_TRUE(notes->Modified());
}

TEST_F(OpenChoicesTest, ShowingTheFormListsTheTopFolderOfTheOpenDocuments) {
  Write("top/a.htm", "a\n");
  Open("top/sub/page.htm", "<p>x</p>\n");
  OpenInNewTab(site + "top/a.htm");
  PCChange();
  SiteFileList = TSiteFileList{};
  EXPECT_TRUE(OpenFormShowRescan(false));
  EXPECT_EQ(SiteFileList.root, site + "top/");
  // Listed already at that root: shown as it is.
  SiteFileList.entries = {" a.htm"};
  EXPECT_FALSE(OpenFormShowRescan(false));
  SiteFileList.rescanOnShow = true;
  EXPECT_TRUE(OpenFormShowRescan(false));
  SiteFileList.rescanOnShow = false;
  // Another root, unless a search of files chose it.
  SiteFileList.root = site + "elsewhere/";
  EXPECT_FALSE(OpenFormShowRescan(true));
  EXPECT_EQ(SiteFileList.root, site + "elsewhere/");
  EXPECT_TRUE(OpenFormShowRescan(false));
  EXPECT_EQ(SiteFileList.root, site + "top/");
}

TEST_F(OpenChoicesTest, TheOpenDialogStartsWhereTheLastFileWasChosenAndMovesTheRoot) {
  Write("pages/a.htm", "a\n");
  ChosenPath = site + "pages/old.htm";
  List(site, {" x.htm"}, 0);
  Dialogs().AnswerPath(site + "pages/a.htm");
  ASSERT_TRUE(WinOpenClick("*.htm"));
  const auto& call = Dialogs().PathCalls().back().call;
  EXPECT_EQ(call.title, "File to be opened");
  EXPECT_EQ(call.filter, "*.htm|*.htm|All files|*.*");
  EXPECT_EQ(call.folder, site + "pages/");
  EXPECT_FALSE(call.save);
  EXPECT_EQ(ChosenPath, site + "pages/a.htm");
  EXPECT_EQ(SiteFileList.root, site + "pages/");
  EXPECT_TRUE(SiteFileList.entries.empty());

  // Cancelled: nothing changes. Without a mask every file is offered; masks kept
  // apart with "|" stay one part of the filter.
  Dialogs().CancelPath();
  EXPECT_FALSE(WinOpenClick(""));
  EXPECT_EQ(Dialogs().PathCalls().back().call.filter, "All files|*.*");
  EXPECT_EQ(ChosenPath, site + "pages/a.htm");
  Dialogs().CancelPath();
  EXPECT_FALSE(WinOpenClick("*.htm|*.css"));
  EXPECT_EQ(Dialogs().PathCalls().back().call.filter, "*.htm;*.css|*.htm;*.css|All files|*.*");
}

}  // namespace
}  // namespace quorrel::test
