#include "shell/Settings.h"

#include <algorithm>
#include <stdexcept>

#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "platform/UserDialogs.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/PersistedOptions.h"
#include "shell/ShellState.h"

namespace quorrel {

std::vector<std::string> PersistedOptions;

namespace {

// Reading a key with this default tells an absent key from an empty value.
const char kAbsent[] = "\xFF";

const char kSystem[] = "System";

// The items of one radio group are checked one at a time.
void SetOptionState(const std::string& component, bool checked) {
  MainMenu().SetChecked(component, checked);
}

bool AnyChecked(std::initializer_list<const char*> components) {
  return std::any_of(components.begin(), components.end(),
                     [](const char* c) { return MainMenu().Checked(c); });
}

}  // namespace

void OpenMainIni() {
  if (!MainIni) MainIni = std::make_unique<TIniFile>(DocumentsFolder() + MainIniName);
}

void ResetPersistedOptions() {
  PersistedOptions.clear();
}

void LoadMenuCheck(const std::string& component, bool defaultValue) {
  if (PersistedOptions.size() >= PersistedOptionCount) {
    throw std::logic_error("Too many persisted options: " + component);
  }
  PersistedOptions.push_back(component);
  const bool state =
      SettingsIni ? SettingsIni->ReadBool(kSystem, component, defaultValue) : defaultValue;
  SetOptionState(component, state);
}

void LoadPersistedOptions() {
  for (size_t i = 0; i < PersistedOptionCount; ++i) {
    const TPersistedOption& option = PersistedOptionTable[i];
    // Not kept in the settings: on at every start.
    if (std::string(option.component) == "TopOfTune") SetOptionState("ShowErrors", true);
    LoadMenuCheck(option.component, option.defaultValue);
    if (std::string(option.component) == "abc2midiu") SetOptionState("ValSave", true);
  }
  if (!AnyChecked({"BrowserO", "BrowserD"})) SetOptionState("BrowserI", true);
  if (!AnyChecked({"DT3F", "DT4S", "DT4T", "DT5", "DTXS", "DTXT"})) {
    SetOptionState("DTNone", true);
  }
  if (!AnyChecked({"ToMDash", "ToNDash"})) SetOptionState("LeaveAlone", true);
}

void SavePersistedOptions() {
  if (!SettingsIni) return;
  for (const std::string& component : PersistedOptions) {
    SettingsIni->WriteBool(kSystem, component, MainMenu().Checked(component));
  }
}

std::vector<std::string> LoadComboHistory(const std::string& section) {
  std::vector<std::string> history;
  if (!SettingsIni) return history;
  for (int i = 1; i <= MaxHistory; ++i) {
    std::string value = SettingsIni->ReadString(section, std::to_string(i), kAbsent);
    if (value != kAbsent) history.push_back(std::move(value));
  }
  return history;
}

void AnyExit(std::vector<std::string>& history, const std::string& text) {
  std::erase(history, text);
  if (text.empty()) return;
  // Room for the new entry (a list read from an edited file may hold more).
  if (history.size() >= MaxHistory) history.resize(MaxHistory - 1);
  history.insert(history.begin(), text);
}

std::string StripAccelerator(const std::string& caption) {
  std::string shown;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      shown += caption[i];
    } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
      shown += '&';
      ++i;
    }
  }
  return shown;
}

std::string OptionAnnouncement(const TMenuItem& item) {
  return StripAccelerator(item.caption) + " is now " + (item.checked ? "ON" : "OFF");
}

void AnyCheck(const TMenuItem& item) {
  if (TMainWindow* window = MainWindow()) {
    window->SetStatusText(MessagePanel, "  " + OptionAnnouncement(item));
  }
}

void ParameterClick() {
  std::string value = WebParm;
  if (!UserDialogs().InputQuery("Quorrel", "Enter parameter to browser", value, false)) return;
  WebParm = value;
  if (SettingsIni) SettingsIni->WriteString(kSystem, "WebParm", value);
}

void InstallSettingsCommands() {
  MainMenu().SetOptionHandler(AnyCheck);
  MainMenu().SetHandler("Parameter", [](const TMenuItem&) { ParameterClick(); });
}

void ResetSettings() {
  PersistedOptions.clear();
}

namespace {
const TResetEntry resetSettings(ResetSettings);
}  // namespace

}  // namespace quorrel
