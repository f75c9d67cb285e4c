// A slide show built on the real program: sections named after the show, the
// speaker's notes file written only when the notes change, and "View notes".
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <filesystem>

#include "commands/BuildCommands.h"
#include "commands/OpenDocs.h"
#include "commands/StartUp.h"
#include "platform/Abort.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/RtfView.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "support/MasterRtf.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

// Three slides as a user types them: the second and third named anyhow, notes on
// the first and the last.
const char kShow[] =
    ".PG show|Our show|Slides\r\n.NO Opening\r\nSay {hello}.\r\n\r\nWelcome.\r\n"
    ".PG intro|The first slide\r\nOne.\r\n.PG show02.htm|Last one\r\n.NO Closing\r\n"
    "Thank them.\r\n\r\nThe end.";

class SlideShowBuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site = test::SiteTestFolder() + "slides/";
    fs::create_directories(site);
    form = std::make_unique<TWebForm>();
    SetMainWindow(form.get());
    const std::string master = site + "show.rtf";
    test::WriteFile(master, test::Master({".PG show|Our show|Slides", "x"}));
    StartParameters = {master};
    FormActivate();
    ASSERT_EQ(CurrentFileName, master);
    ASSERT_TRUE(IsDotPage);
    ASSERT_TRUE(IsSlides);
    notes = CurrentFolder + "showNotes.rtf";
  }
  void TearDown() override {
    form.reset();
    SetMainWindow(nullptr);
    CurrentEditor = nullptr;
    fs::remove_all(test::SiteTestFolder());
    fs::remove(notes);
    fs::remove(DocumentsFolder() + "Quorrel.Ini");
  }
  void Type(const std::string& text) {
    CurrentEditor->Select(0, CurrentEditor->TextLength());
    CurrentEditor->SetSelText(text);
  }
  void Trigger(const char* item) {
    QAction* action = form->Action(item);
    ASSERT_TRUE(action->isEnabled()) << item;
    action->trigger();
    QApplication::processEvents();
  }
  std::string Status() { return form->StatusPanel(MessagePanel)->text().toStdString(); }
  // Runs a program on a file; its standard output, and its exit code in code.
  std::string Run(const std::string& program, const std::string& file, int& code) {
    TRunOptions options;
    options.stdoutFile = site + "out.txt";
    options.stderrFile = site + "err.txt";
    EXPECT_EQ(StartProgram(program, {file}, options).outcome, TStartOutcome::Started);
    code = WaitForLastProgram();
    return test::ReadFile(options.stdoutFile) + test::ReadFile(options.stderrFile);
  }

  std::string site;
  std::string notes;
  std::unique_ptr<TWebForm> form;
};

TEST_F(SlideShowBuildTest, BuildWebPagesNumbersTheSlidesAndWritesTheNotes) {
  Type(kShow);
  CurrentEditor->Select(3, 0);
  Trigger("BuildAll");
  ASSERT_EQ(Dialogs().Calls().size(), 0u) << Dialogs().Last().text;

  // The sections after the first are renamed in the master, the caret kept.
  const std::string text = CurrentEditor->GetText();
  EXPECT_NE(text.find(".PG show01|The first slide"), std::string::npos) << text;
  EXPECT_NE(text.find(".PG show02.htm|Last one"), std::string::npos) << text;
  EXPECT_EQ(text.find("intro"), std::string::npos) << text;
  EXPECT_EQ(CurrentEditor->SelStart(), 3u);
  EXPECT_NE(test::ReadFile(CurrentFileName).find(".PG show01|"), std::string::npos);

  EXPECT_NE(test::ReadFile(site + "show.htm").find("Arrows(\"show02\", \"show01\", \"index\")"),
            std::string::npos);
  EXPECT_NE(test::ReadFile(site + "show01.htm").find("Arrows(\"show02\", \"show02\", \"show\")"),
            std::string::npos);
  EXPECT_NE(test::ReadFile(site + "show02.htm").find("Arrows(\"show01\", \"show01\", \"show\")"),
            std::string::npos);
  EXPECT_NE(Status().find("show02.htm built"), std::string::npos) << Status();
  EXPECT_TRUE(CurrentCommand.empty()) << CurrentCommand;

  // The notes file is RTF that Debian's reader takes, and holds both notes.
  ASSERT_TRUE(fs::exists(notes));
  const std::string rtf = test::ReadFile(notes);
  EXPECT_EQ(rtf.find("{\\rtf1"), 0u) << rtf;
  EXPECT_NE(rtf.find("Calibri"), std::string::npos) << rtf;
  int code = -1;
  const std::string plain = Run("unrtf", notes, code);
  EXPECT_EQ(code, 0) << plain;
  EXPECT_NE(plain.find("Say {hello}."), std::string::npos) << plain;
  EXPECT_NE(plain.find("Thank them."), std::string::npos) << plain;
}

