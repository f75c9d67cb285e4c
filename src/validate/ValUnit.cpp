#include "validate/ValUnit.h"

#include "platform/Abort.h"
#include "platform/ResetRegistry.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/MyRich.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "validate/Validators.h"

namespace quorrel {

bool CheckOnly = false;
bool ValidateAgain = false;
int ValidationPass = 0;
std::string ValidationBaseFolder;
std::string HandOverText;
std::string ErrMsg;
int ErrHelpContext = 0;
bool CheckingStyleBlock = false;
std::string ValidateFolderRoot;
int BatchState = BatchIdle;
bool AskServerImages = true;

namespace {

// The editor position of a CurrentText offset, within the text.
size_t PositionOf(long offset) {
  return EditorPosOf(offset < 0 ? 0 : static_cast<size_t>(offset));
}

}  // namespace

void RaiseAtOffset(const std::string& message, long n) {
  ScrollToPos(PositionOf(n - 1), false);
  ShowErrorAndAbort("At offset " + std::to_string(n - 1) + "\r" + message);
}

void RaiseErrorAt(const std::string& message, long n) {
  ScrollToPos(PositionOf(n), false);
  if (!message.empty()) ShowMsg(message + "\rat offset " + std::to_string(n));
  FocusEditor();
  CurrentCommand.clear();
  if (!IsDotPage && (ClosingAll || CheckingStyleBlock)) {
    // The validator worked on a text of its own: the working copy follows the editor again.
    DocModified = true;
    GetEditorText();
  }
  ScheduleTimerRefresh();
  Abort();
}

void MarkDocumentChanged() {
  if (!CheckOnly && CurrentEditor) CurrentEditor->SetModified(true);
}

void ResetValUnit() {
  CheckOnly = false;
  ValidateAgain = false;
  ValidationPass = 0;
  ValidationBaseFolder.clear();
  HandOverText.clear();
  ErrMsg.clear();
  ErrHelpContext = 0;
  CheckingStyleBlock = false;
  SetValidatorStandIn(nullptr);
  ValidateFolderRoot.clear();
  BatchState = BatchIdle;
  AskServerImages = true;
}

namespace {
const TResetEntry resetValUnit(ResetValUnit);
}  // namespace

}  // namespace quorrel
