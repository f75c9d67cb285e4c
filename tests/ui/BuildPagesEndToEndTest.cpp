// Building pages on the real program: a master opened in a tab, "Build &Web
// pages" and "Build One" from their menu items, the pages on disk and the status.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <filesystem>
#include <fstream>
#include <regex>

#include "commands/StartUp.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "platform/RtfParse.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "support/MasterRtf.h"
#include "support/PageCheckers.h"
#include "support/ReadOnlyFolder.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using test::Master;

const std::vector<std::string> kTwoPages = {
    ".PG one|First",  ".BO", "<H1>First</H1>",  "Some \\b bold\\b0  text.",
    ".PG two|Second", ".BO", "<H1>Second</H1>", "More \\i text\\i0 ."};

class BuildPagesEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site = test::SiteTestFolder() + "build/";
    fs::create_directories(site);
    form = std::make_unique<TWebForm>();
    SetMainWindow(form.get());
  }
  void TearDown() override {
    form.reset();
    SetMainWindow(nullptr);
    CurrentEditor = nullptr;
    fs::remove_all(test::SiteTestFolder());
    fs::remove(DocumentsFolder() + "Quorrel.Ini");
  }
  void Open(const std::vector<std::string>& paragraphs) {
    const std::string master = site + "master.rtf";
    test::WriteFile(master, Master(paragraphs));
    StartParameters = {master};
    FormActivate();
    ASSERT_EQ(CurrentFileName, master);
    ASSERT_TRUE(IsDotPage);
  }
  // The program started anew on a file, as from the command line, with no
  // documents of the last run to reopen.
  void Restart(const std::string& file) {
    form.reset();
    SetMainWindow(nullptr);
    CurrentEditor = nullptr;
    fs::remove(DocumentsFolder() + MainIniName);
    test::ResetAllState();
    form = std::make_unique<TWebForm>();
    SetMainWindow(form.get());
    Dialogs().Clear();
    StartParameters = {file};
    FormActivate();
  }
  std::string Status() { return form->StatusPanel(MessagePanel)->text().toStdString(); }
  // Replaces the editor's text with typed text (CR LF line ends), as a user would.
  void Type(const std::string& text) {
    CurrentEditor->Select(0, CurrentEditor->TextLength());
    CurrentEditor->SetSelText(text);
  }
  // Runs a checker on a file; its error output, and its exit code in code.
  std::string Check(const std::vector<std::string>& command, const std::string& file, int& code) {
    TRunOptions options;
    options.stderrFile = site + "checker.txt";
    std::vector<std::string> arguments(command.begin() + 1, command.end());
    arguments.push_back(file);
    EXPECT_EQ(StartProgram(command[0], arguments, options).outcome, TStartOutcome::Started);
    code = WaitForLastProgram();
    return test::ReadFile(options.stderrFile);
  }

  std::string site;
  std::unique_ptr<TWebForm> form;
};

TEST_F(BuildPagesEndToEndTest, BuildWebPagesWritesEveryPage) {
  Open(kTwoPages);
  QAction* build = form->Action("BuildAll");
  ASSERT_TRUE(build->isEnabled());
  build->trigger();
  QApplication::processEvents();
  EXPECT_EQ(Dialogs().Calls().size(), 0u) << Dialogs().Last().text;
  const std::string one = test::ReadFile(site + "one.htm");
  EXPECT_NE(one.find("<Title>First</Title>"), std::string::npos) << one;
  EXPECT_NE(one.find("Some <b>bold</b> text."), std::string::npos) << one;
  EXPECT_NE(test::ReadFile(site + "two.htm").find("More <i>text</i>."), std::string::npos);
  EXPECT_NE(Status().find("two.htm built"), std::string::npos) << Status();
}

TEST_F(BuildPagesEndToEndTest, BuildOneRebuildsTheCaretsSection) {
  Open(kTwoPages);
  const size_t second = CurrentText.find(".PG two");
  ASSERT_NE(second, std::string::npos);
  CurrentEditor->SetSelStart(second + 10);
  form->Action("BuildOne")->trigger();
  QApplication::processEvents();
  EXPECT_FALSE(fs::exists(site + "one.htm"));
  EXPECT_TRUE(fs::exists(site + "two.htm"));
  EXPECT_NE(Status().find("two.htm built"), std::string::npos) << Status();
}

