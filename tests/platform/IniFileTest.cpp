#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/IniFile.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// A file a Windows program could have written: a line before the first section,
// blanks around names and values, quotes, a duplicate key, a comment, a line
// without "=", a blank line and one line with a bare LF.
const char kWindowsFile[] =
    "ignored=before any section\r\n"
    "[Main]\r\n"
    "  Key One = value with blanks  \r\n"
    "Q=\"quoted\"\r\n"
    "S='single'\r\n"
    "Dup=first\r\n"
    "dup=second\r\n"
    ";comment=not a key\r\n"
    "no equals sign\r\n"
    "\r\n"
    "[Other]\n"
    "k=v\r\n";

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = test::TestHome() + "ini-XXXXXX";
    ASSERT_TRUE(mkdtemp(pattern.data()));
    dir_ = pattern + "/";
    path_ = dir_ + "Quorrel.Ini";
  }
  void TearDown() override { fs::remove_all(dir_); }

  void WriteFile(const std::string& text, const std::string& path = "") {
    std::ofstream(path.empty() ? path_ : path, std::ios::binary) << text;
  }
  std::string FileText(const std::string& path = "") {
    std::ifstream in(path.empty() ? path_ : path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  Names FolderNames() {
    Names names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string dir_;
  std::string path_;
};

TEST_F(IniFileTest, ReadsAFileAsWindowsDoes) {
  WriteFile(kWindowsFile);
  TIniFile ini(path_);
  EXPECT_EQ(ini.ReadString("Main", "Key One", "-"), "value with blanks");
  EXPECT_EQ(ini.ReadString("MAIN", "key one", "-"), "value with blanks");
  EXPECT_EQ(ini.ReadString("main", "Q", "-"), "quoted");
  EXPECT_EQ(ini.ReadString("main", "S", "-"), "single");
  EXPECT_EQ(ini.ReadString("main", "DUP", "-"), "first");
  EXPECT_EQ(ini.ReadString("main", ";comment", "-"), "-");
  EXPECT_EQ(ini.ReadString("main", "no equals sign", "-"), "-");
  EXPECT_EQ(ini.ReadString("other", "K", "-"), "v");
  EXPECT_EQ(ini.ReadString("", "ignored", "-"), "-");
  EXPECT_EQ(ini.ReadSections(), (Names{"Main", "Other"}));
  EXPECT_EQ(ini.ReadSection("main"), (Names{"Key One", "Q", "S", "Dup"}));
  EXPECT_EQ(ini.ReadSectionValues("MAIN"),
            (Names{"Key One=value with blanks", "Q=quoted", "S=single", "Dup=first"}));
  EXPECT_TRUE(ini.SectionExists("OTHER"));
  EXPECT_FALSE(ini.SectionExists("Missing"));
  EXPECT_TRUE(ini.ValueExists("Main", "dup"));
  EXPECT_FALSE(ini.ValueExists("Main", "Missing"));
  EXPECT_FALSE(ini.ValueExists("Missing", "k"));
  EXPECT_TRUE(ini.ReadSection("Missing").empty());
}

TEST_F(IniFileTest, WritesChangeOnlyTheirLine) {
  WriteFile(kWindowsFile);
  TIniFile ini(path_);
  ini.WriteString("MAIN", "q", "new");       // the stored spelling of the key stays
  ini.WriteString("main", "Added", "1");     // after the last line that is not blank
  ini.WriteString("New Section", "A", "b");  // at the end
  EXPECT_EQ(FileText(),
            "ignored=before any section\r\n"
            "[Main]\r\n"
            "  Key One = value with blanks  \r\n"
            "Q=new\r\n"
            "S='single'\r\n"
            "Dup=first\r\n"
            "dup=second\r\n"
            ";comment=not a key\r\n"
            "no equals sign\r\n"
            "Added=1\r\n"
            "\r\n"
            "[Other]\r\n"
            "k=v\r\n"
            "[New Section]\r\n"
            "A=b\r\n");
}

TEST_F(IniFileTest, ValuesReadBackExactly) {
  std::string allHigh;
  for (int b = 0x80; b < 0x100; ++b) allHigh += static_cast<char>(b);
  const std::string values[] = {
      "",
      "plain",
      " leading",
      "trailing ",
      "\ttab",
      "\"quoted\"",
      "'single'",
      "\"",
      "\"\"",
      "a\"b\"",
      "\"mixed'",
      "x=y=z",
      ";semicolon",
      "[bracket]",
      "  \"both\"  ",
      allHigh,
      "<Div Class=Page>",
  };
  {
    TIniFile ini(path_);
    for (size_t i = 0; i < std::size(values); ++i) {
      ini.WriteString("Values", "K" + std::to_string(i), values[i]);
      EXPECT_EQ(ini.ReadString("Values", "K" + std::to_string(i), "-"), values[i]) << i;
    }
  }
  TIniFile fresh(path_);  // read again from the disk
  fresh.Reload();
  for (size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(fresh.ReadString("Values", "K" + std::to_string(i), "-"), values[i]) << i;
  }
}

TEST_F(IniFileTest, LineBreaksCannotInjectLines) {
  TIniFile ini(path_);
  ini.WriteString("Find", "0", "first line\r\n[System]\r\nRunning=1");
  EXPECT_EQ(ini.ReadString("Find", "0", "-"), "first line");
  EXPECT_FALSE(ini.SectionExists("System"));
  EXPECT_EQ(FileText(), "[Find]\r\n0=first line\r\n");
}

TEST_F(IniFileTest, NamesThatCannotBeStoredAreRefused) {
  TIniFile ini(path_);
  ini.WriteString("Sets", "Good", "Y");
  const std::string before = FileText();
  struct Case {
    std::string section;
    std::string key;
  } cases[] = {
      {"Sets", "a=b"}, {"Sets", "[System]"}, {"Sets", ";x"},  {"Sets", ""},
      {"Sets", "  "},  {"Sets", "a\nb"},     {"a\r\nb", "k"},
  };
  for (const Case& c : cases) {
    try {
      ini.WriteString(c.section, c.key, "Y");
      ADD_FAILURE() << "stored [" << c.section << "] " << c.key;
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Unable to write settings file " + path_, 0), 0u);
    }
  }
  EXPECT_EQ(FileText(), before);
}

TEST_F(IniFileTest, SectionNamesMayHoldBrackets) {
  const std::string section = "/home/u/site/a]b [old].htm";
  TIniFile ini(path_);
  ini.WriteString(section, "0", "12");
  ini.Reload();
  EXPECT_EQ(ini.ReadInteger(section, "0", -1), 12);
  EXPECT_EQ(ini.ReadSections(), Names{section});
}

TEST_F(IniFileTest, NamesCompareWithoutRegardToCase) {
  TIniFile ini(path_);
  ini.WriteString("System", "Running", "1");
  ini.WriteString("SYSTEM", "RUNNING", "0");
  ini.WriteString("Caf\xE9", "\xE9t\xE9", "x");
  EXPECT_EQ(ini.ReadString("system", "running", "-"), "0");
  EXPECT_EQ(ini.ReadString("CAF\xC9", "\xC9T\xC9", "-"), "x");
  EXPECT_EQ(ini.ReadString(" System ", " Running ", "-"), "0");
  EXPECT_EQ(FileText(), "[System]\r\nRunning=0\r\n[Caf\xE9]\r\n\xE9t\xE9=x\r\n");
}

TEST_F(IniFileTest, MissingFileReadsEmptyAndIsMadeByTheFirstWrite) {
  TIniFile ini(path_);
  EXPECT_EQ(ini.ReadString("System", "Zoom", "100"), "100");
  EXPECT_TRUE(ini.ReadSections().empty());
  ini.DeleteKey("System", "Zoom");
  ini.EraseSection("System");
  EXPECT_FALSE(fs::exists(path_)) << "only a change writes the file";
  ini.WriteInteger("System", "Zoom", 150);
  EXPECT_EQ(FileText(), "[System]\r\nZoom=150\r\n");
}

TEST_F(IniFileTest, IntegersAndBooleans) {
  struct Case {
    const char* text;
    int value;  // INT_MIN + 1 stands for "the default"
  } cases[] = {
      {"12", 12},
      {"-5", -5},
      {"+7", 7},
      {"0x1F", 31},
      {"0XFF", 255},
      {"$10", 16},
      {"0xFFFFFFFF", -1},
      {" 42 ", 42},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"2147483648", INT_MIN + 1},
      {"99999999999", INT_MIN + 1},
      {"0x100000000", INT_MIN + 1},
      {"12abc", INT_MIN + 1},
      {"", INT_MIN + 1},
      {"abc", INT_MIN + 1},
      {"0x", INT_MIN + 1},
      {"-", INT_MIN + 1},
      {"1.5", INT_MIN + 1},
      {"0x-1", INT_MIN + 1},
  };
  TIniFile ini(path_);
  for (const Case& c : cases) {
    ini.WriteString("N", "k", c.text);
    EXPECT_EQ(ini.ReadInteger("N", "k", INT_MIN + 1), c.value) << c.text;
  }
  EXPECT_EQ(ini.ReadInteger("N", "missing", 7), 7);

  struct BoolCase {
    const char* text;
    bool whenDefaultFalse;
    bool whenDefaultTrue;
  } bools[] = {
      {"1", true, true},     {"0", false, false},   {"2", true, true}, {"-1", true, true},
      {"0x0", false, false}, {"true", false, true}, {"", false, true},
  };
  for (const BoolCase& c : bools) {
    ini.WriteString("B", "k", c.text);
    EXPECT_EQ(ini.ReadBool("B", "k", false), c.whenDefaultFalse) << c.text;
    EXPECT_EQ(ini.ReadBool("B", "k", true), c.whenDefaultTrue) << c.text;
  }
  ini.EraseSection("B");
  ini.WriteBool("B", "On", true);
  ini.WriteBool("B", "Off", false);
  EXPECT_EQ(ini.ReadSectionValues("B"), (Names{"On=1", "Off=0"}));
}

TEST_F(IniFileTest, DeleteKeyAndEraseSection) {
  WriteFile(kWindowsFile);
  TIniFile ini(path_);
  ini.DeleteKey("main", "DUP");  // every copy goes, so the key is really gone
  EXPECT_FALSE(ini.ValueExists("Main", "Dup"));
  EXPECT_EQ(ini.ReadSection("Main"), (Names{"Key One", "Q", "S"}));
  ini.EraseSection("MAIN");
  EXPECT_FALSE(ini.SectionExists("Main"));
  EXPECT_EQ(ini.ReadSections(), Names{"Other"});
  EXPECT_EQ(FileText(), "ignored=before any section\r\n[Other]\r\nk=v\r\n");
  ini.WriteString("Main", "New", "1");
  EXPECT_EQ(ini.ReadSection("Main"), Names{"New"});
}

TEST_F(IniFileTest, TwoObjectsOnOneFileAgree) {
  TIniFile a(path_);
  TIniFile b(dir_ + "./Quorrel.Ini");
  a.WriteString("System", "Zoom", "120");
  EXPECT_EQ(b.ReadString("System", "Zoom", "100"), "120");
  b.DeleteKey("System", "Zoom");
  EXPECT_FALSE(a.ValueExists("System", "Zoom"));

  fs::create_directory_symlink(dir_, dir_ + "linked");
  TIniFile c(dir_ + "linked/Quorrel.Ini");
  c.WriteString("System", "Left", "5");
  EXPECT_EQ(a.ReadInteger("System", "Left", 0), 5);
}

// The exit sequence: the main settings object writes and goes, then the settings
// object on the same file writes the options. Nothing of the first may be undone.
TEST_F(IniFileTest, ReleasedObjectsWritesSurviveTheOthersWrites) {
  WriteFile("[System]\r\nRunning=1\r\nVersion=1.920\r\n");
  auto settingsIni = std::make_unique<TIniFile>(path_);
  EXPECT_TRUE(settingsIni->ReadBool("System", "Running", false));
  {
    TIniFile mainIni(path_);
    mainIni.WriteString("System", "Version", "1.921");
    mainIni.WriteString("System", "ThisSet", "Work");
    mainIni.DeleteKey("System", "Running");
  }
  settingsIni->WriteBool("System", "WordWrap", true);
  settingsIni.reset();
  TIniFile next(path_);
  EXPECT_FALSE(next.ValueExists("System", "Running"));
  EXPECT_EQ(next.ReadString("System", "Version", ""), "1.921");
  EXPECT_EQ(next.ReadString("System", "ThisSet", ""), "Work");
  EXPECT_TRUE(next.ReadBool("System", "WordWrap", false));
}

TEST_F(IniFileTest, ChangesMadeByOtherProgramsAreSeen) {
  TIniFile ini(path_);
  ini.WriteString("System", "Zoom", "100");
  // The user edits the file in an editor that saves in place ...
  WriteFile("[System]\r\nZoom=100\r\nTyped=by hand\r\n");
  EXPECT_EQ(ini.ReadString("System", "Typed", "-"), "by hand");
  // ... or through a new file.
  WriteFile("[System]\r\nZoom=90\r\nTyped=again\r\n", dir_ + "new");
  fs::rename(dir_ + "new", path_);
  ini.WriteString("System", "Left", "1");
  EXPECT_EQ(FileText(), "[System]\r\nZoom=90\r\nTyped=again\r\nLeft=1\r\n");
  fs::remove(path_);
  EXPECT_EQ(ini.ReadString("System", "Zoom", "gone"), "gone");
}

TEST_F(IniFileTest, WritesReplaceTheFileWhole) {
  TIniFile ini(path_);
  for (int i = 0; i < 50; ++i) ini.WriteInteger("S", "K" + std::to_string(i), i);
  EXPECT_EQ(FolderNames(), (Names{".Quorrel.Ini.lock", "Quorrel.Ini"}))
      << "no temporary file is left; the lock file stays for the next write";
  struct stat before, after;
  ASSERT_EQ(stat(path_.c_str(), &before), 0);
  ini.WriteInteger("S", "K0", 100);
  ASSERT_EQ(stat(path_.c_str(), &after), 0);
  EXPECT_NE(before.st_ino, after.st_ino) << "written through a new file and a rename";
  EXPECT_EQ(FolderNames(), (Names{".Quorrel.Ini.lock", "Quorrel.Ini"}));
}

// A write killed half-way leaves its copy (mode 0600, perhaps holding a password)
// beside the file; the next write removes it. Other hidden files stay.
TEST_F(IniFileTest, CopiesThatKilledWritesLeftAreRemovedByTheNextWrite) {
  TIniFile ini(path_);
  ini.WriteString("1", "Password", "C6C5C4");
  for (const char* left : {".Quorrel.Ini.a1B2c3", ".Quorrel.Ini.ZZ9900"}) {
    WriteFile("[1]\r\nPassword=C6C5C4\r\n", dir_ + left);
    chmod((dir_ + left).c_str(), 0600);
  }
  WriteFile("mine", dir_ + ".Quorrel.Ini.backup1");  // not a copy's name
  WriteFile("mine", dir_ + ".Other.Ini.a1B2c3");     // another file's copy
  ini.WriteString("1", "User", "me");
  EXPECT_EQ(FolderNames(), (Names{".Other.Ini.a1B2c3", ".Quorrel.Ini.backup1", ".Quorrel.Ini.lock",
                                  "Quorrel.Ini"}));
}

TEST_F(IniFileTest, FailedWriteIsReportedAndLeavesNothingBehind) {
  TIniFile inMissingFolder(dir_ + "missing/Quorrel.Ini");
  try {
    inMissingFolder.WriteString("System", "Zoom", "100");
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Unable to write settings file " + dir_ + "missing/Quorrel.Ini");
  }
  EXPECT_FALSE(fs::exists(dir_ + "missing"));

  // The name is taken by something that is not a readable file.
  fs::create_directory(path_);
  TIniFile ini(path_);
  EXPECT_THROW(ini.WriteString("System", "Zoom", "100"), std::runtime_error);
  EXPECT_EQ(FolderNames(), (Names{".Quorrel.Ini.lock", "Quorrel.Ini"}))
      << "the temporary file is removed; the lock file stays for the next write";
  EXPECT_EQ(ini.ReadString("System", "Zoom", "unset"), "unset") << "memory agrees with the disk";
}

// Two instances of the program writing the one settings file at the same time:
// each write goes onto the other's, and a reader meanwhile sees whole files only,
// never losing a key it has seen.
TEST_F(IniFileTest, TwoProcessesWritingAtOnceKeepEveryKey) {
  constexpr int kKeys = 500;
  WriteFile("[Files]\r\nfirst=kept\r\n");
  int start[2];
  ASSERT_EQ(pipe(start), 0);
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = fork();
    ASSERT_GE(writers[w], 0);
    if (writers[w] == 0) {
      close(start[1]);
      char c;
      (void)!read(start[0], &c, 1);  // both start at once
      TIniFile ini(path_);
      try {
        for (int i = 0; i < kKeys; ++i) {
          ini.WriteString("Files", std::string(1, static_cast<char>('A' + w)) + std::to_string(i),
                          std::to_string(i));
        }
      } catch (...) {
        _exit(2);
      }
      _exit(0);
    }
  }
  close(start[0]);
  close(start[1]);  // the start signal

  TIniFile reader(path_);
  size_t seen = 0, lost = 0, torn = 0;
  int running = 2, status = 0;
  // Until both writers have ended, whatever goes wrong meanwhile.
  while (running > 0) {
    reader.Reload();
    const Names keys = reader.ReadSection("Files");
    if (keys.size() < seen) ++lost;
    if (keys.empty() || keys.front() != "first") ++torn;
    seen = keys.size();
    for (pid_t& pid : writers) {
      if (pid > 0 && waitpid(pid, &status, WNOHANG) == pid) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        pid = -1;
        --running;
      }
    }
  }
  EXPECT_EQ(lost, 0u) << "a write lost keys another had made";
  EXPECT_EQ(torn, 0u) << "a reader saw a file that was not whole";
  reader.Reload();
  EXPECT_EQ(reader.ReadSection("Files").size(), 1u + 2 * kKeys);
  for (int i = 0; i < kKeys; ++i) {
    ASSERT_EQ(reader.ReadInteger("Files", "A" + std::to_string(i), -1), i);
    ASSERT_EQ(reader.ReadInteger("Files", "B" + std::to_string(i), -1), i);
  }
  EXPECT_EQ(reader.ReadString("Files", "first", ""), "kept");
}

