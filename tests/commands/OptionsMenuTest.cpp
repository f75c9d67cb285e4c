// The Options menu's commands, chosen from their items in a started program, and
// what of them a restarted program reads back from the settings file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "commands/OpenDocs.h"
#include "commands/OptionsMenu.h"
#include "commands/StartUp.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "shell/DBoxUnit.h"
#include "shell/Hooks.h"
#include "shell/MenuModel.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "validate/ColourScheme.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

class OptionsMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    docs = DocumentsFolder();
    site = test::TestHome() + "optionsite/";
    fs::create_directories(site);
    fs::remove(RegistryFileName());
  }
  void TearDown() override {
    SetMainWindow(nullptr);
    fs::remove_all(site);
    for (const auto& entry : fs::directory_iterator(docs)) {
      if (entry.path().extension() == ".Ini") fs::remove(entry.path());
    }
  }

  void Start() {
    StartParameters.clear();
    FormActivate();
  }
  // The next run of the program, on a new window.
  void Restart() {
    test::ResetAllState();
    Dialogs().Clear();
    // Not a crash: no question at the start.
    TIniFile(docs + MainIniName).DeleteKey("System", "Running");
    SetMainWindow(&next);
    Start();
  }
  std::string OpenDocument(const std::string& name, const std::string& text = "one\r\n") {
    const std::string path = site + name;
    test::WriteFile(path, text);
    OpenInNewTab(path);
    return path;
  }
  bool Click(const std::string& item) { return MainMenu().Click(item); }
  std::string Caption(const std::string& item) { return MainMenu().Item(item).caption; }
  std::string Setting(const std::string& section, const std::string& key) {
    return TIniFile(docs + MainIniName).ReadString(section, key, "<none>");
  }
  std::string Status() { return CurrentWindow().StatusText(MessagePanel); }
  test::MemoryMainWindow& CurrentWindow() { return MainWindow() == &next ? next : window; }

  test::MemoryMainWindow window, next;
  std::string docs, site;
};

TEST_F(OptionsMenuTest, DeleteBlankLinesAndCondenseSwitchEachOther) {
  struct Case {
    bool delBlanks, condense;
    const char* clicked;
    bool delBlanksAfter, condenseAfter;
    const char* message;  // the box that tells of the other option, "" for none
    int help;
  } cases[] = {
      {true, true, "DelBlanks", false, false,
       "I have also switched off Options | Condense on upload.", 101500},
      {false, false, "Condense", true, true,
       "I have also switched on Validation | Delete blank lines.", 101240},
      {true, false, "DelBlanks", false, false, "", 0},
      {true, true, "Condense", true, false, "", 0},
      {false, false, "DelBlanks", true, false, "", 0},
  };
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clicked);
    MainMenu().SetChecked("DelBlanks", c.delBlanks);
    MainMenu().SetChecked("Condense", c.condense);
    Dialogs().Clear();
    if (*c.message) Dialogs().Answer(mrYes);
    ASSERT_TRUE(Click(c.clicked));
    EXPECT_EQ(MainMenu().Checked("DelBlanks"), c.delBlanksAfter);
    EXPECT_EQ(MainMenu().Checked("Condense"), c.condenseAfter);
    if (*c.message) {
      ASSERT_EQ(Dialogs().Calls().size(), 1u);
      EXPECT_EQ(Dialogs().Last().text, c.message);
      EXPECT_EQ(Dialogs().Last().helpContext, c.help);
    } else {
      EXPECT_TRUE(Dialogs().Calls().empty());
    }
    const bool on = std::string(c.clicked) == "DelBlanks" ? c.delBlanksAfter : c.condenseAfter;
    EXPECT_EQ(Status(),
              "  " + StripAccelerator(Caption(c.clicked)) + " is now " + (on ? "ON" : "OFF"));
  }
}

