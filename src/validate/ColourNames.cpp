#include "validate/ColourNames.h"

#include <fstream>
#include <map>
#include <sstream>

#include "platform/Paths.h"
#include "shell/FastStrings.h"

namespace quorrel {

namespace {

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The word at i (letters, digits, "_"), and i moved past it and the blanks after it.
std::string TakeWord(const std::string& line, size_t& i) {
  size_t start = i;
  while (i < line.size() && IsNameChar(line[i])) ++i;
  std::string word = line.substr(start, i - start);
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  return word;
}

std::map<std::string, TIncludeNames>& IncludeCache() {
  static std::map<std::string, TIncludeNames> cache;
  return cache;
}

}  // namespace

TIncludeNames ParseIncludeNames(const std::string& text) {
  TIncludeNames result;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    size_t i = 0;
    auto skipBlanks = [&] {
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    };
    skipBlanks();
    if (line.compare(i, 2, "<%") == 0) {
      i += 2;
      skipBlanks();
    }
    std::string word = UpperCaseLatin1(TakeWord(line, i));
    if (word == "PUBLIC" || word == "PRIVATE") word = UpperCaseLatin1(TakeWord(line, i));
    if (word == "DIM") {
      // "Dim a, b(10), c"
      while (i < line.size() && IsNameChar(line[i])) {
        result.names.push_back(TakeWord(line, i));
        if (i < line.size() && line[i] == '(') {
          size_t close = line.find(')', i);
          i = close == std::string::npos ? line.size() : close + 1;
        }
        while (i < line.size() && (line[i] == ' ' || line[i] == ',' || line[i] == '\t')) ++i;
      }
    } else if (word == "SUB" || word == "FUNCTION") {
      std::string name = TakeWord(line, i);
      if (!name.empty()) result.functions.push_back(name);
    }
  }
  return result;
}

const TIncludeNames& IncludeNamesOf(const std::string& pageFolder, const std::string& name) {
  auto& cache = IncludeCache();
  auto found = cache.find(name);
  if (found != cache.end()) return found->second;
  TIncludeNames& names = cache[name];
  std::string relative = name;
  for (char& c : relative) {
    if (c == '\\') c = '/';
  }
  std::string path = ResolveNoCase(pageFolder + relative);
  if (!path.empty()) {
    std::ifstream file(NativePath(path), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    names = ParseIncludeNames(text.str());
  }
  return names;
}

void ResetIncludeCache() {
  IncludeCache().clear();
}

std::string TDeclaredNames::Key(const std::string& name) const {
  if (php_ && !name.empty() && name[0] == '$') return name;
  return UpperCaseLatin1(name);
}

void TDeclaredNames::AddIncluded(const TIncludeNames& included) {
  for (const std::string& name : included.names) {
    pageScope_.insert(Key(name));
    variables_.insert(Key(name));
  }
  for (const std::string& function : included.functions) {
    functions_.emplace(UpperCaseLatin1(function), true);
  }
}

bool TDeclaredNames::Declare(const std::string& name, size_t offset) {
  std::string key = Key(name);
  std::unordered_set<std::string>& scope =
      php_ ? variables_ : (inProcedure_ ? procedureScope_ : pageScope_);
  bool fresh = scope.insert(key).second;
  variables_.insert(key);
  if (fresh) declarations_.push_back({name, offset});
  return fresh;
}

void TDeclaredNames::DeclareGlobal(const std::string& name) {
  globals_.insert(Key(name));
}

TDeclaredNames::TFunctionResult TDeclaredNames::DeclareFunction(const std::string& name,
                                                                bool newScope) {
  auto [at, fresh] = functions_.emplace(UpperCaseLatin1(name), false);
  TFunctionResult result = fresh ? kNewFunction : at->second ? kAlsoIncluded : kDuplicateFunction;
  if (!newScope) return result;
  if (php_) {
    variables_.clear();
    globals_.clear();
  } else {
    inProcedure_ = true;
    procedureScope_.clear();
  }
  return result;
}

TDeclaredNames::TKind TDeclaredNames::Use(const std::string& word) {
  std::string key = Key(word);
  used_.insert(key);
  if (php_ && word[0] == '$') return globals_.count(key) ? kGlobalName : kName;
  if (functions_.count(UpperCaseLatin1(word))) return kFunction;
  return variables_.count(key) ? kName : kNone;
}

std::string TDeclaredNames::Unreferenced(size_t* offset) const {
  std::string text = "Unreferenced variable(s) ";
  std::unordered_set<std::string> listed;
  bool first = true;
  for (const TDeclaration& d : declarations_) {
    std::string key = Key(d.name);
    if (used_.count(key) || !listed.insert(key).second) continue;
    if (first && offset) *offset = d.offset;
    text += (first ? "" : ", ") + d.name;
    first = false;
  }
  return text;
}

}  // namespace quorrel
