// Times the whole F10 path of the HTML validator (every pass, the page checks, the
// DOCTYPE, the head, the checks after the walk and the ending) in process on every
// HTML page under a folder, against libtidy in process on the same pages (parse,
// clean and repair, indent, save to a buffer). Only the pages that both finish
// count; each is timed best of three. Prints MB/s for both and the ratio of their
// times (validator / libtidy). The pages are validated as pages of a site: each is
// copied, with the folders it stands in, into a site folder (pages under /usr or
// /tmp count as outside any site, where fewer checks apply).
// Run: bench_htmlvalidate [--why] [folder ...]   (default /usr/share/doc)
// --why lists the pages that do not finish, with the validator's message.
#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "commands/OpenCommand.h"
#include "commands/ValidateCurrentFile.h"
#include "shell/ShellState.h"
#include "shell/ClassifyDocument.h"
#include "platform/Abort.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/UserDialogs.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "validate/HtmlRun.h"
#include "validate/HtmlSteps.h"
#include "support/MemoryMainWindow.h"
#include "support/TestEnvironment.h"
#include "validate/ValUnit.h"
#include "validate/Validators.h"
#include "BenchUser.h"

using namespace quorrel;

namespace {

using Clock = std::chrono::steady_clock;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct TRun {
  double seconds = 0;
  bool finished = false;
  int passes = 0;
};

// F10 on the page as the open command left it in the editor.
TRun Validate(const std::string& loaded, bench::AnswerAll& dialogs) {
  CurrentEditor->SetText(loaded);
  CurrentEditor->SetModified(false);
  DocModified = true;
  GetEditorText();
  CurrentCommand = "Validate";
  dialogs.last.clear();
  TRun run;
  const auto start = Clock::now();
  try {
    ValidateCurrentFile("Validate");
    run.finished = true;
  } catch (const EAbort&) {
  }
  run.seconds = Seconds(start);
  run.passes = ValidationPass;
  return run;
}

// libtidy on the file's bytes: false when it gives no output.
bool Tidy(const std::string& bytes, double& seconds) {
  const auto start = Clock::now();
  TidyDoc doc = tidyCreate();
  TidyBuffer errors, output;
  tidyBufInit(&errors);
  tidyBufInit(&output);
  tidySetErrorBuffer(doc, &errors);
  tidyOptSetInt(doc, TidyIndentContent, TidyYesState);
  tidyOptSetBool(doc, TidyForceOutput, yes);
  tidyOptSetBool(doc, TidyQuiet, yes);
  int rc = tidyParseString(doc, bytes.c_str());
  if (rc >= 0) rc = tidyCleanAndRepair(doc);
  if (rc >= 0) rc = tidySaveBuffer(doc, &output);
  const bool ok = rc >= 0 && output.size > 0;
  tidyBufFree(&output);
  tidyBufFree(&errors);
  tidyRelease(doc);
  seconds = Seconds(start);
  return ok;
}

struct TPageFile {
  std::string path;      // where it is
  std::string relative;  // where it goes in the site folder
};

std::vector<TPageFile> PagesUnder(const std::vector<std::string>& roots) {
  std::vector<TPageFile> pages;
  for (const std::string& root : roots) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(
             root, std::filesystem::directory_options::skip_permission_denied)) {
      const std::string ext = entry.path().extension().string();
      if (entry.is_regular_file() && (ext == ".html" || ext == ".htm")) {
        pages.push_back(
            {entry.path().string(), std::filesystem::relative(entry.path(), root).string()});
      }
    }
  }
  std::sort(pages.begin(), pages.end(),
            [](const TPageFile& a, const TPageFile& b) { return a.path < b.path; });
  return pages;
}

// A folder for the copies that counts as part of a site: beside the program, else
// in the shared memory folder or the user's cache.
std::string SiteFolder(const std::string& home) {
  for (const std::string& base : {ExecutableDir(), std::string("/dev/shm/"), home + "/.cache/"}) {
    const std::string folder = base + "htmlvalidate-site-" + std::to_string(getpid()) + "/";
    if (!IsNotInSite(folder + "x.htm", TempFolder())) return folder;
  }
  return "";
}

std::string FirstLine(const std::string& text) {
  std::string line = text.substr(0, text.find_first_of("\r\n"));
  return line.size() > 90 ? line.substr(0, 90) + "..." : line;
}

}  // namespace

