// Times the script checker on Debian's jquery.js (11,000 lines), and js-beautify
// (node-js-beautify) re-indenting the same file in the same run. The checker runs
// three ways: as F10 runs it by default (it stops where callbacks put blocks in
// brackets), with the bracket count off (a full walk that stops at the end), and
// with Debug on as well (a full re-indent); and the PHP checker on DokuWiki's inc/
// folder read as one large page. Run by hand:
//   bench_scriptcheck [rounds]   (default 5; the best round is shown)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "RealMaterial.h"
#include "platform/UserDialogs.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "validate/Validators.h"

using namespace quorrel;

namespace {

constexpr char kJquery[] = "/usr/share/javascript/jquery/jquery.js";

// Messages are taken, questions answered No.
class NoDialogs : public TUserDialogs {
 public:
  int ShowBox(const DialogCall& call) override {
    return call.kind == DialogKind::Message ? mrOk : mrNo;
  }
};

double Milliseconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
      .count();
}

struct TWay {
  const char* name;
  bool brackets;
  bool debug;
};

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
  static NoDialogs dialogs;
  SetUserDialogs(&dialogs);
  std::string text = bench::Slurp(kJquery);
  bench::Need(!text.empty(), kJquery);
  bench::Need(std::system("command -v js-beautify >/dev/null") == 0,
              "js-beautify (node-js-beautify)");
  text = ReplaceAll(ReplaceAll(text, "\r\n", "\n", true), "\n", "\r\n", true);

  std::printf("jquery.js: %zu kB\n%-36s %10s  %s\n", text.size() / 1024, "", "best ms", "outcome");
  for (const TWay& way : {TWay{"checker, as F10 runs it", true, false},
                          TWay{"checker, brackets not counted", false, false},
                          TWay{"checker, brackets off and Debug", false, true}}) {
    MainMenu().SetChecked("CheckBrackets", way.brackets);
    MainMenu().SetChecked("Debug", way.debug);
    double best = 1e30;
    std::string outcome;
    for (int round = 0; round < rounds; ++round) {
      TPage page;
      page.text = text;
      page.path = kJquery;
      page.kind = TDocumentKind::JavaScript;
      const auto start = std::chrono::steady_clock::now();
      const TValidation verdict = ValidatePhp(page);
      best = std::min(best, Milliseconds(start));
      outcome = verdict.error  ? verdict.error->message.substr(0, verdict.error->message.find('\r'))
                : verdict.text ? "re-indented"
                               : "unchanged";
    }
    std::printf("%-36s %10.1f  %s\n", way.name, best, outcome.c_str());
  }

  // A large PHP text: DokuWiki's inc/ folder as one page, as far as it goes.
  std::string php;
  for (const std::string& file : bench::FilesEnding("/usr/share/dokuwiki/inc", ".php")) {
    php += bench::Slurp(file);
  }
  if (!php.empty()) {
    php = ReplaceAll(php, "\r\n", "\n", true);
    MainMenu().SetChecked("CheckBrackets", false);
    MainMenu().SetChecked("Debug", true);
    MainMenu().SetChecked("CheckNames", false);
    double best = 1e30;
    std::string outcome;
    for (int round = 0; round < rounds; ++round) {
      TPage page;
      page.text = php;
      page.path = "/srv/site/inc.php";
      page.kind = TDocumentKind::Php;
      const auto start = std::chrono::steady_clock::now();
      const TValidation verdict = ValidatePhp(page);
      best = std::min(best, Milliseconds(start));
      outcome = verdict.error ? verdict.error->message.substr(0, verdict.error->message.find('\r'))
                              : "handed to the HTML validator";
    }
    std::printf("%-36s %10.1f  %s (%zu kB)\n", "PHP checker, DokuWiki's inc/", best,
                outcome.c_str(), php.size() / 1024);
  }

  const std::string scratch = std::filesystem::temp_directory_path().string() + "/bench-jquery.js";
  // A Node.js from elsewhere does not look in Debian's module folder by itself.
  const std::string command = "NODE_PATH=/usr/share/nodejs js-beautify -s 2 -o '" + scratch +
                              "' '" + kJquery + "' >/dev/null 2>&1";
  double best = 1e30;
  int status = 0;
  for (int round = 0; round < rounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    status = std::system(command.c_str());
    best = std::min(best, Milliseconds(start));
  }
  std::filesystem::remove(scratch);
  std::printf("%-36s %10.1f  %s\n", "js-beautify (a process each run)", best,
              status == 0 ? "re-indented" : "failed");
  return 0;
}
