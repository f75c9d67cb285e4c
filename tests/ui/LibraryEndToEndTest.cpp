// Library items on the real program: a block selected in the editor becomes an item
// through "Create Library item" and shows in every page of the site; the "Update
// item" dialog lists a page's items and writes the one clicked.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "commands/LibraryCommands.h"
#include "commands/StartUp.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "shell/MyRich.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "sitebuild/Templates.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "ui/shell/WebForm.h"
#include "ui/sitebuild/UpForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

// A page of the site; where it uses the footer item, its comment spells the path in
// other letter cases than the file has.
std::string Page(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + title +
         "</title>\n</head>\n<body>\n" + body + "\n</body>\n</html>\n";
}
const char kOldFooter[] =
    "<!-- #BeginLibraryItem \"/library/FOOTER.lbi\" --><p>old</p><!-- #EndLibraryItem -->";
const char kFooter[] = "<footer><p>(c) The Society</p></footer>\n";

class LibraryEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site = test::SiteTestFolder() + "library/";
    fs::create_directories(site);
    test::WriteNoServerDetails(site);
    test::WriteFile(site + "index.htm", Page("Home", std::string("<h1>Home</h1>\n") + kFooter));
    test::WriteFile(site + "news/item.htm", Page("News", kOldFooter));
    test::WriteFile(site + "news/2024/may.htm", Page("May", kOldFooter));
    form = std::make_unique<TWebForm>();
    SetMainWindow(form.get());
    InstallUpForm();
    StartParameters = {site + "index.htm"};
    FormActivate();
    ASSERT_EQ(CurrentFileName, site + "index.htm");
  }
  void TearDown() override {
    form.reset();
    SetMainWindow(nullptr);
    CurrentEditor = nullptr;
    fs::remove_all(test::SiteTestFolder());
    fs::remove(DocumentsFolder() + MainIniName);
  }
  // Acts on the "Update item" dialog as soon as it shows.
  void WhenUpFormShown(std::function<void(TUpForm&)> step) {
    QTimer::singleShot(0, qApp, [this, step] {
      auto* shown = qobject_cast<TUpForm*>(QApplication::activeModalWidget());
      ASSERT_NE(shown, nullptr);
      seen = true;
      step(*shown);
      if (shown->isVisible()) shown->reject();
    });
  }

  std::string site;
  std::unique_ptr<TWebForm> form;
  bool seen = false;
};

TEST_F(LibraryEndToEndTest, ASelectedBlockBecomesAnItemShownInEveryPage) {
  // The page's working copy counts one character a line end, as the editor does.
  const size_t start = CurrentText.find("<footer>");
  ASSERT_NE(start, std::string::npos);
  CurrentEditor->Select(start, std::string(kFooter).size());
  Dialogs().AnswerPath(site + "Library/footer.lbi");
  Dialogs().Answer(mrYes);  // the Library folder is made
  QAction* create = form->Action("CreateLib");
  ASSERT_TRUE(create->isEnabled());
  create->trigger();
  QApplication::processEvents();

  EXPECT_EQ(Dialogs().Texts()[0], site + "Library/ does not exist.  Create it?");
  EXPECT_EQ(test::ReadFile(site + "Library/footer.lbi"), "<footer><p>(c) The Society</p></footer>\r\n");
  EXPECT_EQ(test::ReadFile(site + "index.htm"),
            Page("Home",
                 "<h1>Home</h1>\n<!-- #BeginLibraryItem \"/Library/footer.lbi\" -->" +
                     std::string(kFooter) + "<!-- #EndLibraryItem -->\n"));
  for (const char* page : {"news/item.htm", "news/2024/may.htm"}) {
    EXPECT_NE(test::ReadFile(site + page).find("<!-- #BeginLibraryItem \"/library/FOOTER.lbi\" -->" +
                                               std::string(kFooter) + "<!-- #EndLibraryItem -->"),
              std::string::npos)
        << page << "\n"
        << test::ReadFile(site + page);
  }
}

TEST_F(LibraryEndToEndTest, TheUpdateDialogListsThePagesItemsAndWritesTheOneClicked) {
  test::WriteFile(site + "Library/Footer.lbi", "<p>old</p>");
  test::WriteFile(site + "Library/menu.lbi", "<nav>menu</nav>");
  test::WriteFile(site + "index.htm",
                  Page("Home",
                       "<!-- #BeginLibraryItem \"/Library/menu.lbi\" --><nav>menu</nav>"
                       "<!-- #EndLibraryItem -->\n"
                       "<!-- #BeginLibraryItem \"/library/FOOTER.lbi\" --><p>new</p>"
                       "<!-- #EndLibraryItem -->"));
  form->Action("Reload")->trigger();
  WhenUpFormShown([](TUpForm& up) {
    ASSERT_EQ(up.ItemList->count(), 2);
    EXPECT_EQ(up.ItemList->item(0)->text(), "/Library/menu.lbi");
    EXPECT_EQ(up.ItemList->item(1)->text(), "/library/FOOTER.lbi");
    EXPECT_TRUE(up.OKBtn->isVisible());
    Dialogs().Answer(mrYes);
    up.ItemList->setCurrentRow(1);
    up.OKBtn->click();
  });
  form->Action("UpdateLib")->trigger();
  EXPECT_TRUE(seen);
  EXPECT_EQ(Dialogs().Texts()[0], "Update /library/FOOTER.lbi from this file?");
  EXPECT_EQ(test::ReadFile(site + "Library/Footer.lbi"), "<p>new</p>");
  // After OK every page is refreshed from the library.
  EXPECT_NE(test::ReadFile(site + "news/2024/may.htm").find("--><p>new</p><!--"), std::string::npos);
}

TEST_F(LibraryEndToEndTest, APageWithoutItemsOffersNothingToConfirm) {
  test::WriteFile(site + "index.htm", Page("Home", "<p>no items</p>"));
  form->Action("Reload")->trigger();
  WhenUpFormShown([](TUpForm& up) {
    ASSERT_EQ(up.ItemList->count(), 1);
    EXPECT_EQ(up.ItemList->item(0)->text(), NoLibraryItemsUsed);
    EXPECT_FALSE(up.OKBtn->isVisible());
    up.CancelBtn->click();
  });
  form->Action("UpdateLib")->trigger();
  EXPECT_TRUE(seen);
  EXPECT_TRUE(Dialogs().Texts().empty());
  EXPECT_EQ(test::ReadFile(site + "news/item.htm"), Page("News", kOldFooter));
}

}  // namespace
}  // namespace quorrel