TEST_F(BuildPagesEndToEndTest, MissingBodyStopsWithItsSection) {
  Open({".PG one|First", "<H1>First</H1>", "Text \\b here\\b0 ."});
  form->Action("BuildAll")->trigger();
  QApplication::processEvents();
  ASSERT_FALSE(Dialogs().Calls().empty());
  const std::string shown = Dialogs().Last().text;
  EXPECT_NE(shown.find("Section: one\rNo .BO marker\r\rLast output was:  \r"), std::string::npos)
      << shown;
  EXPECT_FALSE(fs::exists(site + "one.htm"));
  EXPECT_EQ(Status().find("built"), std::string::npos);
}

// Each page is validated before it is written: an invalid one stops the build there.
TEST_F(BuildPagesEndToEndTest, InvalidPageStopsTheBuildAtItsError) {
  Open({".PG one|First", ".BO", "<H1>First</H1>", "Some \\b bold\\b0  text.", ".PG two|Second",
        ".BO", "<H1>Second</H1>", "<B>More </I>text."});
  form->Action("BuildAll")->trigger();
  QApplication::processEvents();
  ASSERT_FALSE(Dialogs().Calls().empty());
  // The validator's message, not one of the builder's.
  EXPECT_EQ(Dialogs().Last().text.find("Section: "), std::string::npos) << Dialogs().Last().text;
  EXPECT_EQ(Dialogs().Last().text.find("<B> tag (around offset 95) cannot end with </I>"), 0u);
  EXPECT_TRUE(fs::exists(site + "one.htm"));
  EXPECT_FALSE(fs::exists(site + "two.htm"));
  EXPECT_EQ(Status().find("built"), std::string::npos) << Status();
}

// A page that cannot be written (here its output folder is missing) is reported and
// the build never says "built"; this holds for every user, root included.
TEST_F(BuildPagesEndToEndTest, UnwritablePageIsReportedNotBuilt) {
  Open({".PG one|First|Top|gone", ".BO", "<H1>First</H1>", "Some \\b bold\\b0  text."});
  form->Action("BuildAll")->trigger();
  QApplication::processEvents();
  ASSERT_FALSE(Dialogs().Calls().empty());
  EXPECT_NE(Dialogs().Last().text.find("Cannot write " + site + "gone/one.htm"), std::string::npos)
      << Dialogs().Last().text;
  EXPECT_EQ(Status().find("built"), std::string::npos) << Status();
}

TEST_F(BuildPagesEndToEndTest, ReadOnlyOutputFolderIsReportedNotBuilt) {
  // The pages go to a folder of their own; the master's folder stays writable.
  Open({".PG one|First|Top|out", ".BO", "<H1>First</H1>", "Some \\b bold\\b0  text."});
  fs::create_directories(site + "out");
  {
    test::ReadOnlyFolder locked(site + "out");
    ASSERT_TRUE(locked.Holds());
    form->Action("BuildAll")->trigger();
    QApplication::processEvents();
  }
  ASSERT_FALSE(Dialogs().Calls().empty());
  EXPECT_NE(Dialogs().Last().text.find("Cannot write " + site + "out/one.htm"), std::string::npos)
      << Dialogs().Last().text;
  EXPECT_FALSE(fs::exists(site + "out/one.htm"));
  EXPECT_EQ(Status().find("built"), std::string::npos);
}

