#pragma once
// The speakers of a play script: the rules for a name written before the tab of a
// line of dialogue, the group names every script may use, and the matching of an
// abbreviated name against the names it could stand for. Texts are Windows-1252
// bytes.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorrel {

inline constexpr char AmbiguousAbbreviationCaption[] = "Ambiguous abbreviation";
inline constexpr char AmbiguousInSceneMessage[] = "Ambiguous abbreviation within scene.";
inline constexpr char AmbiguousMessage[] = "Ambiguous abbreviation.";
inline constexpr char UnknownNameMessage[] = "Unknown name: ";
inline constexpr int UnknownNameHelp = 56100;
inline constexpr char NameBlankEndsMessage[] = "Name starts or finishes with blank.";
inline constexpr char NameTooLongMessage[] = "Name too long";
inline constexpr char BlankNameMessage[] = "Blank name";
// A name longer than this is a mistake, unless it joins several speakers.
inline constexpr size_t MaxSpeakerNameLength = 30;

// Speakers that need no entry in the characters list ("ALL", "CHORUS" ...).
bool IsGroupName(std::string_view name);

// Words written like a speaker that head something else ("SONG", "SYNOPSIS" ...).
bool IsScriptHeading(std::string_view name);

// What is wrong with the text before the tab of a line of dialogue, if anything:
// it must end with a colon, the name before it must not start or end with a
// blank, must not be longer than the limit unless it holds "," or "&", and must
// not be empty.
std::optional<std::string> SpeakerFault(std::string_view written);

// A stretch of a speaker's name: one of the names that "," and "&" join.
struct TSpeakerPart {
  size_t start = 0;
  size_t length = 0;
};
// The names a speaker's name joins, trimmed of blanks (an empty one has length 0).
std::vector<TSpeakerPart> SpeakerParts(std::string_view name);

// The names an abbreviation could stand for: those it begins, letter case aside, in
// the order given. An abbreviation starting with "?" matches every name.
std::vector<std::string> AbbreviationMatches(std::string_view abbreviation,
                                             const std::vector<std::string>& names);

// Whether two names are the same, letter case aside.
bool SameName(std::string_view a, std::string_view b);

}  // namespace quorrel