TEST_F(OptionsMenuTest, FontsAreAskedForCaptionedAndReadBackAfterARestart) {
  Start();
  EXPECT_EQ(Caption("FontM"), "&Font:  FixedSys 9 pt...");
  EXPECT_EQ(Caption("PrFontM"), "&Print:  Lucida Sans Typewriter 10 pt ...");
  EXPECT_EQ(Caption("RTFFont"), "&RTF:  Calibri");
  OpenDocument("page.htm", "<p>one</p>\r\n");

  // An italic font is warned about, and kept.
  TFontChoice italic{"DejaVu Sans Mono", 12, true, true};
  Dialogs().AnswerFont(italic);
  ASSERT_TRUE(Click("FontM"));
  EXPECT_EQ(Dialogs().FontCalls().back().name, "FixedSys");
  EXPECT_EQ(Dialogs().FontCalls().back().size, 9);
  EXPECT_EQ(Dialogs().Last().text,
            MessageText("I don't believe you want the entire text in italic!"));
  EXPECT_EQ(Caption("FontM"), "&Font:  DejaVu Sans Mono 12 pt bold...");
  EXPECT_EQ(CurrentEditor->EditorFontName(), "DejaVu Sans Mono");

  Dialogs().AnswerFont({"Courier New", 11});
  ASSERT_TRUE(Click("PrFontM"));
  EXPECT_EQ(Dialogs().FontCalls().back().name, "Lucida Sans Typewriter");
  EXPECT_EQ(Caption("PrFontM"), "&Print:  Courier New 11 pt ...");

  // An empty answer changes nothing.
  Dialogs().AnswerText("");
  ASSERT_TRUE(Click("RTFFont"));
  EXPECT_EQ(Caption("RTFFont"), "&RTF:  Calibri");
  Dialogs().AnswerText("Arial");
  ASSERT_TRUE(Click("RTFFont"));
  EXPECT_EQ(Dialogs().Inputs().back().prompt, "Enter font for new RTF file");
  EXPECT_EQ(Dialogs().Inputs().back().value, "Calibri");
  EXPECT_EQ(Dialogs().Last().text, MessageText("Saved."));
  EXPECT_EQ(Caption("RTFFont"), "&RTF:  Arial");

  Restart();
  EXPECT_EQ(Caption("FontM"), "&Font:  DejaVu Sans Mono 12 pt bold...");
  EXPECT_EQ(Caption("PrFontM"), "&Print:  Courier New 11 pt ...");
  EXPECT_EQ(Caption("RTFFont"), "&RTF:  Arial");
  EXPECT_EQ(ColourScheme.fontName, "DejaVu Sans Mono");
  EXPECT_TRUE(ColourScheme.fontBold);
}

TEST_F(OptionsMenuTest, NumbersAndNamesAreKeptAcrossARestart) {
  Start();
  OpenDocument("averyverylongname.htm");
  EXPECT_EQ(CurrentWindow().TabCaption(0), "averyver...htm");

  ASSERT_TRUE(Click("Z120"));
  EXPECT_TRUE(MainMenu().Checked("Z120"));
  EXPECT_FALSE(MainMenu().Checked("Z100"));
  EXPECT_EQ(Caption("Zoom"), "Zoom:   120%");
  EXPECT_EQ(CurrentEditor->Zoom(), 120);

  Dialogs().AnswerText("12");
  ASSERT_TRUE(Click("LeftMargin"));
  EXPECT_EQ(Dialogs().Inputs().back().prompt, "Enter value for LeftMargin in millimetres");
  EXPECT_EQ(Dialogs().Last().text, MessageText("Margin value saved"));

  // Every tab is captioned afresh with the new width.
  Dialogs().AnswerText("20");
  ASSERT_TRUE(Click("TabWidthM"));
  EXPECT_EQ(Dialogs().Inputs().back().prompt,
            "Enter maximum tab width (characters before the dot)");
  EXPECT_EQ(CurrentWindow().TabCaption(0), "averyverylongname.htm");

  Dialogs().AnswerText("<Div Id=Main>");
  ASSERT_TRUE(Click("ContentId"));

  const std::string browser = site + "my browser";
  test::WriteFile(browser, "#!/bin/sh\n");
  Dialogs().AnswerPath(browser);
  ASSERT_TRUE(Click("BrowserO"));
  EXPECT_TRUE(MainMenu().Checked("BrowserO"));

  // A saved style of the page's selection.
  CurrentEditor->Select(0, 3);
  Dialogs().AnswerText("Quote");
  ASSERT_TRUE(Click("SaveStyle1"));

  Restart();
  EXPECT_EQ(Setting("Style1", "Name"), "Quote");
  EXPECT_TRUE(MainMenu().Checked("Z120"));
  EXPECT_EQ(Caption("Zoom"), "Zoom:   120%");
  EXPECT_EQ(Setting("System", "LeftMargin"), "12");
  EXPECT_EQ(TabWidth, 20);
  EXPECT_EQ(Setting("System", "ContentId"), "<Div Id=Main>");
  EXPECT_EQ(OtherBrowserPath, browser);
  OpenInNewTab(site + "averyverylongname.htm");
  EXPECT_EQ(CurrentEditor->Zoom(), 120);
  EXPECT_EQ(next.TabCaption(next.ActiveTab()), "averyverylongname.htm");
}

