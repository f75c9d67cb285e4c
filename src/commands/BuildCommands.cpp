#include "commands/BuildCommands.h"

#include "commands/SlideNotesFile.h"
#include "commands/ValidateCurrentFile.h"
#include "shell/CommandNames.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/RtfView.h"
#include "shell/Saving.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "sitebuild/BuildPages.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/MasterHousekeeping.h"

namespace quorrel {

namespace {

// Pages are validated as they are built, whichever item started the build; the
// command is over when the build is, however it ends.
struct TBuildCommandScope {
  TBuildCommandScope() { CurrentCommand = BuildAllCommand; }
  ~TBuildCommandScope() { CurrentCommand.clear(); }
};

// Puts tidied RTF back into the editor with the caret where it was.
void PutBack(TMyRich& editor, const std::string& rtf) {
  const size_t caret = editor.SelStart();
  SetRtfSource(rtf, editor);
  editor.Select(caret, 0);
  editor.SetModified(true);
}

}  // namespace

std::string BuildWeb(bool oneSection) {
  if (!CurrentEditor || !IsDotPage) return "";
  TMyRich& editor = *CurrentEditor;
  const bool formatted = !editor.PlainText();
  const bool slideShow = IsSlides && !oneSection;
  std::string base;

  if (formatted) {
    if (std::optional<std::string> tidied = WithoutLangCodes(GetRtfSource(editor))) {
      PutBack(editor, *tidied);
    }
    if (slideShow) {
      base = SlideShowBase(editor.GetText());
      if (std::optional<std::string> numbered = WithNumberedSlides(GetRtfSource(editor), base)) {
        PutBack(editor, *numbered);
      }
    }
  }

  // The pages are built from the file, so it must hold what the editor shows.
  if (editor.Modified()) {
    GetEditorText();
    SaveClick("NoValidate");
  }
  GetEditorText();

  TBuildCommandScope command;
  ShowStatus("");
  if (!ContainsNoCase(CurrentFileName, "Build.RTF")) {
    // The master itself is checked as any RTF document is; while the build command
    // runs, the validator checks the pages it makes.
    // It selects the section it checks; the section built is the one at the caret.
    const size_t caret = editor.SelStart();
    const size_t length = editor.SelLength();
    CurrentCommand.clear();
    ValidateCurrentFile("");
    CurrentCommand = BuildAllCommand;
    editor.Select(caret, length);
  }
  TBuildRun run;
  BuildPagesFromRtf(run, oneSection);
  if (slideShow && !run.SlideNotes.empty()) {
    WriteSlideNotes(SlideNotesPath(CurrentFolder, base), SlideNotesHeader + run.SlideNotes);
  }
  std::string page = run.PageName + run.PageExt;
  ShowStatus(page + " built");
  return page;
}

void InstallBuildCommands() {
  TMenuModel& menu = MainMenu();
  menu.SetHandler("BuildAll", [](const TMenuItem&) { BuildWeb(false); });
  menu.SetHandler("BuildOne", [](const TMenuItem&) { BuildWeb(true); });
  menu.SetHandler("ViewNotes", [](const TMenuItem&) { ViewNotes(); });
}

}  // namespace quorrel
