#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "commands/OpenDocs.h"
#include "platform/Abort.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "shell/Backups.h"
#include "shell/Documents.h"
#include "shell/DocumentsOpen.h"
#include "shell/FileRoutines.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "validate/ColourSyntax.h"

namespace quorrel {
namespace {

std::string NumberedLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

class DocumentsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    site = test::TestHome() + "site-docs/";
    std::filesystem::create_directories(site);
    SettingsIni = std::make_unique<TIniFile>(site + "settings.ini");
  }
  void TearDown() override { std::filesystem::remove_all(site); }

  std::string Write(const std::string& name, const std::string& text) {
    std::ofstream(site + name, std::ios::binary) << text;
    return site + name;
  }
  // A tab holding a document, made current the way the program does it.
  void Open(const std::string& name, const std::string& text) {
    OpenThis(Write(name, text));
    PCChange();
  }

  test::MemoryMainWindow window;
  std::string site;
};

TEST(TabCaption, ShortensLongNamesAtTheirFirstDot) {
  struct Case {
    std::string path;
    int tabWidth;
    std::string caption;
    bool shortened;
  } cases[] = {
      {"/s/index.htm", 9, "index.htm", false},
      {"/s/abcdefgh.htm", 9, "abcdefgh.htm", false},          // the dot at 9: fits
      {"/s/abcdefghi.htm", 9, "abcdefgh...htm", true},        // the dot at 10
      {"/s/abcdefghijklm.html", 9, "abcdefgh...html", true},  // thirteen letters
      {"/s/abcdefghijkl", 9, "abcdefgh..l", true},            // no dot: its last character
      {"/s/abcdefghijklm.tar.gz", 9, "abcdefgh...tar.gz", true},
      {"/s/abcd.x", 3, "ab...x", true},
      {"/s/abcd.x", 0, "...x", true},
      {"/s/ab", 9, "ab", false},
  };
  for (const auto& c : cases) {
    std::string hint = "stale";
    EXPECT_EQ(TabCaptionFor(c.path, c.tabWidth, &hint), c.caption) << c.path;
    EXPECT_EQ(hint, c.shortened ? c.path : "") << c.path;
  }
}

TEST_F(DocumentsTest, WorkingCopyHasTheLineEndsOfItsType) {
  struct Case {
    bool html, closingAll;
    std::string editorText, workingCopy;
  } cases[] = {
      {false, false, "a\r\nb", "a\r\nb\r\n"},
      {false, false, "a\r\nb\r\n", "a\r\nb\r\n"},
      {true, false, "a\r\nb", "a\nb\r\n"},
      {true, false, "a\r\nb\r\n", "a\nb\n"},
      {true, true, "a\r\nb\r\n", "a\r\nb\r\n"},
      {false, false, "", ""},
      {true, false, "", ""},
  };
  test::MemoryRich editor;
  for (const auto& c : cases) {
    editor.SetText(c.editorText);
    CurrentEditor = &editor;
    IsHtml = c.html;
    ClosingAll = c.closingAll;
    DocModified = true;
    GetEditorText();
    EXPECT_EQ(CurrentText, c.workingCopy) << c.editorText;
    EXPECT_FALSE(DocModified);
  }
  // Without a change of the editor the working copy stands.
  CurrentText = "kept";
  editor.SetText("other");
  DocModified = false;
  GetEditorText();
  EXPECT_EQ(CurrentText, "kept");
  editor.Select(0, 0);
  editor.SetSelText("x");  // an edit marks the working copy stale
  editor.SetOnChange(ThisChange);
  editor.SetSelText("y");
  EXPECT_TRUE(DocModified);
}

TEST_F(DocumentsTest, AFortyFirstTabIsRefusedEvenAfterClosingTabs) {
  for (int i = 0; i < MaxTabs; ++i) EXPECT_EQ(NewDocumentTab(site + std::to_string(i)), i);
  EXPECT_EQ(window.Editor(39).Tag(), 39);
  window.CloseTab(5);  // a closed tab blanks its slot but does not give it back
  OpenFiles[5].clear();
  EXPECT_THROW(NewDocumentTab(site + "41"), EAbort);
  EXPECT_EQ(test::Dialogs().Last().text,
            "Too many tabs have been opened!\rClose some if there are still many open, come out "
            "of Quorrel and try again.");
  EXPECT_EQ(window.TabCount(), 39);
  // Close all empties the list of slots; then tabs can be opened again.
  OpenFiles.clear();
  EXPECT_EQ(NewDocumentTab(site + "41"), 0);
}

