// The keyboard hooks on the tests' editor: what FormShortCut and MyKeyPress do to
// the current document, and which keys they leave to the menus and the editor.
#include <gtest/gtest.h>

#include "commands/IdleLoop.h"
#include "commands/KeyHooks.h"
#include "music/AbcOptions.h"
#include "music/MidiRatio.h"
#include "music/PlayerBar.h"
#include "shell/BlinkJob.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "shell/Timer.h"
#include "support/MemoryMainWindow.h"
#include "support/MemoryRich.h"
#include "support/ScriptedDialogs.h"

namespace quorrel {
namespace {

TKey Key(TKeyCode code, char ch = 0) {
  TKey key;
  key.code = code;
  key.ch = ch;
  return key;
}

TKey Ctrl(TKeyCode code) {
  TKey key = Key(code);
  key.ctrl = true;
  return key;
}

class KeyHooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    CurrentEditor = editor = static_cast<test::MemoryRich*>(window.NewTab());
  }
  void TearDown() override { SetMainWindow(nullptr); }

  // The document's text with the caret at "|".
  void Document(const std::string& textWithCaret) {
    const size_t caret = textWithCaret.find('|');
    std::string text = textWithCaret;
    text.erase(caret, 1);
    editor->SetText(text);
    // One position per line end before the caret.
    size_t pos = 0;
    for (size_t i = 0; i < caret; ++i) {
      if (text[i] == '\r' && i + 1 < caret && text[i + 1] == '\n') continue;
      ++pos;
    }
    editor->Select(pos, 0);
  }
  // The text with "|" at the caret.
  std::string Shown() {
    std::string text = editor->GetText();
    const size_t caret = editor->SelStart();
    size_t offset = 0;
    for (size_t pos = 0; pos < caret && offset < text.size(); ++pos) {
      offset += text.compare(offset, 2, "\r\n") == 0 ? 2 : 1;
    }
    return text.insert(offset, "|");
  }
  // A key typed as the editor gets it: FormShortCut first, then MyKeyPress, then
  // the editor itself.
  void Type(TKeyCode code, char ch) {
    const TKey key = Key(code, ch);
    if (FormShortCut(key) || MyKeyPress(ch)) return;
    editor->SetSelText(ch == '\r' ? "\r\n" : std::string(1, ch));
  }

  test::MemoryMainWindow window;
  test::MemoryRich* editor = nullptr;
};

TEST_F(KeyHooksTest, EnterKeepsTheIndentOfItsLine) {
  struct Case {
    std::string before, after;
  } cases[] = {
      {"    one|\r\ntwo", "    one\r\n    |\r\ntwo"},
      {"  a| b\r\n", "  a\r\n  | b\r\n"},
      {"none|\r\n", "none\r\n|\r\n"},
      {"\t tab|\r\n", "\t tab\r\n|\r\n"},  // blanks only: a tab is no indent
  };
  for (const auto& c : cases) {
    Document(c.before);
    Type(TKeyCode::Enter, '\r');
    EXPECT_EQ(Shown(), c.after) << c.before;
  }
  // At the very end of the text Enter is the editor's own.
  Document("    last|");
  EXPECT_FALSE(MyKeyPress('\r'));
}

TEST_F(KeyHooksTest, TabReachesTheNextWordAboveOrTheNextTabStop) {
  struct Case {
    std::string before, after;
  } cases[] = {
      // Column 2 below an empty line: to column 6.
      {"\r\nx|\r\n", "\r\nx    |\r\n"},
      {"int    count;\r\nab|\r\n", "int    count;\r\nab     |\r\n"},
      // The nearest line above with a word there; an empty line in between is skipped.
      {"ab    c\r\n\r\nq|z\r\n", "ab    c\r\n\r\nq     |z\r\n"},
      {"a     b\r\nq|z\r\n", "a     b\r\nq    |z\r\n"},  // a blank above the caret: no word
      {"first  second\r\nshort\r\nx|\r\n", "first  second\r\nshort\r\nx      |\r\n"},
      {"abcdef|x\r\n", "abcdef    |x\r\n"},  // column 7 goes to column 11
  };
  for (const auto& c : cases) {
    Document(c.before);
    Type(TKeyCode::Tab, '\t');
    EXPECT_EQ(Shown(), c.after) << c.before;
  }
}

TEST_F(KeyHooksTest, RtfDocumentsTypeTheirOwnKeys) {
  IsRtf = true;
  Document("  a|b");
  EXPECT_FALSE(MyKeyPress('\r'));
  EXPECT_FALSE(MyKeyPress('\t'));
}

