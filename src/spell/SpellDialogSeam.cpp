#include "spell/SpellDialogSeam.h"

#include "platform/ResetRegistry.h"

namespace quorrel {
namespace {

TSpellDialogFactory dialogFactory;

void ResetSpellDialogFactory() {
  dialogFactory = nullptr;
}
const TResetEntry reset(ResetSpellDialogFactory);

}  // namespace

void SetSpellDialogFactory(TSpellDialogFactory factory) {
  dialogFactory = std::move(factory);
}

std::unique_ptr<TSpellDialog> MakeSpellDialog(TSpellChecker& checker) {
  return dialogFactory ? dialogFactory(checker) : nullptr;
}

}  // namespace quorrel