TEST_F(DocumentsTest, TabChangeMakesTheDocumentCurrent) {
  Open("page.html", "<html>\r\n<body>Hello</body>\r\n</html>\r\n");
  Open("style.css", "body { color: red }\r\n");
  EXPECT_EQ(window.Captions(), (std::vector<std::string>{"page.html", "style.css"}));
  EXPECT_EQ(CurrentFileName, site + "style.css");
  EXPECT_EQ(CurrentExt, ".CSS");
  EXPECT_TRUE(IsCss);
  EXPECT_EQ(window.Caption(), site + "style.css - Quorrel v. " QUORREL_VERSION ", 16-Jun-26");
  EXPECT_EQ(ApplicationTitle, window.Caption());
  EXPECT_EQ(CurrentFolder, site);

  window.SetTabsVisible(true);
  RecolourRequest = 0;
  window.ActivateTab(0);
  PCChange();
  EXPECT_EQ(RecolourRequest, 4) << "the document entered is coloured at the next idle pass";
  EXPECT_EQ(CurrentEditor, &window.Editor(0));
  EXPECT_TRUE(IsHtml);
  EXPECT_FALSE(IsCss);
  EXPECT_EQ(CurrentText, "<html>\n<body>Hello</body>\n</html>\n") << "the HTML working copy";
  EXPECT_NE(StatusText.find("    3 lines"), std::string::npos) << StatusText;
  EXPECT_EQ(window.StatusText(InfoPanel), "      " + StatusText);
  EXPECT_TRUE(MainMenu().Item("Bold").enabled);
  EXPECT_TRUE(MainMenu().Item("AddNbsp").enabled);
  EXPECT_FALSE(MainMenu().Item("SetFont").enabled) << "an RTF-only command";
  EXPECT_EQ(MainMenu().Item("Link").shortcut, "F4");
  EXPECT_FALSE(MainMenu().Item("ABCMenu").visible);
}

TEST_F(DocumentsTest, TabChangeJudgesTheTextOfTheDocumentEntered) {
  // Office markup in the page left must not make the document entered count as
  // office HTML.
  Open("word.htm", "<p><o:p></o:p></p>\r\n");
  EXPECT_TRUE(IsOfficeHtml);
  Open("plain.htm", "<p>text</p>\r\n");
  EXPECT_FALSE(IsOfficeHtml);
}

TEST_F(DocumentsTest, AbcDocumentsGetTheMusicMenuAndKeys) {
  Open("tunes.abc", "X:1\r\nT:Reel\r\nK:D\r\n");
  EXPECT_TRUE(MainMenu().Item("ABCMenu").visible);
  EXPECT_EQ(MainMenu().Item("Play").shortcut, "F4");
  EXPECT_EQ(MainMenu().Item("ShowScore").shortcut, "F2");
  EXPECT_EQ(MainMenu().Item("Link").shortcut, "");
  Open("notes.rtf", "Some notes\r\n");
  EXPECT_FALSE(MainMenu().Item("ABCMenu").visible);
  EXPECT_EQ(MainMenu().Item("Play").shortcut, "");
  EXPECT_EQ(MainMenu().Item("Raw").shortcut, "F2");
  // F9 of a letter opens the pop-up box; "Paragraph" never takes it.
  EXPECT_EQ(MainMenu().Item("InsPara").shortcut, "");
  EXPECT_EQ(MainMenu().Item("PU").shortcut, "F9");
  EXPECT_EQ(MainMenu().Item("PrevScene").shortcut, "");
  Open("play.scr", "Title\r\n");
  EXPECT_TRUE(MainMenu().Item("ScriptMenu").visible);
  EXPECT_EQ(MainMenu().Item("PrevScene").shortcut, "F9");
  EXPECT_EQ(MainMenu().Item("NextScene").shortcut, "Shift+F9");
  EXPECT_EQ(MainMenu().Item("InsPara").shortcut, "");
  EXPECT_EQ(MainMenu().Item("PU").shortcut, "");
}

TEST_F(DocumentsTest, StatusTellsOfEmptyAndOpenedDocuments) {
  Open("empty.txt", "");
  EXPECT_EQ(StatusText, "Empty file ");
  Open("old.doc", "");
  EXPECT_EQ(StatusText, "Microsoft Word file - do not modify!");
  // A change the File menu caused, once the text is there, shows the document's
  // date, size and lines as any other does.
  CurrentCommand = "Open";
  Open("a.txt", "words\r\n");
  EXPECT_EQ(StatusText, FormatFileDate(FileAge(site + "a.txt")) + "7 B     1 lines");
  CurrentCommand.clear();
}

