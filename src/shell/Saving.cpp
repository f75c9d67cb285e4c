#include "shell/Saving.h"

#include <sys/stat.h>

#include "platform/Abort.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "shell/Backups.h"
#include "shell/ClassifyDocument.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/Hooks.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/RtfTidy.h"
#include "shell/RtfView.h"
#include "shell/SaveText.h"
#include "shell/Scrambled.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"

namespace quorrel {

namespace {

// A dot-command page this long without bold text has lost its formatting.
constexpr size_t kBoldCheckLength = 3001;
// The shrink warning closes itself after this many milliseconds.
constexpr int kShrinkWarningMs = 4000;

int64_t SizeOf(const std::string& path) {
  struct stat st;
  if (::stat(NativePath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  return static_cast<int64_t>(st.st_size);
}

// A dot-command page that has lost its bold text is most likely damaged: the user
// has to confirm that it is to be saved.
void CheckDotPage(TMyRich& editor, bool raw) {
  const std::string text = raw ? editor.GetText() : RemoveTripleBlankLines();
  if (text.size() >= kBoldCheckLength && text.find("\\b ") == std::string::npos &&
      !AskYesNo("THERE IS NO BOLD TEXT IN THIS FILE.\rYOU DON'T REALLY WANT TO SAVE IT, DO YOU?")) {
    Abort();
  }
}

// Plain text typed into a document named ".RTF" becomes a formatted one.
void OfferRtfConversion(TMyRich& editor) {
  if (CurrentExt != ".RTF" || !editor.PlainText()) return;
  if (StartsWithRtf(editor.TextRange(0, 5))) return;  // its codes, shown raw
  if (!AskYesNo("Convert plain text file to Rich Text Format?")) Abort();
  AddCurrentKind(TDocumentKind::Rtf);
  SetRtfDefaultFont();
}

// The bytes the current document is stored as.
std::string DocumentBytes(TMyRich& editor, bool scrambled) {
  GetEditorText();
  if (scrambled) return ScrambleDocumentBytes(CurrentText, CurrentScrambleKey());
  if (!IsRtf) return TextForDisk(CurrentText, IsHtml || editor.LfOnlyFile(), false);
  std::string source;
  if (editor.PlainText()) {
    source = CurrentText;
  } else {
    RemoveBlanksBeforeLineEnds(editor);
    source = GetRtfSource(editor);
  }
  const size_t zero = RtfZeroByte(source);
  if (zero != std::string::npos) ShowErrorAndAbort(RtfZeroByteMessage(zero));
  return TextForDisk(TightenRtfLineBreaks(source), false, true);
}

// "Save" as the running command for a save that no command started, for as long
// as the save runs.
class TSaveCommand {
 public:
  TSaveCommand() : own_(CurrentCommand.empty()) {
    if (own_) CurrentCommand = SaveCommand;
  }
  ~TSaveCommand() {
    if (own_ && CurrentCommand == SaveCommand) CurrentCommand.clear();
  }
  TSaveCommand(const TSaveCommand&) = delete;
  TSaveCommand& operator=(const TSaveCommand&) = delete;

 private:
  bool own_;
};

}  // namespace

void SaveClick(const std::string& sender) {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  const bool raw = IsRtf && editor->PlainText();

  // What is saved, and whether it is saved here at all.
  if (IsDotPage) CheckDotPage(*editor, raw);
  TSaveCommand command;
  const std::string path = CurrentFileName;
  if (StartsWithNoCase(path, "Untitled") || StartsWithNoCase(path, "http")) {
    SaveAsClick("SaveAs");
    return;
  }
  OfferRtfConversion(*editor);

  // Validation; an error ends the save before anything is written.
  BeginBusy();
  const bool rawNow = IsRtf && editor->PlainText();
  const bool noValidation = sender == ValidateCommand || sender == "NoValidate" || IsDotPage ||
                            CurrentCommand == ValidateAllCommand || rawNow;
  if (!noValidation && (MainMenu().Checked("ValSave") || CurrentCommand == BuildAllCommand)) {
    ValidateHook(ValidateCommand);
  }

  // The new bytes, complete and checked, before the old file becomes the
  // back-up; any failure leaves the old file as it was.
  const int64_t oldSize = SizeOf(path);
  SaveCaretPos();
  const bool scrambled = MainMenu().Checked("Encrypted") && !IsRtf;
  std::string bytes;
  TReplaceResult result;
  try {
    bytes = DocumentBytes(*editor, scrambled);
    result = ReplaceFile(path, bytes, true, scrambled ? 0600 : 0666);
  } catch (...) {
    ReleaseCaretPos();
    throw;
  }
  if (result != TReplaceResult::Replaced) {
    ReleaseCaretPos();
    if (result == TReplaceResult::BackupRefused) Abort();
    ShowErrorAndAbort("Unable to create\r" + path);
  }
  if (scrambled && !ScrambleBackupInPlace(BackupPath(path))) {
    ShowMsg("Could not scramble the back-up file\r" + BackupPath(path));
  }
  if (IsDotPage && !rawNow) RemoveTripleBlankLines();

  // Back to the editor; a save that lost much of the file says so.
  FocusEditor();
  RestoreCaretPos();
  const int64_t newSize = static_cast<int64_t>(bytes.size());
  if (MainMenu().Checked("ValSave") && !IsTei && !InTempFolder(path) &&
      SaveShrankFile(oldSize, newSize)) {
    MessageTimeout = kShrinkWarningMs;
    ShowMsg(ShrinkWarning(oldSize, newSize));
  }

  // Saved: the document is unmodified and its file's age noted; when the save was
  // part of another command, the active tab's document is made current again.
  editor->SetModified(false);
  const int slot = editor->Tag();
  if (slot >= 0 && slot < MaxTabs) FileAges[slot] = FileAge(path);
  // The panel shows the file as it now is on disk, not as it was loaded.
  if (!bytes.empty()) {
    StatusText = DocumentInfoText(path, scrambled ? CurrentText : bytes);
    ShowInfo();
  }
  if (CurrentCommand == SaveCommand) {
    CurrentCommand.clear();
  } else if (!CurrentCommand.empty()) {
    PCChange();
  }
  ShowStatus("Saved");
}

}  // namespace quorrel
