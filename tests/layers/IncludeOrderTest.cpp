// The layers of the program, low to high: platform, shell, edit, the engines in
// their order, commands, ui, app. A unit includes only its own layer and those below
// it; these tests read every include line of src/ and name each one against the order.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

const std::map<std::string, int>& LayerRanks() {
  static const std::map<std::string, int> ranks = {
      {"platform", 0}, {"shell", 1},     {"edit", 2},     {"music", 3}, {"spell", 4},
      {"validate", 5}, {"publish", 6},   {"sitebuild", 7}, {"commands", 8}, {"ui", 9},
      {"app", 10},
  };
  return ranks;
}

std::optional<int> RankOf(const std::string& layer) {
  auto found = LayerRanks().find(layer);
  if (found == LayerRanks().end()) return std::nullopt;
  return found->second;
}

struct TInclude {
  std::string file;  // relative to src/
  int line = 0;
  std::string target;  // as written: "shell/Hooks.h"
};

// The quoted includes of one source text whose first folder is a layer.
std::vector<TInclude> IncludesOf(const std::string& file, std::istream& in) {
  static const std::regex includeLine(R"(^\s*#\s*include\s*"([^"]+)\")");
  std::vector<TInclude> found;
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    std::smatch match;
    if (std::regex_search(text, match, includeLine)) found.push_back({file, number, match[1]});
  }
  return found;
}

std::string FirstFolder(const std::string& path) { return path.substr(0, path.find('/')); }

// "file:line includes target: layer may not include a higher layer", one per line.
std::vector<std::string> Violations(const std::vector<TInclude>& includes) {
  std::vector<std::string> problems;
  for (const TInclude& include : includes) {
    const std::string from = FirstFolder(include.file);
    const std::string to = FirstFolder(include.target);
    std::optional<int> fromRank = RankOf(from), toRank = RankOf(to);
    if (!fromRank || !toRank || *toRank <= *fromRank) continue;
    problems.push_back(include.file + ":" + std::to_string(include.line) + " includes " +
                       include.target + ": " + from + " may not include " + to +
                       ", which lies above it");
  }
  return problems;
}

std::vector<TInclude> SourceIncludes() {
  const fs::path src = fs::path(QUORREL_SOURCE_DIR) / "src";
  std::vector<TInclude> all;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    std::ifstream in(entry.path());
    auto found = IncludesOf(fs::relative(entry.path(), src).generic_string(), in);
    all.insert(all.end(), found.begin(), found.end());
  }
  return all;
}

TEST(IncludeOrderTest, NoUnitIncludesALayerAboveItsOwn) {
  const std::vector<TInclude> includes = SourceIncludes();
  ASSERT_GT(includes.size(), 500u) << "the sources were not found under " << QUORREL_SOURCE_DIR;
  std::string report;
  for (const std::string& problem : Violations(includes)) report += problem + "\n";
  EXPECT_TRUE(report.empty()) << report;
}

TEST(IncludeOrderTest, EveryFolderOfTheSourcesIsALayer) {
  for (const auto& entry : fs::directory_iterator(fs::path(QUORREL_SOURCE_DIR) / "src")) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_directory() || name == "resources") continue;
    EXPECT_TRUE(RankOf(name).has_value()) << "src/" << name << " has no place in the layers";
  }
}

TEST(IncludeOrderTest, TheCheckNamesFileLineAndLayers) {
  struct Case {
    const char* file;
    const char* text;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"shell/Closing.cpp", "#include \"shell/Documents.h\"\n#include \"music/MyPlayer.h\"\n",
       {"shell/Closing.cpp:2 includes music/MyPlayer.h: shell may not include music, which lies "
        "above it"}},
      {"validate/HtmlEntry.cpp", "  #  include \"publish/Connection.h\"\n",
       {"validate/HtmlEntry.cpp:1 includes publish/Connection.h: validate may not include "
        "publish, which lies above it"}},
      // The edit layer sits between the shell's services and the engines.
      {"shell/Closing.cpp", "#include \"edit/Markers.h\"\n",
       {"shell/Closing.cpp:1 includes edit/Markers.h: shell may not include edit, which lies "
        "above it"}},
      {"edit/Sections.cpp", "#include \"shell/Hooks.h\"\n#include \"validate/ValUnit.h\"\n",
       {"edit/Sections.cpp:2 includes validate/ValUnit.h: edit may not include validate, which "
        "lies above it"}},
      {"music/TunePrep.cpp", "#include \"edit/LineCommands.h\"\n", {}},
      {"platform/Processes.cpp", "#include \"commands/Exit.h\"\n",
       {"platform/Processes.cpp:1 includes commands/Exit.h: platform may not include commands, "
        "which lies above it"}},
      // Downwards, sideways within a layer, and system headers are all allowed.
      {"commands/Exit.cpp",
       "#include \"commands/Exit.h\"\n#include \"music/MyPlayer.h\"\n#include <string>\n",
       {}},
      {"ui/shell/WebForm.cpp", "#include \"commands/StartUp.h\"\n#include \"ui/platform/X.h\"\n",
       {}},
      // Test support and unknown folders are outside the order.
      {"shell/A.cpp", "#include \"support/TestFiles.h\"\n", {}},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.text);
    EXPECT_EQ(Violations(IncludesOf(c.file, in)), c.expected) << c.file;
  }
}

}  // namespace
}  // namespace quorrel::test
