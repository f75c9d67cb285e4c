// The File menu's commands: Insert, Restore, Redate, the hex editor, the file's
// name to the clipboard, the file manager, the task list, the printer set-up, and
// the hand-offs to the file-list form and the quick deletion.
#include <stdlib.h>
#include <time.h>

#include "commands/Activation.h"
#include "commands/Restore.h"
#include "platform/Desktop.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "platform/RtfCompose.h"
#include "platform/RtfParse.h"
#include "shell/ClassifyDocument.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/InsertFile.h"
#include "shell/RunPrograms.h"
#include "shell/SaveTestKit.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using test::MTime;
using test::Slurp;

class TestDesktop : public TDesktop {
 public:
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  std::string ClipboardText() override { return clipboard; }
  bool PrinterSetup() override {
    ++printerSetups;
    return true;
  }
  bool ShowInFileManager(const std::string& path) override {
    shown.push_back(path);
    return true;
  }

  std::string clipboard;
  int printerSetups = 0;
  std::vector<std::string> shown;
};

class FileMenuTest : public test::SaveFixture {
 protected:
  void SetUp() override {
    SaveFixture::SetUp();
    SetDesktop(&desktop);
  }
  void TearDown() override {
    ResetProcesses();  // a program a test started would outlive the test's process
    SetDesktop(nullptr);
    SaveFixture::TearDown();
  }
  TestDesktop desktop;
};

TRtfDocument BoldLine(const std::string& text) {
  TRtfCharFormat bold;
  bold.font = "Calibri";
  bold.bold = true;
  TRtfDocument document = RtfDocumentOfText(text + "\r\n", bold);
  return document;
}

TEST(InsertFilterTest, FollowsTheDocumentsType) {
  struct Case {
    const char* path;
    const char* filter;
  } cases[] = {
      {"/s/a.rtf", "All files|*.*|RTF files|*.rtf|HTML files|*.htm*"},
      {"/s/a.php", "All files|*.*|PHP files|*.php*|HTML files|*.htm*"},
      {"/s/a.asp", "All files|*.*|ASP files|*.asp*|HTML files|*.htm*"},
      {"/s/a.aspx", "All files|*.*|ASP files|*.asp*|HTML files|*.htm*"},
      {"/s/a.css", ".CSS files|*.CSS|All files|*.*"},
  };
  for (const Case& c : cases) {
    CurrentFileName = c.path;
    ClassifyDocument();
    EXPECT_EQ(InsertFilter(), c.filter) << c.path;
  }
}

TEST(InsertFileTest, AnInsertedDocumentKeepsItsFormattingAndSplitsTheParagraph) {
  TRtfDocument target = RtfDocumentOfText("hello world", {});
  TRtfDocument inserted = BoldLine("BOLD");
  inserted.paragraphs[0].format.align = TRtfAlign::Center;
  RtfInsertDocument(target, 6, 0, inserted);
  EXPECT_EQ(RtfPlainText(target), "hello BOLD\r\nworld");
  ASSERT_EQ(target.paragraphs.size(), 2u);
  EXPECT_EQ(target.paragraphs[0].runs.size(), 2u);
  EXPECT_TRUE(target.paragraphs[0].runs[1].format.bold);
  EXPECT_FALSE(target.paragraphs[1].runs[0].format.bold);
  EXPECT_EQ(target.paragraphs[0].format.align, TRtfAlign::Center) << "its mark came with it";
  EXPECT_EQ(target.paragraphs[1].format.align, TRtfAlign::Left);

  // In place of a selection; a single paragraph takes the host's format.
  TRtfDocument one = RtfDocumentOfText("abcdef", {});
  RtfInsertDocument(one, 1, 3, RtfDocumentOfText("XY", {}));
  EXPECT_EQ(RtfPlainText(one), "aXYef");
  ASSERT_EQ(one.paragraphs.size(), 1u);

  TRtfDocument coloured = RtfDocumentOfText("x", {});
  ColourAutomaticText(coloured, 0x0000FF);  // red, as 0x00BBGGRR
  EXPECT_EQ(coloured.paragraphs[0].runs[0].format.color, 0xFF0000);
}

