// The idle pass on the tests' main window and editor, with the passes' clock
// driven by the test: the gate, the message bar's life, deferred colouring, the
// CSS preview, sections, markers, the one-shot actions of the command line and
// the state the pass puts right at its end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "commands/IdleLoop.h"
#include "commands/OpenDocs.h"
#include "edit/Sections.h"
#include "platform/IniFile.h"
#include "publish/ServerListing.h"
#include "publish/ServerWindow.h"
#include "shell/Documents.h"
#include "shell/DocumentsOpen.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "support/MemoryMainWindow.h"
#include "support/MemoryRich.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "validate/ColourScheme.h"
#include "validate/ColourSyntax.h"

namespace quorrel {
namespace {

class IdleLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    SetIdleClockForTests([this] { return now; });
    site = test::TestHome() + "site-idle/";
    std::filesystem::create_directories(site);
    SettingsIni = std::make_unique<TIniFile>(site + "settings.ini");
    AppPhase = 1;
    IdleReady = true;
  }
  void TearDown() override {
    SetMainWindow(nullptr);
    std::filesystem::remove_all(site);
  }

  std::string Write(const std::string& name, const std::string& text) {
    std::ofstream(site + name, std::ios::binary) << text;
    return site + name;
  }
  void Open(const std::string& name, const std::string& text) {
    OpenThis(Write(name, text));
    PCChange();
  }
  // One pass a little over a second after the last.
  void Pass() {
    now += 1000;
    OnIdle();
  }
  std::string Panel(int panel) { return window.StatusText(panel); }

  test::MemoryMainWindow window;
  std::string site;
  int64_t now = 5'000'000;
};

TEST_F(IdleLoopTest, PassesAreAtLeastTheGateApart) {
  Open("a.txt", "one\r\ntwo\r\n");
  Pass();
  EXPECT_EQ(Panel(LineColumnPanel), "  Line 1  Col. 1");
  CurrentEditor->Select(5, 0);
  now += IdleIntervalMs - 1;
  OnIdle();
  EXPECT_EQ(Panel(LineColumnPanel), "  Line 1  Col. 1") << "too soon after the last pass";
  now += 1;
  OnIdle();
  EXPECT_EQ(Panel(LineColumnPanel), "  Line 2  Col. 2");
}

TEST_F(IdleLoopTest, NothingHappensBeforeTheStartIsComplete) {
  Open("a.txt", "one\r\n");
  window.SetStatusText(LineColumnPanel, "");
  IdleReady = false;
  Pass();
  EXPECT_EQ(Panel(LineColumnPanel), "");
  IdleReady = true;
  AppPhase = 0;
  Pass();
  EXPECT_EQ(Panel(LineColumnPanel), "");
}

TEST_F(IdleLoopTest, AMessageBlinksAndLeavesAfterSixSeconds) {
  Open("a.txt", "text\r\n");
  ShowStatus("Saved");
  EXPECT_EQ(MessageColour, TMessageColour::Orange);
  std::vector<TMessageColour> colours;
  for (int i = 0; i < 4; ++i) {
    Pass();
    colours.push_back(MessageColour);
  }
  EXPECT_EQ(colours, (std::vector<TMessageColour>{TMessageColour::Red, TMessageColour::Normal,
                                                  TMessageColour::Red, TMessageColour::Normal}));
  Pass();
  Pass();
  EXPECT_EQ(Panel(MessagePanel), "  Saved") << "six seconds are not over";
  Pass();
  EXPECT_EQ(Panel(MessagePanel), "");
  EXPECT_EQ(MessageColour, TMessageColour::Normal);
}

TEST_F(IdleLoopTest, AMessageWrittenWithoutShowStatusLivesItsSixSecondsFromThePassThatSeesIt) {
  Open("a.txt", "text\r\n");
  Pass();
  window.SetStatusText(MessagePanel, "  Set: Work");
  now += 60'000;  // long after the last stamp
  OnIdle();
  EXPECT_EQ(Panel(MessagePanel), "  Set: Work");
  EXPECT_EQ(MessageColour, TMessageColour::Orange);
  now += StatusLifetimeMs + 1;
  OnIdle();
  EXPECT_EQ(Panel(MessagePanel), "");
}

TEST_F(IdleLoopTest, WithShowHexTheCaretsCharacterIsShownWithoutBlinking) {
  TMenuItem hex;
  hex.name = ShowHexItem;
  hex.checkable = true;
  hex.checked = true;
  MainMenu().AddItem("EditMenu", std::move(hex));
  Open("a.txt", "Az\r\n");
  CurrentEditor->Select(1, 0);
  Pass();
  EXPECT_EQ(Panel(MessagePanel), "    z  7A  122");
  Pass();
  EXPECT_EQ(MessageColour, TMessageColour::Normal);
}

