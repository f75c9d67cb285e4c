// "Regenerate HTML" over a generated site of 300 template pages at depths 0 to 2,
// each with a library item, opened one after the other in the tests' in-memory
// editor, regenerated and saved; then "Refresh from Library" over the same pages.
// The pages' own content is the bodies of git's manual pages.
#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "commands/LibraryCommands.h"
#include "commands/OpenCommand.h"
#include "platform/Abort.h"
#include "platform/IniFile.h"
#include "platform/UserDialogs.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "BenchUser.h"
#include "RealMaterial.h"
#include "support/MemoryMainWindow.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"

using namespace quorrel;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPages = 300;

void Write(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

const char kTemplate[] =
    "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
    "<!-- TemplateBeginEditable name=\"doctitle\" -->\n<title>Untitled</title>\n"
    "<!-- TemplateEndEditable -->\n<link href=\"../css/site.css\" rel=\"stylesheet\">\n"
    "</head>\n<body>\n<header><img src=\"../images/logo.png\" alt=\"Logo\"></header>\n"
    "<!-- #BeginLibraryItem \"/Library/nav.lbi\" --><!-- #EndLibraryItem -->\n"
    "<!-- TemplateBeginEditable name=\"main\" -->\n<p>Content</p>\n"
    "<!-- TemplateEndEditable -->\n<footer><a href=\"../index.htm\">Home</a></footer>\n"
    "</body>\n</html>\n";

// The body of one of git's manual pages: real markup of every size.
std::string Body(const std::string& page) {
  const size_t open = page.find("<body");
  const size_t close = page.rfind("</body>");
  if (open == std::string::npos || close == std::string::npos) return "<p>x</p>";
  const size_t from = page.find('>', open) + 1;
  return page.substr(from, close - from);
}

std::string Page(int n, const std::string& body) {
  return "<!DOCTYPE html>\n<html lang=\"en\"><!-- InstanceBegin template=\"/Templates/main.dwt\" "
         "codeOutsideHTMLIsLocked=\"false\" -->\n<head>\n"
         "<!-- InstanceBeginEditable name=\"doctitle\" -->\n<title>Page " + std::to_string(n) +
         "</title>\n<!-- InstanceEndEditable -->\n</head>\n<body>\n"
         "<!-- InstanceBeginEditable name=\"main\" -->\n" + body + "\n"
         "<!-- InstanceEndEditable -->\n</body>\n<!-- InstanceEnd --></html>\n";
}

double Run(const char* item, bench::AnswerAll& dialogs) {
  const auto start = Clock::now();
  if (!MainMenu().Click(item)) {
    std::fprintf(stderr, "%s stopped: %s\n", item, dialogs.last.c_str());
    return -1;
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  test::PrepareTestEnvironment();
  QCoreApplication app(argc, argv);
  bench::AnswerAll dialogs(mrYes);
  SetUserDialogs(&dialogs);
  test::MemoryMainWindow window;
  SetMainWindow(&window);
  AppPhase = PhaseRunning;
  InstallLibraryCommands();

  const std::string site = test::TestHome() + "site/";
  SettingsIni = std::make_unique<TIniFile>(test::TestHome() + "settings.ini");
  std::filesystem::create_directories(site);
  test::WriteNoServerDetails(site);
  Write(site + "Templates/main.dwt", kTemplate);
  Write(site + "Library/nav.lbi",
        "<nav><a href=\"../index.htm\">Home</a> <a href=\"../news/index.htm\">News</a></nav>\r\n");
  const std::vector<std::string> manuals = bench::FilesEnding("/usr/share/doc/git-doc", ".html");
  bench::Need(!manuals.empty(), "/usr/share/doc/git-doc (git-doc)");
  const char* folders[] = {"", "news/", "news/archive/"};
  size_t bytes = 0;
  for (int n = 0; n < kPages; ++n) {
    const std::string page = Page(n, Body(bench::Slurp(manuals[n % manuals.size()])));
    bytes += page.size();
    Write(site + folders[n % 3] + "page" + std::to_string(n) + ".htm", page);
  }
  CurrentFileName = site + "page0.htm";
  try {
    OpenClick("");
    PCChange();
  } catch (const EAbort&) {
    std::fprintf(stderr, "the first page did not open: %s\n", dialogs.last.c_str());
    return 1;
  }

  const double regenerate = Run("RegenHtml", dialogs);
  // A page two folders down must have come from the template, rebased.
  std::ifstream deep(site + "news/archive/page299.htm", std::ios::binary);
  const std::string deepText((std::istreambuf_iterator<char>(deep)), std::istreambuf_iterator<char>());
  if (deepText.find("href=\"../../css/site.css\"") == std::string::npos ||
      deepText.find("<title>Page 299</title>") == std::string::npos) {
    std::fprintf(stderr, "the pages were not regenerated\n");
    return 1;
  }
  const double again = Run("RegenHtml", dialogs);
  const double refresh = Run("RefreshLib", dialogs);
  if (regenerate < 0 || again < 0 || refresh < 0) return 1;
  std::printf("site: %d pages at depths 0 to 2, %.2f MB\n", kPages, bytes / 1e6);
  std::printf("Regenerate HTML, pages rewritten:    %.3f s, %.0f pages/s\n", regenerate,
              kPages / regenerate);
  std::printf("Regenerate HTML, nothing changed:    %.3f s, %.0f pages/s\n", again, kPages / again);
  std::printf("Refresh from Library, nothing new:   %.3f s, %.0f pages/s\n", refresh,
              kPages / refresh);
  SetMainWindow(nullptr);
  return 0;
}
