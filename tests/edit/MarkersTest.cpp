// The ten markers of a document: set, removed and gone to through the marker list,
// kept in the settings file under the document's path, and cleared.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "commands/OpenDocs.h"
#include "edit/Markers.h"
#include "platform/IniFile.h"
#include "platform/Sound.h"
#include "shell/Closing.h"
#include "shell/Documents.h"
#include "shell/FileRoutines.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

class MarkersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    site = test::TestHome() + "site-markers/";
    fs::create_directories(site);
    SettingsIni = std::make_unique<TIniFile>(site + "settings.ini");
    InstallMarkerCommands();
    SetSoundPlayer([this](const std::string& name) { sounds.push_back(name); });
    SetMarkForm([this](bool setMode) {
      ++formsShown;
      lastSetMode = setMode;
      if (press >= 0) MarkerDigit(press, setMode);
    });
  }
  void TearDown() override {
    SetSoundPlayer(nullptr);
    SetMarkForm(nullptr);
    SetMainWindow(nullptr);
    fs::remove_all(site);
  }
  std::string Write(const std::string& name, const std::string& text) {
    test::WriteFile(site + name, text);
    return site + name;
  }
  void Open(const std::string& name, const std::string& text) {
    OpenThis(Write(name, text));
    PCChange();
  }
  void Activate(int tab) {
    window.ActivateTab(tab);
    PCChange();
  }
  // The caret to a CurrentText offset, then a digit of the marker list.
  void Press(const char* command, int digit, size_t offset) {
    CurrentEditor->Select(EditorPosOf(offset), 0);
    press = digit;
    MainMenu().Click(command);
  }

  test::MemoryMainWindow window;
  std::string site;
  std::vector<std::string> sounds;
  int press = -1;
  int formsShown = 0;
  bool lastSetMode = false;
};

TEST_F(MarkersTest, SettingAMarkerWhereItStandsRemovesIt) {
  const std::string text = "alpha\r\nbeta\r\ngamma\r\ndelta\r\n";
  struct Step {
    int digit;
    size_t offset;
  };
  struct Case {
    const char* what;
    std::vector<std::pair<int, long>> saved;  // markers in the file before
    std::vector<Step> presses;
    std::vector<long> positions;  // of markers 3 and 4 afterwards
    bool sectionKept;
  } cases[] = {
      {"twice at one place", {}, {{3, 7}, {3, 7}}, {-1, -1}, false},
      {"moved", {}, {{3, 7}, {3, 13}}, {13, -1}, true},
      {"two at one place", {}, {{3, 7}, {4, 7}}, {7, 7}, true},
      {"saved one removed", {{3, 7}}, {{3, 7}}, {-1, -1}, false},
      {"saved pair, one removed", {{3, 7}, {4, 13}}, {{3, 7}}, {-1, 13}, true},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = "doc" + std::to_string(++n) + ".txt";
    const std::string path = site + name;
    for (const auto& [digit, offset] : c.saved) {
      SettingsIni->WriteInteger(path, std::to_string(digit), static_cast<int>(offset));
    }
    if (!c.saved.empty()) SettingsIni->WriteString(path, "Date", "10-Dec-26");
    Open(name, text);
    for (const auto& p : c.presses) Press("SetMark", p.digit, p.offset);
    EXPECT_TRUE(lastSetMode);
    EXPECT_EQ(Markers[3].position, c.positions[0]);
    EXPECT_EQ(Markers[4].position, c.positions[1]);
    Open("other" + name, "x\r\n");  // leaving the document saves its markers
    EXPECT_EQ(SettingsIni->SectionExists(path), c.sectionKept);
    EXPECT_EQ(SettingsIni->ValueExists(path, "3"), c.positions[0] >= 0);
  }
}

TEST_F(MarkersTest, GotoGoesToASetMarkerAndSoundsForAnUnsetOne) {
  Open("doc.txt", "alpha\r\nbeta\r\n");
  Press("GotoMark", 1, 0);
  EXPECT_EQ(formsShown, 0) << "no marker set: no list";
  EXPECT_EQ(Dialogs().Texts().size(), 1u);
  EXPECT_NE(Dialogs().Last().text.find(NoMarkersMessage), std::string::npos);
  Dialogs().Clear();

  Press("SetMark", 1, 9);  // the "t" of "beta"
  EXPECT_TRUE(MainMenu().Item("ClearMark").enabled);
  Press("GotoMark", 2, 0);
  EXPECT_FALSE(lastSetMode);
  EXPECT_EQ(sounds, std::vector<std::string>({"SystemHand"}));
  EXPECT_EQ(CurrentEditor->SelStart(), 0u);
  Press("GotoMark", 1, 0);
  EXPECT_EQ(CurrentEditor->TextRange(CurrentEditor->SelStart(), 2), "ta");
  EXPECT_EQ(CurrentEditor->SelLength(), 0u);
}

