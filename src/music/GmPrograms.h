#pragma once
// The 128 instruments of General MIDI, by program number as abc2midi's
// "%%MIDI program" takes it (0 to 127).
#include <string>

namespace quorrel {

// The instrument of program 0 to 127; "" for any other number.
std::string GmProgramName(int program);

// "General MIDI Instruments" and one line per program: number, tab, name; CR LF.
std::string GmProgramList();

}  // namespace quorrel
