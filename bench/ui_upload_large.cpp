// Where the time of Web | Upload this file goes on large documents: the real main
// window, a real FTP server on loopback (pyftpdlib), and real material from Debian
// (the Node.js API pages: all.html, 8.4 MB; and every page and Markdown file of the
// API, 21 MB, as one text). For each, best of 3 rounds of: the whole command from
// its menu item; the save alone with and without validation on save; the FTP part
// alone (UploadFile); the events the window runs afterwards (repaint, colouring);
// the validator without writing its text back, and the editor taking a whole new
// text, the two halves of validation on save.
//   QT_QPA_PLATFORM=offscreen ./build/bench_ui_upload_large
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "commands/CompositionRoot.h"
#include "commands/OpenDocs.h"
#include "platform/IniFile.h"
#include "platform/UserDialogs.h"
#include "publish/Connection.h"
#include "publish/ServerPaths.h"
#include "publish/SiteDetails.h"
#include "publish/Transfers.h"
#include "shell/CommandNames.h"
#include "shell/Commands.h"
#include "shell/Hooks.h"
#include "shell/MainWindow.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Saving.h"
#include "shell/Settings.h"
#include "shell/ShellState.h"
#include "shell/SiteState.h"
#include "support/FtpServer.h"
#include "support/ScriptedDialogs.h"
#include "ui/shell/WebForm.h"
#include "validate/ValUnit.h"

using namespace quorrel;
namespace fs = std::filesystem;

namespace {

constexpr char kApi[] = "/usr/share/doc/nodejs/api/";
constexpr int kRounds = 3;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Every page and Markdown file of the API, in name order, as one text with CR LF.
std::string AllApiText() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(kApi)) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".html" || ext == ".md") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::string text;
  for (const fs::path& file : files) text += Read(file);
  std::string crlf;
  crlf.reserve(text.size() + text.size() / 30);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) crlf += '\r';
    crlf += text[i];
  }
  return crlf;
}

double Ms(const std::function<void()>& work) {
  QElapsedTimer timer;
  timer.start();
  work();
  return timer.nsecsElapsed() / 1e6;
}

double Best(const std::vector<double>& times) {
  return *std::min_element(times.begin(), times.end());
}

// A change for the next save to write.
void Touch() {
  CurrentEditor->Select(CurrentEditor->TextLength(), 0);
  CurrentEditor->SetSelText(" ");
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  setenv(ConnectedStateVariable, "1", 1);
  if (!fs::exists(std::string(kApi) + "all.html")) {
    std::fprintf(stderr, "%sall.html is missing: apt-get install nodejs-doc\n", kApi);
    return 1;
  }
  test::FtpServer server;
  if (!server.Running()) {
    std::fprintf(stderr, "no FTP server: %s\n", server.Problem().c_str());
    return 1;
  }
  // Not under /tmp: the program takes files there for downloads, outside any site.
  const std::string site = (fs::current_path() / "quorrel-bench-upload/").string();
  fs::remove_all(site);
  fs::create_directories(site + "public_html");
  fs::create_directories(server.Root() + "public_html");
  test::WriteServerDetails(site, server);
  SettingsIni = std::make_unique<TIniFile>(site + "settings.ini");
  SetUserDialogs(&test::Dialogs());
  TWebForm window;
  window.resize(1000, 700);
  window.show();
  SetMainWindow(&window);
  InstallHandlers();
  AppPhase = PhaseRunning;
  ServerPort = server.Port();
  SetOnline(true);
  MainMenu().SetChecked("Condense", false);

  struct Document {
    const char* what;
    std::string name;
    std::string text;
    bool page;
  } documents[] = {
      {"all.html, one page", "all.html", Read(std::string(kApi) + "all.html"), true},
      {"API pages and Markdown as text", "api.txt", AllApiText(), false},
  };
  std::printf("best of %d rounds, ms\n", kRounds);
  for (Document& d : documents) {
    const std::string path = site + "public_html/" + d.name;
    std::ofstream(path, std::ios::binary) << d.text;
    OpenThis(path);
    app.processEvents();
    SiteHasServer = LoadServerDetails(path);
    std::vector<double> command, after, saveChecked, saveOnly, ftp, checkOnly, setText;
    for (int round = 0; round < kRounds; ++round) {
      MainMenu().SetChecked("ValSave", true);
      Touch();
      command.push_back(Ms([&] { window.Action(UploadCommand)->trigger(); }));
      after.push_back(Ms([&] { app.processEvents(); }));
      Touch();
      CurrentCommand = UploadCommand;
      saveChecked.push_back(Ms([] { RunGuarded([] { SaveClick(UploadCommand); }); }));
      app.processEvents();
      MainMenu().SetChecked("ValSave", false);
      Touch();
      CurrentCommand = UploadCommand;
      saveOnly.push_back(Ms([] { RunGuarded([] { SaveClick(UploadCommand); }); }));
      app.processEvents();
      ftp.push_back(Ms([&] { RunGuarded([&] { UploadFile(path, ServerPathOf(path)); }); }));
      if (!d.page) continue;
      CheckOnly = true;
      checkOnly.push_back(Ms([] { RunGuarded([] { ValidateHook(ValidateCommand); }); }));
      CheckOnly = false;
      const std::string text = CurrentEditor->GetText() + " ";
      setText.push_back(Ms([&] { CurrentEditor->SetText(text); }));
      app.processEvents();
    }
    std::printf("%s: %zu bytes, %s\n", d.what, fs::file_size(path),
                window.StatusText(MessagePanel).c_str());
    for (const std::string& message : test::Dialogs().Texts()) {
      std::printf("  message: %s\n", message.c_str());
    }
    test::Dialogs().Clear();
    std::printf("  Upload this file, from its item: %8.1f\n", Best(command));
    std::printf("  window events afterwards:        %8.1f\n", Best(after));
    std::printf("  save with validation on save:    %8.1f\n", Best(saveChecked));
    std::printf("  save without validation:         %8.1f\n", Best(saveOnly));
    std::printf("  FTP part alone (UploadFile):     %8.1f\n", Best(ftp));
    if (!d.page) continue;
    std::printf("  validation, no write-back:       %8.1f\n", Best(checkOnly));
    std::printf("  the editor taking a new text:    %8.1f\n", Best(setText));
  }
  SetMainWindow(nullptr);
  CurrentEditor = nullptr;
  fs::remove_all(site);
  return 0;
}