TEST_F(DocumentsTest, MarkersComeFromTheDocumentsSection) {
  std::string path = Write("marked.txt", "one\r\ntwo\r\n");
  SettingsIni->WriteInteger(path, "3", 5);
  Open("marked.txt", "one\r\ntwo\r\n");
  Open("unmarked.txt", "x\r\n");
  EXPECT_EQ(Markers[3].position, -1);
  EXPECT_FALSE(MainMenu().Item("ClearMark").enabled);
  window.ActivateTab(0);  // back to the marked document: entered anew
  PCChange();
  EXPECT_EQ(Markers[3].position, 5);
  EXPECT_EQ(Markers[0].position, -1);
  EXPECT_TRUE(MainMenu().Item("ClearMark").enabled);
  window.ActivateTab(1);
  PCChange();
  EXPECT_EQ(Markers[3].position, -1);
  EXPECT_FALSE(MainMenu().Item("ClearMark").enabled);
}

TEST_F(DocumentsTest, FindTextOfTheCommandLineMovesTheCaret) {
  std::string text = "alpha\r\nbeta\r\ngamma\r\n";
  AppPhase = 1;
  StartFindText = "GAMMA";
  Open("find.txt", text);
  EXPECT_EQ(CurrentEditor->SelStart(), 11u) << "editor position of gamma";
  EXPECT_EQ(StartFindText, "");
  StartFindText = "absent";
  Open("find2.txt", text);
  EXPECT_EQ(CurrentEditor->SelStart(), CurrentEditor->TextLength());
}

TEST_F(DocumentsTest, ReopeningReturnsToTheStoredCaret) {
  std::string path = Write("caret.txt", "abcdef\r\nghij\r\n");
  SettingsIni->WriteString("Closed", "0", path + "|9");
  OpenThis(path);
  EXPECT_EQ(CurrentEditor->SelStart(), 9u) << "the newest closed entry counts too";
  SettingsIni->WriteString("Files", "1", path + "|3");
  EXPECT_EQ(StoredCaretPosition(path), 3u) << "[Files] first";
}

TEST_F(DocumentsTest, CaretAndViewAreSavedAndRestoredOnce) {
  Open("long.txt", NumberedLines(300));
  AppPhase = 1;
  TMyRich& e = *CurrentEditor;
  e.ScrollLines(40);
  e.Select(e.LineIndex(49) + 3, 0);
  SaveCaretPos();
  e.ScrollLines(100);
  e.Select(0, 0);
  SaveCaretPos();  // does not nest: the first save stands
  e.Select(e.LineIndex(200), 0);
  RestoreCaretPos();
  EXPECT_EQ(e.SelStart(), e.LineIndex(49) + 3);
  EXPECT_EQ(e.FirstVisibleLine(), 40u);
  RestoreCaretPos();  // nothing saved any more
  EXPECT_EQ(e.SelStart(), e.LineIndex(49) + 3);
}

TEST_F(DocumentsTest, ScrollToPosPutsTheTargetOnScreenWithContext) {
  Open("scroll.txt", NumberedLines(300));
  TMyRich& e = *CurrentEditor;  // 20 lines in view
  AppPhase = 0;
  ScrollToPos(e.LineIndex(100), true);
  EXPECT_EQ(e.SelStart(), e.LineIndex(100));
  EXPECT_EQ(e.FirstVisibleLine(), 0u) << "before start-up is complete only the caret moves";

  AppPhase = 1;
  ScrollToPos(e.LineIndex(100), true);
  EXPECT_EQ(e.FirstVisibleLine(), 85u) << "15 lines above the target";
  ScrollToPos(e.LineIndex(101), true);
  EXPECT_EQ(e.FirstVisibleLine(), 85u) << "already on screen: only the caret moves";
  EXPECT_EQ(e.SelStart(), e.LineIndex(101));
  ScrollToPos(e.LineIndex(150), false);
  EXPECT_EQ(e.FirstVisibleLine(), 150u);
  // Near the end the view shows the end with the target in it.
  ScrollToPos(e.LineIndex(290), true);
  EXPECT_TRUE(IsPosOnScreen(e.LineIndex(290)));
  EXPECT_EQ(e.FirstVisibleLine(), 271u);
  EXPECT_TRUE(Busy);
  StdCursor();
  EXPECT_FALSE(Busy);
  EXPECT_TRUE(e.Redraw());
}

