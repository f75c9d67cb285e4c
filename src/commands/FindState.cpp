#include "commands/FindState.h"

#include "platform/ResetRegistry.h"
#include "shell/MenuModel.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"

namespace quorrel {

TFindAnswers FindAnswers;
TFindState FindState;
std::vector<std::string> FindHistory;
std::vector<std::string> ReplaceHistory;

namespace {

TFindDialog* installed = nullptr;
bool historiesLoaded = false;

}  // namespace

void LoadFindHistories() {
  if (historiesLoaded || !SettingsIni) return;
  historiesLoaded = true;
  FindHistory = LoadComboHistory("Find");
  ReplaceHistory = LoadComboHistory("Replace");
}

void SetFindDialog(TFindDialog* dialog) {
  installed = dialog;
}

TFindDialog* FindDialog() {
  return installed;
}

void PrepareFindAnswers(const TFindRequest& request) {
  FindAnswers.blockRepEnabled = request.replaceMode && request.selection;
  FindAnswers.blockRep = FindAnswers.blockRepEnabled;
  const TMenuItem* sections = MainMenu().Find("Sections");
  FindAnswers.inSectionVisible = sections && sections->visible;
  if (!FindAnswers.inSectionVisible) FindAnswers.inSection = false;
  if (FindAnswers.blockRep) FindAnswers.searchFiles = false;
}

void ResetFindState() {
  FindAnswers = TFindAnswers{};
  FindState = TFindState{};
  installed = nullptr;
  FindHistory.clear();
  ReplaceHistory.clear();
  historiesLoaded = false;
}

namespace {
const TResetEntry resetFindState(ResetFindState);
}  // namespace

}  // namespace quorrel