TEST_F(IniFileTest, WritesKeepModeAndSymbolicLinks) {
  WriteFile("[S]\r\n");
  chmod(path_.c_str(), 0640);
  {
    TIniFile ini(path_);
    ini.WriteString("S", "k", "v");
  }
  struct stat st;
  ASSERT_EQ(stat(path_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  fs::create_symlink(path_, dir_ + "Link.Ini");
  TIniFile viaLink(dir_ + "Link.Ini");
  viaLink.WriteString("S", "k", "through the link");
  EXPECT_TRUE(fs::is_symlink(dir_ + "Link.Ini"));
  EXPECT_EQ(FileText(), "[S]\r\nk=through the link\r\n");
}

TEST_F(IniFileTest, NewFileIsMadeAsOtherFilesAre) {
  const mode_t mask = umask(022);
  umask(mask);
  TIniFile ini(path_);
  ini.WriteString("S", "k", "v");
  struct stat st;
  ASSERT_EQ(stat(path_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0666u & ~mask) << "not the private mode of a temporary file";
}

// A file holding a password: whatever it was, each write leaves it to its owner,
// and a file others could read still reads.
TEST_F(IniFileTest, PrivateFilesAreWrittenForTheirOwnerAlone) {
  struct Case {
    const char* what;
    int before;   // the file's mode beforehand; -1: no file yet
    bool change;  // whether the write changes a value
  } cases[] = {
      {"a new file", -1, true},
      {"a file everyone could read", 0644, true},
      {"a file everyone could write", 0666, true},
      {"a file the group could read", 0640, true},
      {"a file already private", 0600, true},
      {"a wide file, written with the value it had", 0644, false},
  };
  for (const Case& c : cases) {
    fs::remove(path_);
    if (c.before >= 0) {
      WriteFile("[1]\r\nPassword=old\r\n");
      chmod(path_.c_str(), static_cast<mode_t>(c.before));
    }
    TIniFile ini(path_, TIniPrivacy::Private);
    if (c.before >= 0) {
      EXPECT_EQ(ini.ReadString("1", "Password", ""), "old") << c.what;
    }
    ini.WriteString("1", "Password", c.change ? "new" : "old");
    struct stat st;
    ASSERT_EQ(stat(path_.c_str(), &st), 0) << c.what;
    EXPECT_EQ(st.st_mode & 07777, 0600u) << c.what;
    EXPECT_EQ(FileText(), std::string("[1]\r\nPassword=") + (c.change ? "new" : "old") + "\r\n")
        << c.what;
  }

  // Another object on the same file, opened without saying so, writes privately too.
  chmod(path_.c_str(), 0644);
  TIniFile keeper(path_, TIniPrivacy::Private);
  TIniFile other(path_);
  other.WriteString("System", "Section", "1");
  struct stat st;
  ASSERT_EQ(stat(path_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

// A real file written by another program (timidity's desktop entry: UTF-8 bytes,
// keys with brackets, LF line ends): values read as they stand, and a write keeps
// every other line.
TEST_F(IniFileTest, RealDesktopEntry) {
  const std::string source = "/usr/share/applications/timidity.desktop";
  ASSERT_TRUE(fs::exists(source)) << "package timidity";
  const std::string original = FileText(source);
  WriteFile(original);
  TIniFile ini(path_);
  std::string expected;
  std::istringstream lines(original);
  for (std::string line; std::getline(lines, line);) {
    const size_t eq = line.find('=');
    if (eq != std::string::npos && line[0] != ';') {
      EXPECT_EQ(ini.ReadString("Desktop Entry", line.substr(0, eq), "-"), line.substr(eq + 1))
          << line;
    }
    expected += line + "\r\n";
  }
  EXPECT_EQ(ini.ReadString("desktop entry", "exec", ""), "/usr/bin/timidity -ia %F");
  ini.WriteString("Desktop Entry", "X-Quorrel", "1");
  EXPECT_EQ(FileText(), expected + "X-Quorrel=1\r\n");
}

// Every write replaces the whole file, so 10,000 writes one by one cost what writing
// those 10,000 growing files costs, and little more. Both are timed in one run, on
// a memory file system where there is one, so that the disk does not decide.
TEST_F(IniFileTest, ManyKeysWrittenOneByOneCostLittleMoreThanTheFiles) {
  std::string folder =
      fs::is_directory("/dev/shm") ? "/dev/shm/quorrel-ini-XXXXXX" : dir_ + "speed-XXXXXX";
  ASSERT_TRUE(mkdtemp(folder.data()));
  const auto line = [](int i) {
    return "Key" + std::to_string(i) + "=/home/user/site/page" + std::to_string(i) + "\r\n";
  };
  using Clock = std::chrono::steady_clock;

  auto start = Clock::now();
  std::string text = "[Files]\r\n";
  for (int i = 0; i < 10000; ++i) {
    text += line(i);
    const std::string temp = folder + "/plain.tmp";
    std::ofstream(temp, std::ios::binary) << text;
    fs::rename(temp, folder + "/plain.ini");
  }
  const double plain = std::chrono::duration<double>(Clock::now() - start).count();

  start = Clock::now();
  {
    TIniFile ini(folder + "/Quorrel.Ini");
    for (int i = 0; i < 10000; ++i) {
      ini.WriteString("Files", "Key" + std::to_string(i),
                      "/home/user/site/page" + std::to_string(i));
    }
    EXPECT_EQ(ini.ReadSection("Files").size(), 10000u);
    EXPECT_EQ(ini.ReadString("files", "KEY9999", ""), "/home/user/site/page9999");
  }
  const double ours = std::chrono::duration<double>(Clock::now() - start).count();
  EXPECT_EQ(FileText(folder + "/Quorrel.Ini"), text);
  fs::remove_all(folder);
  EXPECT_LT(ours, 3 * plain + 1.0) << "plain files " << plain << " s, settings " << ours << " s";
}

}  // namespace
}  // namespace quorrel
