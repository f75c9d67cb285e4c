// The file-list form's scan of a real tree, /usr/share/doc: first listing every
// file with the titles of its pages, then in find mode for a phrase, and then
// "grep -rlF" for the same phrase over the same tree in the same run, the peer that
// reads a tree for a text the same way. Prints the three times and what each found.
//   bench_sitescan [folder] [text]
#include "publish/SiteScan.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  using namespace quorrel;
  QCoreApplication app(argc, argv);
  std::string root = argc > 1 ? argv[1] : "/usr/share/doc/";
  if (root.back() != '/') root += '/';
  const std::string text = argc > 2 ? argv[2] : "GNU General Public License";

  TScanRequest listing;
  listing.root = root;
  listing.showTitles = true;
  QElapsedTimer timer;
  timer.start();
  const TScanResult listed = DoScan(listing);
  const double listMs = timer.nsecsElapsed() / 1e6;
  const auto titled =
      std::count_if(listed.entries.begin(), listed.entries.end(),
                    [](const std::string& e) { return e.find(TitleMark) != std::string::npos; });
  std::printf("Listing with titles: %.0f ms, %zu files, %ld with a title, too deep: %s\n", listMs,
              listed.entries.size(), static_cast<long>(titled), listed.tooDeep ? "yes" : "no");

  TScanRequest find = listing;
  find.showTitles = false;
  find.find = TScanFind{text, text, false, false};
  timer.restart();
  const TScanResult found = DoScan(find);
  const double findMs = timer.nsecsElapsed() / 1e6;
  std::printf("Find mode (\"%s\", any case): %.0f ms, %d of %d files hold it\n", text.c_str(),
              findMs, found.found, found.scanned);

  QProcess grep;
  timer.restart();
  grep.start("grep", {"-rliF", QString::fromStdString(text), QString::fromStdString(root)});
  if (!grep.waitForFinished(600000)) {
    std::fprintf(stderr, "grep did not finish\n");
    return 1;
  }
  const double grepMs = timer.nsecsElapsed() / 1e6;
  const long grepFiles = grep.readAllStandardOutput().count('\n');
  std::printf("grep -rliF over the same tree: %.0f ms, %ld files hold it\n", grepMs, grepFiles);
  return 0;
}
