#include "support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QStandardPaths>
#include <filesystem>

#include "commands/CompositionRoot.h"
#include "platform/ResetRegistry.h"
#include "platform/UserDialogs.h"
#include "support/ScriptedDialogs.h"

namespace quorrel::test {

namespace {

std::string home;

void MakeDir(const std::string& path) {
  std::filesystem::create_directories(path);
}

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
  InstallHooks();
}

const std::string& TestHome() {
  return home;
}

void ResetAllState() {
  ResetRegisteredState();
}

void InstallTestListener() {
  ::testing::UnitTest::GetInstance()->listeners().Append(new StateListener);
}

}  // namespace quorrel::test
