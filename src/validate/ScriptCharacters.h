#pragma once
// The characters list of a play script: a line "Characters", then lines of names
// separated by commas, each line ending its names with ":" and a tab before the
// character's description, up to an empty line. The validator matches speakers
// against it and the script tools count and table them. Texts are Windows-1252
// bytes with CR LF line ends.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorrel {

inline constexpr char NoCharactersMessage[] = "Script does not contain the word \"Characters\".";
inline constexpr char CharactersNotEndedMessage[] =
    "You need a blank line to terminate the list of characters.";

// A line of a script and where it starts in the text.
struct TScriptLine {
  std::string_view text;  // without its line end
  size_t offset = 0;
};

// The lines of a text (CR LF, LF or a lone CR ends one; a soft line break does not).
std::vector<TScriptLine> ScriptLines(std::string_view text);

// Whether a line is the heading of the characters list: "Characters", in any case,
// with nothing but blanks after it.
bool IsCharactersLine(std::string_view line);

// The offset of the first characters heading in the text, if any.
std::optional<size_t> CharactersLineOffset(std::string_view text);

struct TScriptCharacters {
  std::vector<std::string> names;  // in the order the list gives them
  // Why there is no list, and where the reading stopped.
  std::optional<std::string> error;
  size_t errorOffset = 0;
  bool errorAtOffset = false;
};

// ReadScriptCharacters: the names of the list. It ends at an empty line or a line
// holding "Scene:"; on each of its lines with ":" and a tab, the part before them
// holds names separated by ","; each is cut at "|" and trimmed, and "ETC." is no
// name. A "RUNNING TIME" line before the list has ended is an error.
TScriptCharacters ReadScriptCharacters(std::string_view text);

}  // namespace quorrel
