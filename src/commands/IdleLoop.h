#pragma once
// The idle pass of the main window (TWebForm.OnIdle): what happens between
// commands, at most about once a second. It keeps the status bar up to date (line
// and column, lock keys, section, selection counts, messages that blink and clear
// themselves), colours the text when a recolour was asked for, previews the colours
// of a CSS rule, keeps the markers on their text, and runs the one-shot actions of
// the command line's special modes. Main thread only.
#include <cstdint>
#include <functional>
#include <string>

#include "shell/IdleClock.h"

namespace quorrel {

// The passes are at least this far apart (1e-5 day).
constexpr int64_t IdleIntervalMs = 864;
// A message leaves the message bar after this long (7e-5 day).
constexpr int64_t StatusLifetimeMs = 6048;

// When the last pass ran (0 makes the next pass run at once).
extern int64_t LastIdleTime;

// The caret is inside a script or style block of an HTML page (from the section
// the caret is in).
extern bool InScriptOrStyle;

// A recolour was asked for, and the text is short enough or no HTML page (the
// colouring of a long page waits for an explicit command).
bool RecolourDue();

// The idle pass.
void OnIdle();

// Whether the idle pass can carry out a special mode of the command line: "P"
// print and end, "X" re-format and end, "S" server window and end, "E" open a set.
// Printing and the server window need their commands.
bool StartModeAvailable(char mode);

// What the pass takes from parts of the program that are built later: the table
// grid editor asks for its column to be reselected (true ends the pass).
struct TIdleHooks {
  std::function<bool()> tableRefresh;
};
TIdleHooks& IdleHooks();

// Back to the state of a freshly started program: the one-shot actions due, no
// lock-key states remembered, the real clock.
void ResetIdleLoop();

}  // namespace quorrel
