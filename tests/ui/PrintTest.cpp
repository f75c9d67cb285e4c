// Printing from the real main window into a PDF file (the print dialog answered by
// the scripted user), read back with Debian's poppler tools: the text, the job's
// title, the fonts and where on the page the text stands.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Desktop.h"
#include "platform/IniFile.h"
#include "platform/RtfCompose.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/Installed.h"
#include "support/ScriptedDialogs.h"
#include "support/ShownWindowTest.h"
#include "support/TestFiles.h"
#include "ui/platform/QtDesktop.h"
#include "ui/platform/QtPrinting.h"
#include "ui/shell/ProgBox.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

// What a poppler tool prints for the PDF file.
std::string Poppler(const std::string& tool, QStringList arguments) {
  if (!test::Installed("/usr/bin/" + tool, "poppler-utils")) return "";
  QProcess process;
  process.start(QString::fromStdString("/usr/bin/" + tool), arguments);
  EXPECT_TRUE(process.waitForFinished(60000)) << tool;
  return process.readAllStandardOutput().toStdString();
}

class PrintTest : public test::ShownDesktopWindowTest {
 protected:
  PrintTest() : ShownDesktopWindowTest("print/") {}
  void SetUp() override {
    ShownDesktopWindowTest::SetUp();
    pdf = site + "printed.pdf";
  }
  // File > Print into the PDF file.
  void Print() {
    fs::remove(pdf);
    Dialogs().AnswerPrint({"", pdf});
    form->Action("Print")->trigger();
    ASSERT_TRUE(fs::exists(pdf)) << (Dialogs().Calls().empty() ? "" : Dialogs().Last().text);
  }
  std::string Text() { return Poppler("pdftotext", {"-layout", QString::fromStdString(pdf), "-"}); }
  // The left edge of the first word, in points from the paper's edge.
  double FirstWordLeft() {
    const std::string boxes = Poppler("pdftotext", {"-bbox", QString::fromStdString(pdf), "-"});
    const QRegularExpressionMatch m =
        QRegularExpression("<word xMin=\"([0-9.]+)\"").match(QString::fromStdString(boxes));
    EXPECT_TRUE(m.hasMatch()) << boxes;
    return m.captured(1).toDouble();
  }

  std::string pdf;
};

TEST_F(PrintTest, TheDocumentsTextUnderItsNameOnAsManyPagesAsItNeeds) {
  std::string text;
  for (int i = 1; i <= 150; ++i) text += "line " + std::to_string(i) + " of the notes\r\n";
  OpenFile("notes.txt", text);
  Print();
  const std::string printed = Text();
  for (const char* line :
       {"line 1 of the notes", "line 75 of the notes", "line 150 of the notes"}) {
    EXPECT_NE(printed.find(line), std::string::npos) << line;
  }
  const std::string info = Poppler("pdfinfo", {QString::fromStdString(pdf)});
  const QRegularExpressionMatch title =
      QRegularExpression("Title: +(.*)\n").match(QString::fromStdString(info));
  EXPECT_EQ(title.captured(1).toStdString(), site + "notes.txt") << info;
  const QRegularExpressionMatch pages =
      QRegularExpression("Pages: +([0-9]+)").match(QString::fromStdString(info));
  EXPECT_GE(pages.captured(1).toInt(), 2) << info;
}

TEST_F(PrintTest, TheLeftMarginFollowsTheSettings) {
  OpenFile("notes.txt", "Margin\r\n");
  struct Case {
    int millimetres;
  } cases[] = {{0}, {20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.millimetres);
    SettingsIni->WriteString("System", "LeftMargin", std::to_string(c.millimetres));
    Print();
    const QPrinter& printer = RunPrinter();
    const int dpi = printer.logicalDpiX();
    const int pixels = c.millimetres == 0 ? 250 : c.millimetres * dpi * 57 / 1440;
    const double expected =
        printer.pageLayout().paintRect(QPageLayout::Point).left() + pixels * 72.0 / dpi;
    EXPECT_NEAR(FirstWordLeft(), expected, 1.5);
  }
}