TEST_F(OptionsMenuTest, ContentIdIsStoredDeletedOrLowered) {
  struct Case {
    const char* typed;  // nullptr: the box is cancelled
    const char* stored;
  } cases[] = {
      {"<Div Id=Main>", "<Div Id=Main>"},
      {nullptr, "<Div Id=Main>"},
      {"<BODY>", "body"},
      {"<Body>", "body"},
      {"", "<none>"},
  };
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed ? c.typed : "(cancelled)");
    CurrentWindow().SetStatusText(MessagePanel, "");
    c.typed ? Dialogs().AnswerText(c.typed) : Dialogs().CancelText();
    ASSERT_TRUE(Click("ContentId"));
    EXPECT_EQ(Dialogs().Inputs().back().caption, "Quorrel");
    EXPECT_EQ(Dialogs().Inputs().back().prompt, "Enter identifier for \"Web | Update content\"");
    EXPECT_EQ(Setting("System", "ContentId"), c.stored);
    EXPECT_EQ(Status().find("ContentId saved.") != std::string::npos, c.typed != nullptr);
  }
  // A deleted key opens the box at the default.
  Dialogs().CancelText();
  ASSERT_TRUE(Click("ContentId"));
  EXPECT_EQ(Dialogs().Inputs().back().value, DefaultContentId);
}

TEST_F(OptionsMenuTest, OtherBrowserStartsAtTheOpenerAndCancelTicksInternal) {
  Start();
  Dialogs().CancelPath();
  ASSERT_TRUE(Click("BrowserO"));
  const auto& call = Dialogs().PathCalls().back();
  EXPECT_EQ(call.call.title, "Specify the other browser you want to use");
  EXPECT_EQ(call.path, FindProgram("xdg-open"));
  EXPECT_TRUE(MainMenu().Checked("BrowserI"));
  EXPECT_FALSE(MainMenu().Checked("BrowserO"));
  EXPECT_EQ(Setting("System", "OBrowser"), "<none>");
}

TEST_F(OptionsMenuTest, BrowserEmulationIsWrittenOnceUnderBothKeys) {
  Start();
  auto value = [](const char* key) {
    TRegistry registry(TRootKey::LocalMachine);
    if (!registry.OpenKeyReadOnly(key)) return std::string("<no key>");
    return registry.ReadString(BrowserEmulationValueName);
  };
  for (const char* key : BrowserEmulationKeys) EXPECT_EQ(value(key), "10001") << key;
  const std::string written = test::ReadFile(RegistryFileName());
  EXPECT_NE(written.find("Quorrel.exe=10001"), std::string::npos) << written;

  // A correct value is left alone, a wrong one written again.
  SetBrowserEmulation();
  EXPECT_EQ(test::ReadFile(RegistryFileName()), written);
  TRegistry registry(TRootKey::LocalMachine);
  ASSERT_TRUE(registry.OpenKey(BrowserEmulationKeys[1], false));
  registry.WriteString(BrowserEmulationValueName, "11000");
  SetBrowserEmulation();
  EXPECT_EQ(value(BrowserEmulationKeys[1]), "10001");
}

