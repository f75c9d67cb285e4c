#include "validate/StyleBlock.h"

#include "platform/ResetRegistry.h"
#include "shell/ShellState.h"
#include "validate/ValUnit.h"
#include "validate/Validators.h"

namespace quorrel {

std::string StyleBlockText;
size_t StyleBlockOffset = 0;
std::string StyleBlockResult;

std::string ValidateStyleBlock(const std::string& block, size_t offset) {
  StyleBlockText = block;
  StyleBlockOffset = offset;
  StyleBlockResult = block;
  // The block is a page of its own; its error offsets count from the block's start.
  TPage page;
  page.text = block;
  page.path = CurrentFileName;
  page.kind = TDocumentKind::Css;
  page.baseFolder = ValidationBaseFolder;
  page.checkOnly = CheckOnly;
  page.sender = CurrentCommand;
  struct TChecking {
    TChecking() { CheckingStyleBlock = true; }
    ~TChecking() { CheckingStyleBlock = false; }
  } checking;
  const TValidation result = RunValidator(TValidatorKind::Css, page);
  if (result.error) {
    RaiseErrorAt(result.error->message, static_cast<long>(offset - 1 + result.error->offset));
  }
  if (result.text) StyleBlockResult = *result.text;
  return StyleBlockResult;
}

void ResetStyleBlock() {
  StyleBlockText.clear();
  StyleBlockOffset = 0;
  StyleBlockResult.clear();
}

namespace {
const TResetEntry resetStyleBlock(ResetStyleBlock);
}  // namespace

}  // namespace quorrel
