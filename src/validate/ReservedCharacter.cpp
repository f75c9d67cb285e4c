#include "validate/ReservedCharacter.h"

#include <string>

#include "shell/CommandNames.h"
#include "shell/DBoxUnit.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"

namespace quorrel {

void CheckReservedCharacter(unsigned char code) {
  if (code < 128 || code > 159) return;
  if (NotInSite || CurrentCommand == ValidateAllCommand ||
      CurrentCommand == ValidateAllOneCommand || CurrentCommand == ServerWindowCommand) {
    return;
  }
  const char c = static_cast<char>(code);
  if (CurrentEditor) {
    const std::string text = CurrentEditor->GetText();
    const size_t at = text.find(c);
    if (at != std::string::npos) CurrentEditor->Select(CurrentEditor->OffsetToPos(at), 1);
  }
  ShowErrorAndAbort(
      "Error - Values between 128 and 159 are reserved for control characters.\rThis character (" +
      std::string(1, c) + ") is " + std::to_string(code) + ".");
}

}  // namespace quorrel
