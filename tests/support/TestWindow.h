#pragma once
// Closing a test's main window, and what a closed window leaves behind.
#include <filesystem>
#include <memory>

#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "support/SiteFolder.h"
#include "ui/shell/WebForm.h"

namespace quorrel::test {

// Closes the window and forgets what the run wrote: the main settings file (Close
// all writes it, and the next test starts afresh), the current settings file and
// the test site.
inline void CloseTestWindow(std::unique_ptr<TWebForm>& form) {
  form.reset();
  SetMainWindow(nullptr);
  CurrentEditor = nullptr;
  MainIni.reset();
  std::filesystem::remove(DocumentsFolder() + MainIniName);
  SettingsIni.reset();
  std::filesystem::remove_all(SiteTestFolder());
}

}  // namespace quorrel::test
