// The Text menu's keys and tool buttons on the real main window: the editor
// leaves Ctrl+B, Ctrl+I and Ctrl+X to the menu (Ctrl+X is Strike-through and
// never cuts), on a web page and on an RTF document.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTabWidget>
#include <QToolButton>
#include <filesystem>
#include <fstream>

#include "commands/StartUp.h"
#include "platform/Paths.h"
#include "shell/BlinkJob.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/PlatformKeys.h"
#include "support/RtfConformance.h"
#include "support/ShownWindowTest.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::OurRtf;
using test::PressKey;

class TextKeysTest : public test::ShownWindowTest {
 protected:
  TextKeysTest() : ShownWindowTest("text-keys/") {}
  void SelectText(const std::string& what) {
    const size_t at = CurrentEditor->GetText().find(what);
    ASSERT_NE(at, std::string::npos) << what;
    CurrentEditor->Select(CurrentEditor->OffsetToPos(at), what.size());
  }
  void Ctrl(int key) { PressKey(Editor(), key, Qt::ControlModifier); }
  void Click(const char* button) {
    auto* tool = form->findChild<QToolButton*>(button);
    ASSERT_NE(tool, nullptr) << button;
    tool->click();
  }

};

TEST_F(TextKeysTest, KeysAndButtonsTagAWebPage) {
  OpenFile("page.htm", "<p>one two three\n<UL>\n  <LI>");
  QApplication::clipboard()->setText("kept");
  struct Case {
    const char* word;
    std::function<void()> act;
    const char* tagged;
  } cases[] = {
      {"one", [&] { Ctrl(Qt::Key_B); }, "<b>one</b>"},
      {"two", [&] { Ctrl(Qt::Key_X); }, "<s>two</s>"},
      {"three", [&] { Click("ItalBtn"); }, "<i>three</i>"},
  };
  for (const Case& c : cases) {
    SelectText(c.word);
    c.act();
    EXPECT_NE(CurrentEditor->GetText().find(c.tagged), std::string::npos)
        << c.tagged << " in " << CurrentEditor->GetText();
  }
  EXPECT_EQ(QApplication::clipboard()->text(), "kept");
  // After the generated list item, Ctrl+I starts italics.
  CurrentEditor->Select(CurrentEditor->TextLength(), 0);
  Ctrl(Qt::Key_I);
  EXPECT_EQ(CurrentEditor->GetText().substr(CurrentEditor->GetText().size() - 7), "<LI><i>");
}

TEST_F(TextKeysTest, KeysAndButtonsStyleAnRtfDocument) {
  OpenFile("letter.rtf", OurRtf("one two three four"));
  QApplication::clipboard()->setText("kept");
  SelectText("one");
  Ctrl(Qt::Key_B);
  SelectText("two");
  Ctrl(Qt::Key_X);
  SelectText("three");
  Ctrl(Qt::Key_I);
  SelectText("four");
  Click("BoldBtn");
  EXPECT_EQ(CurrentEditor->GetText(), "one two three four");
  EXPECT_EQ(QApplication::clipboard()->text(), "kept");
  EXPECT_EQ(CurrentEditor->GetRtfSource(),
            OurRtf("\\b one\\b0  \\strike two\\strike0  \\i three\\i0  \\b four\\b0"));
  // Normal takes the style off again.
  SelectText("four");
  Click("NormBtn");
  EXPECT_FALSE(CurrentEditor->CharFormatAt(CurrentEditor->SelStart()).bold);
}

}  // namespace
}  // namespace quorrel

