// A validator works on the page it is handed: its entry never reaches for the
// current document's working copy, the text handed between validators or the page
// builder's buffer. Only the dispatcher makes the page of the current document.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

// The validators' entries: each validator's own "Validate..." unit, the table that
// runs them, the HTML validator's intake and the style-block runner.
std::vector<fs::path> ValidatorEntries() {
  std::vector<fs::path> found;
  const fs::path folder = fs::path(QUORREL_SOURCE_DIR) / "src" / "validate";
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".cpp") continue;
    if (name.starts_with("Validate") || name == "Validators.cpp" || name == "HtmlEntry.cpp" ||
        name == "StyleBlock.cpp") {
      found.push_back(entry.path());
    }
  }
  return found;
}

TEST(ValidatorPagesTest, ValidatorsReadThePageTheyAreHanded) {
  const std::vector<fs::path> entries = ValidatorEntries();
  ASSERT_GE(entries.size(), 4u) << "the sources were not found under " << QUORREL_SOURCE_DIR;
  static const std::regex reached(R"(\b(CurrentText|HandOverText|PageBuffer)\b)");
  for (const fs::path& path : entries) {
    std::ifstream in(path);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
      std::smatch match;
      if (std::regex_search(line, match, reached)) {
        ADD_FAILURE() << path.filename().string() << ":" << number << " reads " << match[1]
                      << " instead of its page";
      }
    }
  }
}

}  // namespace
}  // namespace quorrel::test
