#include "validate/ScriptCharacters.h"

#include "platform/Chars.h"
#include "platform/CodePage.h"

namespace quorrel {

std::vector<TScriptLine> ScriptLines(std::string_view text) {
  std::vector<TScriptLine> lines;
  size_t start = 0;
  for (size_t at = 0; at < text.size(); ++at) {
    if (text[at] != '\r' && text[at] != '\n') continue;
    lines.push_back({text.substr(start, at - start), start});
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
    start = at + 1;
  }
  lines.push_back({text.substr(start), start});
  return lines;
}

bool IsCharactersLine(std::string_view line) {
  const size_t end = line.find_last_not_of(' ');
  return end != std::string_view::npos && end + 1 == 10 && StartsWithNoCase(line, "Characters");
}

std::optional<size_t> CharactersLineOffset(std::string_view text) {
  for (const TScriptLine& line : ScriptLines(text)) {
    if (IsCharactersLine(line.text)) return line.offset;
  }
  return std::nullopt;
}

TScriptCharacters ReadScriptCharacters(std::string_view text) {
  TScriptCharacters result;
  const std::vector<TScriptLine> lines = ScriptLines(text);
  size_t at = 0;
  while (at < lines.size() && !IsCharactersLine(lines[at].text)) ++at;
  if (at == lines.size()) {
    result.error = NoCharactersMessage;
    return result;
  }
  for (++at; at < lines.size(); ++at) {
    const std::string_view line = lines[at].text;
    if (TrimBlanks(line).empty() || line.find("Scene:") != std::string_view::npos) break;
    if (line.find("RUNNING TIME") != std::string_view::npos) {
      result.error = CharactersNotEndedMessage;
      result.errorOffset = lines[at].offset;
      result.errorAtOffset = true;
      result.names.clear();
      return result;
    }
    const size_t colon = line.find(":\t");
    if (colon == std::string_view::npos) continue;
    std::string_view names = line.substr(0, colon);
    for (size_t from = 0; from <= names.size();) {
      size_t comma = names.find(',', from);
      if (comma == std::string_view::npos) comma = names.size();
      std::string_view name = names.substr(from, comma - from);
      name = TrimBlanks(name.substr(0, name.find('|')));
      if (!name.empty() && name != "ETC.") result.names.emplace_back(name);
      from = comma + 1;
    }
  }
  return result;
}

}  // namespace quorrel