TEST_F(DocumentsTest, PositionsOnScreenRunFromTheFirstVisibleToTheBottomLeft) {
  Open("screen.txt", NumberedLines(100));
  TMyRich& e = *CurrentEditor;
  e.ScrollLines(10);
  EXPECT_FALSE(IsPosOnScreen(e.LineIndex(9)));
  EXPECT_TRUE(IsPosOnScreen(e.LineIndex(10)));
  EXPECT_TRUE(IsPosOnScreen(e.LineIndex(29)));
  EXPECT_FALSE(IsPosOnScreen(e.LineIndex(30)));
}

TEST_F(DocumentsTest, BusyStateAndFocus) {
  // A tab of its own, without the focus an open gives its editor.
  NewDocumentTab(site + "busy.txt");
  CurrentEditor = &window.Editor(0);
  test::MemoryRich& e = window.Editor(0);
  AppPhase = 1;
  IdleReady = false;
  BeginBusy();
  EXPECT_TRUE(window.BusyCursor());
  EXPECT_FALSE(e.Redraw());
  EXPECT_TRUE(IdleReady);
  StdCursor();
  EXPECT_FALSE(window.BusyCursor());
  EXPECT_TRUE(window.TabsVisible());
  EXPECT_TRUE(e.Redraw());
  e.SetFocusable(false);
  FocusEditor();
  EXPECT_FALSE(e.HasFocus());
  e.SetFocusable(true);
  FocusEditor();
  EXPECT_TRUE(e.HasFocus());
}

TEST_F(DocumentsTest, TabsCycleAndTheTopFolderIsCommon) {
  std::filesystem::create_directories(site + "sub/deeper");
  Open("sub/deeper/c.txt", "c\r\n");
  Open("sub/b.txt", "b\r\n");
  Open("a.txt", "a\r\n");
  EXPECT_EQ(HighestFolder, site);
  EXPECT_EQ(window.ActiveTab(), 2);
  TabClick(true);
  EXPECT_EQ(window.ActiveTab(), 0);
  EXPECT_EQ(CurrentFileName, site + "sub/deeper/c.txt");
  TabClick(false);
  EXPECT_EQ(window.ActiveTab(), 2);
  EXPECT_EQ(CountLineBreaks(100), 1u);
  CurrentText = "a\nb\nc";
  EXPECT_EQ(CountLineBreaks(3), 1u);
  EXPECT_EQ(CountLineBreaks(4), 2u);
  CurrentText.clear();
  EXPECT_EQ(CountLineBreaks(5), 0u);
}

TEST_F(DocumentsTest, WordWrapFollowsTheOption) {
  Open("wrap.txt", NumberedLines(100));
  AppPhase = 1;
  CurrentEditor->Select(CurrentEditor->LineIndex(60), 0);
  MainMenu().SetChecked("WordWrap", false);
  ApplyWordWrap();
  EXPECT_FALSE(CurrentEditor->WordWrap());
  EXPECT_TRUE(IsPosOnScreen(CurrentEditor->LineIndex(60))) << "the caret is brought back into view";
  MainMenu().SetChecked("WordWrap", true);
  ApplyWordWrap();
  EXPECT_TRUE(CurrentEditor->WordWrap());
  Open("new.txt", "x\r\n");
  EXPECT_TRUE(CurrentEditor->WordWrap()) << "a new tab's editor follows the option";
}

TEST_F(DocumentsTest, NoDocumentLeavesTheProgramsName) {
  PCChange();
  EXPECT_EQ(CurrentEditor, nullptr);
  EXPECT_EQ(window.Caption(), "Quorrel");
}

TEST(HighestFolder, IsTheTopFolderOfTheOpenDocumentsByTheLinuxRules) {
  struct Case {
    std::vector<std::string> files;
    const char* highest;
  } cases[] = {
      {{"/site/a/x.htm", "/site/y.htm", "/site/a/b/z.htm"}, "/site/"},
      // The first folder counts, then only folders it lies below replace it.
      {{"/site/a/x.htm", "/other/y.htm"}, "/site/a/"},
      // Names that differ only by case are different folders.
      {{"/Site/a/x.htm", "/site/y.htm"}, "/Site/a/"},
      // Only the root is left out; the error log and blank slots never count.
      {{"/x.htm", "", "/srv/PHP_errors.log", "/srv/w/p.php"}, "/srv/w/"},
      {{"/x.htm"}, ""},
  };
  for (const Case& c : cases) {
    OpenFiles = c.files;
    GetHighest();
    EXPECT_EQ(HighestFolder, c.highest);
  }
  OpenFiles.clear();
}

}  // namespace
}  // namespace quorrel
