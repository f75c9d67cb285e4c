#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QProcess>
#include <QStandardPaths>

#include "music/AbcTestSupport.h"
#include "music/AbcTools.h"
#include "music/AbcWorkFiles.h"
#include "platform/CodePage.h"
#include "platform/Help.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel::test {
namespace {

std::string Found(const char* program) {
  return QStringToAnsi(QStandardPaths::findExecutable(program));
}

// What a program writes for a version query, as the test sees it.
std::string Output(const char* program, const QStringList& arguments, bool errorOutput = false) {
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished(10000);
  return (errorOutput ? process.readAllStandardError() : process.readAllStandardOutput())
      .toStdString();
}

class AbcToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenSettings();
    SettingsIni->EraseSection("System");
    savedPath_ = getenv("PATH") ? getenv("PATH") : "";
  }
  void TearDown() override { setenv("PATH", savedPath_.c_str(), 1); }

  // An executable file of the test's own (never run).
  std::string FakeProgram(const std::string& name) {
    std::string folder = TestHome() + "programs/";
    mkdir(folder.c_str(), 0700);
    std::string path = folder + name;
    WriteFileBytes(path, "#!/bin/sh\nexit 0\n");
    chmod(path.c_str(), 0755);
    return path;
  }

  // PATH without any of the music programs.
  void EmptyPath() {
    std::string folder = TestHome() + "empty-path/";
    mkdir(folder.c_str(), 0700);
    setenv("PATH", folder.c_str(), 1);
  }

  std::string SystemValue(const std::string& key) {
    return SettingsIni->ReadString("System", key, "(absent)");
  }

  std::string savedPath_;
};

TEST_F(AbcToolsTest, FindsTheDebianProgramsOnThePath) {
  ABCClick();
  const std::string folder = ExtractFilePath(Found("abc2midi"));
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(AbcToolFolder, folder);
  EXPECT_EQ(Abc2MidiPath, folder + "abc2midi");
  EXPECT_EQ(Abcm2psPath, folder + "abcm2ps");
  EXPECT_EQ(Abc2AbcPath, folder + "abc2abc");
  EXPECT_EQ(Midi2AbcPath, folder + "midi2abc");
  EXPECT_TRUE(FileExists(Abcm2psPath) && FileExists(Abc2AbcPath) && FileExists(Midi2AbcPath));
  EXPECT_EQ(GhostscriptPath, Found("gs"));
  EXPECT_EQ(GhostscriptFolder, ExtractFilePath(Found("gs")));
  EXPECT_EQ(SystemValue("Ghostscript"), "(absent)") << "a program found is not a choice";
  EXPECT_TRUE(Dialogs().Calls().empty());

  // Located once for the session.
  MainMenu().SetChecked("abc2midiu", true);
  ABCClick();
  EXPECT_EQ(Abc2MidiPath, folder + "abc2midi");
}

TEST_F(AbcToolsTest, Abc2midiuIsTheChoiceAtTheTimeOfLocating) {
  MainMenu().SetChecked("abc2midiu", true);
  ABCClick();
  EXPECT_EQ(Abc2MidiPath, AbcToolFolder + "abc2midiu");
}

TEST_F(AbcToolsTest, TheChosenGhostscriptIsUsed) {
  const std::string gs = FakeProgram("gs-chosen");
  SettingsIni->WriteString("System", "Ghostscript", gs);
  ABCClick();
  EXPECT_EQ(GhostscriptPath, gs);
  EXPECT_EQ(GhostscriptFolder, ExtractFilePath(gs));
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(AbcToolsTest, AChosenGhostscriptThatIsGone) {
  const std::string missing = TestHome() + "gone/gs";
  const std::string question =
      "Ghostscript program not found at\r" + missing + "\rDo you want to specify another location?";

  // No: forgotten, and the one on PATH is taken.
  SettingsIni->WriteString("System", "Ghostscript", missing);
  Dialogs().Answer(mrNo);
  ABCClick();
  EXPECT_EQ(Dialogs().Calls().at(0).text, question);
  EXPECT_EQ(GhostscriptPath, Found("gs"));
  EXPECT_EQ(SystemValue("Ghostscript"), "");

  // Yes: the user chooses another, which is kept.
  ResetAbcTools();
  Dialogs().Clear();
  const std::string other = FakeProgram("gs-other");
  SettingsIni->WriteString("System", "Ghostscript", missing);
  Dialogs().Answer(mrYes);
  Dialogs().AnswerPath(other);
  ABCClick();
  ASSERT_EQ(Dialogs().Calls().size(), 1u) << "no second question about the path that is gone";
  ASSERT_EQ(Dialogs().PathCalls().size(), 1u);
  EXPECT_EQ(Dialogs().PathCalls()[0].call.title, "Ghostscript program");
  EXPECT_EQ(Dialogs().PathCalls()[0].path, missing) << "the dialog starts from the setting";
  EXPECT_EQ(GhostscriptPath, other);
  EXPECT_EQ(SystemValue("Ghostscript"), other);

  // Yes, then Cancel: the one on PATH, and no error.
  ResetAbcTools();
  Dialogs().Clear();
  SettingsIni->WriteString("System", "Ghostscript", missing);
  Dialogs().Answer(mrYes);
  Dialogs().CancelPath();
  ABCClick();
  EXPECT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(GhostscriptPath, Found("gs"));
}

TEST_F(AbcToolsTest, NoGhostscriptAnywhere) {
  EmptyPath();
  Dialogs().Answer(mrOk);
  EXPECT_TRUE(Aborts(ABCClick));
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().kind, DialogKind::Custom);
  EXPECT_EQ(Dialogs().Last().text, "Ghostscript program not found.");
  EXPECT_EQ(Dialogs().Last().helpContext, 55020);
  EXPECT_TRUE(GhostscriptPath.empty()) << "asked again next time";
  // The ABC programs are looked up by name when they run.
  EXPECT_EQ(AbcToolFolder, "");
  EXPECT_EQ(Abc2MidiPath, "abc2midi");
}

