#pragma once
// The MIDI 1.0 control-change numbers and their names, as the ABC help lists them.
#include <string>

namespace quorrel {

// The name of controller 0 to 127 ("Undefined" where the standard names none).
std::string MidiControllerName(int number);

// "MIDI Controller Numbers" and one line per controller: number, tab, name; CR LF.
std::string MidiControllerList();

}  // namespace quorrel
