// Paste of what word processors put on the system clipboard: their RTF (made by
// AbiWord and LibreOffice Writer) and HTML, into pages, RTF documents and
// dot-command pages of the real main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "edit/PasteRtf.h"
#include "platform/CodePage.h"
#include "platform/Desktop.h"
#include "platform/RtfCompose.h"
#include "platform/RtfParse.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/RtfConformance.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownWindowTest.h"
#include "support/TestFiles.h"
#include "ui/platform/QtDesktop.h"

namespace quorrel {
namespace {

using test::Dialogs;
using test::RtfFixture;

bool Shown(const std::string& message) {
  for (const std::string& text : Dialogs().Texts()) {
    if (text.find(message) != std::string::npos) return true;
  }
  return false;
}

// The editor position of an offset into text read out with CR LF line ends.
size_t EditorPos(const std::string& plain, size_t offset) {
  size_t lineEnds = 0;
  for (size_t at = plain.find("\r\n"); at < offset; at = plain.find("\r\n", at + 2)) ++lineEnds;
  return offset - lineEnds;
}

class RichPasteTest : public test::ShownDesktopWindowTest {
 protected:
  RichPasteTest() : ShownDesktopWindowTest("rich-paste/") {}
  // A word processor's copy: its text, and its RTF or HTML beside it.
  void Offer(const std::string& rtf, const QString& html = {}) {
    auto* data = new QMimeData;
    const std::string text =
        rtf.empty() ? std::string("from a page\nsecond line") : RtfPlainText(ParseRtf(rtf));
    data->setText(AnsiToQString(text).replace("\r\n", "\n"));
    if (!rtf.empty()) data->setData("text/rtf", QByteArray::fromStdString(rtf));
    if (!html.isEmpty()) data->setHtml(html);
    QApplication::clipboard()->setMimeData(data);
  }
  std::string Text() const { return CurrentEditor->GetText(); }
};

TEST_F(RichPasteTest, WordProcessorRtfIntoAPageAsHtml) {
  struct Case {
    const char* file;
    std::string html;     // what goes into the page
    std::string unicode;  // or the code of the character that stops the paste
  } cases[] = {
      {"abiword-list.rtf",
       "Shopping for <b>today</b>&hellip; and <i>tomorrow</i>:\r\n<Br> &bull; Apples\r\n<Br> "
       "&bull; <b>Fresh</b> bread\r\n<Br>Then home.\r\n<Br>\r\n<Br>\r\n<Br>After an empty "
       "paragraph.\r\n<P>",
       ""},
      {"libreoffice-tabs.rtf",
       "Name Part Page\r\n<Br>Alice <b>Lead</b> 12\r\n<Br>Justified and <i>double spaced</i> "
       "paragraph.\r\n<Br>Cell one Cell two \r\n<Br>After the table.",
       ""},
      {"libreoffice-hyphens.rtf",
       "Optional hyphens: softhyphenation.\r\n<Br>Non-breaking hyphens: well-known, "
       "e-mail.\r\n<Br>Both: co-operate\r\n<Br>after a line break.",
       ""},
      {"abiword-sample.rtf", "", "945"},
      {"libreoffice-sample.rtf", "", "945"},
      {"abiword-accents.rtf", "", "945"},
  };
  OpenFile("page.htm", "<p></p>\n");
  for (const Case& c : cases) {
    CurrentEditor->Select(0, CurrentEditor->TextLength());
    CurrentEditor->SetSelText("<p></p>\n");
    CurrentEditor->SetModified(false);
    CurrentEditor->Select(3, 0);
    Dialogs().Clear();
    if (c.unicode.empty()) Dialogs().Answer(mrYes);
    Offer(RtfFixture(c.file));
    MainMenu().Click("Paste");
    if (c.unicode.empty()) {
      EXPECT_TRUE(
          Shown("Convert the pasted text to HTML, keeping any bold, italic and line breaks?"))
          << c.file;
      EXPECT_EQ(Text(), "<p>" + c.html + "</p>\r\n") << c.file;
    } else {
      EXPECT_TRUE(Shown(UnicodeMessage(c.unicode))) << c.file;
      EXPECT_EQ(Text(), "<p></p>\r\n") << c.file;
      EXPECT_FALSE(CurrentEditor->Modified()) << c.file;
    }
  }
}

TEST_F(RichPasteTest, HtmlFromABrowserIntoAPage) {
  OpenFile("page.htm", "<p></p>\n");
  CurrentEditor->Select(3, 0);
  Dialogs().Answer(mrYes);
  Offer("", "<p>One <b>two</b> <i>three</i></p><ul><li>four</li><li>five&hellip;</li></ul>");
  MainMenu().Click("Paste");
  EXPECT_EQ(Text(),
            "<p>One <b>two</b> <i>three</i>\r\n<Br> &bull; four\r\n<Br> &bull; "
            "five&hellip;</p>\r\n");
}

TEST_F(RichPasteTest, RtfDocumentRefusesCodesAndKeepsBoldOnRequest) {
  OpenFile("letter.rtf", test::OurRtf("Dear Jo and Ann, "));
  ASSERT_FALSE(CurrentEditor->PlainText());
  QApplication::clipboard()->setText("{\\rtf1\\ansi codes}");
  MainMenu().Click("Paste");
  EXPECT_TRUE(Shown("You must switch to Raw RTF view before pasting raw RTF."));
  EXPECT_EQ(Text(), "Dear Jo and Ann, ");

  CurrentEditor->Select(17, 0);
  Dialogs().Answer(mrYes);  // Keep formatted text?
  Offer(RtfFixture("abiword-list.rtf"));
  MainMenu().Click("Paste");
  EXPECT_TRUE(Shown("Keep formatted text?"));
  const size_t today = Text().find("today");
  ASSERT_NE(today, std::string::npos);
  EXPECT_TRUE(CurrentEditor->CharFormatAt(today + 1).bold);
  EXPECT_FALSE(CurrentEditor->CharFormatAt(today - 2).bold);
  ASSERT_TRUE(MainMenu().Click("Save"));

  const TRtfDocument saved = ParseRtf(test::ReadFile(CurrentFileName));
  const std::string plain = RtfPlainText(saved);
  ASSERT_EQ(plain.substr(0, 17), "Dear Jo and Ann, ");
  for (const char* bold : {"today", "Fresh"}) {
    const size_t at = plain.find(bold);
    ASSERT_NE(at, std::string::npos) << bold;
    EXPECT_TRUE(RtfFormatAt(saved, EditorPos(plain, at) + 1).bold) << bold;
  }
  EXPECT_TRUE(RtfFormatAt(saved, EditorPos(plain, plain.find("tomorrow")) + 1).italic);
  EXPECT_FALSE(RtfFormatAt(saved, EditorPos(plain, plain.find("Apples")) + 1).bold);
}

TEST_F(RichPasteTest, DotCommandPageLosesTheLayoutWordsAndKeepsItsHeader) {
  const std::string page = ComposeRtf(RtfDocumentOfText(".PG Title\r\nBody ", {}));
  OpenFile("page.rtf", page);
  ASSERT_TRUE(IsDotPage);
  const std::string header = page.substr(0, page.find(".PG"));
  CurrentEditor->Select(CurrentEditor->TextLength(), 0);
  Dialogs().Answer(mrYes);  // Keep formatted text?
  const std::string tabs = RtfFixture("libreoffice-tabs.rtf");
  Offer(tabs);
  MainMenu().Click("Paste");
  EXPECT_TRUE(Shown("Keep formatted text?"));
  ASSERT_TRUE(MainMenu().Click("Save"));

  const std::string saved = test::ReadFile(CurrentFileName);
  EXPECT_EQ(saved.substr(0, header.size()), header) << saved;
  for (const char* word : {"\\li", "\\fi", "\\sb", "\\sa", "\\sl", "\\tx", "\\fs22", "\\lang"}) {
    EXPECT_EQ(saved.find(word), std::string::npos) << word << "\n" << saved;
  }
  const TRtfDocument back = ParseRtf(saved);
  const std::string plain = RtfPlainText(back);
  EXPECT_EQ(plain.substr(0, 15), ".PG Title\r\nBody");
  const size_t lead = plain.find("Lead");
  ASSERT_NE(lead, std::string::npos) << plain;
  EXPECT_TRUE(RtfFormatAt(back, EditorPos(plain, lead) + 1).bold);
}

}  // namespace
}  // namespace quorrel
