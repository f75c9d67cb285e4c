#pragma once
// The MIDI 1.0 control-change numbers and their names, as the ABC help lists them.
#include <string>

namespace quorrel {

// The name of controller 0 to 127 ("Undefined" where the standard names none).
std::string MidiControllerName(int number);

// "MIDI Controller Numbers" and one line per controller: number, tab, name; CR LF.
std::string MidiControllerList();

// A heading, a blank line and one line for each number 0 to 127: the number, a tab
// and its name; CR LF. The ABC help's lists of MIDI numbers take this form.
std::string MidiNumberTable(const std::string& heading, std::string (*nameOf)(int));

}  // namespace quorrel