TEST_F(OptionsMenuTest, SchemeColoursDayNightAndRestoreAll) {
  Start();
  OpenDocument("page.htm", "<p>one</p>\r\n");
  // An element's colour starts the dialog at its stored value.
  Dialogs().AnswerColour(0x123456);
  ASSERT_TRUE(Click("H"));
  EXPECT_EQ(Dialogs().ColourCalls().back(), TColourScheme().tags);
  EXPECT_EQ(Setting("Text", "H"), std::to_string(0x123456));
  EXPECT_EQ(ColourScheme.tags, 0x123456);
  Dialogs().CancelColour();
  ASSERT_TRUE(Click("H"));
  EXPECT_EQ(Dialogs().ColourCalls().back(), 0x123456);
  EXPECT_EQ(ColourScheme.tags, 0x123456);

  ASSERT_TRUE(Click("Day"));
  EXPECT_EQ(ColourScheme.background, 0xFFFFFF);
  EXPECT_EQ(Caption("FontM"), "&Font:  Verdana 11 pt...");
  // Night: the built-in colours again, the day's font kept.
  ASSERT_TRUE(Click("Night"));
  EXPECT_EQ(ColourScheme.background, TColourScheme().background);
  EXPECT_EQ(ColourScheme.tags, TColourScheme().tags);
  EXPECT_EQ(Caption("FontM"), "&Font:  Verdana 11 pt...");
  // Restore all forgets the fonts too.
  TIniFile(docs + MainIniName).WriteString("Text", "PrFont", "Courier New");
  ASSERT_TRUE(Click("RestoreAll"));
  EXPECT_EQ(Caption("FontM"), "&Font:  FixedSys 9 pt...");
  EXPECT_EQ(Caption("PrFontM"), "&Print:  Lucida Sans Typewriter 10 pt ...");
  EXPECT_EQ(CurrentEditor->EditorFontName(), "FixedSys");
}

TEST_F(OptionsMenuTest, TogglesWithEffectsOfTheirOwn) {
  Start();
  OpenDocument("page.htm");
  ASSERT_TRUE(Click("Debug"));
  EXPECT_EQ(CurrentEditor->EditorColour(), DebugBackground);
  EXPECT_EQ(Status(), "  Debug is now ON");
  ASSERT_TRUE(Click("Debug"));
  EXPECT_EQ(CurrentEditor->EditorColour(), NormalBackground);

  const bool multiRow = MainMenu().Checked("MultiRow");
  ASSERT_TRUE(Click("MultiRow"));
  EXPECT_EQ(CurrentWindow().MultiRow(), !multiRow);
  EXPECT_EQ(Status(), std::string("  Multi-row tabs is now ") + (multiRow ? "OFF" : "ON"));

  struct Case {
    const char* clicked;
    bool smartphone;
  } cases[] = {{"Portrait", true}, {"Landscape", true}, {"Portrait", true}, {"Landscape", false}};
  for (const Case& c : cases) {
    ASSERT_TRUE(Click(c.clicked));
    EXPECT_EQ(MainMenu().Checked("Smartphone"), c.smartphone) << c.clicked;
  }

  // "Show unwanted" is the unwanted-file list's to set: until that form exists the
  // item is greyed and its tick stays as it is.
  const bool unwanted = MainMenu().Checked("Unwanted");
  EXPECT_FALSE(MainMenu().Item("Unwanted").enabled);
  EXPECT_FALSE(Click("Unwanted"));
  EXPECT_EQ(MainMenu().Checked("Unwanted"), unwanted);
}

TEST_F(OptionsMenuTest, EditIniOpensTheSettingsFile) {
  Start();
  ASSERT_TRUE(Click("EditIni"));
  EXPECT_EQ(CurrentFileName, docs + MainIniName);
  EXPECT_NE(CurrentEditor->GetText().find("[System]"), std::string::npos);
}

TEST_F(OptionsMenuTest, PopupZoomSwitchesBetweenDoubleAndTheStoredZoom) {
  Start();
  OpenDocument("page.htm");
  Dialogs().Clear();
  ASSERT_TRUE(Click("Z110"));
  ZoomPopupClick();
  EXPECT_EQ(CurrentEditor->Zoom(), PopupZoom);
  ZoomPopupClick();
  EXPECT_EQ(CurrentEditor->Zoom(), 110);
}

}  // namespace
}  // namespace quorrel