TEST_F(FileMenuTest, InsertPutsAFileInAtTheCaret) {
  Open("text.txt", "one\r\ntwo\r\n");
  CurrentEditor->Select(4, 0);
  const std::string insert = Write("insert.txt", "NEW\n");
  Dialogs().AnswerPath(insert);
  ASSERT_TRUE(MainMenu().Click("InsertFile"));
  const auto& dialog = Dialogs().PathCalls().at(0);
  EXPECT_EQ(dialog.call.title, "File to be inserted");
  EXPECT_FALSE(dialog.call.save);
  EXPECT_EQ(dialog.call.folder, site);
  EXPECT_EQ(dialog.call.filter, ".TXT files|*.TXT|All files|*.*");
  EXPECT_EQ(CurrentEditor->GetText(), "one\r\nNEW\r\ntwo\r\n");
  EXPECT_TRUE(CurrentEditor->Modified());

  // An RTF file goes into plain text as the text it shows.
  Dialogs().AnswerPath(Write("bold.rtf", ComposeRtf(BoldLine("BOLD"))));
  CurrentEditor->Select(0, 3);
  ASSERT_TRUE(MainMenu().Click("InsertFile"));
  EXPECT_EQ(CurrentEditor->GetText(), "BOLD\r\n\r\nNEW\r\ntwo\r\n");

  Dialogs().CancelPath();
  EXPECT_FALSE(MainMenu().Click("InsertFile"));
}

TEST_F(FileMenuTest, InsertIntoAFormattedDocumentKeepsTheFilesFormatting) {
  Open("letter.rtf", ComposeRtf(RtfDocumentOfText("hello world\r\n", {})));
  ASSERT_FALSE(CurrentEditor->PlainText());
  CurrentEditor->SetTextColour(0x0000FF);
  CurrentEditor->Select(6, 0);
  Dialogs().AnswerPath(Write("bold.rtf", ComposeRtf(BoldLine("BOLD"))));
  ASSERT_TRUE(MainMenu().Click("InsertFile"));
  EXPECT_EQ(CurrentEditor->GetText(), "hello BOLD\r\nworld\r\n");
  EXPECT_EQ(CurrentEditor->SelStart(), 11u) << "after the paragraph the file ends with";
  EXPECT_TRUE(CurrentEditor->Modified());
  const TRtfDocument now = ParseRtf(CurrentEditor->GetRtfSource());
  bool boldRed = false;
  for (const TRtfParagraph& p : now.paragraphs) {
    for (const TRtfRun& run : p.runs) {
      if (run.text == u"BOLD") boldRed = run.format.bold && run.format.color == 0xFF0000;
    }
  }
  EXPECT_TRUE(boldRed) << CurrentEditor->GetRtfSource();
}

TEST_F(FileMenuTest, InsertOffersTheOldWordProcessorConversion) {
  Open("text.txt", "start\r\n");
  Dialogs().AnswerPath(Write("old.txt", ".pa\r\nOld text\r\n"));
  Dialogs().Answer(mrNo);
  ASSERT_TRUE(MainMenu().Click("InsertFile"));
  EXPECT_EQ(Dialogs().Last().text, "Convert from Varek's WP format?");
  EXPECT_EQ(CurrentEditor->GetText(), ".pa\r\nOld text\r\nstart\r\n");
}

