// The site file list of a real folder tree: masks, sub-folders, order, and the
// folders it never enters.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "publish/SiteDetails.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "shell/SiteFiles.h"
#include "shell/SiteState.h"
#include "support/TestEnvironment.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

class DoGrabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = TestHome() + "grab/";
    fs::remove_all(root);
    for (const char* name :
         {"index.htm", "Zeta.HTML", "about.htm", "style.css", "notes.txt", "a/page.htm",
          "a/b/deep.htm", "a/b/c/deeper.HTM", "ab/other.htm", ".git/hidden.htm",
          "Program Files/app.htm", "news/old.htm.Bak", "news/n.php", "logo.GIF", "page.bak"}) {
      fs::create_directories(fs::path(root + name).parent_path());
      std::ofstream(root + name) << "x";
    }
    CurrentFolder = root;
  }
  void TearDown() override { fs::remove_all(root); }
  std::string root;
};

TEST_F(DoGrabTest, AFoldersOwnFilesComeBeforeItsSubFolders) {
  MainMenu().SetChecked("SubDirs", true);
  EXPECT_EQ(DoGrab("*.htm"),
            "about.htm\r\nindex.htm\r\nZeta.HTML\r\na/page.htm\r\na/b/deep.htm\r\n"
            "a/b/c/deeper.HTM\r\nab/other.htm\r\n");
}

// What killed writes of our own left beside site files is no site file: a folder
// upload from the list would publish a settings copy that holds the password.
TEST_F(DoGrabTest, OurOwnWorkLockAndCopyFilesAreLeftOut) {
  for (const char* name :
       {"Data.FTP", ".Data.FTP.a1B2c3", ".Data.FTP.lock", "a/.page.htm.save-Ab12Cd",
        ".index.htm.download", ".index.htm.Zx81Qw", ".mine.backup"}) {
    std::ofstream(root + name) << "x";
  }
  MainMenu().SetChecked("SubDirs", true);
  EXPECT_EQ(DoGrab("*.*"),
            ".mine.backup\r\nabout.htm\r\nindex.htm\r\nnotes.txt\r\nstyle.css\r\n"
            "Zeta.HTML\r\na/page.htm\r\na/b/deep.htm\r\na/b/c/deeper.HTM\r\nab/other.htm\r\n"
            "news/n.php\r\n");
}

TEST_F(DoGrabTest, MasksAndTheSubFoldersBox) {
  struct Case {
    std::string mask;
    bool subDirs;
    std::string list;
  } cases[] = {
      {"*.CSS", true, "style.css\r\n"},
      {"*.php", true, "news/n.php\r\n"},
      {"*.php", false, ""},
      {"*.htm", false, "about.htm\r\nindex.htm\r\nZeta.HTML\r\n"},
      {"*.HTML", false, "Zeta.HTML\r\n"},
      {"notes", false, "notes.txt\r\n"},  // a mask without "." takes any extension
      {"*.*", false, "about.htm\r\nindex.htm\r\nnotes.txt\r\nstyle.css\r\nZeta.HTML\r\n"},
      {"*.xml", true, ""},
  };
  for (const auto& c : cases) {
    MainMenu().SetChecked("SubDirs", c.subDirs);
    EXPECT_EQ(DoGrab(c.mask), c.list) << c.mask << " " << c.subDirs;
  }
}

TEST_F(DoGrabTest, LinkedFoldersAreNotFollowed) {
  MainMenu().SetChecked("SubDirs", true);
  // A link back up the tree would list the site again and again.
  ASSERT_EQ(symlink(root.c_str(), (root + "a/loop").c_str()), 0);
  EXPECT_EQ(DoGrab("*.css"), "style.css\r\n");
}

TEST_F(DoGrabTest, NoFolderNoList) {
  CurrentFolder.clear();
  EXPECT_EQ(DoGrab("*.htm"), "");
  CurrentFolder = root + "missing/";
  EXPECT_EQ(DoGrab("*.htm"), "");
}

TEST(SiteRootFolder, TheSitesFolderWhenKnown) {
  CurrentFolder = "/srv/site/news/";
  EXPECT_EQ(SiteRootFolder(), "/srv/site/news/");
  SiteFolder = "/srv/site/";
  EXPECT_EQ(SiteRootFolder(), "/srv/site/");
  SiteFolder = "?";  // to be read again: not known
  EXPECT_EQ(SiteRootFolder(), "/srv/site/news/");
}

}  // namespace
}  // namespace quorrel::test
