#include "shell/FileSets.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/Chars.h"
#include "platform/CodePage.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "shell/DBoxUnit.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"

namespace quorrel {

namespace {

const char kSets[] = "Sets";
const char kFiles[] = "Files";
constexpr int NoSetsHelp = 40100;

// The section a header line opens ("" when the line is no section header), as the
// settings files read it: the text between "[" and the last "]", trimmed.
std::string SectionOfLine(const std::string& line) {
  const std::string trimmed(TrimBlanks(line));
  if (trimmed.empty() || trimmed.front() != '[') return "";
  std::string name = trimmed.substr(1);
  const size_t close = name.rfind(']');
  if (close != std::string::npos) name.resize(close);
  return std::string(TrimBlanks(name));
}

// The text of a new set's file: MainIni's text with its document list set aside
// and the set's own old-form list (section "#" + name) as [New].
std::string OldFormSetText(const std::string& mainText, const std::string& name) {
  std::string text;
  size_t pos = 0;
  while (pos < mainText.size()) {
    size_t end = mainText.find('\n', pos);
    if (end == std::string::npos) end = mainText.size();
    std::string line = mainText.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    pos = end + 1;
    const std::string section = SectionOfLine(line);
    if (AnsiSameText(section, kFiles)) {
      line = "[#Dummy]";
    } else if (AnsiSameText(section, "#" + name)) {
      line = "[New]";
    } else if (AnsiSameText(section, "New")) {
      line = "[#New]";  // a section of that name must not pass for the set's list
    }
    text += line + "\r\n";
  }
  return text;
}

bool ReadFileText(const std::string& path, std::string& text) {
  std::ifstream in(NativePath(path), std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Writes a whole file through a temporary file in its folder and a rename.
bool WriteFileText(const std::string& path, const std::string& text) {
  const std::string native = NativePath(path);
  const std::string temp = native + ".new";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      std::filesystem::remove(temp);
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temp, native, error);
  if (error) std::filesystem::remove(temp, error);
  return !error;
}

// A set file made from MainIni: its options and histories, and as documents the
// set's old-form list (none for a new set).
bool CreateSetFile(const std::string& path, const std::string& name) {
  std::string mainText;
  ReadFileText(MainIni->FileName(), mainText);  // no standard file yet: an empty set
  if (!WriteFileText(path, OldFormSetText(mainText, name))) return false;
  TIniFile set(path);
  set.EraseSection(kSets);
  for (const std::string& section : set.ReadSections()) {
    if (!section.empty() && section.front() == '#') set.EraseSection(section);
  }
  const std::vector<std::string> files = set.ReadSection("New");
  for (size_t i = 0; i < files.size(); ++i)
    set.WriteString(kFiles, std::to_string(i + 1), files[i]);
  set.EraseSection("New");
  return true;
}

void SettingsOnMainIni() {
  OpenMainIni();
  SettingsIni = std::make_unique<TIniFile>(MainIni->FileName());
}

bool DocumentsOpen() {
  if (TMainWindow* window = MainWindow()) return window->TabCount() > 0;
  return !OpenDocumentPaths().empty();
}

// Closes every document; false when one stays open.
bool CloseAllDocuments() {
  TFileSetHost& host = FileSetHost();
  if (host.closeAll) return host.closeAll();
  return !DocumentsOpen();
}

// The folder of the first document of the current settings file's list.
std::string FirstDocumentFolder() {
  if (!SettingsIni) return "";
  std::string first = SettingsIni->ReadString(kFiles, "1", "");
  first = first.substr(0, first.find('|'));
  return first.empty() ? "" : ExtractFilePath(first);
}

void RestartOnCurrentSettings() {
  TFileSetHost& host = FileSetHost();
  if (host.setFileListRoot) host.setFileListRoot(FirstDocumentFolder());
  if (host.restartStartUp) host.restartStartUp();
}

bool IsSetName(const std::string& name) {
  const std::vector<std::string> names = SetNames();
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& n) { return AnsiSameText(n, name); });
}

}  // namespace

