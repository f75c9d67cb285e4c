#include "commands/PrintCommand.h"

#include "music/ScoreOutput.h"
#include "platform/Abort.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/UserDialogs.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/PrintLayout.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"

namespace quorrel {

namespace {

// The job as far as the document decides it: what is printed, under which title.
void Print(TPrintJob job) {
  TMainWindow* window = MainWindow();
  if (!window) return;
  if (!UserDialogs().PrintDialog(job.target)) Abort();
  ShowStatus("Printing - please wait");
  if (!job.formatted && SettingsIni) {
    job.fontName = SettingsIni->ReadString("Text", "PrFont", DefaultPrintFont);
    job.fontSize = SettingsIni->ReadInteger("Text", "PrFontSize", DefaultPrintFontSize);
  }
  job.margins = ReadPrintMargins();
  job.letter = UpperCaseAnsi(ExtractFileExt(CurrentFileName)) == ".LTR";
  if (job.margins.AllZero() && job.letter) job.noMargin = !AskYesNo("Add margin?");
  BeginBusy();  // a long document takes a moment to lay out
  const std::string error = window->Print(job);
  if (!error.empty()) ShowErrorAndAbort("Unable to print " + job.title + "\r" + error);
}

}  // namespace

void PrintClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  TPrintJob job;
  job.title = CurrentFileName;
  if (editor->SelLength() > 0) {
    // A copy of the selection: the user's clipboard stays as it is.
    job.text = editor->SelText();
  } else {
    if (IsAbc) {
      // The third button, like closing the box, prints the text.
      const int answer =
          AskCustom("What do you want to print?", "&This tune", "&All tunes", 0, "&Source text");
      if (answer == mrYes) return PSClick(PrintCommand);
      if (answer == mrNo) return PSClick("");  // no sender: every tune
    }
    if (!editor->PlainText()) {
      job.formatted = editor;
    } else {
      GetEditorText();
      job.text = CurrentText;
    }
  }
  Print(std::move(job));
}

void PrintProgressText(const std::string& text) {
  TPrintJob job;
  job.title = CurrentFileName;
  job.text = text;
  Print(std::move(job));
}

void InstallPrintCommand() {
  MainMenu().SetHandler(PrintCommand, [](const TMenuItem&) { PrintClick(); });
}

}  // namespace quorrel