TEST_F(SlideShowBuildTest, NotesFileIsRewrittenOnlyWhenTheNotesChange) {
  Type(kShow);
  Trigger("BuildAll");
  ASSERT_EQ(Dialogs().Calls().size(), 0u) << Dialogs().Last().text;
  ASSERT_TRUE(fs::exists(notes));
  // An old time, so that a rewrite shows without waiting for the clock.
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
  fs::last_write_time(notes, old);

  Trigger("BuildAll");
  ASSERT_EQ(Dialogs().Calls().size(), 0u) << Dialogs().Last().text;
  EXPECT_EQ(fs::last_write_time(notes), old);

  const std::string changed = CurrentEditor->GetText();
  Type(ReplaceAll(changed, "Thank them.", "Thank them all.", true));
  Trigger("BuildAll");
  ASSERT_EQ(Dialogs().Calls().size(), 0u) << Dialogs().Last().text;
  EXPECT_NE(fs::last_write_time(notes), old);
  EXPECT_NE(test::ReadFile(notes).find("Thank them all."), std::string::npos);
}

TEST_F(SlideShowBuildTest, BuildOneKeepsTheSectionNamesAndWritesNoNotes) {
  Type(kShow);
  const size_t second = CurrentEditor->GetText().find(".PG intro");
  ASSERT_NE(second, std::string::npos);
  CurrentEditor->Select(second + 12, 0);
  Trigger("BuildOne");
  ASSERT_EQ(Dialogs().Calls().size(), 0u) << Dialogs().Last().text;
  EXPECT_NE(CurrentEditor->GetText().find(".PG intro|"), std::string::npos);
  EXPECT_TRUE(fs::exists(site + "intro.htm"));
  EXPECT_FALSE(fs::exists(notes));
}

TEST_F(SlideShowBuildTest, ViewNotesOpensTheNotesFileOrSaysItIsMissing) {
  Type(kShow);
  Trigger("ViewNotes");
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, notes + " not found.");
  Dialogs().Clear();

  Trigger("BuildAll");
  ASSERT_EQ(Dialogs().Calls().size(), 0u) << Dialogs().Last().text;
  const int tabs = form->TabCount();
  Trigger("ViewNotes");
  ASSERT_EQ(Dialogs().Calls().size(), 0u) << Dialogs().Last().text;
  EXPECT_EQ(form->TabCount(), tabs + 1);
  EXPECT_EQ(CurrentFileName, notes);
  // Our own editor reads the file back as the notes it holds.
  EXPECT_NE(CurrentEditor->GetText().find("Say {hello}."), std::string::npos)
      << CurrentEditor->GetText();
}

// Only a slide show has notes to view; any master can be built.
TEST_F(SlideShowBuildTest, ViewNotesIsForSlideShowsOnly) {
  EXPECT_TRUE(form->Action("ViewNotes")->isEnabled());
  const std::string page = site + "page.rtf";
  test::WriteFile(page, test::Master({".PG page|A page", ".BO", "x"}));
  OpenInNewTab(page);
  QApplication::processEvents();
  ASSERT_EQ(CurrentFileName, page);
  ASSERT_TRUE(IsDotPage);
  EXPECT_FALSE(form->Action("ViewNotes")->isEnabled());
  EXPECT_TRUE(form->Action("BuildAll")->isEnabled());
}

// However the build ends, the build command is over when it is.
TEST_F(SlideShowBuildTest, FinishedOrFailedBuildLeavesNoCommandRunning) {
  Type(kShow);
  EXPECT_EQ(BuildWeb(false), "show02.htm");
  EXPECT_TRUE(CurrentCommand.empty()) << CurrentCommand;

  Type(kShow + std::string("\r\n<B>More </I>text."));
  EXPECT_THROW(BuildWeb(false), EAbort);
  ASSERT_FALSE(Dialogs().Calls().empty());
  EXPECT_NE(Dialogs().Last().text.find("cannot end with </I>"), std::string::npos);
  EXPECT_TRUE(CurrentCommand.empty()) << CurrentCommand;
  EXPECT_EQ(Status().find("built"), std::string::npos) << Status();
}

}  // namespace
}  // namespace quorrel