TEST_F(MarkersTest, ClearAllKeepsSectionsThatAreNoPaths) {
  SettingsIni->WriteString("System", "Zoom", "100");
  SettingsIni->WriteInteger("C:\\old\\page.htm", "1", 4);  // not a path here
  SettingsIni->WriteInteger("Content", "2", 4);
  SettingsIni->WriteInteger(site + "elsewhere.txt", "0", 1);
  Write("elsewhere.txt", "x\r\n");
  Open("doc.txt", "alpha\r\nbeta\r\n");
  Press("SetMark", 0, 2);
  Open("doc2.txt", "beta\r\n");  // doc.txt's markers are written
  Activate(0);
  ASSERT_EQ(Markers[0].position, 2);

  MainMenu().Click("ClearMark");
  EXPECT_FALSE(SettingsIni->SectionExists(site + "doc.txt"));
  EXPECT_TRUE(SettingsIni->SectionExists(site + "elsewhere.txt")) << "this file only";
  EXPECT_EQ(Markers[0].position, -1);
  EXPECT_FALSE(MainMenu().Item("ClearMark").enabled);
  EXPECT_EQ(window.StatusText(MessagePanel), "  Markers removed from this file.");

  Press("SetMark", 6, 2);
  MainMenu().Click("ClearAll");
  EXPECT_EQ(Markers[6].position, -1);
  EXPECT_EQ(window.StatusText(MessagePanel), "  Markers removed from all files.");
  EXPECT_EQ(SettingsIni->ReadSections(),
            std::vector<std::string>({"System", "C:\\old\\page.htm", "Content"}));
  Open("doc3.txt", "x\r\n");
  EXPECT_FALSE(SettingsIni->SectionExists(site + "doc.txt")) << "nothing left to save";
}

TEST_F(MarkersTest, SectionsOfVanishedFilesGoButNotThoseOnAMissingMedium) {
  Write("kept.txt", "x\r\n");
  fs::create_directories(site + "folder");
  const std::string kept = site + "kept.txt";
  const std::string gone = site + "gone.txt";
  const std::string folder = site + "folder";  // a folder is no vanished file
  const std::string unmounted = "/media/not-mounted-here/page.htm";
  for (const std::string& section : {kept, gone, folder, unmounted}) {
    SettingsIni->WriteInteger(section, "1", 3);
  }
  Open("doc.txt", "alpha\r\n");
  Press("SetMark", 1, 0);
  EXPECT_TRUE(SettingsIni->SectionExists(kept));
  EXPECT_FALSE(SettingsIni->SectionExists(gone));
  EXPECT_TRUE(SettingsIni->SectionExists(folder));
  EXPECT_TRUE(SettingsIni->SectionExists(unmounted));
}

TEST_F(MarkersTest, MarkersReachTheFileOnDiskAndComeBackAfterARestart) {
  const std::string path = site + "doc.txt";
  Open("doc.txt", "alpha\r\nbeta\r\ngamma\r\n");
  Press("SetMark", 2, 7);
  Press("SetMark", 7, 13);
  Open("other.txt", "x\r\n");
  const std::string onDisk = test::ReadFile(site + "settings.ini");
  EXPECT_NE(
      onDisk.find("[" + path + "]\r\n2=7\r\n7=13\r\nDate=" + FormatShortDate(std::time(nullptr))),
      std::string::npos)
      << onDisk;
  EXPECT_EQ(FormatShortDate(std::time(nullptr)).size(), 9u);

  // A new run of the program: nothing of this one remains but the file.
  test::ResetAllState();
  test::MemoryMainWindow second;
  SetMainWindow(&second);
  SettingsIni = std::make_unique<TIniFile>(site + "settings.ini");
  InstallMarkerCommands();
  OpenThis(path);
  PCChange();
  EXPECT_EQ(Markers[2].position, 7);
  EXPECT_EQ(Markers[7].position, 13);
  EXPECT_EQ(Markers[0].position, -1);
  EXPECT_TRUE(MainMenu().Item("ClearMark").enabled);
  SetMainWindow(&window);
}

TEST_F(MarkersTest, AMarkerInACrLfTextReturnsToItsWordAfterReopening) {
  const std::string lf = test::ReadFile("/usr/share/common-licenses/GPL-3");
  ASSERT_FALSE(lf.empty()) << "base-files";
  std::string text;
  for (char c : lf) text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const size_t word = text.find("Preamble");
  ASSERT_NE(word, std::string::npos);
  Open("GPL-3.txt", text);
  Press("SetMark", 5, word);
  // The key is the offset of the text on disk, not the editor's position, which
  // counts one character per line end.
  EXPECT_EQ(Markers[5].position, static_cast<long>(word));
  EXPECT_LT(CurrentEditor->SelStart(), word);
  Open("other.txt", "x\r\n");

  test::ResetAllState();
  test::MemoryMainWindow second;
  SetMainWindow(&second);
  SettingsIni = std::make_unique<TIniFile>(site + "settings.ini");
  InstallMarkerCommands();
  OpenThis(site + "GPL-3.txt");
  PCChange();
  EXPECT_EQ(Markers[5].position, static_cast<long>(word));
  Press("GotoMark", 5, 0);
  EXPECT_EQ(CurrentEditor->TextRange(CurrentEditor->SelStart(), 8), "Preamble");
  SetMainWindow(&window);
}

TEST_F(MarkersTest, ClosingTheTabKeepsItsMarkers) {
  const std::string path = site + "closed.txt";
  Open("keep.txt", "x\r\n");
  Open("closed.txt", "alpha\r\nbeta\r\n");
  Press("SetMark", 4, 7);
  CloseClick("CloseTab");
  ASSERT_NE(CurrentFileName, path);
  EXPECT_EQ(SettingsIni->ReadInteger(path, "4", -1), 7);
  EXPECT_EQ(Markers[4].position, -1) << "the markers of the tab now current";
}

TEST(MarkerShownText, OneLineWithMarksForItsBreaks) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"\nnext line\r\nand\tmore", "next line \xBB and  more"},
      {"", "[End of file]"},
      {"\n", "[End of file]"},
      {"plain", "plain"},
  };
  for (const auto& c : cases) EXPECT_EQ(MarkerShownText(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace quorrel