// Scripts and styles typed into the editor reach the page as typed: braces,
// backslashes, quotes and comparisons survive the editor's RTF and the builder.
TEST_F(BuildPagesEndToEndTest, TypedScriptAndStyleBlocksSurvive) {
  Open({".PG one|First", ".BO", "x"});
  const std::string script =
      "function check(a, b) {\r\n  if (a < b && b > 0) { return \"<\" + a + '\\\\'; }\r\n"
      "  var s = 'It\\'s \"quoted\"';\r\n  return s.replace(/\\{/g, \"}\");\r\n}";
  const std::string style = "p.note { color: #336699; font-family: \"DejaVu Sans\"; }";
  // An index page writes its own head, where the style belongs.
  Type(".PG index|First\r\n<Head>\r\n<Title>Scripts</Title>\r\n.BY\r\n" + style +
       "\r\n.EY\r\n</Head>\r\n.BO\r\n<H1>Scripts</H1>\r\nSome \"quoted\" text.\r\n.BS\r\n" +
       script + "\r\n.ES\r\nText after.");
  form->Action("BuildOne")->trigger();
  QApplication::processEvents();
  ASSERT_EQ(Dialogs().Calls().size(), 0u) << Dialogs().Last().text;
  const std::string page = test::ReadFile(site + "index.htm");
  EXPECT_NE(page.find("<Style>\n" + style + "\n</Style>"), std::string::npos) << page;
  const size_t start = page.find("<script>\n");
  const size_t end = page.find("\n</Script>");
  ASSERT_NE(start, std::string::npos) << page;
  ASSERT_NE(end, std::string::npos) << page;
  const std::string code = page.substr(start + 9, end - start - 9);
  EXPECT_EQ(code, ReplaceAll(script, "\r\n", "\n", true));
  test::WriteFile(site + "check.js", code);
  int exit = -1;
  const std::string node = Check({"node", "--check"}, site + "check.js", exit);
  EXPECT_EQ(exit, 0) << node;
  const std::string tidy = Check({"tidy", "-q", "-e"}, site + "index.htm", exit);
  EXPECT_LT(exit, 2) << tidy;
  EXPECT_EQ(tidy.find("Error:"), std::string::npos) << tidy;
}

// Headings, a table and a video link typed into the editor: "Build One" writes
// the page the commands describe, and tidy finds it well formed.
TEST_F(BuildPagesEndToEndTest, TypedHeadingsTableAndVideoBuildOne) {
  Open({".PG one|First", ".BO", "x"});
  Type(
      ".PG dances|Dances\r\n.BO\r\n.T1 Our dances\r\nSome \"dances\" we do.\r\n"
      ".T2 Reels|reels\r\nThe reels.\r\n.TA Class=Grid\r\nName|Bars|Contact\r\n"
      "Mairi's Wedding|32|ann@example.org\r\nH|Jigs\r\nD|The \x8a reel\r\n\r\n.T3 Videos\r\n"
      ".VI\r\nWatch it\r\nThe reel\r\nhttps://www.youtube.com/embed/abc\r\nFilmed in May.\r\n"
      "\r\nThe end.");
  CurrentEditor->Select(CurrentEditor->TextLength(), 0);
  form->Action("BuildOne")->trigger();
  QApplication::processEvents();
  ASSERT_EQ(Dialogs().Calls().size(), 0u) << Dialogs().Last().text;
  const std::string page = test::ReadFile(site + "dances.htm");
  const std::string expected =
      "<!DOCTYPE HTML>\n<HTML>\n<Head>\n  <Title>Dances</Title>\n</Head>\n<Body>\n\n"
      "<H1>Our dances</H1><P>\nSome &ldquo;dances&rdquo; we do.<Img Src=\"images/Line.gif\" "
      "Alt=\"\" Class=Wide><Br><H2 Id=reels>Reels</H2><P>\nThe reels.\n<Table Class=Grid>\n  "
      "<TR><TH>Name</TH><TH>Bars</TH><TH>Contact</TH>\n  </TR>\n  <TR><TD>Mairi's "
      "Wedding</TD><TD>32</TD><TD><A Href=\"mailto:ann@example.org\">ann@example.org</A></TD>\n"
      "  </TR>\n  <TR><TH ColSpan=3>Jigs</TH>\n  </TR>\n  <TR><TD>The &Scaron; "
      "reel</TD><TD></TD><TD></TD>\n  </TR>\n</Table><P>\n\n<H3>Videos</H3><Div Class=\"VLink "
      "NoPrint\" Id=Video0 OnClick=\"ShowVideo('https://www.youtube.com/embed/abc', 0, 'The "
      "reel<P>Filmed in May.')\">Watch it</Div><P>\nThe end.";
  EXPECT_EQ(page.substr(0, expected.size()), expected) << page;
  EXPECT_NE(page.find("<IFrame Id=Video Width=800 Height=450 Allowfullscreen>"), std::string::npos);
  int exit = -1;
  const std::string tidy = Check({"tidy", "-q", "-e"}, site + "dances.htm", exit);
  EXPECT_LT(exit, 2) << tidy;
  EXPECT_EQ(tidy.find("Error:"), std::string::npos) << tidy;
}

