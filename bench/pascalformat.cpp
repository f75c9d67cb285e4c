// Times the Pascal formatter on the largest units of Debian's Free Pascal sources
// (a split run answered "&All", then the run that re-indents), and Debian's ptop
// on the same units in the same run. Run by hand:
//   bench_pascalformat [count]   the count largest units (default 12)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/UserDialogs.h"
#include "shell/FastStrings.h"
#include "validate/Validators.h"

using namespace quorrel;
namespace fs = std::filesystem;

namespace {

constexpr char kSources[] = "/usr/share/fpcsrc/3.2.2";

// The split question is answered "&All"; the stops are not shown.
class AllDialogs : public TUserDialogs {
 public:
  int ShowBox(const DialogCall& call) override {
    return call.kind == DialogKind::Message ? mrOk : mrNo;
  }
};

double Milliseconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
      .count();
}

TValidation Format(const std::string& text) {
  TPage page;
  page.text = text;
  page.path = "unit.pas";
  page.kind = TDocumentKind::Pascal;
  return ValidatePascal(page);
}

}  // namespace

int main(int argc, char** argv) {
  const size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 12;
  static AllDialogs dialogs;
  SetUserDialogs(&dialogs);
  std::vector<std::pair<uintmax_t, std::string>> units;
  for (const auto& entry : fs::recursive_directory_iterator(kSources)) {
    const std::string ext = entry.path().extension().string();
    if (entry.is_regular_file() && (ext == ".pas" || ext == ".pp")) {
      units.emplace_back(entry.file_size(), entry.path().string());
    }
  }
  std::sort(units.rbegin(), units.rend());
  units.resize(std::min(count, units.size()));

  const std::string scratch = fs::temp_directory_path().string() + "/bench-pascalformat.pp";
  double ours = 0, theirs = 0;
  std::printf("%-52s %8s %10s %10s  %s\n", "unit", "kB", "Quorrel ms", "ptop ms", "outcome");
  for (const auto& [size, path] : units) {
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text = ReplaceAll(ReplaceAll(text, "\r\n", "\n", true), "\n", "\r\n", true);

    auto start = std::chrono::steady_clock::now();
    TValidation verdict = Format(text);
    if (verdict.error && verdict.error->message.rfind("Splitting", 0) == 0) {
      verdict = Format(*verdict.text);
    }
    const double formatted = Milliseconds(start);
    const std::string outcome =
        verdict.error ? verdict.error->message.substr(0, 40) : verdict.status.value_or("");

    start = std::chrono::steady_clock::now();
    const std::string command = "ptop '" + path + "' '" + scratch + "' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    const double ptop = Milliseconds(start);

    ours += formatted;
    theirs += ptop;
    std::printf("%-52s %8ju %10.1f %10.1f  %s%s\n", path.substr(sizeof kSources).c_str(),
                size / 1024, formatted, ptop, outcome.c_str(), status == 0 ? "" : " (ptop failed)");
  }
  fs::remove(scratch);
  std::printf("%-52s %8s %10.1f %10.1f\n", "total", "", ours, theirs);
  return 0;
}
