#include "validate/ValUnit.h"

#include "platform/Abort.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"
#include "shell/StatusBar.h"
#include "validate/TextMarkers.h"
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

// The re-check of a page the server window has just downloaded.
constexpr char kAfterDownload[] = "N0";

std::string BaseFolder() {
  std::string folder;
  if (CheckOnly && !SiteBaseFolder.empty()) {
    folder = SiteBaseFolder;
  } else if (EntireRun) {
    folder = CurrentFolder;
  } else if (const TDocument* document = DocumentAt(CurrentEditor ? CurrentEditor->Tag() : -1)) {
    folder = ExtractFilePath(document->FileName);
  } else {
    folder = CurrentFolder;
  }
  return ReplaceNoCase(folder, "%20", " ");
}

bool StatusSaysNoReformat() {
  TMainWindow* window = MainWindow();
  return window && window->StatusText(MessagePanel).find(NoReformatMarker) != std::string::npos;
}

// The editor position of a CurrentText offset, within the text.
size_t PositionOf(long offset) {
  return EditorPosOf(offset < 0 ? 0 : static_cast<size_t>(offset));
}

}  // namespace

void ValidateCurrentFile(const std::string& sender) {
  const bool wasModified = CurrentEditor && CurrentEditor->Modified();
  ValidationPass = sender == kAfterDownload ? 1 : 0;
  ClearPhpNameList();
  CheckOnly =
      IsDotPage || IsContentDoc || CurrentCommand == UpdateMenuCommand || sender == kAfterDownload;
  BeginBusy();
  ValidationBaseFolder = BaseFolder();

  do {
    ValidateAgain = false;
    RunValidator(ChooseValidator(), sender);
    ++ValidationPass;
    if (IsServerPage && ValidationPass == 2) {
      // A server page gets one more pass at most, and its re-formatting alone does
      // not make it a changed document.
      ValidateAgain = false;
      if (CurrentEditor) CurrentEditor->SetModified(wasModified);
    }
  } while (ValidateAgain && ValidationPass < MaxValidationPasses);

  if (ValidationPass >= MaxValidationPasses) {
    // Outside a site (a page in the browser cache, say) the loop is only reported.
    if (NotInSite) {
      ShowMsg(ValidationLoopMessage);
      return;
    }
    ShowErrorAndAbort(ValidationLoopMessage);
  }
  if (StatusSaysNoReformat()) return;
  ShowStatusMessage(MainMenu().Checked("IndentPHP") ? "Indenting corrected if necessary"
                                                    : "Validated");
}

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