// A master the program saved ends with its end mark: it reopens at start-up and is
// built without the slow-read question, and its pages are those of the text.
TEST_F(BuildPagesEndToEndTest, ASavedMasterReopensAndBuildsWithoutQuestions) {
  Open({".PG one|First", ".BO", "x"});
  Type(
      ".PG one|First\r\n.BO\r\n<H1>First</H1>\r\nSome text.\r\n.PG two|Second\r\n.BO\r\n"
      "<H1>Second</H1>\r\nMore text.");
  ASSERT_TRUE(MainMenu().Click("Save"));
  const std::string saved = test::ReadFile(site + "master.rtf");
  ASSERT_FALSE(saved.empty());
  EXPECT_EQ(saved.back(), '\0');
  const std::string text = CurrentText;

  Restart(site + "master.rtf");
  EXPECT_TRUE(Dialogs().Calls().empty()) << Dialogs().Last().text;
  EXPECT_EQ(CurrentText, text);
  form->Action("BuildAll")->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(Dialogs().Calls().empty()) << Dialogs().Last().text;
  EXPECT_NE(test::ReadFile(site + "two.htm").find("More text."), std::string::npos)
      << test::ReadFile(site + "two.htm") << Status();
  test::ExpectValidPage(site + "one.htm");
  test::ExpectValidPage(site + "two.htm");
}

// A box shown in the middle of a build: the editor behind it paints, and the pages
// after it are checked as the ones before it were, whatever ran while it showed.
TEST_F(BuildPagesEndToEndTest, PagesAfterAMessageAreStillValidated) {
  Open({".PG one|First", ".BO", "x"});
  Type(
      ".PG one|First\r\n.BO\r\n<H1>First</H1>\r\nA\tB\r\n.PG two|Second\r\n.BO\r\n"
      "<H1>Second</H1>\r\n<B>More </I>text.");
  std::vector<bool> painting;
  Dialogs().whileShowing = [&](const DialogCall&) {
    painting.push_back(CurrentEditor->Redraw());
    // The real box runs the event loop while it waits: a command that ends in it
    // may leave no command running and the document's flags set anew.
    QApplication::processEvents();
    CurrentCommand.clear();
    IsDotPage = false;
  };
  form->Action("BuildAll")->trigger();
  QApplication::processEvents();
  Dialogs().whileShowing = nullptr;
  const std::vector<std::string> texts = Dialogs().Texts();
  ASSERT_EQ(texts.size(), 2u) << Dialogs().Last().text;
  EXPECT_EQ(texts[0].find("Unexpected tab character converted to @@@@ in line\rA B\r"), 0u)
      << texts[0];
  EXPECT_EQ(texts[1].find("<B> tag (around offset"), 0u) << texts[1];
  EXPECT_EQ(painting, (std::vector<bool>{true, true}));
  EXPECT_TRUE(fs::exists(site + "one.htm"));
  EXPECT_FALSE(fs::exists(site + "two.htm"));
}

// Files that are no text, or hold none, met at start-up: the file's own kind of
// answer, never the slow read and its warnings, nor a word processor.
TEST_F(BuildPagesEndToEndTest, BinaryAndEmptyFilesNamedAtStartUp) {
  // Noise does not compress: the file holds zero bytes and the no-break space's A0.
  QImage image(64, 64, QImage::Format_RGB32);
  uint32_t noise = 12345;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) image.setPixel(x, y, noise = noise * 1103515245u + 12345u);
  }
  ASSERT_TRUE(image.save(QString::fromStdString(site + "pic.png")));
  const std::string png = test::ReadFile(site + "pic.png");
  ASSERT_NE(png.find('\0'), std::string::npos);
  ASSERT_NE(png.find('\xA0'), std::string::npos);
  test::WriteFile(site + "empty.rtf", "");
  struct Case {
    std::string file;
    std::vector<std::string> shown;
  };
  for (const Case& c : {Case{"pic.png", {}}, Case{"empty.rtf", {site + "empty.rtf\ris empty."}}}) {
    SCOPED_TRACE(c.file);
    Restart(site + c.file);
    EXPECT_EQ(CurrentFileName, site + c.file);
    EXPECT_EQ(Dialogs().Texts(), c.shown);
  }
}

