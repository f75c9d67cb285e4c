#include "commands/SpellCheck.h"

#include "platform/ResetRegistry.h"
#include "shell/DBoxUnit.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "spell/SpellChecker.h"

namespace quorrel {

std::unique_ptr<TSpellChecker> SpellChecker;

namespace {

constexpr int SpellCheckHelp = 20740;
const char kCompleted[] = "Spell-check completed.";

const TResetEntry reset(FreeSpellChecker);

}  // namespace

void CreateSpellChecker() {
  SpellChecker = std::make_unique<TSpellChecker>();
  // The check goes on in the dialog after Check has returned, so the end is
  // reported from here.
  SpellChecker->OnFinished = [](TSpellChecker& checker) {
    if (!checker.Cancelled()) ShowStatus(kCompleted);
  };
}

void FreeSpellChecker() {
  SpellChecker.reset();
}

void SpellCheckClick() {
  if (!CurrentEditor) return;
  if (!SpellChecker) CreateSpellChecker();
  // An empty text has nothing to check, and no speller is asked for.
  if (CurrentEditor->TextLength() == 0) {
    ShowStatus(kCompleted);
    return;
  }
  if (!SpellChecker->Check(*CurrentEditor))
    AskOkHelpCancel("ISpell is not installed.", SpellCheckHelp);
}

void InstallSpellCheckCommand() {
  MainMenu().SetHandler("SpellCheck", [](const TMenuItem&) { SpellCheckClick(); });
}

}  // namespace quorrel