TEST_F(KeyHooksTest, TypedBlanksAlternateWithNonBreakingBlanksInHtml) {
  IsHtml = true;
  Document("<p>a|</p>");
  for (int i = 0; i < 5; ++i) Type(TKeyCode::Space, ' ');
  EXPECT_EQ(Shown(), "<p>a&nbsp; &nbsp; &nbsp;|</p>");
  // Not in a server page, and not inside a script or style block.
  IsServerPage = true;
  Document("a |");
  Type(TKeyCode::Space, ' ');
  EXPECT_EQ(Shown(), "a  |");
  IsServerPage = false;
  InScriptOrStyle = true;
  Document("a |");
  Type(TKeyCode::Space, ' ');
  EXPECT_EQ(Shown(), "a  |");
}

TEST_F(KeyHooksTest, EnterAfterAListTagStartsAListItem) {
  IsHtml = true;
  Document("<UL>|\r\n</UL>");
  Type(TKeyCode::Enter, '\r');
  EXPECT_EQ(Shown(), "<UL>\r\n<LI>|</LI>\r\n</UL>");
  Document("<li>One</li>|");
  Type(TKeyCode::Enter, '\r');
  EXPECT_EQ(Shown(), "<li>One</li>\r\n<LI>|</LI>");
  // Not inside the line, and not in other documents.
  Document("<UL>| x\r\n");
  Type(TKeyCode::Enter, '\r');
  EXPECT_EQ(Shown(), "<UL>\r\n| x\r\n");
  IsHtml = false;
  Document("<OL>|\r\n");
  Type(TKeyCode::Enter, '\r');
  EXPECT_EQ(Shown(), "<OL>\r\n|\r\n");
}

TEST_F(KeyHooksTest, CtrlArrowsJumpBetweenNoteGroupsOfATune) {
  IsAbc = true;
  Document("|abc de | fg\r\nA2");
  EXPECT_TRUE(FormShortCut(Ctrl(TKeyCode::Right)));
  EXPECT_EQ(Shown(), "abc |de | fg\r\nA2");
  FormShortCut(Ctrl(TKeyCode::Right));
  EXPECT_EQ(Shown(), "abc de | |fg\r\nA2");
  FormShortCut(Ctrl(TKeyCode::Right));
  EXPECT_EQ(Shown(), "abc de | fg\r\n|A2");
  FormShortCut(Ctrl(TKeyCode::Left));
  EXPECT_EQ(Shown(), "abc de | |fg\r\nA2");
  TKey shifted = Ctrl(TKeyCode::Left);
  shifted.shift = true;
  EXPECT_FALSE(FormShortCut(shifted)) << "Ctrl+Shift selects as the editor does";
  IsAbc = false;
  EXPECT_FALSE(FormShortCut(Ctrl(TKeyCode::Left)));
}

TEST_F(KeyHooksTest, TheFirstBrokenRhythmSignOfTheRunMakesTheOffer) {
  IsAbc = true;
  Document("K:G\r\nA|");
  SetAbcOption("CheckChords", true);
  test::Dialogs().Answer(mrNo);
  EXPECT_TRUE(MyKeyPress('>'));
  SetAbcOption("CheckChords", false);
  EXPECT_EQ(test::Dialogs().Last().text,
            "As you're using broken rhythm, would you like \"%%MIDI ratio 3 1\" added?");
  EXPECT_EQ(Shown(), "K:G\r\nA>|");
  EXPECT_TRUE(RatioOffered);
  EXPECT_FALSE(MyKeyPress('<')) << "offered once a run";
  RatioOffered = false;
  Document("!|");
  EXPECT_FALSE(MyKeyPress('>')) << "\"!>\" is a decoration, not broken rhythm";
  EXPECT_FALSE(RatioOffered);
}

TEST_F(KeyHooksTest, EscapeEndsTheFirstStateItFindsOtherwiseItGoesOn) {
  std::vector<std::string> order;
  KeyHooks().endSpecialState = [&] {
    order.push_back("special");
    return false;
  };
  KeyHooks().cancelPendingCommand = [&] {
    order.push_back("command");
    return false;
  };
  bool paragraphShown = true;
  KeyHooks().hideParagraphPanel = [&] {
    order.push_back("paragraph");
    bool was = paragraphShown;
    paragraphShown = false;
    return was;
  };
  PlayPnl().SetVisible(true);
  SectionLines = {"0", "10"};
  EXPECT_TRUE(FormShortCut(Key(TKeyCode::Escape)));
  EXPECT_FALSE(PlayPnl().Visible()) << "the player bar first";
  EXPECT_EQ(order, (std::vector<std::string>{"special"}));
  EXPECT_TRUE(FormShortCut(Key(TKeyCode::Escape)));
  EXPECT_FALSE(paragraphShown);
  EXPECT_EQ(SectionLines.size(), 2u);
  EXPECT_FALSE(FormShortCut(Key(TKeyCode::Escape))) << "nothing left: the key goes on";
  EXPECT_TRUE(SectionLines.empty()) << "the section list is rebuilt on the next pass";
}

