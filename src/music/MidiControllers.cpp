#include "music/MidiControllers.h"

namespace quorrel {

namespace {

struct TControllerRange {
  int first;
  int last;
  const char* name;  // a range of more than one appends its 1-based index
  int firstIndex;
};

// The control-change table of the MIDI 1.0 specification.
constexpr TControllerRange kControllers[] = {
    {0, 0, "Bank Select (MSB)", 0},
    {1, 1, "Modulation Wheel (MSB)", 0},
    {2, 2, "Breath Controller (MSB)", 0},
    {3, 3, "Undefined", 0},
    {4, 4, "Foot Controller (MSB)", 0},
    {5, 5, "Portamento Time (MSB)", 0},
    {6, 6, "Data Entry (MSB)", 0},
    {7, 7, "Channel Volume (MSB)", 0},
    {8, 8, "Balance (MSB)", 0},
    {9, 9, "Undefined", 0},
    {10, 10, "Pan (MSB)", 0},
    {11, 11, "Expression Controller (MSB)", 0},
    {12, 12, "Effect Control 1 (MSB)", 0},
    {13, 13, "Effect Control 2 (MSB)", 0},
    {14, 15, "Undefined", 0},
    {16, 19, "General Purpose Controller ", 1},
    {20, 31, "Undefined", 0},
    {32, 63, "LSB for Control ", 0},
    {64, 64, "Damper Pedal on/off (Sustain)", 0},
    {65, 65, "Portamento on/off", 0},
    {66, 66, "Sostenuto on/off", 0},
    {67, 67, "Soft Pedal on/off", 0},
    {68, 68, "Legato Footswitch", 0},
    {69, 69, "Hold 2", 0},
    {70, 70, "Sound Controller 1 (Sound Variation)", 0},
    {71, 71, "Sound Controller 2 (Timbre/Harmonic Intensity)", 0},
    {72, 72, "Sound Controller 3 (Release Time)", 0},
    {73, 73, "Sound Controller 4 (Attack Time)", 0},
    {74, 74, "Sound Controller 5 (Brightness)", 0},
    {75, 79, "Sound Controller ", 6},
    {80, 83, "General Purpose Controller ", 5},
    {84, 84, "Portamento Control", 0},
    {85, 87, "Undefined", 0},
    {88, 88, "High Resolution Velocity Prefix", 0},
    {89, 90, "Undefined", 0},
    {91, 91, "Effects 1 Depth (Reverb)", 0},
    {92, 92, "Effects 2 Depth (Tremolo)", 0},
    {93, 93, "Effects 3 Depth (Chorus)", 0},
    {94, 94, "Effects 4 Depth (Detune)", 0},
    {95, 95, "Effects 5 Depth (Phaser)", 0},
    {96, 96, "Data Increment", 0},
    {97, 97, "Data Decrement", 0},
    {98, 98, "Non-Registered Parameter Number (LSB)", 0},
    {99, 99, "Non-Registered Parameter Number (MSB)", 0},
    {100, 100, "Registered Parameter Number (LSB)", 0},
    {101, 101, "Registered Parameter Number (MSB)", 0},
    {102, 119, "Undefined", 0},
    {120, 120, "All Sound Off", 0},
    {121, 121, "Reset All Controllers", 0},
    {122, 122, "Local Control on/off", 0},
    {123, 123, "All Notes Off", 0},
    {124, 124, "Omni Mode Off", 0},
    {125, 125, "Omni Mode On", 0},
    {126, 126, "Mono Mode On", 0},
    {127, 127, "Poly Mode On", 0},
};

}  // namespace

std::string MidiControllerName(int number) {
  for (const TControllerRange& range : kControllers) {
    if (number < range.first || number > range.last) continue;
    if (range.first == range.last || std::string(range.name) == "Undefined") return range.name;
    return range.name + std::to_string(number - range.first + range.firstIndex);
  }
  return "Undefined";
}

std::string MidiNumberTable(const std::string& heading, std::string (*nameOf)(int)) {
  std::string list = heading + "\r\n\r\n";
  for (int number = 0; number < 128; ++number) {
    list += std::to_string(number) + "\t" + nameOf(number) + "\r\n";
  }
  return list;
}

std::string MidiControllerList() {
  return MidiNumberTable("MIDI Controller Numbers", MidiControllerName);
}

}  // namespace quorrel
