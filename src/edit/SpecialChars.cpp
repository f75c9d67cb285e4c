#include "edit/SpecialChars.h"

#include <cstdio>

#include "platform/Desktop.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {
std::function<void(bool)> specForm;
}  // namespace

std::string SpecialHint(unsigned char code) {
  char hint[16];
  std::snprintf(hint, sizeof hint, "%02X  %d", code, code);
  return hint;
}

void SBClick(unsigned char code, const std::function<void(const std::string&)>& findField) {
  if (code == 0) return;
  const std::string character(1, static_cast<char>(code));
  if (findField) {
    findField(character);
  } else if (CurrentEditor) {
    CurrentEditor->SetSelText(character);
  }
  Desktop().SetClipboardText(character);
}

void SpecialClick(bool findField) {
  if (specForm) specForm(findField);
}

void SetSpecForm(std::function<void(bool findField)> show) { specForm = std::move(show); }

void InstallSpecialCommand() {
  MainMenu().SetHandler("Special", [](const TMenuItem&) { SpecialClick(false); });
}

}  // namespace quorrel
