#include "commands/Restore.h"

#include <algorithm>
#include <cstring>

#include "commands/OpenDocs.h"
#include "music/ReportView.h"
#include "platform/Abort.h"
#include "platform/FileSwap.h"
#include "platform/Paths.h"
#include "shell/Backups.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

// The message of a swap that did not happen; both files are where they were unless
// it says otherwise.
std::string SwapFailure(const std::string& path, const TSwapResult& result) {
  std::string message = result.step == 1 ? std::string("Unable to create work file")
                                         : "Unable to swap " + path + " with its back-up";
  message += "\r" + std::string(std::strerror(result.error));
  if (result.stranded.empty()) return message + "\rBoth files are unchanged.";
  return message + "\rThe back-up could not be put back and is now\r" +
         PathFromNative(result.stranded);
}

// The back-up becomes the document and the document, when there is one on disk, the
// back-up.
void SwapWithBackup(const std::string& path, const std::string& backup) {
  if (!FileExists(path)) {
    if (int error = RenameNoReplace(NativePath(backup), NativePath(path))) {
      ShowErrorAndAbort("Unable to rename " + backup + "\r" + std::strerror(error));
    }
    return;
  }
  const TSwapResult result = SwapFiles(NativePath(backup), NativePath(path));
  if (!result.swapped) ShowErrorAndAbort(SwapFailure(path, result));
}

}  // namespace

std::string RestoreQuestion(const std::string& path, bool modified) {
  std::string question = "Current file \t" + DateSize(path) + "\r\nBack-up file \t" +
                         DateSize(BackupPath(path)) + "\r\n";
  if (modified) question += "Current changes will be lost.\r\n";
  return question + "Swap files? Y/N";
}

void RestoreMClick() {
  TMyRich* editor = CurrentEditor;
  if (!editor) return;
  const std::string path = CurrentFileName;
  if (UpperCaseAnsi(ExtractFileExt(path)) == ".BAK") return;
  CloseReportViewer();
  const std::string backup = BackupPath(path);
  if (!FileExists(backup)) ShowErrorAndAbort(backup + " not found");
  // Asked even when the document is gone: the reload would drop what the editor holds.
  if (!AskYesNo(RestoreQuestion(path, editor->Modified()))) Abort();

  const size_t caret = editor->SelStart();
  SwapWithBackup(path, backup);

  editor->SetModified(false);
  OpenClick(MainMenu().Find("Reload"));
  if (!CurrentEditor) return;
  CurrentEditor->SetModified(false);
  if (TDocument* document = DocumentAt(CurrentEditor->Tag())) document->FileAge = FileAge(path);
  ScrollToPos(std::min(caret, CurrentEditor->TextLength()), true);
}

}  // namespace quorrel