TEST_F(IdleLoopTest, ColouringWaitsForTheIdlePassUnlessTheHtmlPageIsLong) {
  struct Case {
    std::string name;
    size_t size;
    bool coloured;
  } cases[] = {
      {"short.htm", 1000, true},
      {"long.htm", 100000, false},
      {"long.html", 150000, false},
      {"long.css", 150000, true},
  };
  for (const auto& c : cases) {
    Open(c.name, std::string(c.size - 2, 'x') + "\r\n");
    RequestRecolour(1);
    Pass();
    EXPECT_EQ(RecolourRequest == 0, c.coloured) << c.name;
    RecolourRequest = 0;
  }
}

TEST_F(IdleLoopTest, TheCssPreviewShowsTheRuleAroundTheCaretInItsColours) {
  Open("site.css", "p { color: #FFFFFF }\r\nh1 { background: #102030 }\r\nh2 { color: red }\r\n");
  Pass();  // the colouring asked for by the opening
  CurrentEditor->Select(5, 0);
  Pass();
  EXPECT_EQ(CurrentEditor->TextColour(), 0xFFFFFF);
  EXPECT_EQ(CurrentEditor->EditorColour(), 0x000000) << "black under a light colour";
  CurrentEditor->Select(26, 0);
  Pass();
  EXPECT_EQ(CurrentEditor->EditorColour(), 0x302010);
  EXPECT_EQ(CurrentEditor->TextColour(), 0xFFFFFF) << "white on a dark background";
  CurrentEditor->Select(55, 0);
  Pass();
  EXPECT_EQ(CurrentEditor->TextColour(), ColourScheme.defaultColour)
      << "a colour by name is no preview: the scheme's colours return";
  EXPECT_EQ(CurrentEditor->EditorColour(), ColourScheme.background);
  EXPECT_FALSE(CurrentEditor->Modified()) << "colours are no edit";
}

TEST_F(IdleLoopTest, AnotherFontGivesWayToTheEditorsFontAndEditsStayMarked) {
  Open("a.txt", "text\r\n");
  auto& editor = static_cast<test::MemoryRich&>(*CurrentEditor);
  editor.SetEditorFont("Arial", 20, true);
  editor.SetModified(true);
  Pass();
  EXPECT_EQ(editor.FontName(), ColourScheme.fontName);
  EXPECT_EQ(editor.FontSize(), ColourScheme.fontSize);
  EXPECT_TRUE(editor.Modified()) << "unsaved edits are not forgotten";
  // RTF documents keep their fonts.
  editor.SetEditorFont("Calibri", 12, false);
  IsRtf = true;
  Pass();
  EXPECT_EQ(editor.FontName(), "Calibri");
}

TEST_F(IdleLoopTest, TheSectionOfTheCaretInTheStatusBar) {
  Open("page.htm", "<html>\n<script>\nx = 1;\n</script>\n</html>\n");
  MainMenu().SetEnabled("Sections", true);
  SectionLines = {"0", "7", "32"};
  SectionCaptions = {"HTML", "Script", "HTML\tend"};
  CurrentEditor->Select(10, 0);
  Pass();
  EXPECT_EQ(Panel(SectionPanel), "Section: Script");
  EXPECT_TRUE(InScriptOrStyle);
  CurrentEditor->Select(35, 0);
  Pass();
  EXPECT_EQ(Panel(SectionPanel), "Section: HTML   end") << "a tab shows as three blanks";
  EXPECT_FALSE(InScriptOrStyle);
  MainMenu().SetEnabled("Sections", false);  // not available for the document's type
  Pass();
  EXPECT_EQ(Panel(SectionPanel), "");
}

TEST_F(IdleLoopTest, AfterASectionIsChosenThePassBuildsTheWholeListAgain) {
  Open("s.ini", "[Alpha]\r\na=1\r\n[Beta]\r\nb=2\r\n");
  InstallSectionCommands();
  SectionTypeAhead = "B";
  SectionsClick(TypeAheadCommand);  // one left: chosen at once
  EXPECT_TRUE(SectionLines.empty());
  Pass();
  EXPECT_TRUE(SectionTypeAhead.empty());
  EXPECT_EQ(SectionLines, std::vector<std::string>({"1", "15"}));
  EXPECT_EQ(Panel(SectionPanel), "Section: Beta");
}