TEST_F(PrintTest, ASelectionPrintsAloneAndTheClipboardKeepsItsText) {
  OpenFile("notes.txt", "first line\r\nsecond line\r\nthird line\r\n");
  QApplication::clipboard()->setText("the user's clipboard");
  CurrentEditor->Select(11, 11);  // one position for each line end
  Print();
  const std::string printed = Text();
  EXPECT_NE(printed.find("second line"), std::string::npos) << printed;
  EXPECT_EQ(printed.find("first"), std::string::npos) << printed;
  EXPECT_EQ(printed.find("third"), std::string::npos) << printed;
  EXPECT_EQ(QApplication::clipboard()->text(), "the user's clipboard");
}

TEST_F(PrintTest, FormattedRtfPrintsFormattedAndItsRawViewPrintsTheSource) {
  TRtfCharFormat bold;
  bold.font = "Calibri";
  bold.bold = true;
  OpenFile("letter.rtf", ComposeRtf(RtfDocumentOfText("Dear all\r\n", bold)));
  ASSERT_FALSE(CurrentEditor->PlainText());
  Print();
  EXPECT_NE(Text().find("Dear all"), std::string::npos);
  EXPECT_EQ(Text().find("rtf1"), std::string::npos);
  EXPECT_NE(Poppler("pdffonts", {QString::fromStdString(pdf)}).find("Bold"), std::string::npos);

  form->Action("OpenRaw")->trigger();
  ASSERT_TRUE(CurrentEditor->PlainText());
  Print();
  EXPECT_NE(Text().find("{\\rtf1"), std::string::npos) << Text();
}

TEST_F(PrintTest, TheProgressBoxPrintsItsReportThroughThePrintCommand) {
  OpenFile("notes.txt", "the document\r\n");
  TProgBox box(form.get());
  box.LineAdded("a.htm: missing image");
  box.LineAdded("*** ERRORS: 1");
  fs::remove(pdf);
  Dialogs().AnswerPrint({"", pdf});
  box.PrintBtn()->click();
  const std::string printed = Text();
  EXPECT_NE(printed.find("a.htm: missing image"), std::string::npos) << printed;
  EXPECT_NE(printed.find("*** ERRORS: 1"), std::string::npos) << printed;
  EXPECT_EQ(printed.find("the document"), std::string::npos) << printed;
}

TEST_F(PrintTest, MarginsThatLeaveNoRoomAreReported) {
  OpenFile("notes.txt", "text\r\n");
  SettingsIni->WriteString("System", "LeftMargin", "200");
  SettingsIni->WriteString("System", "RightMargin", "200");
  fs::remove(pdf);
  Dialogs().AnswerPrint({"", pdf});
  form->Action("Print")->trigger();
  EXPECT_EQ(Dialogs().Last().text,
            "Unable to print " + site + "notes.txt\rThe print margins leave no room on the page.");
  EXPECT_FALSE(fs::exists(pdf));
}

// Each line is printed on one page only. Drawn again, clipped out of sight, at the
// foot of the page before, the first line of a page would still be in the file:
// searching or copying the PDF finds it twice.
TEST_F(PrintTest, EveryWordOfALongTextIsPrintedOnce) {
  const char kGpl[] = "/usr/share/common-licenses/GPL-3";
  const std::string gpl = test::ReadFile(kGpl);
  ASSERT_GT(gpl.size(), 10000u);
  OpenFile("gpl.txt", gpl);
  Print();
  const std::string printed = Poppler("pdftotext", {QString::fromStdString(pdf), "-"});
  if (printed.empty()) GTEST_SKIP() << "no poppler-utils";
  auto words = [](const std::string& text) {
    std::vector<std::string> list;
    std::istringstream in(text);
    for (std::string word; in >> word;) list.push_back(word);
    return list;
  };
  const std::vector<std::string> expected = words(gpl), got = words(printed);
  EXPECT_EQ(got.size(), expected.size());
  // The first word out of place, with what precedes it.
  const auto [e, g] = std::mismatch(expected.begin(), expected.end(), got.begin(), got.end());
  if (g != got.end()) {
    const size_t at = static_cast<size_t>(g - got.begin());
    std::string before;
    for (size_t i = at > 12 ? at - 12 : 0; i < at; ++i) before += got[i] + " ";
    ADD_FAILURE() << "after \"" << before << "\" the print has \"" << *g << "\"";
  }
}

}  // namespace
}  // namespace quorrel