std::string SetFileName(const std::string& name) {
  return DocumentsFolder() + name + ".Ini";
}

std::string SetNameProblem(const std::string& name) {
  if (TrimBlanks(name).empty()) return "A set needs a name.";
  const std::string standard =
      std::string(MainIniName).substr(0, std::string(MainIniName).find('.'));
  if (AnsiSameText(name, standard) || AnsiSameText(name + ".Ini", MainIniName)) {
    return standard +
           " is the name of the standard settings file.\rPlease choose another name "
           "for the set.";
  }
  if (name.find_first_of("/\\") != std::string::npos || name.find("..") != std::string::npos) {
    return "A set name cannot contain \"/\", \"\\\" or \"..\".";
  }
  const bool control = std::any_of(name.begin(), name.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < ' '; });
  if (control || name.find('=') != std::string::npos || name.front() == '[' ||
      name.front() == ';' || name != TrimBlanks(name)) {
    return "A set name cannot contain \"=\" or control characters, begin with \"[\" or \";\", or "
           "begin or end with a blank.";
  }
  return "";
}

std::vector<std::string> SetNames() {
  OpenMainIni();
  return MainIni->ReadSection(kSets);
}

void SortSets(std::vector<std::string>& names) {
  std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
      const unsigned char x = AnsiUpperChar(static_cast<unsigned char>(a[i]));
      const unsigned char y = AnsiUpperChar(static_cast<unsigned char>(b[i]));
      if (x != y) return x < y;
    }
    return a.size() < b.size();
  });
  OpenMainIni();
  MainIni->EraseSection(kSets);
  for (const std::string& name : names) MainIni->WriteString(kSets, name, "Y");
}

void OpenSetIni() {
  SettingsOnMainIni();
  if (CurrentSetName.empty()) return;
  const std::string name = CurrentSetName;
  const std::string problem = SetNameProblem(name);
  if (!problem.empty()) {
    CurrentSetName.clear();
    ShowMsg(problem);
    return;
  }
  const std::string path = SetFileName(name);
  if (!FileExists(path) && !CreateSetFile(path, name)) {
    CurrentSetName.clear();
    ShowMsg("Unable to create file " + path);
    return;
  }
  MainIni->WriteString(kSets, name, "Y");
  SettingsIni = std::make_unique<TIniFile>(path);
  MainIni->EraseSection("#" + name);
}

std::vector<std::string> OpenDocumentPaths() {
  std::vector<std::string> paths;
  if (TMainWindow* window = MainWindow()) {
    for (int i = 0; i < window->TabCount(); ++i) {
      const TMyRich* editor = window->TabEditor(i);
      if (const TDocument* document = DocumentAt(editor ? editor->Tag() : -1)) {
        paths.push_back(document->FileName);
      }
    }
  } else {
    paths = OpenFiles();
  }
  std::erase(paths, "");
  return paths;
}

TFileSetHost& FileSetHost() {
  static TFileSetHost host;
  return host;
}

bool UpdateSetMenu() {
  TMenuModel& menu = MainMenu();
  const bool docs = DocumentsOpen();
  const bool active = docs && !CurrentSetName.empty();
  menu.SetCaption("SetSave", active ? "&Save " + CurrentSetName : "&Save");
  menu.SetCaption("SetDelete", active ? "Delete " + CurrentSetName : "Delete");
  menu.SetEnabled("SetSave", active);
  menu.SetEnabled("SetDelete", active);
  return docs;
}

void SetMenuClick() {
  if (!UpdateSetMenu()) SetOpenClick();
}

