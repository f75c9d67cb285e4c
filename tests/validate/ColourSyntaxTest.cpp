// ApplySyntaxColours on the in-memory editor: the runs of each document type read
// back, what a full recolour does to the editor, and the state it keeps.
#include <gtest/gtest.h>

#include <filesystem>

#include "music/MidiRatio.h"
#include "music/TunePrep.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "shell/ClassifyDocument.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/MemoryRich.h"
#include "support/TestEnvironment.h"
#include "validate/ColourSyntax.h"
#include "validate/ColourTestKit.h"

namespace quorrel::test {
namespace {

class ColourSyntaxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetColouring();
    std::string ini = TestHome() + "colour-" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
    std::filesystem::remove(ini);
    SettingsIni = std::make_unique<TIniFile>(ini);
    LoadColours();
    SetMainWindow(&window_);
  }
  void TearDown() override { SetMainWindow(nullptr); }

  // The document as the tab change leaves it: current, classified, not yet read.
  void Open(const std::string& path, const std::string& text) {
    CurrentFileName = path;
    CurrentFolder = ExtractFilePath(path);
    editor_.SetText(text);
    CurrentEditor = &editor_;
    CurrentText.clear();
    DocModified = true;
    ClassifyDocument();
  }
  void Colour(int request) {
    RecolourRequest = request;
    ApplySyntaxColours();
  }
  // The editor's text with one character per line end, as positions count.
  std::string EditorText() const {
    std::string text = editor_.GetText(), out;
    for (size_t i = 0; i < text.size(); ++i) {
      if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    }
    return out;
  }
  std::string Runs() const { return Describe(EditorText(), editor_.ColourRuns()); }
  std::string Status() const { return window_.StatusText(4); }

  MemoryMainWindow window_;
  MemoryRich editor_;
};

