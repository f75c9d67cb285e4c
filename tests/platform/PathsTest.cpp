#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QStandardPaths>
#include <filesystem>
#include <algorithm>
#include <fstream>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

// A fresh folder under the test run's home; names given in UTF-8 as on disk.
class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = test::TestHome() + "paths-XXXXXX";
    ASSERT_TRUE(mkdtemp(pattern.data()));
    root_ = pattern + "/";
  }
  void TearDown() override { fs::remove_all(root_); }

  void MakeFile(const std::string& name) {
    fs::create_directories(fs::path(root_ + name).parent_path());
    std::ofstream(root_ + name) << "x";
  }
  void MakeDir(const std::string& name) { fs::create_directories(root_ + name); }

  std::string root_;
};

TEST(PathNames, DelphiStyleParts) {
  struct Case {
    const char* path;
    const char* filePath;
    const char* fileName;
    const char* fileExt;
    const char* asTxt;
  } cases[] = {
      {"/site/index.htm", "/site/", "index.htm", ".htm", "/site/index.txt"},
      {"/site/page.tar.gz", "/site/", "page.tar.gz", ".gz", "/site/page.tar.txt"},
      {"/site.d/README", "/site.d/", "README", "", "/site.d/README.txt"},
      {"/site/folder/", "/site/folder/", "", "", "/site/folder/.txt"},
      {"index.htm", "", "index.htm", ".htm", "index.txt"},
      {"/home/u/.bashrc", "/home/u/", ".bashrc", ".bashrc", "/home/u/.txt"},
      {"name.", "", "name.", ".", "name.txt"},
      {"/", "/", "", "", "/.txt"},
      {"", "", "", "", ".txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ExtractFilePath(c.path), c.filePath);
    EXPECT_EQ(ExtractFileName(c.path), c.fileName);
    EXPECT_EQ(ExtractFileExt(c.path), c.fileExt);
    EXPECT_EQ(ChangeFileExt(c.path, ".txt"), c.asTxt);
  }
  EXPECT_EQ(ChangeFileExt("/a/b.htm", ""), "/a/b");
}

TEST(PathNames, MasksMatchAsOnWindows) {
  struct Case {
    const char* name;
    const char* masks;
    bool matches;
  } cases[] = {
      {"index.htm", "*.htm", true},
      {"INDEX.HTM", "*.htm", true},
      {"index.html", "*.htm", true},  // a three-letter extension takes longer ones
      {"index.htmx", "*.HTM", true},
      {"index.html", "index.h?m", true},
      {"index.ht", "*.htm", false},
      {"index.htm", "*.html", false},
      {"index.html.bak", "*.htm", false},
      {"photo.jpeg", "*.jpg", false},
      {"index.htm", "*.ht", false},
      {"README", "*.*", true},  // every file, with or without a dot
      {"a.b.c", "*.*", true},
      {"README", "*", true},
      {"README", "READ*.*", true},
      {"README", "*.txt", false},
      {"style.css", "*.HTM|*.HTML|*.ASP|*.ASPX|*.PHP|*.CS|*.CSS", true},
      {"page.aspx", "*.HTM|*.HTML|*.ASP|*.ASPX|*.PHP|*.CS|*.CSS", true},
      {"notes.txt", "*.HTM|*.HTML|*.ASP|*.ASPX|*.PHP|*.CS|*.CSS", false},
      {"style.css", "*.htm;*.css", true},
      {"style.css", "*.htm; *.css", true},
      {"style.css", "*.htm||", false},
      {"style.css", "", false},
      {"abc", "a?c", true},
      {"ac", "a?c", false},
      {"abbc", "a?c", false},
      {"axbxbxc", "a*b*c", true},
      {"axbxbxd", "a*b*c", false},
      {"backtrack", "*a*k", true},
      {"Caf\xE9.htm", "CAF\xC9.*", true},  // Windows-1252 letters fold too
      {"\xFF.txt", "\x9F.TXT", true},
      {"\xF7.txt", "\xD7.txt", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesMask(c.name, c.masks), c.matches) << c.name << " / " << c.masks;
  }
}

TEST_F(PathsTest, ResolveNoCaseFindsTheSpellingOnDisk) {
  MakeFile("Site/Images/Logo.PNG");
  MakeFile("Site/index.htm");
  MakeFile("Site/Caf\xC3\xA9.htm");  // UTF-8 on disk
  struct Case {
    std::string asked;
    std::string found;
  } cases[] = {
      {root_ + "Site/index.htm", root_ + "Site/index.htm"},
      {root_ + "site/images/logo.png", root_ + "Site/Images/Logo.PNG"},
      {root_ + "SITE/INDEX.HTM", root_ + "Site/index.htm"},
      {root_ + "site/images/", root_ + "Site/Images/"},
      {root_ + "site//Images/LOGO.png", root_ + "Site/Images/Logo.PNG"},
      {root_ + "site/images/../INDEX.htm", root_ + "Site/Images/../index.htm"},
      {root_ + "site/CAF\xC9.HTM", root_ + "Site/Caf\xE9.htm"},
      {root_ + "site/missing.htm", ""},
      {root_ + "site/index.htm/x", ""},
      {root_ + "nowhere/index.htm", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ResolveNoCase(c.asked), c.found) << c.asked;
}

TEST_F(PathsTest, ResolveNoCasePrefersTheExactSpelling) {
  MakeFile("Readme.txt");
  MakeFile("README.TXT");
  EXPECT_EQ(ResolveNoCase(root_ + "Readme.txt"), root_ + "Readme.txt");
  EXPECT_EQ(ResolveNoCase(root_ + "README.TXT"), root_ + "README.TXT");
  // No exact match: the same one of the two every time.
  EXPECT_EQ(ResolveNoCase(root_ + "readme.txt"), root_ + "README.TXT");
}

TEST_F(PathsTest, ResolveNoCaseIgnoresNamesTheCodePageCannotSpell) {
  MakeFile("\xE4\xB8\xAD.htm");  // a CJK name: "?.htm" in Windows-1252
  EXPECT_EQ(ResolveNoCase(root_ + "?.htm"), "");
  EXPECT_EQ(ResolveNoCase(root_ + "?.HTM"), "");
}

TEST_F(PathsTest, ResolveNoCaseOfRelativePaths) {
  MakeFile("Docs/Page.htm");
  const fs::path before = fs::current_path();
  fs::current_path(root_);
  const std::string found = ResolveNoCase("docs/page.HTM");
  const std::string dotted = ResolveNoCase("./DOCS/page.htm");
  fs::current_path(before);
  EXPECT_EQ(found, "Docs/Page.htm");
  EXPECT_EQ(dotted, "./Docs/Page.htm");
}

TEST_F(PathsTest, FixNameCaseRenamesOnlyASingleMatch) {
  struct Case {
    const char* name;
    std::vector<std::string> files;  // UTF-8 on disk, each holding its own name
    std::string wanted;              // Windows-1252
    std::string former;
    std::vector<std::string> after;
  } cases[] = {
      {"one match takes the letter cases", {"TESTPROJ.RES"}, "testproj.res", "TESTPROJ.RES",
       {"testproj.res"}},
      {"two that differ in case: neither renamed, neither lost", {"x.RES", "x.res"}, "x.Res", "",
       {"x.RES", "x.res"}},
      {"already right", {"Direct.Inc"}, "Direct.Inc", "", {"Direct.Inc"}},
      {"no match", {"other.pas"}, "prog.cfg", "", {"other.pas"}},
      {"a name the code page spells", {"Caf\xC3\xA9.DOF"}, "caf\xE9.dof", "Caf\xE9.DOF",
       {"caf\xC3\xA9.dof"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string folder = root_ + c.name + "/";
    MakeDir(std::string(c.name));
    for (const std::string& file : c.files) std::ofstream(folder + file) << file;
    EXPECT_EQ(FixNameCase(folder, c.wanted), c.former);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, c.after);
    if (c.files.size() == 2) {
      // Each kept its own contents.
      for (const std::string& file : c.files) {
        std::ifstream in(folder + file);
        std::string text;
        in >> text;
        EXPECT_EQ(text, file);
      }
    }
  }
}

TEST_F(PathsTest, ListFilesSortsMatchingFilesOnly) {
  for (const char* name : {"b.HTML", "a.htm", "c.txt", "Z.Htm", "noext", "\xE4\xB8\xAD.htm"}) {
    MakeFile(name);
  }
  MakeDir("folder.htm");
  fs::create_symlink(root_ + "a.htm", root_ + "link.htm");
  fs::create_symlink(root_ + "gone.htm", root_ + "dangling.htm");
  using Names = std::vector<std::string>;
  EXPECT_EQ(ListFiles(root_, "*.htm"), (Names{"a.htm", "b.HTML", "link.htm", "Z.Htm"}));
  EXPECT_EQ(ListFiles(root_.substr(0, root_.size() - 1), "*.TXT|noext"), (Names{"c.txt", "noext"}));
  EXPECT_EQ(ListFiles(root_, "*.*").size(), 6u);
  EXPECT_TRUE(ListFiles(root_ + "missing", "*.*").empty());
}

TEST_F(PathsTest, FileAndDirectoryExist) {
  MakeFile("file.txt");
  MakeDir("folder");
  fs::create_symlink(root_ + "file.txt", root_ + "link");
  fs::create_symlink(root_ + "gone", root_ + "dangling");
  MakeFile("Caf\xC3\xA9.txt");
  struct Case {
    std::string path;
    bool file;
    bool dir;
  } cases[] = {
      {root_ + "file.txt", true, false},   {root_ + "folder", false, true},
      {root_ + "folder/", false, true},    {root_ + "link", true, false},
      {root_ + "dangling", false, false},  {root_ + "missing", false, false},
      {root_ + "file.txt/", false, false}, {root_ + "Caf\xE9.txt", true, false},
      {root_ + "FILE.TXT", false, false},  {"", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileExists(c.path), c.file) << c.path;
    EXPECT_EQ(DirectoryExists(c.path), c.dir) << c.path;
  }
}

TEST(PathNames, RelativePathStepsUpThenDown) {
  struct Case {
    const char* folder;
    const char* path;
    const char* relative;
  } cases[] = {
      {"/site/", "/site/a.png", "a.png"},
      {"/site/", "/site/Images/a.png", "Images/a.png"},
      {"/site/a/b/", "/site/pics/x.png", "../../pics/x.png"},
      {"/site/a/", "/site/a/b/c/x.png", "b/c/x.png"},
      // A folder whose name begins like another's is not that folder.
      {"/site/ab/", "/site/abc/x.png", "../abc/x.png"},
  };
  for (const Case& c : cases) EXPECT_EQ(RelativePath(c.folder, c.path), c.relative) << c.path;
  EXPECT_TRUE(IsWithinFolder("/site/x.png", "/site/"));
  EXPECT_TRUE(IsWithinFolder("/site", "/site/"));
  EXPECT_FALSE(IsWithinFolder("/site2/x.png", "/site/"));
  EXPECT_FALSE(IsWithinFolder("/site/x.png", "/site"));
}

TEST_F(PathsTest, CanonicalPathFollowsLinksAndSteps) {
  MakeDir("real/sub");
  MakeFile("real/sub/x.png");
  fs::create_directory_symlink(root_ + "real", root_ + "link");
  const std::string real = fs::canonical(root_ + "real").string() + "/";
  struct Case {
    std::string path;
    std::string canonical;
  } cases[] = {
      {root_ + "link/sub/x.png", real + "sub/x.png"},
      {root_ + "real/sub/../sub/./x.png", real + "sub/x.png"},
      {root_ + "link/", real},
      // What does not exist yet is normalised as written.
      {root_ + "link/new/../y.png", real + "y.png"},
  };
  for (const Case& c : cases) EXPECT_EQ(CanonicalPath(c.path), c.canonical) << c.path;
}

TEST(Folders, DocumentsFolderIsMadeWhenMissing) {
  const std::string expected =
      QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString() + "/";
  fs::remove_all(expected);
  EXPECT_EQ(DocumentsFolder(), expected);
  EXPECT_TRUE(DirectoryExists(expected));
}

TEST(Folders, ExecutableDirHoldsTheRunningProgram) {
  const std::string dir = ExecutableDir();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '/');
  EXPECT_TRUE(FileExists(dir + "test_platform"));
}

// TempFolder reads the environment; each test sets its own and puts it back.
class TempFolderTest : public PathsTest {
 protected:
  void SetUp() override {
    PathsTest::SetUp();
    Save("XDG_RUNTIME_DIR");
    Save("TMPDIR");
    MakeDir("runtime");
    chmod((root_ + "runtime").c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", (root_ + "runtime").c_str(), 1);
  }
  void TearDown() override {
    for (auto& [name, value] : saved_) {
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
    }
    PathsTest::TearDown();
  }
  void Save(const std::string& name) {
    const char* value = getenv(name.c_str());
    saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
  }
  static int ModeOf(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
  }

  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(TempFolderTest, PrivateFolderInTheRuntimeFolder) {
  const std::string folder = TempFolder();
  EXPECT_EQ(folder, root_ + "runtime/Quorrel/");
  EXPECT_EQ(ModeOf(folder), 0700);
  EXPECT_EQ(TempFolder(), folder);  // the second call finds it
}

TEST_F(TempFolderTest, WithoutARuntimeFolderAUserFolderInTheSystemTemp) {
  unsetenv("XDG_RUNTIME_DIR");
  MakeDir("tmp");
  setenv("TMPDIR", (root_ + "tmp").c_str(), 1);
  const std::string folder = TempFolder();
  EXPECT_EQ(folder, root_ + "tmp/Quorrel-" + std::to_string(geteuid()) + "/");
  EXPECT_EQ(ModeOf(folder), 0700);
}

TEST_F(TempFolderTest, LooseModeIsTightened) {
  MakeDir("runtime/Quorrel");
  chmod((root_ + "runtime/Quorrel").c_str(), 0777);
  EXPECT_EQ(ModeOf(TempFolder()), 0700);
}

TEST_F(TempFolderTest, SymbolicLinkIsRefused) {
  MakeDir("elsewhere");
  fs::create_symlink(root_ + "elsewhere", root_ + "runtime/Quorrel");
  EXPECT_THROW(TempFolder(), std::runtime_error);
  fs::remove(root_ + "runtime/Quorrel");
  fs::create_symlink(root_ + "missing", root_ + "runtime/Quorrel");  // not even made through it
  EXPECT_THROW(TempFolder(), std::runtime_error);
  EXPECT_FALSE(fs::exists(root_ + "missing"));
}

TEST_F(TempFolderTest, FolderOfAnotherUserIsRefused) {
  MakeDir("runtime/Quorrel");
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a folder to another user";
  ASSERT_EQ(chown((root_ + "runtime/Quorrel").c_str(), 65534, 65534), 0);
  try {
    TempFolder();
    FAIL() << "a folder of another user was used";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("another user"), std::string::npos) << e.what();
  }
}

TEST_F(TempFolderTest, PlainFileIsRefused) {
  MakeFile("runtime/Quorrel");
  EXPECT_THROW(TempFolder(), std::runtime_error);
}

TEST_F(TempFolderTest, WhatLiesInIt) {
  const std::string folder = TempFolder();
  EXPECT_TRUE(InTempFolder(folder + "Quorrel.txt"));
  EXPECT_TRUE(InTempFolder(folder + "sub/page.htm"));
  EXPECT_FALSE(InTempFolder(root_ + "runtime/Quorrel2/page.htm"));  // a neighbour of like name
  EXPECT_FALSE(InTempFolder(root_ + "page.htm"));
  EXPECT_FALSE(InTempFolder(""));
  // A folder that cannot be used holds nothing, and asking is no error.
  fs::remove_all(root_ + "runtime/Quorrel");
  MakeFile("runtime/Quorrel");
  EXPECT_FALSE(InTempFolder(folder + "Quorrel.txt"));
}

}  // namespace
}  // namespace quorrel
