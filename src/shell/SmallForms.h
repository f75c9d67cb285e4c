#pragma once
// Two small forms that commands show: the question where a program is, and the
// pop-up note of a text block. The ui sets both; unset, nothing shows.
// Texts and paths are Windows-1252 bytes.
#include <functional>
#include <string>

namespace quorrel {

inline constexpr int WhereHelpContext = 32120;
inline constexpr int PopUpHelpContext = 50242;

// "Where is the program?": path is proposed on entry and the user's answer on
// return; false when cancelled. The caller repeats the question until the path
// exists.
bool AskWhere(std::string& path, int helpContext = WhereHelpContext);
void SetWhereForm(std::function<bool(std::string& path, int helpContext)> show);

// The program at path, asked for with "Where is the program?" (and the help topic)
// until the answer names an existing file or folder; a bare name counts when it is
// found on the search path. Cancel ends the command silently.
std::string LocateProgram(const std::string& path, int helpContext = WhereHelpContext);

// The borderless pop-up note, 40 pixels high per line of the text; any shortcut
// key closes it.
void ShowPopUp(const std::string& text);
void SetPopForm(std::function<void(const std::string& text)> show);

}  // namespace quorrel