TEST_F(FileMenuTest, RestoreSwapsTheDocumentAndItsBackUp) {
  const std::string path = Open("page.txt", "current\r\n");
  Dialogs().Answer(mrYes);
  EXPECT_FALSE(MainMenu().Click("RestoreM"));
  EXPECT_EQ(Dialogs().Last().text, path + ".Bak not found");
  EXPECT_EQ(Slurp(path), "current\r\n");
  Dialogs().Clear();

  Write("page.txt.Bak", "backup\r\n");
  Dialogs().Answer(mrNo);
  EXPECT_FALSE(MainMenu().Click("RestoreM"));
  EXPECT_EQ(Slurp(path), "current\r\n");

  CurrentEditor->Select(3, 0);
  const std::string question = RestoreQuestion(path, false);
  Dialogs().Answer(mrYes);
  ASSERT_TRUE(MainMenu().Click("RestoreM"));
  EXPECT_EQ(Dialogs().Last().text, question);
  EXPECT_EQ(Slurp(path), "backup\r\n");
  EXPECT_EQ(Slurp(path + ".Bak"), "current\r\n");
  EXPECT_EQ(CurrentText, "backup\r\n");
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(CurrentEditor->SelStart(), 3u);
  EXPECT_EQ(Documents[CurrentEditor->Tag()].FileAge, MTime(path));
  EXPECT_FALSE(fs::exists(site + "$$$.$$$"));
}

TEST(ParseDateTimeTest, DatesWithAnOptionalTime) {
  auto local = [](int y, int mo, int d, int h, int mi, int s) {
    struct tm parts {};
    parts.tm_year = y - 1900, parts.tm_mon = mo - 1, parts.tm_mday = d;
    parts.tm_hour = h, parts.tm_min = mi, parts.tm_sec = s, parts.tm_isdst = -1;
    return static_cast<int64_t>(mktime(&parts));
  };
  struct Case {
    const char* text;
    int64_t when;  // -1: not a date
  } cases[] = {
      {"10/12/2026", local(2026, 12, 10, 0, 0, 0)},
      {" 1/2/2026 ", local(2026, 2, 1, 0, 0, 0)},
      {"10-12-2026 14:05", local(2026, 12, 10, 14, 5, 0)},
      {"10/12/2026 14.05.30", local(2026, 12, 10, 14, 5, 30)},
      {"2026-12-10 14:05:30", local(2026, 12, 10, 14, 5, 30)},
      {"2026-12-10T08:00", local(2026, 12, 10, 8, 0, 0)},
      {"29/02/2024", local(2024, 2, 29, 0, 0, 0)},
      {"29/02/2026", -1},
      {"31/04/2026", -1},
      {"10/13/2026", -1},
      {"10/12/2026 24:00", -1},
      {"10/12/2026 14:05 pm", -1},
      {"12a", -1},
      {"", -1},
  };
  for (const Case& c : cases) {
    int64_t when = -1;
    const bool ok = ParseDateTime(c.text, &when);
    EXPECT_EQ(ok, c.when != -1) << c.text;
    if (ok) {
      EXPECT_EQ(when, c.when) << c.text;
    }
  }
  const int64_t now = local(2026, 12, 10, 14, 5, 9);
  int64_t back = 0;
  EXPECT_EQ(FormatDateTime(now), "10/12/2026 14:05:09");
  EXPECT_TRUE(ParseDateTime(FormatDateTime(now), &back));
  EXPECT_EQ(back, now);
}

TEST_F(FileMenuTest, RedateGivesTheFileItsNewTimeWithoutATimestampQuestion) {
  const std::string path = Open("dated.txt", "text\r\n");
  Dialogs().AnswerText("01/02/2020 10:30");
  ASSERT_TRUE(MainMenu().Click("Redate"));
  const auto& input = Dialogs().Inputs().at(0);
  EXPECT_EQ(input.caption, "Quorrel");
  EXPECT_EQ(input.prompt, "Enter date and optional time");
  int64_t shown = 0;
  EXPECT_TRUE(ParseDateTime(input.value, &shown)) << "today is offered: " << input.value;
  int64_t expected = 0;
  ASSERT_TRUE(ParseDateTime("01/02/2020 10:30", &expected));
  EXPECT_EQ(MTime(path), expected);
  EXPECT_EQ(Documents[CurrentEditor->Tag()].FileAge, expected);
  MyActivate();  // the new time is the document's own: no question
  EXPECT_TRUE(Dialogs().Calls().empty());

  // Edits not saved yet stay through a redate.
  Type("edited\r\n");
  Dialogs().AnswerText("02/02/2020");
  ASSERT_TRUE(MainMenu().Click("Redate"));
  EXPECT_EQ(CurrentEditor->GetText(), "edited\r\n");
  EXPECT_TRUE(CurrentEditor->Modified());

  Dialogs().AnswerText("soon");
  EXPECT_FALSE(MainMenu().Click("Redate"));
  EXPECT_EQ(Dialogs().Last().text, "soon\ris not a valid date/time");
  Dialogs().CancelText();
  EXPECT_FALSE(MainMenu().Click("Redate"));
  ASSERT_TRUE(ParseDateTime("02/02/2020", &expected));
  EXPECT_EQ(MTime(path), expected);
}