// A master written by LibreOffice: its bullets, indent, centring and link survive
// open and save, for this program's reader and for another; the build reads the
// bullets and the link and refuses the centring.
TEST_F(BuildPagesEndToEndTest, LibreOfficeMasterSurvivesSaveAndBuilds) {
  fs::copy_file(std::string(QUORREL_FIXTURES) + "/rtf/libreoffice-master.rtf", site + "lo.rtf");
  StartParameters = {site + "lo.rtf"};
  FormActivate();
  ASSERT_TRUE(IsDotPage);
  ASSERT_TRUE(MainMenu().Click("Save"));
  const std::string saved = test::ReadFile(site + "lo.rtf");

  const TRtfDocument doc = ParseRtf(saved);
  std::vector<std::string> bulleted, centred;
  std::string link;
  for (const TRtfParagraph& p : doc.paragraphs) {
    std::string text;
    for (const TRtfRun& run : p.runs) {
      text += QString::fromStdU16String(run.text).toStdString();
      if (!run.format.field.empty()) link = run.format.field;
    }
    if (p.format.bullet) bulleted.push_back(text);
    if (p.format.align == TRtfAlign::Center) centred.push_back(text);
  }
  EXPECT_EQ(bulleted, (std::vector<std::string>{"First item", "Second item"}));
  EXPECT_EQ(centred, std::vector<std::string>{"A centred line"});
  EXPECT_EQ(link, "HYPERLINK \"https://www.example.com/page?a=1&b=2\"");

  // What a second reader shows, less the colours and fonts of the text.
  auto shown = [&](const std::string& file) {
    std::string html;
    if (file.find("/fixtures/") != std::string::npos) {
      html = test::ReadFile(file);
    } else {
      TRunOptions options;
      options.stdoutFile = site + "unrtf.html";
      EXPECT_EQ(StartProgram("unrtf", {"--html", file}, options).outcome, TStartOutcome::Started);
      WaitForLastProgram();
      html = test::ReadFile(options.stdoutFile);
      html = html.substr(html.find("<body>"));
    }
    html = std::regex_replace(html, std::regex("</?font[^>]*>|&nbsp;|\n"), "");
    return html;
  };
  EXPECT_EQ(shown(site + "lo.rtf"),
            shown(std::string(QUORREL_FIXTURES) + "/rtf/libreoffice-master.unrtf.html"));

  form->Action("BuildAll")->trigger();
  QApplication::processEvents();
  ASSERT_FALSE(Dialogs().Calls().empty());
  EXPECT_NE(Dialogs().Last().text.find("Use <center> rather than centring with Text | Centred."),
            std::string::npos)
      << Dialogs().Last().text;

  // Without the centred line the pages are built, and real checkers pass them.
  Dialogs().Clear();
  const size_t line = CurrentText.find("A centred line\r\n");
  ASSERT_NE(line, std::string::npos);
  CurrentEditor->Select(EditorPosOf(line), EditorPosOf(line + 16) - EditorPosOf(line));
  CurrentEditor->SetSelText("");
  form->Action("BuildAll")->trigger();
  QApplication::processEvents();
  ASSERT_TRUE(Dialogs().Calls().empty()) << Dialogs().Last().text;
  const std::string page = test::ReadFile(site + "lists.htm");
  size_t bullets = 0;
  for (size_t at = page.find("images/Bullet.gif"); at != std::string::npos;
       at = page.find("images/Bullet.gif", at + 1)) {
    ++bullets;
  }
  EXPECT_EQ(bullets, 2u) << page;
  EXPECT_NE(page.find("Caf&eacute; in &#321;&#243;d&#378; - &ldquo;quoted&rdquo; &euro;5, "
                      "<b>bold</b> and <i>italic</i>."),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("See <a href=\"https://www.example.com/page?a=1&amp;b=2\">the example "
                      "site</a> now."),
            std::string::npos)
      << page;
  test::ExpectValidPage(site + "lists.htm");
}

}  // namespace
}  // namespace quorrel
