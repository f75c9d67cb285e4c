#include "validate/StyleBlock.h"

#include "platform/ResetRegistry.h"
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
  CheckingStyleBlock = true;
  try {
    ValidateCss();
  } catch (...) {
    CheckingStyleBlock = false;
    throw;
  }
  CheckingStyleBlock = false;
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
