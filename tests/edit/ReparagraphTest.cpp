// Re-paragraphing: the joining rules on small texts, real hard-wrapped texts that
// Debian ships, and the controls it works on.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "edit/EditControl.h"
#include "edit/Reparagraph.h"
#include "edit/ReparagraphWords.h"
#include "platform/Abort.h"
#include "shell/FastStrings.h"
#include "shell/Recolour.h"
#include "shell/ShellState.h"
#include "support/MemoryRich.h"
#include "support/ScriptedDialogs.h"

namespace quorrel {
namespace {

using test::Dialogs;
using test::MemoryRich;
using test::Words;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

size_t CountOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

std::string Crlf(const std::string& text) {
  return ReplaceAll(ReplaceAll(text, "\r\n", "\n", true), "\n", "\r\n", true);
}

TEST(ReparagraphText, JoiningRules) {
  struct Case {
    const char* what;
    std::string in, out;
  } cases[] = {
      {"wrapped lines join with one blank", "one two\r\nthree four\r\nfive six",
       "one two three four five six"},
      {"an empty line parts paragraphs, and the line after it starts one",
       "aaaa\r\nbbbb\r\n\r\ncccc\r\ndddd", "aaaa bbbb\r\n\r\ncccc dddd"},
      {"a blank line counts as empty", "aaaa\r\n   \r\nbbbb", "aaaa\r\n   \r\nbbbb"},
      {"quote marks of joined lines go; the first line keeps its own",
       "> the first line\r\n> the second line\r\n>> an older one\r\n  > indented quote",
       "> the first line the second line an older one indented quote"},
      {"a lone > is an empty line", "> aaaa\r\n>\r\n> bbbb\r\n> cccc", "> aaaa\r\n\r\n> bbbb cccc"},
      {"the quote after wrote: is a paragraph of its own, and its lines join it",
       "Jo wrote:\r\n> aaaa\r\n> bbbb\r\n> cccc", "Jo wrote:\r\n> aaaa bbbb cccc"},
      {"dot-command lines are neither joined to nor from",
       "aaaa\r\n.pg x\r\nbbbb\r\ncccc", "aaaa\r\n.pg x\r\nbbbb\r\ncccc dddd"},
      {"tag lines are neither joined to nor from", "aaaa\r\n  <p>\r\nbbbb\r\ncccc",
       "aaaa\r\n  <p>\r\nbbbb cccc"},
      {"lines under four characters stand alone", "Hi,\r\nThanks for it\r\nall",
       "Hi,\r\nThanks for it\r\nall"},
      {"no-break spaces become blanks, leading tabs and end marks go",
       "aaaa\xA0z\r\n\t\x1A"
       "bbbb",
       "aaaa z bbbb"},
      {"a final line end stays", "aaaa\r\nbbbb\r\n", "aaaa bbbb\r\n"},
      {"sentence ends get two blanks, whether they had one or two",
       "One. Two.  Three! Four!  Five? Six?  \"Seven.\" Eight.\"  Nine",
       "One.  Two.  Three!  Four!  Five?  Six?  \"Seven.\"  Eight.\"  Nine"},
  };
  // The dot-command case has a fourth line: "cccc" joins the "bbbb" paragraph.
  cases[6].in += "\r\ndddd";
  cases[6].out = "aaaa\r\n.pg x\r\nbbbb cccc dddd";
  for (const Case& c : cases) EXPECT_EQ(ReparagraphText(c.in, false), c.out) << c.what;
}

TEST(ReparagraphText, PagesKeepTheirMarkupScriptsAndIndentation) {
  // Tags, scripts and PRE blocks stay as they are.
  const std::string kept =
      "    <img alt=\"A. B\" src=\"x.png\">\n"
      "  <script>\n"
      "    var a = \"x. y\";  // two  blanks\n"
      "    var b = a;\n"
      "  </script>\n"
      "  <pre>\n"
      "Line one. Kept\n"
      "line two.\n"
      "  </pre>\n";
  const std::string page = Crlf("<html>\n  <body>\n  <p>First sentence. Second\n"
                                "  sentence.  Third</p>\n" +
                                kept + "Some  words here\nand more.\n</body>\n");
  // A line that starts with a tag is never joined to nor from.
  const std::string expected = Crlf("<html>\n  <body>\n  <p>First sentence.&nbsp; Second\n"
                                    "  sentence.&nbsp; Third</p>\n" +
                                    kept + "Some  words here and more.\n</body>\n");
  EXPECT_EQ(ReparagraphText(page, true), expected);
  // Done twice, nothing more changes.
  EXPECT_EQ(ReparagraphText(expected, true), expected);
}

TEST(ReparagraphText, BlocksThatOpenAndCloseOnOneLine) {
  const std::string page = Crlf(
      "<script src=\"a.js\"></script>\n"
      "Text one. Two\n"
      "three.\n"
      "<pre>kept. as it is</pre>\n"
      "<prefix>not a pre block. really\n"
      "joined.\n");
  EXPECT_EQ(ReparagraphText(page, true),
            Crlf("<script src=\"a.js\"></script>\n"
                 "Text one.&nbsp; Two three.\n"
                 "<pre>kept. as it is</pre>\n"
                 "<prefix>not a pre block.&nbsp; really\n"
                 "joined.\n"));
}

// The GNU licence: hard-wrapped paragraphs between empty lines.
TEST(ReparagraphText, TheGplKeepsItsWordsWithEachParagraphOnOneLine) {
  const std::string licence = Crlf(ReadFile("/usr/share/common-licenses/GPL-3"));
  ASSERT_GT(licence.size(), 30000u);
  const std::string out = ReparagraphText(licence, false);
  EXPECT_EQ(Words(out), Words(licence));
  EXPECT_NE(out.find("\r\n  The GNU General Public License is a free, copyleft license for "
                     "software and other kinds of works.\r\n"),
            std::string::npos);
  // Every sentence end inside a paragraph has two blanks.
  EXPECT_NE(out.find("share and change the works.  By contrast,"), std::string::npos);
  // Paragraphs stay apart: as many empty lines as before.
  EXPECT_EQ(CountOf(out, "\r\n\r\n"), CountOf(licence, "\r\n\r\n"));
  EXPECT_LT(CountOf(out, "\r\n"), CountOf(licence, "\r\n") / 2);
}

// Real mail from Python's e-mail tests: whatever the headers and bodies hold, the
// words stay in their order.
TEST(ReparagraphText, RealMailKeepsItsWords) {
  const std::string folder = "/usr/lib/python3.11/test/test_email/data/";
  int read = 0;
  for (int n = 1; n <= 46; ++n) {
    const std::string name = (n < 10 ? "msg_0" : "msg_") + std::to_string(n) + ".txt";
    const std::string mail = Crlf(ReadFile(folder + name));
    if (mail.empty()) continue;
    ++read;
    EXPECT_EQ(Words(ReparagraphText(mail, false)), Words(mail)) << name;
  }
  EXPECT_GE(read, 40);
  // The quoted line of one of them comes after an empty line: it starts its
  // paragraph and keeps its mark.
  const std::string out = ReparagraphText(Crlf(ReadFile(folder + "msg_15.txt")), false);
  EXPECT_NE(out.find("\r\n\r\n> Denne meddelelse er i MIME-format."), std::string::npos);
}

class ReparagraphControl : public ::testing::Test {
 protected:
  void SetUp() override {
    IsRtf = false;
    IsHtml = false;
    RecolourRequest = RecolourNone;
  }
  void TearDown() override {
    CurrentEditor = nullptr;
    IsRtf = false;
  }
};

TEST_F(ReparagraphControl, ASelectionIsDoneAloneAndTheCaretStaysInTheText) {
  MemoryRich editor;
  editor.SetText("keep\r\nthese\r\naaaa\r\nbbbb\r\ntail\r\nend");
  CurrentEditor = &editor;
  editor.Select(11, 10);  // "aaaa\r\nbbbb\r\n"
  Reparagraph(editor);
  EXPECT_EQ(editor.GetText(), "keep\r\nthese\r\naaaa bbbb\r\ntail\r\nend");
  // The caret goes where the old selection ended.
  EXPECT_EQ(editor.SelStart(), 21u);
  EXPECT_EQ(RecolourRequest, RecolourText);
}

TEST_F(ReparagraphControl, TheCaretIsClampedWhenTheTextShrinks) {
  MemoryRich editor;
  editor.SetText("aaaa\r\n>> bbbb");
  CurrentEditor = &editor;
  editor.Select(12, 0);  // at the end, beyond the shorter text
  Reparagraph(editor);
  EXPECT_EQ(editor.GetText(), "aaaa bbbb");
  EXPECT_EQ(editor.SelStart(), 9u);
}

TEST_F(ReparagraphControl, WholeRtfIsDoneOnlyWhenTheUserAgrees) {
  MemoryRich editor;
  CurrentEditor = &editor;
  IsRtf = true;
  for (int answer : {mrNo, mrYes}) {
    editor.SetText("aaaa\r\nbbbb");
    editor.Select(0, 0);
    Dialogs().Answer(answer);
    if (answer == mrNo) {
      EXPECT_THROW(Reparagraph(editor), EAbort);
      EXPECT_EQ(editor.GetText(), "aaaa\r\nbbbb");
    } else {
      Reparagraph(editor);
      EXPECT_EQ(editor.GetText(), "aaaa bbbb");
    }
    EXPECT_EQ(Dialogs().Last().text, ReparagraphRtfQuestion);
  }
  // A selection, or a control that is not the current editor, is done unasked.
  const size_t asked = Dialogs().Texts().size();
  editor.SetText("aaaa\r\nbbbb\r\ncccc");
  editor.Select(0, 10);
  Reparagraph(editor);
  MemoryRich hidden;
  hidden.SetText("aaaa\r\nbbbb");
  Reparagraph(hidden);
  EXPECT_EQ(hidden.GetText(), "aaaa bbbb");
  EXPECT_EQ(Dialogs().Texts().size(), asked);
}

TEST(TextBox, SelectionAndReplacementCountALineEndOnce) {
  TTextBox box("ab\r\ncd\r\nef");
  box.Select(3, 4);  // "cd\r\ne"
  EXPECT_EQ(box.SelText(), "cd\r\ne");
  box.ReplaceSelection("X\r\nY");
  EXPECT_EQ(box.Text(), "ab\r\nX\r\nYf");
  EXPECT_EQ(box.SelStart(), 6u);
  box.SetCaret(99);
  EXPECT_EQ(box.SelStart(), 7u);
  box.Select(6, 50);
  EXPECT_EQ(box.SelText(), "f");
  Reparagraph(box);  // a text box is never the current editor: nothing is asked
  EXPECT_EQ(box.Text(), "ab\r\nX\r\nYf");
}

}  // namespace
}  // namespace quorrel
