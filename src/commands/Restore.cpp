#include "commands/Restore.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "commands/OpenDocs.h"
#include "music/ReportView.h"
#include "platform/Abort.h"
#include "platform/Paths.h"
#include "shell/Backups.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/FileRoutines.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

// Date and size as the question shows them, without DateSize's warnings.
std::string DateAndSize(const std::string& path) {
  struct stat st;
  if (::stat(NativePath(path).c_str(), &st) != 0) return "*** Not found ***";
  return FormatFileDate(static_cast<int64_t>(st.st_mtime)) +
         FormatSize(static_cast<int64_t>(st.st_size));
}

bool Rename(const std::string& from, const std::string& to) {
  return std::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
}

}  // namespace

std::string RestoreQuestion(const std::string& path, bool modified) {
  std::string question = "Current file \t" + DateAndSize(path) + "\r\nBack-up file \t" +
                         DateAndSize(BackupPath(path)) + "\r\n";
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

  const bool exists = FileExists(path);
  const size_t caret = editor->SelStart();
  const std::string work = ExtractFilePath(path) + "$$$.$$$";
  DeleteFileOrAbort(work);
  if (!Rename(backup, work)) ShowErrorAndAbort("Unable to create work file");
  if (exists && !Rename(path, backup)) {
    Rename(work, backup);
    ShowErrorAndAbort("Unable to create work file");
  }
  if (!Rename(work, path)) {
    if (exists) Rename(backup, path);
    Rename(work, backup);
    ShowErrorAndAbort("Unable to create work file");
  }

  editor->SetModified(false);
  OpenClick(MainMenu().Find("Reload"));
  if (!CurrentEditor) return;
  CurrentEditor->SetModified(false);
  const int slot = CurrentEditor->Tag();
  if (slot >= 0 && slot < MaxTabs) FileAges[slot] = FileAge(path);
  ScrollToPos(std::min(caret, CurrentEditor->TextLength()), true);
}

}  // namespace quorrel
