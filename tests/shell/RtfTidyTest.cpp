// The house font of RTF documents and the runs of blank paragraphs cut to two.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Abort.h"
#include "platform/RtfCompose.h"
#include "platform/RtfParse.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/RtfTidy.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"

namespace quorrel {
namespace {

using test::Dialogs;

const char kHeader[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fswiss\\fcharset0 "
    "Calibri;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs32 ";

TEST(RtfTidyTest, TheDefaultFontIsArialAt12PointsWithoutColours) {
  const std::string source = std::string(kHeader) + "\\cf1 red\\cf0  text\r\n\\par }\r\n";
  const std::string tidy = RtfWithDefaultFont(source);
  EXPECT_EQ(tidy,
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fswiss\\fcharset0 "
            "Arial;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 \\cf1 red\\cf0  text\r\n\\par }\r\n");
  // The braces still pair, and the text reads as it did.
  EXPECT_EQ(std::count(tidy.begin(), tidy.end(), '{'), std::count(tidy.begin(), tidy.end(), '}'));
  const TRtfDocument document = ParseRtf(tidy);
  EXPECT_EQ(RtfPlainText(document).substr(0, 8), "red text");
  EXPECT_EQ(document.paragraphs.at(0).runs.at(0).format.font, "Arial");
  EXPECT_EQ(document.paragraphs.at(0).runs.at(0).format.halfPoints, 24);
  EXPECT_EQ(RtfWithDefaultFont("plain words"), "plain words") << "nothing to change";
}

TEST(RtfTidyTest, RunsOfThreeOrMoreBlankParagraphsAreCutToTwo) {
  const std::string p = kRtfParMark;
  struct Case {
    std::string source;
    std::string tidy;
    size_t first;  // the first run of three
  } cases[] = {
      {"a" + p + p + "b", "a" + p + p + "b", std::string::npos},
      {"a" + p + p + p + "b", "a" + p + p + "b", 1},
      {"a" + p + p + p + p + p + "b" + p + p + p, "a" + p + p + "b" + p + p, 1},
      {"a" + p + "b" + p + p + p + p, "a" + p + "b" + p + p, 9},
      {"", "", std::string::npos},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithoutTripleBlankLines(c.source), c.tidy);
    EXPECT_EQ(FirstTripleBlankLine(c.source), c.first);
  }
}

class RtfTidyEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    CurrentEditor = window.NewTab();
    CurrentEditor->SetRtfSource(ComposeRtf(RtfDocumentOfText("one\r\n\r\n\r\n\r\ntwo\r\n", {})));
    CurrentEditor->Select(5, 0);
    CurrentEditor->SetModified(true);
  }
  void TearDown() override {
    CurrentEditor = nullptr;
    SetMainWindow(nullptr);
  }
  test::MemoryMainWindow window;
};

TEST_F(RtfTidyEditorTest, TheTidiedSourceIsShownWithTheCaretAndModifiedStateKept) {
  const std::string text = RemoveTripleBlankLines();
  EXPECT_EQ(FirstTripleBlankLine(text), std::string::npos);
  // Three blank lines in a row (four paragraph marks) leave one.
  EXPECT_EQ(CurrentEditor->GetText(), "one\r\n\r\ntwo\r\n");
  EXPECT_FALSE(CurrentEditor->PlainText());
  EXPECT_EQ(CurrentEditor->SelStart(), 5u);
  EXPECT_TRUE(CurrentEditor->Modified());
}

TEST_F(RtfTidyEditorTest, WithDebugTheFirstRunIsShownInTheCodesAndNothingIsLost) {
  MainMenu().SetChecked("Debug", true);
  EXPECT_THROW(RemoveTripleBlankLines(), EAbort);
  EXPECT_EQ(Dialogs().Last().text, MessageText("Two blank lines."));
  ASSERT_TRUE(CurrentEditor->PlainText()) << "the codes of the editor's own text";
  const std::string codes = CurrentEditor->GetText();
  const size_t at = FirstTripleBlankLine(codes);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(CurrentEditor->SelStart(), CurrentEditor->OffsetToPos(at + 2));
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(RtfPlainText(ParseRtf(codes)), "one\r\n\r\n\r\n\r\ntwo\r\n");
}

TEST_F(RtfTidyEditorTest, SetRtfDefaultFontShowsThePlainTextFormatted) {
  CurrentEditor->SetPlainText(true);
  CurrentEditor->SetText("Dear Sir");
  CurrentEditor->SetModified(true);
  SetRtfDefaultFont();
  EXPECT_FALSE(CurrentEditor->PlainText());
  const std::string source = CurrentEditor->GetRtfSource();
  EXPECT_NE(source.find("\\fcharset0 Arial;"), std::string::npos) << source;
  EXPECT_EQ(CurrentEditor->GetText(), "Dear Sir");
  EXPECT_TRUE(CurrentEditor->Modified());
}

}  // namespace
}  // namespace quorrel
