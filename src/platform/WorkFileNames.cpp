#include "platform/WorkFileNames.h"

#include <algorithm>
#include <string_view>

#include "platform/Paths.h"

namespace quorrel {

namespace {

// mkstemp's six letters or digits.
constexpr size_t kRandomLetters = 6;
constexpr std::string_view kSaveSuffix = ".save-";
// Work names nest (a download's own work file beside ".NAME.download"); a few
// levels are all there ever are.
constexpr int kMaxNesting = 4;

bool IsLetterOrDigit(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool EndsWithRandomLetters(std::string_view text) {
  return text.size() >= kRandomLetters &&
         std::all_of(text.end() - kRandomLetters, text.end(), IsLetterOrDigit);
}

bool IsOwnWorkFileAt(const std::string& folder, const std::string& name, int depth) {
  if (depth > kMaxNesting || name.size() < 3 || name[0] != '.') return false;
  const std::string_view inner = std::string_view(name).substr(1);
  if (inner.ends_with(".download") || inner.ends_with(".upload")) return true;
  if (EndsWithRandomLetters(inner) && inner.size() > kRandomLetters + kSaveSuffix.size() &&
      inner.substr(inner.size() - kRandomLetters - kSaveSuffix.size(), kSaveSuffix.size()) ==
          kSaveSuffix) {
    return true;
  }
  if (inner.ends_with(".lock")) {
    return FileExists(folder + std::string(inner.substr(0, inner.size() - 5)));
  }
  if (inner.size() > kRandomLetters + 1 && EndsWithRandomLetters(inner) &&
      inner[inner.size() - kRandomLetters - 1] == '.') {
    const std::string served(inner.substr(0, inner.size() - kRandomLetters - 1));
    return FileExists(folder + served) || IsOwnWorkFileAt(folder, served, depth + 1);
  }
  return false;
}

}  // namespace

bool IsOwnWorkFile(const std::string& folder, const std::string& name) {
  return IsOwnWorkFileAt(folder.empty() || folder.back() == '/' ? folder : folder + "/", name, 0);
}

bool IsWriteCopyOf(const std::string& entry, const std::string& name) {
  return entry.size() == name.size() + 2 + kRandomLetters && entry[0] == '.' &&
         entry.compare(1, name.size(), name) == 0 && entry[name.size() + 1] == '.' &&
         EndsWithRandomLetters(entry);
}

}  // namespace quorrel
