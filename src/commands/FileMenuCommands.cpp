#include "commands/FileMenuCommands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

#include <cstdio>
#include <ctime>

#include "commands/OpenDocs.h"
#include "commands/Restore.h"
#include "edit/LineCommands.h"
#include "platform/Abort.h"
#include "platform/Desktop.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "platform/UserDialogs.h"
#include "shell/Backups.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/InsertFile.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/RunPrograms.h"
#include "shell/Saving.h"
#include "shell/Scrambled.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"

namespace quorrel {

namespace {

bool ReadNumber(const std::string& text, size_t& at, int digits, int* value) {
  size_t start = at;
  int result = 0;
  while (at < text.size() && at - start < static_cast<size_t>(digits) && text[at] >= '0' &&
         text[at] <= '9') {
    result = result * 10 + (text[at] - '0');
    ++at;
  }
  *value = result;
  return at > start;
}

bool ReadSeparator(const std::string& text, size_t& at, const char* allowed) {
  if (at >= text.size()) return false;
  for (const char* c = allowed; *c; ++c) {
    if (text[at] == *c) {
      ++at;
      return true;
    }
  }
  return false;
}

// The command's document; nothing to do without one.
bool HaveDocument() {
  return CurrentEditor != nullptr && !CurrentFileName.empty();
}

// The document reloaded after its file changed under it; edits not yet saved stay.
void RefreshAfterRedate() {
  if (!CurrentEditor->Modified()) {
    TMenuItem* reload = MainMenu().Find("Reload");
    OpenClick(reload);
  } else {
    PCChange();
  }
}

}  // namespace

std::string HexEditorProgram() {
  const std::string chosen = ChosenProgram("HexEditor", {"ghex", "okteta", "wxHexEditor", "bless"});
  return chosen.empty() ? "ghex" : chosen;
}

void HexEditClick() {
  if (!HaveDocument()) return;
  RunHidden(NativePath(HexEditorProgram()), {NativePath(CurrentFileName)}, 0);
}

void ClipNameClick() {
  if (!HaveDocument()) return;
  Desktop().SetClipboardText(CurrentFileName);
  ShowStatus("File name copied to clipboard");
}

void ExploreFolderClick() {
  if (!HaveDocument()) return;
  Desktop().ShowInFileManager(CurrentFileName);
}

void ListTasksClick() {
  std::string text;
  ListTaskWindow(text);
  OpenText(text);
}

void PrinterSetupClick() {
  Desktop().PrinterSetup();
}

bool ParseDateTime(const std::string& entry, int64_t* secondsSinceEpoch) {
  std::string text = entry;
  while (!text.empty() && text.back() == ' ') text.pop_back();
  size_t at = 0;
  while (at < text.size() && text[at] == ' ') ++at;
  int a = 0, b = 0, c = 0;
  int day, month, year;
  if (!ReadNumber(text, at, 4, &a) || !ReadSeparator(text, at, "/-.") ||
      !ReadNumber(text, at, 2, &b) || !ReadSeparator(text, at, "/-.") ||
      !ReadNumber(text, at, 4, &c)) {
    return false;
  }
  if (a > 31) {  // year first
    year = a, month = b, day = c;
  } else {
    day = a, month = b, year = c;
  }
  if (year < 100) year += 2000;
  int hour = 0, minute = 0, second = 0;
  if (at < text.size()) {
    if (!ReadSeparator(text, at, " T")) return false;
    while (at < text.size() && text[at] == ' ') ++at;
    if (!ReadNumber(text, at, 2, &hour) || !ReadSeparator(text, at, ":.") ||
        !ReadNumber(text, at, 2, &minute)) {
      return false;
    }
    if (at < text.size() && (!ReadSeparator(text, at, ":.") || !ReadNumber(text, at, 2, &second))) {
      return false;
    }
    if (at != text.size()) return false;
  }
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59) {
    return false;
  }
  struct tm parts {};
  parts.tm_year = year - 1900;
  parts.tm_mon = month - 1;
  parts.tm_mday = day;
  parts.tm_hour = hour;
  parts.tm_min = minute;
  parts.tm_sec = second;
  parts.tm_isdst = -1;
  const time_t when = std::mktime(&parts);
  // mktime moves a day past the month's end into the next month: no such date.
  if (when == static_cast<time_t>(-1) || parts.tm_mday != day || parts.tm_mon != month - 1) {
    return false;
  }
  *secondsSinceEpoch = static_cast<int64_t>(when);
  return true;
}

std::string FormatDateTime(int64_t secondsSinceEpoch) {
  const time_t t = static_cast<time_t>(secondsSinceEpoch);
  struct tm local {};
  localtime_r(&t, &local);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %02d:%02d:%02d", local.tm_mday,
                local.tm_mon + 1, local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
  return buffer;
}

void RedateClick() {
  if (!HaveDocument()) return;
  const std::string path = CurrentFileName;
  std::string entry = FormatDateTime(static_cast<int64_t>(std::time(nullptr)));
  if (!UserDialogs().InputQuery("Quorrel", "Enter date and optional time", entry, false)) Abort();
  int64_t when = 0;
  if (!ParseDateTime(entry, &when)) ShowErrorAndAbort(entry + "\ris not a valid date/time");
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(when);
  times[1].tv_nsec = 0;
  if (::utimensat(AT_FDCWD, NativePath(path).c_str(), times, 0) != 0) {
    ShowErrorAndAbort("Could not redate " + path);
  }
  // The new time is the document's own: no time-stamp question follows.
  if (TDocument* document = DocumentAt(CurrentEditor->Tag())) document->FileAge = FileAge(path);
  RefreshAfterRedate();
  if (TDocument* now = DocumentAt(CurrentEditor ? CurrentEditor->Tag() : -1)) {
    now->FileAge = FileAge(path);
  }
}

void InstallSaveCommands() {
  TMenuModel& menu = MainMenu();
  menu.SetHandler("Save", [](const TMenuItem&) { SaveClick("Save"); });
  menu.SetHandler("SaveAs", [](const TMenuItem&) { SaveAsClick("SaveAs"); });
  menu.SetHandler("SaveCopyAs", [](const TMenuItem&) { SaveAsClick("SaveCopyAs"); });
  menu.SetHandler("InsertFile", [](const TMenuItem&) { InsertFileClick(); });
  menu.SetHandler("SortM", [](const TMenuItem&) { SortMClick(); });
  menu.SetHandler("FindDup", [](const TMenuItem&) { FindDupClick(); });
  menu.SetHandler("RemoveDups", [](const TMenuItem&) { RemoveDupsClick(); });
  menu.SetHandler("RestoreM", [](const TMenuItem&) { RestoreMClick(); });
  menu.SetHandler("HexEdit", [](const TMenuItem&) { HexEditClick(); });
  menu.SetHandler("Encrypted",
                  [](const TMenuItem&) { EncryptFClick([] { SaveClick("Encrypted"); }); });
  menu.SetHandler("ClipName", [](const TMenuItem&) { ClipNameClick(); });
  menu.SetHandler("ExploreFolder", [](const TMenuItem&) { ExploreFolderClick(); });
  menu.SetHandler("ListTasks", [](const TMenuItem&) { ListTasksClick(); });
  menu.SetHandler("PrinterSetup", [](const TMenuItem&) { PrinterSetupClick(); });
  menu.SetHandler("Redate", [](const TMenuItem&) { RedateClick(); });
  // Running the program again with other rights is not done on this system.
  menu.SetVisible("Elevate", false);
}

}  // namespace quorrel
