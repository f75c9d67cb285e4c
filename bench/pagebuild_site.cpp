// A whole site built the way "Build Web pages" builds it: a master of 300 sections
// (about 2 MB of the GPL's prose in the editor's RTF layout) opened in the tests'
// in-memory editor, every page validated and written; then again with nothing
// changed. Debian's unrtf converts the same master to HTML as a yardstick.
#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "commands/OpenCommand.h"
#include "platform/Abort.h"
#include "platform/IniFile.h"
#include "platform/Processes.h"
#include "platform/UserDialogs.h"
#include "shell/CommandNames.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "sitebuild/BuildPages.h"
#include "support/MemoryMainWindow.h"
#include "support/TestEnvironment.h"

using namespace quorrel;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSections = 300;
constexpr size_t kSectionBytes = 7000;

class OkDialogs : public TUserDialogs {
 public:
  int ShowBox(const DialogCall& call) override {
    last = call.text;
    return call.kind == DialogKind::Message ? mrOk : mrYes;
  }
  std::string last;
};

std::string Prose() {
  std::ifstream in("/usr/share/common-licenses/GPL-3", std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string Paragraphs(const std::string& prose, size_t from) {
  std::string body;
  size_t word = 0;
  for (size_t i = from % prose.size(); body.size() < kSectionBytes; i = (i + 1) % prose.size()) {
    const char ch = prose[i];
    if (ch == '\n') {
      body += (i + 1 < prose.size() && prose[i + 1] == '\n') ? "\r\n\\par \r\n\\par " : " ";
      continue;
    }
    // A paragraph starting with "." would be a command line.
    if (ch == '.' &&
        (body.empty() || (body.size() >= 5 && body.compare(body.size() - 5, 5, "\\par ") == 0)))
      continue;
    if (ch == '{' || ch == '}' || ch == '\\' || ch == '<' || ch == '>' || ch == '&' || ch == '"')
      continue;
    if (ch == ' ' && ++word % 9 == 0) {
      body += word % 18 == 0 ? " \\b bold\\b0 " : " \\i caf\\'e9 \"quoted\"\\i0 ";
      continue;
    }
    body += ch;
  }
  return body;
}

std::string Master() {
  const std::string prose = Prose();
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}}\r\n"
      "\\viewkind4\\uc1\\pard\\f0\\fs24 ";
  for (int s = 0; s < kSections; ++s) {
    rtf += std::string(s == 0 ? "" : "\r\n\\par ") + ".PG page" + std::to_string(s) + "|Page " +
           std::to_string(s) + "\r\n\\par .BO\r\n\\par <H1>Page " + std::to_string(s) +
           "</H1>\r\n\\par " + Paragraphs(prose, static_cast<size_t>(s) * 7919);
  }
  return rtf + "\r\n\\par }\r\n";
}

double Build(OkDialogs& dialogs) {
  const auto start = Clock::now();
  CurrentCommand = BuildAllCommand;
  TBuildRun run;
  try {
    BuildPagesFromRtf(run, false);
  } catch (const EAbort&) {
    std::fprintf(stderr, "the build stopped: %s\n", dialogs.last.c_str());
    return -1;
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  test::PrepareTestEnvironment();
  QCoreApplication app(argc, argv);
  OkDialogs dialogs;
  SetUserDialogs(&dialogs);
  test::MemoryMainWindow window;
  SetMainWindow(&window);
  SettingsIni = std::make_unique<TIniFile>(test::TestHome() + "settings.ini");
  IdleReady = true;

  const std::string folder = test::TestHome() + "site/";
  std::filesystem::create_directories(folder);
  const std::string master = folder + "master.rtf";
  const std::string rtf = Master();
  std::ofstream(master, std::ios::binary) << rtf;
  CurrentFileName = master;
  try {
    OpenClick("");
  } catch (const EAbort&) {
    std::fprintf(stderr, "the master did not open: %s\n", dialogs.last.c_str());
    return 1;
  }
  GetEditorText();
  if (!IsDotPage) {
    std::fprintf(stderr, "the master is not taken for one\n");
    return 1;
  }

  const double first = Build(dialogs);
  const double again = Build(dialogs);
  if (first < 0 || again < 0) return 1;

  const auto start = Clock::now();
  TRunOptions options;
  options.stdoutFile = test::TestHome() + "unrtf.html";
  if (StartProgram("unrtf", {"--html", master}, options).outcome != TStartOutcome::Started) {
    std::fprintf(stderr, "unrtf is not installed\n");
    return 1;
  }
  WaitForLastProgram();
  const double unrtf = std::chrono::duration<double>(Clock::now() - start).count();

  std::printf("master: %d sections, %.2f MB\n", kSections, rtf.size() / 1e6);
  std::printf("build with validation, pages written: %.3f s\n", first);
  std::printf("build again, nothing changed:        %.3f s\n", again);
  std::printf("unrtf --html on the same master:     %.3f s\n", unrtf);
  SetMainWindow(nullptr);
  return first < 1.0 ? 0 : 2;
}