TEST_F(AbcToolsTest, GhostscriptLocation) {
  GhostscriptPath = "/usr/bin/gs";
  const std::string question =
      "Ghostscript program is currently\r/usr/bin/gs\rDo you want to change this?";

  Dialogs().Answer(mrNo);
  GhostLocClick();
  EXPECT_EQ(Dialogs().Last().text, question);
  EXPECT_TRUE(Dialogs().PathCalls().empty());

  // A name that does not exist ends the command; nothing is kept.
  Dialogs().Answer(mrYes);
  Dialogs().AnswerPath(TestHome() + "nowhere/gs");
  EXPECT_TRUE(Aborts(GhostLocClick));
  EXPECT_NE(Dialogs().Last().text.find(TestHome() + "nowhere/gs\rnot found."), std::string::npos);
  EXPECT_EQ(GhostscriptPath, "/usr/bin/gs");
  EXPECT_EQ(SystemValue("Ghostscript"), "(absent)");

  // Cancel keeps the program there was, without a word.
  Dialogs().Clear();
  Dialogs().Answer(mrYes);
  Dialogs().CancelPath();
  EXPECT_FALSE(Aborts(GhostLocClick));
  EXPECT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(GhostscriptPath, "/usr/bin/gs");

  const std::string chosen = FakeProgram("gs-mine");
  Dialogs().Answer(mrYes);
  Dialogs().AnswerPath(chosen);
  GhostLocClick();
  EXPECT_EQ(GhostscriptPath, chosen);
  EXPECT_EQ(GhostscriptFolder, ExtractFilePath(chosen));
  EXPECT_EQ(SystemValue("Ghostscript"), chosen);
  const FileDialogCall& call = Dialogs().PathCalls().back().call;
  EXPECT_FALSE(call.save);
  EXPECT_EQ(call.title, "Ghostscript program");
  EXPECT_EQ(call.helpContext, 55820);

  // With none set there is no question.
  GhostscriptPath.clear();
  Dialogs().Clear();
  Dialogs().AnswerPath(chosen);
  GhostLocClick();
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_EQ(Dialogs().PathCalls().back().path, chosen) << "starts from the setting";
}

TEST_F(AbcToolsTest, PdfViewer) {
  const std::string viewer = FakeProgram("my-viewer");
  PdfViewerPath = "/old/viewer";
  Dialogs().AnswerText(viewer);
  PDFViewerClick();
  ASSERT_EQ(Dialogs().Inputs().size(), 1u);
  EXPECT_EQ(Dialogs().Inputs()[0].prompt, "PDF Viewer (with full path)");
  EXPECT_EQ(Dialogs().Inputs()[0].value, "/old/viewer");
  EXPECT_EQ(PdfViewerPath, viewer);
  EXPECT_EQ(SystemValue("Viewer"), viewer);

  // A program that is not there is used for this session only.
  Dialogs().AnswerText("/no/such/viewer");
  PDFViewerClick();
  EXPECT_NE(Dialogs().Last().text.find("/no/such/viewer\rFile not found."), std::string::npos);
  EXPECT_EQ(PdfViewerPath, "/no/such/viewer");
  EXPECT_EQ(SystemValue("Viewer"), viewer);

  Dialogs().AnswerText("");
  PDFViewerClick();
  EXPECT_EQ(PdfViewerPath, "");
  EXPECT_EQ(SystemValue("Viewer"), "") << "no viewer: PDF files open with their default program";

  Dialogs().CancelText();
  PdfViewerPath = viewer;
  PDFViewerClick();
  EXPECT_EQ(PdfViewerPath, viewer);
  EXPECT_EQ(SystemValue("Viewer"), "");
}

TEST_F(AbcToolsTest, VersionInfoShowsTheInstalledVersions) {
  VerInfoClick();
  const std::string gsFolder = ExtractFilePath(Found("gs"));
  std::string gs = Output("gs", {"-version"});
  gs = gs.substr(0, gs.find('\n'));
  auto crlf = [](const std::string& text) { return Crlf(text); };
  const std::string expected =
      "ABC Version information\r\rIn folder " + ExtractFilePath(Found("abc2midi")) + "\r" +
      crlf(Output("abcm2ps", {"-v"})) + "abc2midi: " + crlf(Output("abc2midi", {"-ver"})) +
      "abc2abc: " + crlf(Output("abc2abc", {"-ver"})) + "\rIn folder " + gsFolder + "\r" + gs;
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, expected);
  for (const char* version : {"abcm2ps-8.", "abc2midi: 4.", "abc2abc: 2.", "Ghostscript 10."}) {
    EXPECT_NE(Dialogs().Last().text.find(version), std::string::npos) << version;
  }
  EXPECT_FALSE(FileExists(ToolTextFile())) << "the work file is removed";
}

TEST_F(AbcToolsTest, HelpOnTheAbcPrograms) {
  std::vector<int> topics;
  SetHelpViewer([&](int context) { topics.push_back(context); });
  HelpABCMClick();
  SetHelpViewer(nullptr);
  EXPECT_EQ(topics, std::vector<int>{55020});
}

TEST_F(AbcToolsTest, CommandsGoToTheMenuItemsThatExist) {
  InstallAbcToolCommands();
  for (const char* name : {"VerInfo", "GhostLoc", "PDFViewer", "HelpABCM"}) {
    EXPECT_TRUE(MainMenu().HasHandler(name)) << name;
  }
}

}  // namespace
}  // namespace quorrel::test