TEST_F(KeyHooksTest, CopyAndPasteKeysRunTheProgramsCommands) {
  std::vector<std::string> ran;
  // Without commands of its own the editor's keys stay the editor's.
  EXPECT_FALSE(FormShortCut(Ctrl(TKeyCode::C)));
  for (const char* name : {"Copy", "Paste"}) {
    MainMenu().SetHandler(name, [&](const TMenuItem& item) { ran.push_back(item.name); });
  }
  TKey shiftInsert = Key(TKeyCode::Insert);
  shiftInsert.shift = true;
  for (const TKey& key :
       {Ctrl(TKeyCode::C), Ctrl(TKeyCode::Insert), shiftInsert, Ctrl(TKeyCode::V)}) {
    EXPECT_TRUE(FormShortCut(key));
  }
  EXPECT_EQ(ran, (std::vector<std::string>{"Copy", "Copy", "Paste", "Paste"}));
}

TEST_F(KeyHooksTest, InsertSwitchesOverwriteAndSaysSo) {
  EXPECT_TRUE(FormShortCut(Key(TKeyCode::Insert)));
  EXPECT_TRUE(editor->Overwrite());
  EXPECT_EQ(window.StatusText(MessagePanel), "  INSERT MODE OFF");
  EXPECT_TRUE(FormShortCut(Key(TKeyCode::Insert)));
  EXPECT_FALSE(editor->Overwrite());
  EXPECT_EQ(window.StatusText(MessagePanel), "  INSERT MODE ON");
  EXPECT_FALSE(FormShortCut(Key(TKeyCode::CapsLock))) << "the lock keys go on to the desktop";
}

TEST_F(KeyHooksTest, AKeyStopsTheBlinkAndPlacesTheCaret) {
  editor->SetText("0123456789abcdef");
  struct Case {
    TKeyCode code;
    bool handled;
    size_t caret;
  } cases[] = {
      {TKeyCode::Right, true, 9},   // the end of the blinking range
      {TKeyCode::Left, true, 5},    // its start
      {TKeyCode::Other, false, 5},  // its start, and the key goes on
  };
  for (const auto& c : cases) {
    StartBlink(5, 4, true, 6);
    BlinkJob();  // selected
    EXPECT_EQ(editor->SelLength(), 4u);
    ASSERT_TRUE(Blinking());
    EXPECT_EQ(FormShortCut(Key(c.code, c.code == TKeyCode::Other ? 'x' : 0)), c.handled);
    EXPECT_FALSE(Blinking());
    EXPECT_EQ(editor->SelStart(), c.caret);
    EXPECT_EQ(editor->SelLength(), 0u);
  }
  EXPECT_FALSE(FormShortCut(Key(TKeyCode::Right))) << "no blink: the arrow is the editor's";
}

TEST_F(KeyHooksTest, TheBrowsersKeysWhileItIsActive) {
  std::vector<std::string> ran;
  EXPECT_FALSE(AppEvKey(Ctrl(TKeyCode::Right))) << "no browser";
  bool active = false;
  KeyHooks().browserActive = [&] { return active; };
  KeyHooks().browserForward = [&] { ran.push_back("forward"); };
  KeyHooks().browserBack = [&] { ran.push_back("back"); };
  MainMenu().SetHandler("BuildOne", [&](const TMenuItem&) { ran.push_back("build"); });
  MainMenu().SetEnabled("BuildOne", true);  // a dot-command page
  EXPECT_FALSE(AppEvKey(Ctrl(TKeyCode::Right)));
  active = true;
  EXPECT_TRUE(AppEvKey(Ctrl(TKeyCode::Right)));
  EXPECT_TRUE(AppEvKey(Ctrl(TKeyCode::Left)));
  EXPECT_TRUE(AppEvKey(Key(TKeyCode::F5)));
  EXPECT_FALSE(AppEvKey(Key(TKeyCode::Left)));
  EXPECT_EQ(ran, (std::vector<std::string>{"forward", "back", "build"}));
}

TEST_F(KeyHooksTest, AClickOnTheScrollBarTakesTheCaretOffTheFirstLine) {
  editor->SetText("first line\r\nsecond");
  editor->Select(3, 0);
  EditorScrollBarClicked();
  EXPECT_EQ(editor->SelStart(), 10u);
  editor->Select(14, 0);
  EditorScrollBarClicked();
  EXPECT_EQ(editor->SelStart(), 14u);
}

}  // namespace
}  // namespace quorrel
