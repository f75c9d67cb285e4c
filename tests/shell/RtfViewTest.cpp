#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "commands/OpenDocs.h"
#include "platform/Abort.h"
#include "platform/IniFile.h"
#include "platform/Launcher.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/DocumentsOpen.h"
#include "shell/MenuModel.h"
#include "shell/RtfView.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/MemoryRich.h"
#include "support/OpenDocuments.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

using test::Dialogs;
using test::MemoryRich;
// A source in our own layout: Arial 12 points and the given body.
std::string OurRtf(const std::string& body) {
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 "
         "Arial;}}\r\n{\\colortbl ;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 " +
         body + "\r\n\\par }\r\n";
}

const std::string kDoc = OurRtf(
    "Opening words of the text \\b bold part\\b0  and then plain words\r\n"
    "\\par Second paragraph with \\i some italic\\i0  words in it\r\n"
    "\\par Third and last paragraph of the sample");

TEST(RtfView, SetRtfSourceRendersOnlySource) {
  MemoryRich rich;
  SetRtfSource(kDoc, rich);
  EXPECT_FALSE(rich.PlainText());
  EXPECT_EQ(rich.GetText().substr(0, 13), "Opening words");
  EXPECT_THROW(SetRtfSource("Opening words", rich), EAbort);
  EXPECT_EQ(Dialogs().Last().text, MessageText("Raw text does not start \"{\"."));
  EXPECT_THROW(SetRtfSource("", rich), EAbort);
}

TEST(RtfView, CompactScriptIsTheSpacingWithoutCourierNew) {
  struct Case {
    std::string rtf;
    bool compact;
  } cases[] = {
      {"{\\rtf1{\\fonttbl{\\f0 MS Sans Serif;}}\\sb60\\sa60 CHAR:\\tab Hello\\par}", true},
      {"{\\rtf1{\\fonttbl{\\f0 Courier New;}}\\sb60\\sa60 CHAR:\\tab Hello\\par}", false},
      {"{\\rtf1{\\fonttbl{\\f0 MS Sans Serif;}}\\sb240\\sa240 CHAR:\\tab Hello\\par}", false},
      {"{\\rtf1{\\fonttbl{\\f0 MS Sans Serif;}}CHAR:\\tab Hello\\par}", false},
  };
  for (const Case& c : cases) {
    MemoryRich rich;
    rich.SetRtfSource(c.rtf);
    IsCompactScript = !c.compact;
    const std::string source = GetRtfSource(rich);
    EXPECT_EQ(IsCompactScript, c.compact) << c.rtf << "\n" << source;
  }
}

