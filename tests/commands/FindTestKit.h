#pragma once
// Shared set-up of the find engine's tests: documents opened from a site folder
// into the tests' main window, and a scripted Find dialog that fills in the
// fields as the user would.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "commands/CompositionRoot.h"
#include "commands/FindClick.h"
#include "commands/FindState.h"
#include "commands/OpenDocs.h"
#include "platform/IniFile.h"
#include "platform/Launcher.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"

namespace quorrel::test {

// The user at the Find dialog: what is typed and ticked, then OK (or Cancel).
class ScriptedFindDialog : public TFindDialog {
 public:
  bool Execute(const TFindRequest& request) override {
    requests.push_back(request);
    PrepareFindAnswers(request);
    if (fill) fill(FindAnswers);
    return ok;
  }
  std::function<void(TFindAnswers&)> fill;
  bool ok = true;
  std::vector<TFindRequest> requests;
};

class FindTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    AppPhase = PhaseRunning;
    site = SiteTestFolder() + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::filesystem::remove_all(site);
    std::filesystem::create_directories(site);
    SettingsIni = std::make_unique<TIniFile>(site + "settings.ini");
    InstallHandlers();
    SetFindDialog(&dialog);
    // Documents are never handed to the desktop's programs.
    SetShellOpener([](const std::string&) { return true; });
  }
  void TearDown() override {
    SetFindDialog(nullptr);
    SetShellOpener(nullptr);
    SetMainWindow(nullptr);
    SettingsIni.reset();
    std::filesystem::remove_all(site);
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    std::filesystem::path path(site + name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return site + name;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // A document in a tab of its own, current, caret at its start.
  void Open(const std::string& name, const std::string& bytes) {
    OpenInNewTab(Write(name, bytes));
    PCChange();
    CurrentEditor->Select(0, 0);
  }
  // Runs a command from its menu item, the dialog filled in by fill.
  bool Command(const std::string& command, std::function<void(TFindAnswers&)> fill = nullptr) {
    dialog.fill = std::move(fill);
    return MainMenu().Click(command);
  }
  std::string Status() const { return window.StatusText(MessagePanel); }
  std::string Text() const { return CurrentEditor->GetText(); }
  std::string Selected() const { return CurrentEditor->SelText(); }

  MemoryMainWindow window;
  ScriptedFindDialog dialog;
  std::string site;
};

// Fillers for the common answers.
inline std::function<void(TFindAnswers&)> Finding(const std::string& text) {
  return [text](TFindAnswers& a) { a.findText = text; };
}
inline std::function<void(TFindAnswers&)> Replacing(const std::string& text,
                                                   const std::string& by, bool prompt) {
  return [=](TFindAnswers& a) {
    a.findText = text;
    a.replaceText = by;
    a.prompt = prompt;
  };
}

}  // namespace quorrel::test
