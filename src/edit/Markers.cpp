#include "edit/Markers.h"

#include <algorithm>
#include <ctime>

#include "edit/MarkerAnchors.h"
#include "edit/Sections.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/FileRoutines.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Recolour.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"

namespace quorrel {

namespace {

std::function<void(bool)> markForm;
// The document the markers belong to. The open command names the new document
// before the old one's markers are put away, so CurrentFileName cannot tell.
std::string markersPath;

// The longest stretch of a marker's text the list shows; the label cuts it anyway.
constexpr size_t ShownTextLength = 200;

bool AnyMarkerSet() {
  return std::any_of(Markers.begin(), Markers.end(),
                     [](const TMarkerState& m) { return m.position >= 0; });
}

size_t CaretOffset() {
  GetEditorText();
  return TextOffsetOf(CurrentEditor->SelStart());
}

// The caption of the listed section that holds an offset ("" when none).
std::string SectionLabelAt(size_t offset) {
  if (SectionLines.empty()) SectionsClick("");
  const TSectionAt at = SectionAt(offset);
  if (at.index < 0 || static_cast<size_t>(at.index) >= SectionCaptions.size()) return {};
  std::string label = SectionCaptions[at.index];
  std::replace(label.begin(), label.end(), '\t', ' ');
  return label;
}

void RemoveMarkerKey(int digit) {
  if (!SettingsIni || !IsMarkerSection(CurrentFileName)) return;
  SettingsIni->DeleteKey(CurrentFileName, std::to_string(digit));
  // "Date" alone keeps nothing.
  if (SettingsIni->ReadSection(CurrentFileName).size() < 2) {
    SettingsIni->EraseSection(CurrentFileName);
  }
}

}  // namespace

bool IsMarkerSection(const std::string& name) {
  return !name.empty() && name[0] == '/';
}

void LoadMarkers(const std::string& path) {
  for (size_t i = 0; i < Markers.size(); ++i) {
    long position = -1;
    if (SettingsIni && IsMarkerSection(path)) {
      position = SettingsIni->ReadInteger(path, std::to_string(i), -1);
    }
    Markers[i].position = position < 0 ? -1 : position;
    Markers[i].text.clear();
  }
  markersPath = path;
  SetClear();
}

bool MarkersBelongTo(const std::string& path) {
  return markersPath == path;
}

void SetClear() {
  MainMenu().SetEnabled("ClearMark", AnyMarkerSet());
}

void ClearMarkerPositions() {
  for (auto& m : Markers) m = TMarkerState{};
  markersPath.clear();
  SetClear();
}

void ClearMarkers() {
  ClearMarkerPositions();
  RequestRecolour(RecolourText);
}

void SaveMarkers() {
  const std::string& path = markersPath;
  if (!SettingsIni || !IsMarkerSection(path) || !AnyMarkerSet()) return;
  for (size_t i = 0; i < Markers.size(); ++i) {
    const std::string key = std::to_string(i);
    if (Markers[i].position >= 0) {
      SettingsIni->WriteInteger(path, key, static_cast<int>(Markers[i].position));
    } else if (SettingsIni->ValueExists(path, key)) {
      SettingsIni->DeleteKey(path, key);
    }
  }
  SettingsIni->WriteString(path, "Date", FormatShortDate(std::time(nullptr)));
}

void EraseLostMarkerSections() {
  if (!SettingsIni) return;
  for (const std::string& name : SettingsIni->ReadSections()) {
    if (!IsMarkerSection(name) || FileExists(name) || DirectoryExists(name)) continue;
    const std::string folder = ExtractFilePath(name);
    if (!DirectoryExists(folder)) continue;
    SettingsIni->EraseSection(name);
  }
}

std::string MarkerShownText(const std::string& text) {
  std::string shown;
  size_t i = !text.empty() && text[0] == '\n' ? 1 : 0;
  for (; i < text.size(); ++i) {
    switch (text[i]) {
      case '\n':
        shown += " \xBB ";
        break;
      case '\r':
        break;
      case '\t':
        shown += "  ";
        break;
      default:
        shown += text[i];
    }
  }
  return shown.empty() ? "[End of file]" : shown;
}

std::vector<TMarkRow> MarkFormRows() {
  std::vector<TMarkRow> rows;
  for (size_t digit = 0; digit < Markers.size(); ++digit) {
    TMarkRow row;
    row.caption = std::to_string(digit);
    const long position = Markers[digit].position;
    if (position >= 0) {
      const size_t at = static_cast<size_t>(position);
      row.caption += "    " + SectionLabelAt(at);
      const std::string text =
          at < CurrentText.size() ? CurrentText.substr(at, ShownTextLength) : std::string();
      row.text = MarkerShownText(text);
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

void MarkerDigit(int digit, bool setMode) {
  if (digit < 0 || digit >= static_cast<int>(Markers.size()) || !CurrentEditor) return;
  TMarkerState& marker = Markers[digit];
  if (!setMode) {
    if (marker.position < 0) {
      PlayWaveResource("SystemHand");
      return;
    }
    GetEditorText();
    ScrollToPos(EditorPosOf(static_cast<size_t>(marker.position)), true);
    return;
  }
  const size_t caret = CaretOffset();
  if (marker.position == static_cast<long>(caret)) {
    marker = TMarkerState{};
    RemoveMarkerKey(digit);
    RequestRecolour(RecolourText);
  } else {
    markersPath = CurrentFileName;
    marker.position = static_cast<long>(caret);
    marker.text = caret < CurrentText.size() ? CurrentText.substr(caret, MarkerTextLength) : "";
  }
  if (TMainWindow* w = MainWindow()) w->PlaceMarker(digit, -1);
}

void MarkerClick(bool setMode) {
  if (!CurrentEditor) return;
  EraseLostMarkerSections();
  if (!setMode && !AnyMarkerSet()) {
    ShowMsg(NoMarkersMessage);
    return;
  }
  GetEditorText();
  if (markForm) markForm(setMode);
  SetClear();
  CurrentEditor->Select(CurrentEditor->SelStart(), 0);
  ScheduleTimerRefresh();
}

void ClearMarkClick() {
  if (SettingsIni && IsMarkerSection(CurrentFileName)) SettingsIni->EraseSection(CurrentFileName);
  ClearMarkers();
  ShowStatus("Markers removed from this file.");
}

void ClearAllClick() {
  if (SettingsIni) {
    for (const std::string& name : SettingsIni->ReadSections()) {
      if (IsMarkerSection(name)) SettingsIni->EraseSection(name);
    }
  }
  ClearMarkers();
  ShowStatus("Markers removed from all files.");
}

void SetMarkForm(std::function<void(bool setMode)> show) {
  markForm = std::move(show);
}

void ResetMarkers() {
  markersPath.clear();
}

namespace {
const TResetEntry resetMarkers(ResetMarkers);
}  // namespace

void InstallMarkerCommands() {
  TMenuModel& menu = MainMenu();
  menu.SetHandler("SetMark", [](const TMenuItem&) { MarkerClick(true); });
  menu.SetHandler("GotoMark", [](const TMenuItem&) { MarkerClick(false); });
  menu.SetHandler("ClearMark", [](const TMenuItem&) { ClearMarkClick(); });
  menu.SetHandler("ClearAll", [](const TMenuItem&) { ClearAllClick(); });
}

}  // namespace quorrel
