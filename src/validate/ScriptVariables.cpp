#include "validate/ScriptVariables.h"

#include "platform/Chars.h"
#include "platform/Paths.h"
#include "shell/FastStrings.h"
#include "shell/TextFiles.h"
#include "validate/ScriptScan.h"

namespace quorrel {

namespace {

std::string Lower(std::string_view text) {
  return LowerScriptText(text);
}

bool SameNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && Lower(a) == Lower(b);
}

// A "$_" name written in upper case, as PHP's own arrays are ($_POST, $_SESSION).
bool IsUpperSuperglobal(const std::string& name) {
  if (!name.starts_with("$_")) return false;
  for (char c : name) {
    if (IsLowerLetter(c)) return false;
  }
  return true;
}

bool Excluded(const std::string& name) {
  for (const char* own : {"$this", "$globals", "$php_errormsg", "$dummy"}) {
    if (Lower(name) == own) return true;
  }
  return IsUpperSuperglobal(name);
}

std::string WithoutDollar(const std::string& name) {
  return name.starts_with("$") ? name.substr(1) : name;
}

// The file name after "require ": quoted, or up to the statement's end.
std::string RequiredName(const std::string& text) {
  const size_t at = text.find("require ");
  if (at == std::string::npos) return "";
  size_t from = at + 8;
  while (from < text.size() && (IsBlank(text[from]) || text[from] == '(')) ++from;
  if (from < text.size() && (text[from] == '"' || text[from] == '\'')) {
    const size_t end = text.find(text[from], from + 1);
    if (end == std::string::npos) return "";
    return text.substr(from + 1, end - from - 1);
  }
  size_t end = from;
  while (end < text.size() && text[end] != ';' && text[end] != ')' && text[end] != '\r' &&
         text[end] != '\n') {
    ++end;
  }
  return std::string(TrimBlanks(std::string_view(text).substr(from, end - from)));
}

}  // namespace

std::string LowerScriptText(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c | 0x20);
  }
  return lower;
}

std::vector<std::string> ScriptVariables(const std::string& code) {
  std::vector<std::string> names;
  for (size_t at = code.find('$'); at != std::string::npos; at = code.find('$', at + 1)) {
    if (at > 0) {
      const char before = code[at - 1];
      // "$$name" is a variable variable; "a$b" and "/$" are no names of their own.
      if (IsScriptWordChar(before) || before == '/' || before == '$') continue;
    }
    size_t end = at + 1;
    while (end < code.size() && IsScriptWordChar(code[end])) ++end;
    if (end == at + 1) continue;
    const std::string name = code.substr(at, end - at);
    if (!Excluded(name)) names.push_back(name);
    at = end - 1;
  }
  return names;
}

std::optional<std::string> TScriptNames::See(const std::string& name) {
  for (TScriptName& known : names_) {
    if (!SameNoCase(known.name, name)) continue;
    // Only the function's own names are held to one spelling.
    const bool own = known.mark == MarkOnce || known.mark == MarkAgain;
    if (own && known.name != name) return known.name;
    if (known.mark == MarkOnce) {
      known.mark = MarkAgain;
    } else if (known.mark == MarkKept) {
      known.mark = MarkKeptSeen;
    } else if (known.mark == MarkKeptSeen) {
      known.mark = MarkKeptSeenAgain;
    }
    return std::nullopt;
  }
  names_.push_back({name, MarkOnce});
  return std::nullopt;
}

std::vector<std::string> TScriptNames::UsedOnce(
    const std::unordered_map<std::string, size_t>& counts,
    const std::vector<std::string>& elsewhere) const {
  std::vector<std::string> once;
  for (const TScriptName& known : names_) {
    if (known.mark != MarkOnce) continue;
    bool used = false;
    for (const std::string& other : elsewhere) {
      used = used || SameNoCase(WithoutDollar(other), WithoutDollar(known.name));
    }
    const auto count = counts.find(Lower(known.name));
    if (!used && count != counts.end() && count->second == 1) once.push_back(known.name);
  }
  return once;
}

void TScriptNames::Reduce() {
  std::vector<TScriptName> kept;
  for (const TScriptName& known : names_) {
    if (known.mark == MarkKeptSeenAgain || known.mark == MarkKept)
      kept.push_back({known.name, MarkKept});
  }
  names_ = std::move(kept);
}

std::vector<std::string> NamesOfRequiredFile(const std::string& text, const std::string& folder) {
  std::string name = ReplaceChar(RequiredName(text), '\\', '/');
  if (name.empty()) return {};
  if (!name.starts_with("/")) name = folder + name;
  const std::string path = ResolveNoCase(name);
  if (path.empty() || !FileExists(path)) return {};
  const std::string required = ReadTextFile(path);
  std::vector<std::string> names;
  if (Lower(ExtractFileName(path)).ends_with(".php")) {
    const size_t function = required.find("function ");
    for (const std::string& variable : ScriptVariables(required.substr(0, function))) {
      names.push_back(variable);
    }
    return names;
  }
  const size_t dim = required.find("Dim ");
  if (dim == std::string::npos) return names;
  size_t end = required.find_first_of("\r\n", dim);
  if (end == std::string::npos) end = required.size();
  std::string_view list = std::string_view(required).substr(dim + 4, end - dim - 4);
  while (!list.empty()) {
    const size_t comma = list.find(',');
    const std::string_view item = TrimBlanks(list.substr(0, comma));
    if (!item.empty()) names.emplace_back(item);
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return names;
}

size_t FindScriptName(const std::string& lowerText, const std::string& name, size_t from) {
  const std::string lowerName = Lower(name);
  for (size_t at = lowerText.find(lowerName, from); at != std::string::npos;
       at = lowerText.find(lowerName, at + 1)) {
    const size_t end = at + lowerName.size();
    const bool before = at > 0 && (IsScriptWordChar(lowerText[at - 1]) || lowerText[at - 1] == '$');
    const bool after = end < lowerText.size() && IsScriptWordChar(lowerText[end]);
    if (!before && !after) return at;
  }
  return std::string::npos;
}

std::unordered_map<std::string, size_t> CountScriptNames(const std::string& lowerText) {
  std::unordered_map<std::string, size_t> counts;
  for (size_t at = lowerText.find('$'); at != std::string::npos; at = lowerText.find('$', at + 1)) {
    if (at > 0 && (IsScriptWordChar(lowerText[at - 1]) || lowerText[at - 1] == '$')) continue;
    size_t end = at + 1;
    while (end < lowerText.size() && IsScriptWordChar(lowerText[end])) ++end;
    if (end > at + 1) ++counts[lowerText.substr(at, end - at)];
    at = end - 1;
  }
  return counts;
}

}  // namespace quorrel