TEST_F(IdleLoopTest, AMarkerWhoseTextWentShowsItsMessageOnceAndStays) {
  Open("a.txt", "alpha\r\nbeta\r\ngamma\r\n");
  Markers[3].position = 7;  // "beta"
  Pass();
  EXPECT_EQ(Markers[3].text, "beta\r\ngamma\r\n");
  // Text typed before the marker moves it along.
  CurrentEditor->Select(0, 0);
  CurrentEditor->SetSelText("12");
  Pass();
  EXPECT_EQ(Markers[3].position, 9);
  // Its text edited away, far from the caret.
  CurrentEditor->Select(EditorPosOf(9), 4);
  CurrentEditor->SetSelText("BETA");
  CurrentEditor->Select(0, 0);
  Pass();
  EXPECT_EQ(Panel(MessagePanel), "  Marker 3 not found.  Modified");
  EXPECT_EQ(Markers[3].position, 9);
  window.SetStatusText(MessagePanel, "");
  Pass();
  Pass();
  EXPECT_NE(Panel(MessagePanel), "  Marker 3 not found.  Modified") << "once";
  EXPECT_EQ(Markers[3].text, "BETA\r\ngamma\r\n") << "the text now there is kept";
}

TEST_F(IdleLoopTest, WithNoDocumentTheCaptionIsTheProgramsName) {
  window.SetCaption("old");
  Pass();
  EXPECT_EQ(window.Caption(), "Quorrel");
  EXPECT_EQ(LastIdleTime, 0) << "the next pass comes at once";
  EXPECT_FALSE(MainMenu().Item("ServerM").enabled) << "no tabs, no server window";
  Open("a.txt", "x\r\n");
  Pass();
  EXPECT_TRUE(MainMenu().Item("ServerM").enabled);
}

TEST_F(IdleLoopTest, TheBusyStateEndsAtThePass) {
  Open("a.txt", "x\r\n");
  BeginBusy();
  EXPECT_TRUE(Busy);
  EXPECT_FALSE(CurrentEditor->Redraw());
  Pass();
  EXPECT_FALSE(Busy);
  EXPECT_TRUE(CurrentEditor->Redraw());
  EXPECT_FALSE(window.BusyCursor());
}

TEST_F(IdleLoopTest, TheSetModeMaximisesAndOpensTheSetDialogOnce) {
  Open("a.txt", "x\r\n");
  int asked = 0;
  MainMenu().SetHandler("SetOpen", [&](const TMenuItem&) { ++asked; });
  StartMode = 'E';
  window.SetTabsVisible(false);
  Pass();
  Pass();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(StartMode, ' ');
  EXPECT_TRUE(window.TabsVisible());
}

TEST_F(IdleLoopTest, PrintAndQuitPrintsThenEndsTheProgram) {
  EXPECT_FALSE(StartModeAvailable('P')) << "no print command yet";
  int printed = 0;
  MainMenu().SetHandler("Print", [&](const TMenuItem&) { ++printed; });
  EXPECT_TRUE(StartModeAvailable('P'));
  Open("a.txt", "x\r\n");
  PrintAndQuit = true;
  Pass();
  EXPECT_EQ(printed, 1);
  EXPECT_TRUE(window.Terminated());
}

TEST_F(IdleLoopTest, TheServerModeShowsTheServerWindowThenEndsTheProgram) {
  struct TShownOnce : TServerView {
    void ListingChanged() override {}
    void ShowCounter(const std::string&) override {}
    bool IsActive() const override { return shown > 0; }
    void ShowModal() override { ++shown; }
    void Close() override {}
    int shown = 0;
  } view;
  SetServerView(&view);
  InstallServerWindowCommand();
  ASSERT_TRUE(StartModeAvailable('S'));
  StartMode = 'S';
  Pass();
  SetServerView(nullptr);
  EXPECT_EQ(view.shown, 1);
  EXPECT_TRUE(window.Terminated());
  EXPECT_EQ(StartMode, ' ');
}

TEST_F(IdleLoopTest, TheReformatterModeValidatesTheDocumentOnce) {
  Open("unit.txt", "text\r\n");
  StartMode = 'X';
  Pass();
  EXPECT_EQ(StartMode, 'R');
  EXPECT_EQ(Panel(MessagePanel), "  Validated");
  Pass();
  EXPECT_EQ(StartMode, 'R') << "once";
}

TEST_F(IdleLoopTest, AnErrorInThePassIsShownAndTheWindowComesBack) {
  Open("a.txt", "x\r\n");
  IdleHooks().tableRefresh = []() -> bool { throw std::runtime_error("Grid is gone"); };
  window.SetTabsVisible(false);
  Pass();
  EXPECT_EQ(test::Dialogs().Texts().back().find("Grid is gone") != std::string::npos, true);
  EXPECT_TRUE(window.TabsVisible());
  EXPECT_NE(window.SplashState(), test::MemoryMainWindow::Splash::Shown);
}

}  // namespace
}  // namespace quorrel
