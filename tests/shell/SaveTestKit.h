#pragma once
// Documents in tabs on real files of a site folder, for the tests of saving, the
// activation check and the File menu's commands.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "commands/FileMenuCommands.h"
#include "commands/OpenDocs.h"
#include "platform/IniFile.h"
#include "platform/Launcher.h"
#include "shell/DBoxUnit.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "validate/Validators.h"

namespace quorrel::test {

inline std::string Slurp(const std::string& path) {
  return ReadFile(path);
}

inline int64_t MTime(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_mtime) : 0;
}

// Gives a file another modification time, as another program's write would.
inline void SetMTime(const std::string& path, int64_t seconds) {
  struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

class SaveFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    // Outside the temporary folders, so that the documents count as a site's.
    site = SiteTestFolder() + "save-site/";
    std::filesystem::remove_all(site);
    std::filesystem::create_directories(site);
    settings = TestHome() + "save-settings.ini";
    SettingsIni = std::make_unique<TIniFile>(settings);
    InstallOpenCommands();
    InstallSaveCommands();
    // As after the start-up: an open ends with the tab change.
    AppPhase = 1;
    SetShellOpener([this](const std::string& target) {
      launched.push_back(target);
      return true;
    });
    MainMenu().SetChecked("ValSave", false);
    SetValidatorStandIn([this](TValidatorKind, const std::string& sender) {
      validations.push_back(sender);
      if (!validationError.empty()) RaiseValidationError();
    });
  }
  void TearDown() override {
    SetValidatorStandIn(nullptr);
    SetMainWindow(nullptr);
    SettingsIni.reset();
    std::filesystem::remove(settings);
    std::filesystem::remove_all(site);
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(site + name, std::ios::binary) << bytes;
    return site + name;
  }
  // Opens a file of the site in a new tab, as the program does.
  std::string Open(const std::string& name, const std::string& bytes) {
    const std::string path = Write(name, bytes);
    OpenInNewTab(path);
    return path;
  }
  // Replaces the current editor's whole text as typing would.
  void Type(const std::string& text) {
    CurrentEditor->Select(0, CurrentEditor->TextLength());
    CurrentEditor->SetSelText(text);
  }
  // The names in the site folder, sorted.
  std::vector<std::string> SiteFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(site)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string Status() const { return window.StatusText(MessagePanel); }

  void RaiseValidationError() { ShowErrorAndAbort(validationError); }

  MemoryMainWindow window;
  std::string site;
  std::string settings;
  std::vector<std::string> validations;
  std::vector<std::string> launched;  // what went to the default program
  std::string validationError;
};

}  // namespace quorrel::test
