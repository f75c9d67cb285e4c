#include "validate/ScriptNames.h"

#include <algorithm>
#include <array>

#include "platform/CodePage.h"

namespace quorrel {

namespace {

constexpr std::array<std::string_view, 19> kGroupNames = {
    "ALL",    "OTHERS", "BOTH",    "MUSIC", "SONG",  "DANCE", "SOLO", "CHORUS", "SOPRANOS", "ALTOS",
    "TENORS", "BASSES", "SOPRANO", "ALTO",  "TENOR", "BASS",  "MEN",  "WOMEN",  "SYNOPSIS"};

constexpr std::array<std::string_view, 5> kHeadings = {"SONG", "DANCE", "SOLO", "RUNNING TIME",
                                                       "SYNOPSIS"};

template <size_t N>
bool InTable(const std::array<std::string_view, N>& table, std::string_view name) {
  return std::any_of(table.begin(), table.end(),
                     [&](std::string_view entry) { return SameName(entry, name); });
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithNoCase(a, b);
}

bool IsGroupName(std::string_view name) {
  return InTable(kGroupNames, name);
}

bool IsScriptHeading(std::string_view name) {
  return InTable(kHeadings, name);
}

std::optional<std::string> SpeakerFault(std::string_view written) {
  if (written.empty() || written.back() != ':') {
    return "Missing colon after [" + std::string(written) + "].";
  }
  const std::string_view name = written.substr(0, written.size() - 1);
  if (!name.empty() && (name.front() == ' ' || name.back() == ' ')) return NameBlankEndsMessage;
  if (name.size() > MaxSpeakerNameLength && name.find_first_of(",&") == std::string_view::npos) {
    return NameTooLongMessage;
  }
  if (name.empty()) return BlankNameMessage;
  return std::nullopt;
}

std::vector<TSpeakerPart> SpeakerParts(std::string_view name) {
  std::vector<TSpeakerPart> parts;
  for (size_t from = 0; from <= name.size();) {
    size_t end = name.find_first_of(",&", from);
    if (end == std::string_view::npos) end = name.size();
    size_t start = from;
    size_t stop = end;
    while (start < stop && name[start] == ' ') ++start;
    while (stop > start && name[stop - 1] == ' ') --stop;
    parts.push_back({start, stop - start});
    from = end + 1;
  }
  return parts;
}

std::vector<std::string> AbbreviationMatches(std::string_view abbreviation,
                                             const std::vector<std::string>& names) {
  if (abbreviation.starts_with('?')) return names;
  std::vector<std::string> matches;
  for (const std::string& name : names) {
    if (StartsWithNoCase(name, abbreviation)) matches.push_back(name);
  }
  return matches;
}

}  // namespace quorrel
