#pragma once
// MIDI output device 0: short messages played at once on the synthesizer the MIDI
// player uses. Every open gives a handle of its own and holds the synthesizer until
// that handle is closed, so two users may hold the device at the same time.
// Call from the main thread.
#include <cstdint>

namespace quorrel {

using HMidiOut = uint32_t;  // 0 = none

constexpr uint32_t MidiOutErrNone = 0;
constexpr uint32_t MidiOutErrBadDeviceId = 2;
constexpr uint32_t MidiOutErrInvalidHandle = 5;
constexpr uint32_t MidiOutErrNoSynthesizer = 6;
constexpr uint32_t MidiOutErrInvalidMessage = 11;

// Only device 0 exists. On failure handle is 0.
uint32_t MidiOutOpen(HMidiOut& handle, uint32_t deviceId);
// A channel message packed into the low three bytes, status lowest, then data 1 and
// data 2 (0x007F3C90: note 60 on, channel 1, velocity 127).
uint32_t MidiOutShortMsg(HMidiOut handle, uint32_t message);
// Ends the notes this handle left sounding.
uint32_t MidiOutClose(HMidiOut handle);
// How many handles are open.
int MidiOutOpenCount();
void MidiOutCloseAll();

}  // namespace quorrel
