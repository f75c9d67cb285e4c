// F10's menu item on RTF letters and masters in the tests' editor: the real RTF
// validator through the dispatcher, from the item to the paragraph viewer, the
// caret and the status.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "commands/OpenDocs.h"
#include "commands/ValidateCommands.h"
#include "platform/Desktop.h"
#include "platform/IniFile.h"
#include "platform/RtfCompose.h"
#include "platform/RtfModel.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "validate/ColourSyntax.h"
#include "validate/RtfParagraphs.h"
#include "validate/ScriptChecks.h"
#include "validate/ScriptNames.h"
#include "validate/ValidateRtf.h"
#include "validate/Validators.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

class ValidateRtfCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetColouring();
    SetMainWindow(&window);
    site = SiteTestFolder() + "rtf/";
    fs::remove_all(site);
    fs::create_directories(site);
    SettingsIni = std::make_unique<TIniFile>(site + "settings.ini");
    InstallValidationCommands();
    for (const char* option : {"ValSave", "CheckQuotes", "CheckBrackets"}) {
      MainMenu().SetChecked(option, true);
    }
  }
  void TearDown() override {
    SetMainWindow(nullptr);
    fs::remove_all(SiteTestFolder());
  }
  // An RTF document of plain text, as our writer saves it, open in a tab.
  void Open(const std::string& name, const std::string& text) {
    const std::string path = site + name;
    std::ofstream(path, std::ios::binary) << ComposeRtf(RtfDocumentOfText(text, TRtfCharFormat()));
    OpenInNewTab(path);
    PCChange();
  }
  std::string Status() const { return window.StatusText(MessagePanel); }

  MemoryMainWindow window;
  std::string site;
};

TEST_F(ValidateRtfCommandTest, UnmatchedQuoteShowsTheParagraphWithTheCaretInIt) {
  Open("letter.rtf", "Dear Sir,\r\nYou said \"soon, and\r\nYours,\r\n");
  ASSERT_TRUE(IsRtf);
  window.SetStatusText(MessagePanel, "");
  EXPECT_FALSE(MainMenu().Click("Validate")) << "the command ends at the paragraph";
  ASSERT_TRUE(window.paragraphView);
  EXPECT_EQ(window.paragraphView->message, UnmatchedQuotesMessage);
  EXPECT_EQ(window.paragraphView->paragraph, "You said \xABsoon, and");
  EXPECT_EQ(window.paragraphView->marks, std::vector<size_t>{9});
  // The caret stands at the paragraph's start (editor positions: one per line end).
  EXPECT_EQ(CurrentEditor->SelStart(), 10u);
  EXPECT_EQ(CurrentEditor->SelLength(), 0u);
  EXPECT_EQ(Status(), "");  // the command ended without "Validated"
  EXPECT_FALSE(CurrentEditor->Modified());
}

TEST_F(ValidateRtfCommandTest, CleanLetterIsValidatedAndItsWordCountUpdated) {
  Open("letter.rtf", "Dear Sir, about 1 words (roughly).\r\nYours, \"Varek\"\r\n");
  EXPECT_TRUE(MainMenu().Click("Validate"));
  EXPECT_FALSE(window.paragraphView);
  EXPECT_EQ(Status(), "  Validated");
  EXPECT_EQ(CurrentText, "Dear Sir, about 8 words (roughly).\r\nYours, \"Varek\"\r\n");
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_FALSE(CurrentEditor->PlainText());
}

TEST_F(ValidateRtfCommandTest, OnlyTheSectionAtTheCaretIsCheckedAndItIsSelected) {
  const std::string text = "Part one (open\r\n========\r\nPart two is fine.\r\n";
  Open("letter.rtf", text);
  CurrentEditor->Select(CurrentEditor->TextLength() - 3, 0);
  EXPECT_TRUE(MainMenu().Click("Validate"));
  EXPECT_FALSE(window.paragraphView);
  EXPECT_EQ(Status(), "  Validated");
  EXPECT_EQ(CurrentEditor->SelText(), "Part two is fine.\r\n");

  CurrentEditor->Select(2, 0);
  EXPECT_FALSE(MainMenu().Click("Validate"));
  ASSERT_TRUE(window.paragraphView);
  EXPECT_EQ(window.paragraphView->message, UnclosedBracketMessage);
}

TEST_F(ValidateRtfCommandTest, ShownAsCodesItIsNotChecked) {
  Open("letter.rtf", "Unopened) bracket\r\n");
  MainMenu().SetChecked("Raw", true);
  EXPECT_TRUE(MainMenu().Click("Validate"));
  MainMenu().SetChecked("Raw", false);
  EXPECT_FALSE(window.paragraphView);
}

// A play script in its full layout, as the tests' writer saves it.
const char kScript[] =
    "The Lighthouse\r\nA Radio play\r\n\r\nCharacters\r\nJOHN:\tthe keeper\r\n"
    "POSTMAN:\ta visitor\r\n\r\nScene 1: (Deck)\r\n";

TEST_F(ValidateRtfCommandTest, ScriptGetsItsSpeakersWrittenOutInFull) {
  Open("play.scr", std::string(kScript) + "JOH:\tAhoy.\r\nPO & J:\tHello.\r\nEND\r\n");
  ASSERT_TRUE(IsScript);
  EXPECT_TRUE(MainMenu().Click("Validate"));
  EXPECT_EQ(CurrentText,
            std::string(kScript) + "JOHN:\tAhoy.\r\nPOSTMAN & JOHN:\tHello.\r\nEND\r\n");
  EXPECT_EQ(Status(), "  Validated");
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_FALSE(CurrentEditor->PlainText());
}

TEST_F(ValidateRtfCommandTest, UnknownSpeakerStopsAtTheNameWithTheScriptUnchanged) {
  const std::string text = std::string(kScript) + "JOH:\tAhoy.\r\nZED:\tWho?\r\nEND\r\n";
  Open("play.scr", text);
  Dialogs().Answer(mrOk);
  EXPECT_FALSE(MainMenu().Click("Validate"));
  const size_t offset = text.find("ZED");
  ASSERT_FALSE(Dialogs().Calls().empty());
  EXPECT_EQ(Dialogs().Calls()[0].text, "Unknown name: ZED\rat offset " + std::to_string(offset));
  EXPECT_EQ(Dialogs().Calls()[0].helpContext, UnknownNameHelp);
  EXPECT_EQ(CurrentText, text) << "JOH stays as it was";
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(CurrentEditor->SelStart(), CurrentEditor->OffsetToPos(offset));
  EXPECT_NE(Status(), "  Validated");
}

TEST_F(ValidateRtfCommandTest, SpeakersOfAListStillToBeWrittenGoToTheClipboard) {
  Open("play.scr",
       "A Radio play\r\nCharacters\r\n\r\nScene 1: (Deck)\r\nJOHN:\tHi.\r\n"
       "MARY:\tHo.\r\nEND\r\n");
  EXPECT_TRUE(MainMenu().Click("Validate"));
  EXPECT_EQ(Desktop().ClipboardText(), "JOHN:\t\r\nMARY:\t\r\n");
  EXPECT_EQ(Dialogs().Last().text,
            std::string(UndefinedCharactersMessage) + "JOHN:\t\r\nMARY:\t\r\n");
  EXPECT_EQ(Status(), "  Validated");
}

}  // namespace
}  // namespace quorrel::test
