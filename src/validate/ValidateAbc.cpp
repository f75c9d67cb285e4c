#include <string>

#include "music/TunePrep.h"
#include "platform/Abort.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "validate/AbcLines.h"
#include "validate/AbcMessages.h"
#include "validate/AbcPrepare.h"
#include "validate/AbcRun.h"
#include "validate/AbcTunes.h"
#include "validate/Validators.h"

namespace quorrel {

namespace {

// A text this long is re-formatted only when the user says so.
constexpr size_t kBigFile = 20000;
// Asked for when the whole file is to be checked, whatever the command.
constexpr char kWholeFileMark[] = "X:?";

TAbcOptions MenuOptions() {
  TMenuModel& menu = MainMenu();
  return {menu.Checked("Renumber"), menu.Checked("CountBars"), menu.Checked("FieldOrder"),
          menu.Checked("ValSquare"), menu.Checked("CheckChords")};
}

size_t LineOfOffset(const std::string& text, size_t offset) {
  size_t line = 0;
  for (size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') ++line;
  }
  return line;
}

// The line of the "X:" line of the tune at the caret.
size_t TuneLineAtCaret(const TAbcRun& run, const std::string& text, size_t caret) {
  const TTuneSpan span = FindTuneIn(text, caret);
  const size_t line = LineOfOffset(text, span.start - 1);
  if (line >= run.lines.size() || !IsFieldOf(run.lines[line], 'X')) {
    const size_t caretLine = LineOfOffset(text, caret);
    StopAbc(AbcTuneStartNotFound + (caretLine < run.lines.size() ? run.lines[caretLine] : ""),
            caretLine);
  }
  return line;
}

// The text at the end of a run that went through.
std::string FinishedText(const TAbcRun& run) {
  std::string text = AbcTextOf(run.lines);
  // Blank lines at the end go, however many: a second run finds nothing to take.
  while (text.ends_with("\r\n\r\n")) text.resize(text.size() - 2);
  // A page break right before a part's start is one too many.
  if (run.wholeFile) text = ReplaceAll(text, "%%vskip 0\r\nP:", "P:", true);
  return text;
}

}  // namespace

TValidation ValidateAbc(const TPage& page) {
  TValidation result;
  size_t removed = 0;
  std::string text = WithoutLeadingLineEnds(page.text, &removed);
  const bool reformat = page.sender == ReformatCommand;
  TAbcRun run(WorkList);
  run.reformat = reformat;
  run.wholeFile =
      reformat || page.sender == ValidateCommand || text.find(kWholeFileMark) != std::string::npos;
  run.notInSite = NotInSite;
  run.options = MenuOptions();
  if (reformat) {
    if (text.size() > kBigFile && CurrentCommand != ExtractPartsCommand &&
        !AskYesNo(AbcBigFileQuestion)) {
      Abort();
    }
    text = PrepareForReformat(text);
  }
  WorkList = AbcLinesOf(text);
  try {
    const size_t caret = page.caret > removed ? page.caret - removed : 0;
    WalkTunes(run, run.wholeFile ? 0 : TuneLineAtCaret(run, text, caret));
  } catch (const TAbcStop& stop) {
    // The mends so far stay; the caret goes to the line at fault.
    const std::string written = AbcTextOf(WorkList);
    if (written != page.text) result.text = written;
    result.error =
        TValidationError{AbcLineOffset(WorkList, stop.line), stop.message, stop.helpTopic, true};
    return result;
  }
  const std::string finished = FinishedText(run);
  if (finished != page.text) result.text = finished;
  result.status = ValidatedStatus;
  return result;
}

}  // namespace quorrel