TEST(RtfView, FlipKeepsTextModifiedStateAndCaret) {
  MemoryRich rich;
  rich.SetRtfSource(kDoc);
  rich.Select(20, 0);
  rich.SetModified(true);
  FlipRtfView(rich);
  EXPECT_TRUE(rich.PlainText());
  EXPECT_EQ(rich.GetText(), kDoc);
  EXPECT_TRUE(rich.Modified());
  EXPECT_EQ(rich.SelStart(), 20u);
  rich.SetModified(false);
  FlipRtfView(rich);
  EXPECT_FALSE(rich.PlainText());
  EXPECT_EQ(rich.GetRtfSource(), kDoc);
  EXPECT_FALSE(rich.Modified());
  EXPECT_EQ(rich.SelStart(), 20u);
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST(RtfView, CodesShownFormattedAreTakenAsCodes) {
  MemoryRich rich;
  rich.SetPlainText(false);
  rich.SetText(kDoc);  // formatted, but its text is RTF codes
  FlipRtfView(rich);
  EXPECT_EQ(Dialogs().Last().text, MessageText("This is RTF codes and will be treated as such."));
  EXPECT_FALSE(rich.PlainText());
  EXPECT_EQ(rich.GetText().substr(0, 13), "Opening words");
}

TEST(RtfView, WhereTheMarkerGoesInCodes) {
  const std::string head = "{\\rtf1{\\fonttbl{\\f0 A;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 ";
  struct Case {
    const char* what;
    std::string codes;
    size_t offset;
    size_t at;
    bool blankFirst;
  } cases[] = {
      {"in the header: past it", head + "Some words here\r\n\\par }", 3, head.size() + 4, false},
      {"in a word: to its end", head + "Some words here\r\n\\par }", head.size() + 6,
       head.size() + 10, false},
      {"on a blank: stays", head + "Some words here\r\n\\par }", head.size() + 4, head.size() + 4,
       false},
      {"before a backslash: line end", head + "Some\\b words here\r\n\\par }", head.size() + 2,
       head.size() + 17, false},
      {"line ending in a word without number", head + "Some \\ul words\\ulnone\r\n\\par x }",
       head.size() + 5, head.size() + 21, true},
      {"in a word before its blank: after it", head + "Some \\b words\\b0\r\n\\par }",
       head.size() + 7, head.size() + 8, false},
      {"an escaped backslash is text", head + "a\\\\b c\r\n\\par }", head.size() + 4,
       head.size() + 4, false},
      {"no blank or backslash after", "abc", 1, 3, false},
  };
  for (const Case& c : cases) {
    bool blankFirst = !c.blankFirst;
    EXPECT_EQ(MarkerPlaceInCodes(c.codes, c.offset, &blankFirst), c.at) << c.what;
    EXPECT_EQ(blankFirst, c.blankFirst) << c.what;
  }
}

// The caret stays on the same text through both switches.
TEST(RtfView, SwitchKeepsTheCaretOnItsText) {
  MemoryRich rich;
  rich.SetRtfSource(kDoc);
  const std::string text = rich.GetText();
  const size_t bold = text.find("bold part");
  rich.Select(bold, 0);
  size_t caret = SwitchRtfView(rich);
  ASSERT_TRUE(rich.PlainText());
  EXPECT_EQ(rich.GetText(), kDoc);  // no marker left
  std::string codes = rich.GetText();
  // The marker took the format of the blank before "bold": it stood before "\b".
  EXPECT_EQ(codes.substr(rich.PosToOffset(caret), 12), "\\b bold part");

  // Back from the middle of a word: the caret lands at the word's end.
  rich.Select(rich.OffsetToPos(codes.find("Second paragraph") + 9), 0);
  caret = SwitchRtfView(rich);
  ASSERT_FALSE(rich.PlainText());
  EXPECT_EQ(rich.GetRtfSource(), kDoc);
  EXPECT_EQ(rich.GetText().substr(rich.PosToOffset(caret), 10), " with some");
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST(RtfView, SwitchNearTheEndGoesToTheEnd) {
  MemoryRich rich;
  rich.SetRtfSource(kDoc);
  rich.Select(rich.TextLength() - 5, 0);
  size_t caret = SwitchRtfView(rich);
  EXPECT_EQ(caret, rich.TextLength());
  EXPECT_EQ(rich.GetText(), kDoc);
  rich.Select(rich.TextLength() - 11, 0);
  caret = SwitchRtfView(rich);
  EXPECT_EQ(caret, rich.TextLength());
  EXPECT_EQ(rich.GetRtfSource(), kDoc);
}

TEST(RtfView, MarkerAfterAWordThatEndsALineSurvives) {
  const std::string doc = OurRtf("Some \\ul words\\ulnone\r\n\\par and the rest of the text");
  MemoryRich rich;
  rich.SetPlainText(true);
  rich.SetText(doc);
  rich.Select(rich.OffsetToPos(doc.find("\\ul words")), 0);
  const size_t caret = SwitchRtfView(rich);
  ASSERT_FALSE(rich.PlainText());
  EXPECT_EQ(rich.GetText(), "Some words\r\nand the rest of the text");
  EXPECT_EQ(caret, 10u);  // the end of the first paragraph
  EXPECT_EQ(rich.GetRtfSource(), doc);
}

TEST(RtfView, MarkerLostOnTheWayBackLeavesTheCodes) {
  // Foreign RTF without "\viewkind": a caret in the font table puts the marker there.
  const std::string doc =
      "{\\rtf1{\\fonttbl{\\f0 Times New Roman;}}\r\nText of the document, long enough for a "
      "marker.\\par}";
  MemoryRich rich;
  rich.SetPlainText(true);
  rich.SetText(doc);
  rich.Select(doc.find("Times"), 0);
  rich.SetModified(true);
  const size_t caret = SwitchRtfView(rich);
  EXPECT_TRUE(rich.PlainText());
  EXPECT_EQ(rich.GetText(), doc);
  EXPECT_EQ(caret, doc.find("Times"));
}

// A control that loses the marker when it writes its codes.
class LosingRich : public MemoryRich {
 public:
  std::string GetRtfSource() const override {
    std::string source = MemoryRich::GetRtfSource();
    const size_t at = source.find(kSwitchMarker);
    if (at != std::string::npos) source.erase(at, 3);
    return source;
  }
};

TEST(RtfView, MarkerLostOnTheWayToTheCodes) {
  LosingRich rich;
  rich.SetRtfSource(kDoc);
  rich.Select(5, 0);
  EXPECT_EQ(SwitchRtfView(rich), 0u);
  EXPECT_EQ(Dialogs().Last().text, MessageText("Switch marker not found in display mode."));
  EXPECT_TRUE(rich.PlainText());
  EXPECT_EQ(rich.GetText(), kDoc);  // nothing of the marker stays
}

}  // namespace
}  // namespace quorrel