TEST_F(FileMenuTest, TheFilesNameGoesToTheClipboardAndTheFileManager) {
  const std::string path = Open("named file.txt", "x\r\n");
  ASSERT_TRUE(MainMenu().Click("ClipName"));
  EXPECT_EQ(desktop.clipboard, path);
  EXPECT_EQ(Status(), "  File name copied to clipboard");
  ASSERT_TRUE(MainMenu().Click("ExploreFolder"));
  EXPECT_EQ(desktop.shown, std::vector<std::string>{path});
  ASSERT_TRUE(MainMenu().Click("PrinterSetup"));
  EXPECT_EQ(desktop.printerSetups, 1);
}

TEST_F(FileMenuTest, WithoutAFileManagerOnTheBusTheFolderIsOpened) {
  const std::string path = Write("shown.txt", "x\r\n");
  // No session bus to ask: the default program opens the folder instead.
  const std::string bus =
      getenv("DBUS_SESSION_BUS_ADDRESS") ? getenv("DBUS_SESSION_BUS_ADDRESS") : "";
  setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
  EXPECT_TRUE(ShowInFileManagerDefault(path));
  if (bus.empty()) {
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
  } else {
    setenv("DBUS_SESSION_BUS_ADDRESS", bus.c_str(), 1);
  }
  EXPECT_EQ(launched, std::vector<std::string>{site});
}

TEST_F(FileMenuTest, HexEditRunsTheChosenProgramOnTheFile) {
  const std::string path = Open("bytes.txt", "x\r\n");
  SettingsIni->WriteString("System", "HexEditor", "true");
  ASSERT_TRUE(MainMenu().Click("HexEdit"));
  const std::vector<TProcessInfo> started = StartedProcesses();
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].program, FindProgram("true"));

  SettingsIni->WriteString("System", "HexEditor", "no-such-hex-editor");
  EXPECT_FALSE(MainMenu().Click("HexEdit"));
  EXPECT_EQ(Dialogs().Last().text, MessageText("Program not found: no-such-hex-editor"));
}

TEST_F(FileMenuTest, ListTasksShowsTheProgramsWindowsAsADocument) {
  Open("bytes.txt", "x\r\n");
  ASSERT_TRUE(RunHidden("sleep", {"infinity"}));
  std::string expected;
  ListTaskWindow(expected);
  ASSERT_TRUE(MainMenu().Click("ListTasks"));
  EXPECT_EQ(ExtractFileName(CurrentFileName), "Quorrel.txt");
  EXPECT_EQ(CurrentText, expected);
  EXPECT_NE(CurrentText.find("bytes.txt - Quorrel v."), std::string::npos) << CurrentText;
  EXPECT_NE(CurrentText.find("sleep\r\n"), std::string::npos) << CurrentText;
}

TEST_F(FileMenuTest, ElevateIsNotOfferedAndTheHandOffsAreInPlace) {
  EXPECT_FALSE(MainMenu().Item("Elevate").visible);
  for (const char* name : {"Save", "SaveAs", "SaveCopyAs", "SortM", "FindDup", "RemoveDups"}) {
    EXPECT_TRUE(MainMenu().HasHandler(name)) << name;
  }
  // Renaming, deleting and the quick deletion of back-ups are still to come.
  for (const char* name : {"RenameF", "DeleteF", "QDelAll", "QDelOne", "QDelSpecific"}) {
    EXPECT_FALSE(MainMenu().HasHandler(name)) << name;
  }
}

}  // namespace
}  // namespace quorrel
