#pragma once
// The Spell-check command and the spell checker the main window keeps for it.
#include <memory>

namespace quorrel {

class TSpellChecker;

// Made once at start, with the checker's defaults.
extern std::unique_ptr<TSpellChecker> SpellChecker;
void CreateSpellChecker();
// Frees the checker and its dialog while the windows still exist.
void FreeSpellChecker();

// TWebForm.SpellCheckClick: checks the current editor from its selection.
// "Spell-check completed." shows when the check really ends, after the user's
// last answer; a check the user cancels, or one that fails, says nothing of the
// kind. No speller for the language: "ISpell is not installed.".
void SpellCheckClick();

// Gives the Validation menu's "Spell-check" its command.
void InstallSpellCheckCommand();

}  // namespace quorrel