namespace quorrel {
namespace {

// The text with "|" at the caret.
std::string TextAndCaret() {
  std::string text = CurrentEditor->GetText();
  text.insert(CurrentEditor->PosToOffset(CurrentEditor->SelStart()), "|");
  return text;
}

TEST_F(TextKeysTest, InsertionKeysOnAWebPage) {
  OpenFile("list.htm", "<p>a b\n<UL>\n  <LI>one</LI>");
  CurrentEditor->Select(CurrentEditor->TextLength(), 0);
  PressKey(Editor(), Qt::Key_Return, Qt::AltModifier);
  EXPECT_EQ(TextAndCaret(), "<p>a b\r\n<UL>\r\n  <LI>one</LI>\r\n<LI>|</LI>");
  CurrentEditor->Select(4, 0);
  Ctrl(Qt::Key_Minus);
  EXPECT_EQ(CurrentEditor->GetText().substr(0, 13), "<p>a&nbsp; b\r");
  PressKey(Editor(), Qt::Key_Minus, Qt::AltModifier);
  EXPECT_EQ(CurrentEditor->GetText().substr(0, 20), "<p>a&nbsp;&mdash; b\r");
  SelectText("a&nbsp;&mdash; b");
  Ctrl(Qt::Key_L);
  EXPECT_EQ(CurrentEditor->GetText().find("<p><UL>\r\n  <LI>a&nbsp;&mdash; b</LI>\r\n</UL>"), 0u);
}

TEST_F(TextKeysTest, InsertionKeysInAnRtfDocument) {
  // Long enough to count as a document the reader understood.
  OpenFile("keys.rtf", OurRtf("one two three"));
  CurrentEditor->Select(3, 0);
  PressKey(Editor(), Qt::Key_Return, Qt::AltModifier);
  EXPECT_EQ(TextAndCaret(), "one\v| two three");
  Ctrl(Qt::Key_Minus);
  EXPECT_EQ(TextAndCaret(), "one\v\xBB| two three");
  EXPECT_EQ(CurrentEditor->GetRtfSource(), OurRtf("one\\line\\'bb two three"));
}

TEST_F(TextKeysTest, SymbolsInTheRealEditorWriteTheSameCodes) {
  OpenFile("symbols.rtf", OurRtf("a b and more"));
  CurrentEditor->Select(1, 0);
  Ctrl(Qt::Key_Apostrophe);
  EXPECT_EQ(CurrentEditor->GetText(), "a  \x95   b and more");
  CurrentEditor->Select(0, 0);
  Ctrl(Qt::Key_Period);
  MainMenu().Click("Tick");
  EXPECT_EQ(CurrentEditor->GetText(),
            "?  \xFC"
            "a  \x95   b and more");
  EXPECT_EQ(
      CurrentEditor->GetRtfSource(),
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
      "{\\f1\\fnil\\fcharset2 Wingdings;}{\\f2\\fnil\\fcharset0 Tahoma;}}\r\n"
      "{\\colortbl ;\\red128\\green0\\blue128;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 "
      "\\cf1\\u10146?  \\cf0\\f1\\'fc\\f0 a  \\cf1\\f2\\'95\\cf0\\f0    b and more\r\n\\par }\r\n");
}

TEST_F(TextKeysTest, BulletAndArrowKeysFollowTheCharacterOnOtherLayouts) {
  OpenFile("layout.htm", "<p>");
  CurrentEditor->Select(3, 0);
  // Where "'" is Shift with another key, and "." sits on a key of its own.
  PressKey(Editor(), Qt::Key_Apostrophe, Qt::ControlModifier | Qt::ShiftModifier, "'");
  EXPECT_EQ(CurrentEditor->GetText(),
            "<p><Img Src=\"images/Bullet.gif\" Alt=\"\" Border=0> &nbsp; ");
  PressKey(Editor(), Qt::Key_Colon, Qt::ControlModifier | Qt::ShiftModifier, ".");
  EXPECT_EQ(CurrentEditor->GetText(),
            "<p><Img Src=\"images/Bullet.gif\" Alt=\"\" Border=0> &nbsp; "
            "<Img Src=\"images/Arrow.gif\" Alt=\"\"> &nbsp; ");
  // Another character with Ctrl is no command and types nothing either.
  PressKey(Editor(), Qt::Key_Comma, Qt::ControlModifier, ",");
  EXPECT_EQ(CurrentEditor->GetText().size(), 99u);
}

}  // namespace
}  // namespace quorrel
