#include "support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QStandardPaths>
#include <filesystem>

#include "editor/Archive7z.h"
#include "editor/Activation.h"
#include "editor/Commands.h"
#include "editor/DBoxUnit.h"
#include "editor/Exit.h"
#include "editor/MyException.h"
#include "editor/Documents.h"
#include "editor/FileRoutines.h"
#include "editor/FileSets.h"
#include "editor/HelpSystem.h"
#include "editor/MenuModel.h"
#include "editor/OpenDocs.h"
#include "editor/ProgUnit.h"
#include "editor/Scrambled.h"
#include "editor/Settings.h"
#include "editor/RtfView.h"
#include "editor/ShellState.h"
#include "editor/StartUp.h"
#include "editor/TextFiles.h"
#include "editor/Timer.h"
#include "editor/WPFormat.h"
#include "music/AbcTools.h"
#include "music/MidiFormState.h"
#include "music/MyPlayer.h"
#include "music/PlayerBar.h"
#include "music/PlayTunes.h"
#include "music/PlayerSections.h"
#include "platform/Desktop.h"
#include "platform/Launcher.h"
#include "platform/Inet.h"
#include "platform/Mci.h"
#include "platform/Processes.h"
#include "publish/OpenUnit.h"
#include "publish/SiteDetails.h"
#include "sitebuild/PageBuffer.h"
#include "sitebuild/SiteFolders.h"
#include "support/ScriptedDialogs.h"
#include "validate/HtmlSteps.h"
#include "validate/StyleBlock.h"
#include "validate/ColourSyntax.h"
#include "validate/ValUnit.h"
#include "editor/BlinkJob.h"
#include "editor/IdleLoop.h"
#include "editor/KeyHooks.h"
#include "editor/Sections.h"
#include "editor/StatusBar.h"
#include "music/MidiRatio.h"

namespace quorrel::test {

namespace {

std::string home;

void MakeDir(const std::string& path) { std::filesystem::create_directories(path); }

class StateListener : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    ResetAllState();
    Dialogs().Clear();
  }
  void OnTestEnd(const ::testing::TestInfo&) override {
    if (Dialogs().UnusedAnswers() > 0) {
      ADD_FAILURE() << Dialogs().UnusedAnswers() << " scripted answer(s) were never asked for";
    }
  }
};

}  // namespace

void PrepareTestEnvironment() {
  char pattern[] = "/tmp/quorrel-test-XXXXXX";
  const char* dir = mkdtemp(pattern);
  if (!dir) abort();
  home = std::string(dir) + "/";
  MakeDir(home + ".config");
  MakeDir(home + ".local/share");
  MakeDir(home + ".cache");
  MakeDir(home + "runtime");
  MakeDir(home + "Documents");
  chmod((home + "runtime").c_str(), 0700);
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home + ".config").c_str(), 1);
  setenv("XDG_DATA_HOME", (home + ".local/share").c_str(), 1);
  setenv("XDG_CACHE_HOME", (home + ".cache").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (home + "runtime").c_str(), 1);
  setenv("XDG_DOCUMENTS_DIR", (home + "Documents").c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("QUORREL_CONNECTED", "1", 0);  // loopback is all the network tests use
  QStandardPaths::setTestModeEnabled(true);
  SetUserDialogs(&Dialogs());
}

const std::string& TestHome() { return home; }

void ResetAllState() {
  ResetShellState();
  MainMenu().Reset();
  ResetDocuments();
  ResetStartUp();
  ResetSettings();
  ResetFileSets();
  ResetHelpSystem();
  ResetSiteDetails();
  ResetLauncher();
  ResetInet();
  ResetPlayerBar();
  ResetMidiFormState();
  ResetTimer();
  ResetMciForTests();
  ResetDBoxUnit();
  ResetCommands();
  ResetFileRoutines();
  ResetScrambled();
  ResetProgUnit();
  ResetProcesses();
  ResetAbcTools();
  ResetRtfView();
  ResetWPFormat();
  ResetOpenDocs();
  ResetTextFiles();
  ResetArchive7z();
  ResetOpenUnit();
  ResetPlayer();
  ResetPlayTunes();
  ResetPlayerSections();
  ResetValUnit();
  ResetHtmlValidator();
  ResetStyleBlock();
  ResetPageBuffer();
  ResetColouring();
  ResetSiteFolders();
  ResetActivation();
  ResetDesktop();
  ResetIdleLoop();
  ResetStatusBar();
  ResetKeyHooks();
  ResetSections();
  ResetBlinkJob();
  ResetMidiRatio();
  ResetExit();
  ResetMyException();
}

void InstallTestListener() {
  ::testing::UnitTest::GetInstance()->listeners().Append(new StateListener);
}

}  // namespace quorrel::test