void SetOpenClick() {
  if (SetNames().empty()) {
    AskOkHelpCancel("No sets defined.", NoSetsHelp);
    return;
  }
  TFileSetHost& host = FileSetHost();
  std::string name;
  if (!host.chooseSet || !host.chooseSet(false, name)) return;
  const std::string problem = SetNameProblem(name);
  if (!problem.empty()) {
    ShowMsg(problem);
    return;
  }
  if (!CloseAllDocuments()) return;
  CurrentSetName = name;
  OpenSetIni();
  if (host.clearFindRoot) host.clearFindRoot();
  RestartOnCurrentSettings();
}

void SetSaveClick() {
  if (CurrentSetName.empty()) {
    SetSaveAsClick();
    return;
  }
  const std::string name = CurrentSetName;
  const std::string problem = SetNameProblem(name);
  if (!problem.empty()) ShowErrorAndAbort(problem);
  const std::string path = SetFileName(name);
  if (FileExists(path)) {
    std::error_code error;
    std::filesystem::copy_file(NativePath(path), NativePath(path + ".Bak"),
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) ShowErrorAndAbort("Unable to create file " + path + ".Bak");
  }
  const std::vector<std::string> paths = OpenDocumentPaths();
  TIniFile set(path);  // the same document as SettingsIni while the set is open
  set.EraseSection(kFiles);
  for (size_t i = 0; i < paths.size(); ++i)
    set.WriteString(kFiles, std::to_string(i + 1), paths[i]);
  ShowStatusMessage(name + " - set saved");
}

void SetSaveAsClick() {
  TFileSetHost& host = FileSetHost();
  std::string name;
  if (!host.chooseSet || !host.chooseSet(true, name)) return;
  name = std::string(TrimBlanks(name));
  if (name.empty()) return;
  const std::string problem = SetNameProblem(name);
  if (!problem.empty()) {
    ShowMsg(problem);
    return;
  }
  if ((IsSetName(name) || FileExists(SetFileName(name))) &&
      !AskYesNo(name + " already exists.\rOverwrite it?")) {
    return;
  }
  CurrentSetName = name;
  OpenSetIni();
  if (!CurrentSetName.empty()) SetSaveClick();
}

void SetDeleteClick() {
  if (CurrentSetName.empty()) return;
  const std::string name = CurrentSetName;
  const std::string problem = SetNameProblem(name);
  if (!problem.empty()) ShowErrorAndAbort(problem);
  if (!AskYesNo(name + "\rDelete this set?")) return;
  const std::string path = SetFileName(name);
  std::error_code error;
  std::filesystem::remove(NativePath(path), error);
  if (error) ShowErrorAndAbort("Unable to delete file " + path);
  MainIni->DeleteKey(kSets, name);
  // The settings go back to the standard file: writing them to the deleted set's
  // file would bring it back.
  CurrentSetName.clear();
  OpenSetIni();
  ShowMsg(name + " - set deleted.");
}

void SetNoneClick() {
  if (StartedWithParameters) {
    ShowMsg("Cannot do this when called using \"/L\" parameter");
    return;
  }
  if (!CloseAllDocuments()) return;
  CurrentSetName.clear();
  OpenMainIni();
  MainIni->DeleteKey("System", "ThisSet");
  OpenSetIni();
  RestartOnCurrentSettings();
}

void InstallFileSetCommands() {
  TMenuModel& menu = MainMenu();
  menu.SetHandler("SetOpen", [](const TMenuItem&) { SetOpenClick(); });
  menu.SetHandler("SetSave", [](const TMenuItem&) { SetSaveClick(); });
  menu.SetHandler("SetSaveAs", [](const TMenuItem&) { SetSaveAsClick(); });
  menu.SetHandler("SetDelete", [](const TMenuItem&) { SetDeleteClick(); });
  menu.SetHandler("SetNone", [](const TMenuItem&) { SetNoneClick(); });
}

void ResetFileSets() {
  FileSetHost() = TFileSetHost{};
}

namespace {
const TResetEntry resetFileSets(ResetFileSets);
}  // namespace

}  // namespace quorrel
