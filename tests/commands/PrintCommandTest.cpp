// "&Print" as the document decides it: what is printed (the selection, the text, the
// formatted document, the score), in which font, with which margins, and what the
// user is asked. The printing itself is the window's (tests/ui/PrintTest.cpp).
#include "commands/PrintCommand.h"
#include "platform/Desktop.h"
#include "platform/RtfCompose.h"
#include "shell/SaveTestKit.h"

namespace quorrel {
namespace {

using test::Dialogs;

const TPrintTarget kPdf{"", "/nowhere/printed.pdf"};

class PrintCommandTest : public test::SaveFixture {
 protected:
  void SetUp() override {
    SaveFixture::SetUp();
    InstallPrintCommand();
  }
  // Print from the menu, the print dialog answered; the job the window was given.
  const TPrintJob* Print() {
    Dialogs().AnswerPrint(kPdf);
    const size_t before = window.printed.size();
    MainMenu().Click("Print");
    return window.printed.size() > before ? &window.printed.back() : nullptr;
  }
};

TEST_F(PrintCommandTest, TheSelectionTheTextOrTheFormattedDocument) {
  const std::string text = "first line\r\nsecond line\r\n";
  const std::string path = Open("notes.txt", text);
  const TPrintJob* job = Print();
  ASSERT_NE(job, nullptr);
  EXPECT_EQ(job->text, text);
  EXPECT_EQ(job->formatted, nullptr);
  EXPECT_EQ(job->title, path);
  EXPECT_EQ(job->target.outputFile, kPdf.outputFile);
  EXPECT_EQ(Status(), "  Printing - please wait");  // the message bar indents its messages

  // A copy of the selection; the clipboard keeps what the user put there.
  Desktop().SetClipboardText("the user's clipboard");
  CurrentEditor->Select(6, 11);
  job = Print();
  ASSERT_NE(job, nullptr);
  EXPECT_EQ(job->text, "line\r\nsecond");
  EXPECT_EQ(Desktop().ClipboardText(), "the user's clipboard");

  // A formatted document prints as it shows; in raw view, its source as text.
  Open("letter.rtf", ComposeRtf(RtfDocumentOfText("Dear all\r\n", {})));
  ASSERT_FALSE(CurrentEditor->PlainText());
  job = Print();
  ASSERT_NE(job, nullptr);
  EXPECT_EQ(job->formatted, CurrentEditor);
  MainMenu().Click("OpenRaw");
  ASSERT_TRUE(CurrentEditor->PlainText());
  job = Print();
  ASSERT_NE(job, nullptr);
  EXPECT_EQ(job->formatted, nullptr);
  EXPECT_EQ(job->text.compare(0, 6, "{\\rtf1"), 0) << job->text;
}

TEST_F(PrintCommandTest, AnAbcDocumentAsksWhetherItsScoreOrItsTextIsPrinted) {
  const std::string tune = "X:1\r\nT:Scale\r\nM:4/4\r\nK:C\r\nCDEF GABc|\r\n";
  Open("tune.abc", tune);
  struct Case {
    int answer;
    bool text;  // the text is printed; otherwise the music tools print the score
  } cases[] = {{mrYes, false}, {mrNo, false}, {mrCancel, true}};
  for (const Case& c : cases) {
    Dialogs().Clear();
    window.printed.clear();
    Dialogs().Answer(c.answer);
    if (c.text) Dialogs().AnswerPrint(kPdf);
    MainMenu().Click("Print");
    const DialogCall& question = Dialogs().Calls().at(0);
    EXPECT_EQ(question.text, "What do you want to print?");
    EXPECT_EQ(question.buttons,
              (std::vector<std::string>{"&This tune", "&All tunes", "&Source text"}));
    EXPECT_EQ(Dialogs().PrintDialogsShown(), c.text ? 1 : 0);
    ASSERT_EQ(window.printed.size(), c.text ? 1u : 0u);
    if (c.text) {
      EXPECT_EQ(window.printed[0].text, tune);
    }
  }
  // A selection is printed as text without the question.
  Dialogs().Clear();
  CurrentEditor->Select(0, 3);
  const TPrintJob* job = Print();
  ASSERT_NE(job, nullptr);
  EXPECT_EQ(job->text, "X:1");
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(PrintCommandTest, FontAndMarginsComeFromTheSettings) {
  Open("notes.txt", "text\r\n");
  const TPrintJob* job = Print();
  ASSERT_NE(job, nullptr);
  EXPECT_EQ(job->fontName, "Lucida Sans Typewriter");
  EXPECT_EQ(job->fontSize, 10);
  EXPECT_TRUE(job->margins.AllZero());
  EXPECT_FALSE(job->letter);

  SettingsIni->WriteString("Text", "PrFont", "DejaVu Sans Mono");
  SettingsIni->WriteString("Text", "PrFontSize", "12");
  SettingsIni->WriteString("System", "LeftMargin", "20");
  SettingsIni->WriteString("System", "BottomMargin", "5");
  job = Print();
  ASSERT_NE(job, nullptr);
  EXPECT_EQ(job->fontName, "DejaVu Sans Mono");
  EXPECT_EQ(job->fontSize, 12);
  EXPECT_EQ(job->margins.left, 20);
  EXPECT_EQ(job->margins.bottom, 5);
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(PrintCommandTest, ALetterWithoutMarginsAsksForOne) {
  Open("to bank.ltr", "Dear Sir\r\n");
  for (int answer : {mrYes, mrNo}) {
    Dialogs().Clear();
    Dialogs().Answer(answer);
    const TPrintJob* job = Print();
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(Dialogs().Last().text, "Add margin?");
    EXPECT_TRUE(job->letter);
    EXPECT_EQ(job->noMargin, answer == mrNo);
  }
  // With margins set there is nothing to ask.
  Dialogs().Clear();
  SettingsIni->WriteString("System", "TopMargin", "10");
  const TPrintJob* job = Print();
  ASSERT_NE(job, nullptr);
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(PrintCommandTest, NothingIsPrintedWithoutADocumentOrAfterCancel) {
  EXPECT_TRUE(MainMenu().Click("Print"));
  EXPECT_EQ(Dialogs().PrintDialogsShown(), 0);

  const std::string path = Open("notes.txt", "text\r\n");
  Dialogs().CancelPrint();
  EXPECT_FALSE(MainMenu().Click("Print"));
  EXPECT_TRUE(window.printed.empty());
  EXPECT_TRUE(Dialogs().Calls().empty());

  window.printError = "Cannot write /nowhere/printed.pdf";
  ASSERT_NE(Print(), nullptr);
  EXPECT_EQ(Dialogs().Last().text,
            "Unable to print " + path + "\rCannot write /nowhere/printed.pdf");
}

TEST_F(PrintCommandTest, TheProgressReportPrintsAsText) {
  const std::string path = Open("notes.txt", "text\r\n");
  Dialogs().AnswerPrint(kPdf);
  PrintProgressText("a.htm: broken\r\n*** ERRORS: 1\r\n");
  ASSERT_EQ(window.printed.size(), 1u);
  EXPECT_EQ(window.printed[0].text, "a.htm: broken\r\n*** ERRORS: 1\r\n");
  EXPECT_EQ(window.printed[0].title, path);
}

}  // namespace
}  // namespace quorrel