namespace quorrel {
namespace {

struct DisguiseFixture : ::testing::Test {
  void SetUp() override {
    rich.SetText(kDoc);
    CurrentEditor = &rich;
    CurrentText = kDoc;
    CurrentFileName = "/home/u/site/notes.txt";
    CurrentExt = ".TXT";
    test::SetOpenFiles({"/home/u/site/notes.txt"});
    SetCurrentDocument(0);
    rich.SetTag(0);
  }
  MemoryRich rich;
};

TEST_F(DisguiseFixture, SavingAsPlainTextRendersTheSource) {
  Dialogs().Answer(mrYes);
  EXPECT_EQ(RtfInDisguise(kDoc.substr(0, 5)), TRtfDisguise::RenderedToSave);
  EXPECT_EQ(Dialogs().Last().text,
            "/home/u/site/notes.txt\ris in RTF format.  Save as plain text?");
  EXPECT_EQ(rich.GetText().substr(0, 13), "Opening words");
  EXPECT_EQ(CurrentFileName, "/home/u/site/notes.txt");
}

TEST_F(DisguiseFixture, OtherwiseTheDocumentBecomesRtfInMemory) {
  Dialogs().Answer(mrNo);
  EXPECT_EQ(RtfInDisguise(kDoc.substr(0, 5)), TRtfDisguise::RenamedToRtf);
  EXPECT_EQ(rich.GetText(), kDoc);
  EXPECT_EQ(CurrentFileName, "/home/u/site/notes.RTF");
  EXPECT_EQ(CurrentExt, ".RTF");
  EXPECT_EQ(Documents[0].FileName, "/home/u/site/notes.RTF");
}

TEST_F(DisguiseFixture, RtfDocumentsAndOtherTextAreNotAsked) {
  EXPECT_EQ(RtfInDisguise("{\\rt"), TRtfDisguise::NotRtf);
  EXPECT_EQ(RtfInDisguise("Hello"), TRtfDisguise::NotRtf);
  IsRtf = true;
  EXPECT_EQ(RtfInDisguise(kDoc.substr(0, 5)), TRtfDisguise::NotRtf);
  EXPECT_TRUE(Dialogs().Calls().empty());
}

// No word processor is sent for: the reader reads every RTF, and a file without
// text is only said to be empty.
TEST(RtfView, EmptyRtfIsReportedAsEmpty) {
  std::vector<std::string> opened;
  SetShellOpener([&](const std::string& target) {
    opened.push_back(target);
    return true;
  });
  Dialogs().Clear();
  EXPECT_FALSE(ReportEmptyRtf("/d/short.rtf", 3, false));
  EXPECT_FALSE(ReportEmptyRtf("/d/empty.rtf", 0, true));
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_TRUE(ReportEmptyRtf("/d/empty.rtf", 0, false));
  EXPECT_EQ(Dialogs().Last().text, "/d/empty.rtf\ris empty.");
  EXPECT_TRUE(opened.empty());
  ResetLauncher();
}

}  // namespace
}  // namespace quorrel

namespace quorrel {
namespace {

class RawClickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    site = test::TestHome() + "site-raw/";
    std::filesystem::create_directories(site);
    SettingsIni = std::make_unique<TIniFile>(site + "settings.ini");
  }
  void TearDown() override {
    SetMainWindow(nullptr);
    std::filesystem::remove_all(site);
  }
  // An RTF document opened raw: its codes as text.
  void Open(const std::string& text) {
    std::ofstream(site + "doc.rtf", std::ios::binary) << text;
    OpenThis(site + "doc.rtf");
    OpenRawClick();
    PCChange();
  }

  test::MemoryMainWindow window;
  std::string site;
};

TEST_F(RawClickTest, SwitchesViewsKeepingCaretAndModifiedState) {
  Open(kDoc);
  ASSERT_TRUE(IsRtf);
  EXPECT_TRUE(MainMenu().Checked("Raw"));
  TMyRich& editor = *CurrentEditor;
  editor.Select(editor.OffsetToPos(kDoc.find("Second paragraph")), 0);
  Markers[3].position = 40;
  Markers[3].text = "kept text";
  InstallRtfViewCommands();
  EXPECT_TRUE(MainMenu().Click("Raw"));
  EXPECT_FALSE(editor.PlainText());
  EXPECT_FALSE(MainMenu().Checked("Raw"));
  EXPECT_FALSE(editor.Modified());
  EXPECT_EQ(CurrentText.substr(0, 13), "Opening words");
  EXPECT_EQ(editor.GetText().substr(editor.PosToOffset(editor.SelStart()), 11), " paragraph ");
  EXPECT_EQ(Markers[3].text, "");

  editor.SetModified(true);
  RawClick();
  EXPECT_TRUE(editor.PlainText());
  EXPECT_TRUE(MainMenu().Checked("Raw"));
  EXPECT_TRUE(editor.Modified());
  EXPECT_EQ(CurrentText, kDoc);
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(RawClickTest, EmptyDocumentIsRefused) {
  Open("");
  EXPECT_THROW(RawClick(), EAbort);
  EXPECT_EQ(Dialogs().Last().text, MessageText("Add some text first!"));
}

}  // namespace
}  // namespace quorrel