int main(int argc, char** argv) {
  bool why = false;
  std::vector<std::string> roots;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--why") == 0) {
      why = true;
    } else {
      roots.push_back(argv[i]);
    }
  }
  if (roots.empty()) roots.push_back("/usr/share/doc");

  const char* home = std::getenv("HOME");
  const std::string realHome = home ? home : "";
  test::PrepareTestEnvironment();  // a HOME of its own: the settings go there
  QCoreApplication app(argc, argv);
  // Every question answered Yes, as a user who accepts each repair would; the last
  // message says why a page stopped.
  bench::AnswerAll dialogs(mrYes);
  SetUserDialogs(&dialogs);
  test::MemoryMainWindow window;
  SetMainWindow(&window);
  SettingsIni = std::make_unique<TIniFile>(test::TestHome() + "settings.ini");
  IdleReady = true;
  // Generated documentation skips heading levels.
  MainMenu().SetChecked("CheckH", false);

  const std::vector<TPageFile> pages = PagesUnder(roots);
  const std::string site = SiteFolder(realHome);
  if (site.empty()) {
    std::fprintf(stderr, "No folder for a site: every candidate counts as outside any site.\n");
    return 1;
  }
  double ours = 0, tidy = 0;
  size_t bytes = 0, counted = 0, oursStopped = 0, tidyFailed = 0;
  std::map<int, size_t> passes;
  std::map<std::string, size_t> reasons;
  for (const TPageFile& page : pages) {
    const std::string file = ReadFile(page.path);
    const std::string path = site + page.relative;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << file;
    // One tab for every page, as Validate all goes: the open command reloads it.
    CurrentCommand = "Open";
    CurrentFileName = path;
    // The open command validates a page whose head does not start a line: here the
    // F10 that follows is what is timed, on the page as it was loaded.
    SetValidatorStandIn([](TValidatorKind, const std::string&) {});
    try {
      if (CurrentEditor) CurrentEditor->SetModified(false);
      OpenClick(CurrentEditor ? "Reload" : "");
    } catch (const EAbort&) {
    }
    SetValidatorStandIn(nullptr);
    if (!CurrentEditor || CurrentFileName != path) continue;
    const std::string loaded = CurrentEditor->GetText();

    TRun best;
    for (int round = 0; round < 3; ++round) {
      const TRun run = Validate(loaded, dialogs);
      if (round == 0 || run.seconds < best.seconds) best = run;
      if (!run.finished) break;
    }
    double tidyBest = 0;
    bool tidyOk = true;
    for (int round = 0; round < 3 && tidyOk; ++round) {
      double seconds = 0;
      tidyOk = Tidy(file, seconds);
      if (round == 0 || seconds < tidyBest) tidyBest = seconds;
    }

    if (!best.finished) {
      ++oursStopped;
      ++reasons[FirstLine(dialogs.last)];
      if (why) std::printf("stops: %s\n  %s\n", path.c_str(), FirstLine(dialogs.last).c_str());
      continue;
    }
    if (!tidyOk) {
      ++tidyFailed;
      continue;
    }
    ++passes[best.passes];
    if (why && best.passes > 2) std::printf("%d passes: %s\n", best.passes, path.c_str());
    ++counted;
    bytes += file.size();
    ours += best.seconds;
    tidy += tidyBest;
  }

  std::printf(
      "%zu pages; %zu finish in both (%.1f MB); the validator stops on %zu, libtidy on %zu\n",
      pages.size(), counted, bytes / 1e6, oursStopped, tidyFailed);
  std::printf("passes:");
  for (const auto& [n, count] : passes) std::printf("  %d: %zu pages", n, count);
  std::printf("\n");
  if (why) {
    for (const auto& [reason, count] : reasons) std::printf("%5zu  %s\n", count, reason.c_str());
  }
  SetMainWindow(nullptr);
  std::filesystem::remove_all(site);
  if (ours <= 0 || tidy <= 0) return 0;
  std::printf("validator %.3f s (%.1f MB/s), libtidy %.3f s (%.1f MB/s)\n", ours,
              bytes / 1e6 / ours, tidy, bytes / 1e6 / tidy);
  std::printf("validator / libtidy = %.2f\n", ours / tidy);
  return 0;
}