TEST_F(ColourSyntaxTest, RunsOfEachDocumentType) {
  struct Case {
    const char* path;
    const char* text;
    std::vector<const char*> sections;
    const char* runs;
  } cases[] = {
      {"/site/page.htm", "<p>Hi <!-- c --></p>\n", {}, "H{<p>} Comments{<!-- c -->} H{</p>}"},
      {"/site/page.asp",
       "<% Dim a\r\na = 1 %>\r\n",
       {},
       "VBScript{<% Dim } Names{a} VBScript{\n} Names{a} VBScript{ = 1 %>}"},
      {"/site/page.php", "<?php $a; ?>\n", {}, "VBScript{<?php } Names{$a} VBScript{; ?>}"},
      {"/site/settings.ini",
       "[Text]\r\nH=1\r\n[System]\r\n",
       {},
       "Comments{[Text]} Comments{[System]}"},
      {"/site/data.xml",
       "<?xml version=\"1.0\"?>\r\n<!-- a\r\nb -->\r\n<x/>\r\n",
       {},
       "Comments{<!-- a\nb -->}"},
      {"/site/notes.txt",
       "a\r\n========\r\nHead\r\nsee www.example.org\r\n",
       {},
       "Comments{Head} U{www.example.org}"},
      {"/site/code.js", "// c\r\nfunction f() {\r\n}\r\n", {"6"}, "Functions{function f() {}"},
      {"/site/Prog.cs",
       "public class A {\r\n  void M() {\r\n  }\r\n}\r\n",
       {"18"},
       "Functions{  void M() {}"},
      {"/site/macro.vba",
       "Sub A() // c\r\nx = \"//\" /* d */\r\n",
       {"0"},
       "Functions{Sub A() } Comments{// c} Comments{/* d */}"},
      {"/site/unit.pas", "{ x } uses www.example.org;\r\n", {}, "U{www.example.org;}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    SectionLines.assign(c.sections.begin(), c.sections.end());
    Open(c.path, c.text);
    Colour(1);
    EXPECT_EQ(Runs(), c.runs);
  }
}

TEST_F(ColourSyntaxTest, CssCommentsUnlessColourCssIsTicked) {
  Open("/site/style.css", "a {}\r\n/* c */\r\n");
  MainMenu().SetChecked("ColourCSS", true);
  Colour(1);
  EXPECT_EQ(Runs(), "");
  MainMenu().SetChecked("ColourCSS", false);
  Colour(2);
  EXPECT_EQ(Runs(), "Comments{/* c */}");
}

TEST_F(ColourSyntaxTest, VbsTextIsInTheScriptColour) {
  Open("/site/tool.vbs", "MsgBox \"x\"\r\n");
  Colour(1);
  EXPECT_EQ(editor_.TextColour(), ColourScheme.vbScript);
  EXPECT_EQ(Runs(), "");
  Open("/site/page.htm", "x\n");
  Colour(1);
  EXPECT_EQ(editor_.TextColour(), ColourScheme.defaultColour);
}

TEST_F(ColourSyntaxTest, FullRecolourSetsBackgroundAndFont) {
  Open("/site/page.htm", "<p>\n");
  Colour(1);
  EXPECT_EQ(editor_.EditorColour(), 0x600000);
  EXPECT_EQ(editor_.FontName(), "FixedSys");
  EXPECT_EQ(editor_.FontSize(), 9);
  // The background is read again from the settings file.
  SettingsIni->WriteInteger("Text", "Background", 0x400040);
  Colour(1);
  EXPECT_EQ(editor_.EditorColour(), 0x400040);
  // A lighter request leaves background and font alone.
  editor_.SetEditorColour(0x010101);
  Colour(2);
  EXPECT_EQ(editor_.EditorColour(), 0x010101);
}

TEST_F(ColourSyntaxTest, DocumentsInTheTemporaryFolderGetTheirOwnBackground) {
  Open(TempFolder() + "Quorrel.htm", "<p>\n");
  Colour(1);
  EXPECT_EQ(editor_.EditorColour(), 0x1B2F43);
}

TEST_F(ColourSyntaxTest, RtfDocumentsShownFormatted) {
  Open("/site/letter.rtf", "Text www.example.org\r\n");
  editor_.SetEditorColour(0x600000);
  editor_.SetColourRuns({{0, 4, 0x42}});
  Colour(1);
  EXPECT_EQ(editor_.EditorColour(), 0xFFFFFF);
  EXPECT_EQ(editor_.ColourRuns().size(), 1u);  // its own colours stand
  // The raw view is recoloured in full, but with no URLs.
  MainMenu().SetChecked("Raw", true);
  editor_.SetEditorColour(0x600000);
  Colour(1);
  EXPECT_EQ(editor_.EditorColour(), 0x600000);
  EXPECT_TRUE(editor_.ColourRuns().empty());
}

TEST_F(ColourSyntaxTest, FullRecolourRemovesBlanksBeforeLineEnds) {
  Open("/site/notes.txt", "ab  \r\ncd \r\nef\r\n  \r\ngh  ");
  editor_.Select(6, 2);  // "d \r\ne" less the blank: "d" and the line end
  Colour(2);
  EXPECT_EQ(editor_.GetText(), "ab  \r\ncd \r\nef\r\n  \r\ngh  ");  // lighter: untouched
  Colour(1);
  EXPECT_EQ(editor_.GetText(), "ab\r\ncd\r\nef\r\n\r\ngh  ");  // the last line has no line end
  EXPECT_EQ(CurrentText, "ab\r\ncd\r\nef\r\n\r\ngh  \r\n");
  EXPECT_FALSE(DocModified);
  EXPECT_EQ(editor_.SelStart(), 4u);
  EXPECT_EQ(editor_.SelLength(), 1u);
  EXPECT_FALSE(editor_.Modified());  // as it was before
}

TEST_F(ColourSyntaxTest, BlanksStayInHugeTextsAndInTheRawView) {
  Open("/site/big.txt", std::string(1000000, 'x') + " \r\n");
  Colour(1);
  EXPECT_EQ(editor_.TextLength(), 1000002u);
  Open("/site/letter.rtf", "{\\rtf1 x} \r\n");
  MainMenu().SetChecked("Raw", true);
  Colour(1);
  EXPECT_EQ(editor_.GetText(), "{\\rtf1 x} \r\n");
}

TEST_F(ColourSyntaxTest, ColouringKeepsModifiedStateAndSelection) {
  Open("/site/page.htm", "<p>one</p>\n<b>two</b>\n");
  editor_.SetModified(true);
  editor_.Select(3, 5);
  Colour(1);
  EXPECT_TRUE(editor_.Modified());
  EXPECT_EQ(editor_.SelStart(), 3u);
  EXPECT_EQ(editor_.SelLength(), 5u);
  EXPECT_EQ(RecolourRequest, 0);
  EXPECT_FALSE(editor_.Redraw());  // the idle pass shows it
  CurrentCommand = "CSyntax";
  editor_.SetModified(false);
  Colour(1);
  EXPECT_FALSE(editor_.Modified());
  EXPECT_TRUE(editor_.Redraw());
}

TEST_F(ColourSyntaxTest, NothingToColour) {
  CurrentEditor = nullptr;
  Colour(2);
  EXPECT_EQ(RecolourRequest, 2);
  Open("/site/page.htm", "");
  Colour(2);
  EXPECT_EQ(RecolourRequest, 2);
  EXPECT_TRUE(editor_.Redraw());
  Colour(1);  // a full recolour of an empty text still sets the colours
  EXPECT_EQ(RecolourRequest, 0);
  EXPECT_EQ(editor_.EditorColour(), 0x600000);
}

TEST_F(ColourSyntaxTest, StaleRunsGoWhenTheTextChanged) {
  Open("/site/page.htm", "<p>x</p>\n");
  Colour(1);
  EXPECT_EQ(Runs(), "H{<p>} H{</p>}");
  editor_.Select(0, 1);
  editor_.SetSelText("");  // "p>x</p>": the first tag is no tag now
  DocModified = true;
  Colour(2);
  EXPECT_EQ(Runs(), "H{</p>}");
}

TEST_F(ColourSyntaxTest, ScanProblemsGoToTheStatusBar) {
  Open("/site/page.htm", "<p>\n<!-- open\n");
  Colour(1);
  EXPECT_EQ(Status(), "  Could not find --> after offset 8");
  Open("/site/page.htm", "<p>\n<b\n");
  Colour(1);
  EXPECT_EQ(Status(), "  Colour syntax error: Level=1");
}

TEST_F(ColourSyntaxTest, ServerPagesAreColouredFromTheSectionAtTheCaret) {
  std::string text = "<p>\n<%\nSub A\nx\nEnd Sub\nSub B\ny\nEnd Sub\n%>\n<b>\n";
  Open("/site/page.asp", text);
  Colour(1);
  EXPECT_EQ(Runs(),
            "H{<p>} VBScript{<%\nSub } Functions{A} VBScript{\nx\nEnd Sub\nSub } Functions{B} "
            "VBScript{\ny\nEnd Sub\n%>} H{<b>}");
  // Runs before the caret's section stay as they are, even on a full recolour.
  size_t subB = text.find("Sub B");
  SectionLines = {"0", std::to_string(text.find("Sub A")), std::to_string(subB)};
  editor_.SetColourRuns({{0, 3, 0x42}, {subB, 3, 0x42}});
  editor_.Select(subB + 6, 0);
  Colour(1);
  EXPECT_EQ(Runs(), "?66{<p>} VBScript{Sub } Functions{B} VBScript{\ny\nEnd Sub\n%>} H{<b>}");
}

TEST_F(ColourSyntaxTest, PendingMessagesOfAspPages) {
  std::string text = "<% Dim a, b\nDim a\nb = a %>\n";
  Open("/site/page.asp", text);
  Colour(1);
  EXPECT_EQ(PendingMessage, "a: Duplicate declaration");
  EXPECT_EQ(PendingMessageOffset, text.find("a\nb") + 1);
  // Names never used win over a duplicate.
  text = "<% Dim used, spare\nDim used\nused = 1 %>\n";
  Open("/site/page.asp", text);
  Colour(1);
  EXPECT_EQ(PendingMessage, "Unreferenced variable(s) spare");
  EXPECT_EQ(PendingMessageOffset, text.find("spare") + 1);
  // Not for untitled pages.
  Open("/site/Untitled.asp", "<% Dim spare %>\n");
  Colour(1);
  EXPECT_EQ(PendingMessage, "");
  // The whole page counts when only a section is coloured: "a" is used before the
  // caret's section, "spare" nowhere.
  text = "<% Dim a, spare\nx = a %>\n<%\nSub S\nEnd Sub %>\n";
  Open("/site/page.asp", text);
  SectionLines = {"0", std::to_string(text.find("Sub S"))};
  editor_.Select(text.find("End Sub"), 0);
  Colour(1);
  EXPECT_EQ(PendingMessage, "Unreferenced variable(s) spare");
  EXPECT_EQ(Runs(), "VBScript{Sub } Functions{S} VBScript{\nEnd Sub %>}");
}

TEST_F(ColourSyntaxTest, ASectionKnowsTheNamesDeclaredBeforeIt) {
  std::string text = "<%\nDim total\nSub Add(n)\ntotal = total + n\nEnd Sub\n%>\n";
  Open("/site/page.asp", text);
  SectionLines = {"0", std::to_string(text.find("Sub Add"))};
  editor_.Select(text.find("total +"), 0);
  Colour(2);
  EXPECT_EQ(Runs(),
            "VBScript{Sub } Functions{Add} VBScript{(} Names{n} VBScript{)\n} Names{total} "
            "VBScript{ = } Names{total} VBScript{ + } Names{n} VBScript{\nEnd Sub\n%>}");
}

TEST_F(ColourSyntaxTest, PhpSectionLinesUpToTheBracket) {
  std::string text = "<?php\nfunction f($a) {\n}\n?>\n";
  SectionLines = {"0", std::to_string(text.find("function"))};
  Open("/site/page.php", text);
  Colour(1);
  EXPECT_EQ(Runs(),
            "VBScript{<?php\n} Functions{function f} VBScript{(} Names{$a} VBScript{) {\n}\n?>}");
}

TEST_F(ColourSyntaxTest, AbcTuneAtTheCaret) {
  std::string text = "%%MIDI ratio 3 1\r\nX:1\r\nT:One\r\n|ab|\r\nX:2\r\nT:Two\r\nV:1\r\n|cd|\r\n";
  Open("/site/tunes.abc", text);
  // Every request colours the tune at the caret (a caret in the file header
  // counts as in the first tune); the other tunes wait for the caret.
  Colour(1);
  EXPECT_EQ(Runs(), "TuneName{T:One} BarLine{|} BarLine{|}");
  editor_.Select(EditorText().find("|cd"), 0);
  Colour(3);
  // The next tune's colours are added; the first tune keeps its own.
  EXPECT_EQ(Runs(),
            "TuneName{T:One} BarLine{|} BarLine{|} TuneName{T:Two} V1{V:1} BarLine{|} "
            "BarLine{|}");
  editor_.Select(EditorText().find("|ab"), 0);
  Colour(2);  // lighter requests colour the caret's tune and leave the others
  EXPECT_EQ(editor_.ColourRuns().size(), 7u);
  Colour(1);  // a full recolour starts again from the caret's tune
  EXPECT_EQ(Runs(), "TuneName{T:One} BarLine{|} BarLine{|}");
}

TEST_F(ColourSyntaxTest, ARatioDirectiveBeforeTheFirstTuneIsNoted) {
  struct Case {
    const char* text;
    bool noted;
  } cases[] = {
      {"%%MIDI ratio 3 1\r\nX:1\r\nT:A\r\n", true},
      {"%%midi RATIO 2 1\r\n\r\nX:1\r\n", true},
      {"X:1\r\n%%MIDI ratio 3 1\r\nX:2\r\n", false},  // inside the first tune
      {"%%MIDI ratio 3 1\r\nT:no tune number\r\n", false},
      {"%%scale 0.7\r\nX:1\r\n%%MIDI ratio 3 1\r\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    RatioOffered = false;
    Open("/site/tunes.abc", c.text);
    Colour(3);
    EXPECT_EQ(RatioOffered, c.noted);
  }
}

TEST_F(ColourSyntaxTest, ACaretInTheFileHeaderStaysThere) {
  std::string text = "%%scale 0.7\r\n\r\nX:1\r\nT:One\r\n|ab|\r\n";
  Open("/site/tunes.abc", text);
  editor_.Select(3, 0);
  Colour(3);
  EXPECT_EQ(editor_.SelStart(), 3u);
  EXPECT_EQ(Runs(), "TuneName{T:One} BarLine{|} BarLine{|}");
}

TEST_F(ColourSyntaxTest, TopOfTuneShowsTheTuneStart) {
  std::string text = "X:1\r\nT:One\r\n";
  for (int i = 0; i < 60; ++i) text += "|abc|\r\n";
  for (bool topOfTune : {false, true}) {
    SCOPED_TRACE(topOfTune);
    Open("/site/tunes.abc", text);
    size_t caret = editor_.LineIndex(15);
    editor_.Select(caret, 0);
    editor_.ScrollLines(15);
    MainMenu().SetChecked("TopOfTune", topOfTune);
    Colour(3);
    // The view shows the tune from its start when the caret stays in view.
    EXPECT_EQ(editor_.FirstVisibleLine(), topOfTune ? 0u : 15u);
    EXPECT_EQ(editor_.SelStart(), caret);
    EXPECT_EQ(TuneStart, 1u);
  }
}

}  // namespace
}  // namespace quorrel::test
