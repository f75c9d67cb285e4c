#pragma once
// The structure of a play script, checked and mended on the document itself: its
// songs closed, its last line "END", the word for its layout near the start, its
// scene lines and the names of its speakers, abbreviations written out in full.
// Texts are Windows-1252 bytes; offsets are into the text the editor shows.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RtfModel.h"
#include "shell/Page.h"

namespace quorrel {

inline constexpr char NoEndOfSongMessage[] = "No \"End of song\"";
inline constexpr char NoLayoutWordMessage[] =
    "Script must have \"Radio\", \"Stage\", \"Television\" or \"Film\" near the start.";
inline constexpr char NoCharactersOrSceneMessage[] =
    "Script must have \"Characters\" line and later \"Scene\" line.";
inline constexpr char SceneColonMessage[] = "\"Scene\" must be followed by a colon.";
inline constexpr char UndefinedCharactersMessage[] =
    "Undefined characters copied to clipboard:\r\n\r\n";

// Stage layout for radio and stage plays, screen layout for television and film.
enum class TScriptLayout { Stage, Screen };

// The layout the first of "Radio", "Stage", "Television" and "Film" in the first
// 100 characters names; none without one.
std::optional<TScriptLayout> ScriptLayout(std::string_view text);

// Whether a line is a scene heading: "Scene" or "SCENE", then a blank, a digit, a
// colon or nothing.
bool IsSceneLine(std::string_view line);

struct TScriptCheck {
  std::optional<TValidationError> error;
  // Speakers missing from the characters list, each once, in the order they first
  // speak. There are any only when the list names nobody yet: a list that names
  // characters stops at a speaker who is none of them.
  std::vector<std::string> undefined;
};

// Checks a script and mends it in place. On an error the document is left part
// mended, to be thrown away: the caller keeps its own copy. compact: the script is
// in its compact layout.
TScriptCheck CheckScript(TRtfDocument& document, bool compact);

// The undefined characters as they go to the clipboard: each name, ":" and a tab
// on a line of its own, to be pasted into the characters list.
std::string UndefinedCharactersList(const std::vector<std::string>& names);

}  // namespace quorrel
