#include "platform/MidiOut.h"

#include <map>
#include <mutex>

#include "platform/MciSynth.h"

namespace quorrel {

namespace {

struct Output {
  MidiSoundingNotes sounding;
};

std::map<HMidiOut, Output>& Handles() {
  static auto* handles = new std::map<HMidiOut, Output>;
  return *handles;
}

HMidiOut lastHandle = 0;

void EndNotes(Output& output) {
  MciSynth& synth = MciSynth::Instance();
  std::lock_guard<std::mutex> lock(synth.Mutex());
  for (int channel = 0; channel < kMidiChannels; ++channel) {
    for (int key = 0; key < kMidiKeys; ++key) {
      if (output.sounding[channel].test(key)) {
        SendMidiMessage(synth.Synth(), uint8_t(0x80 | channel), uint8_t(key), 0);
      }
    }
  }
}

}  // namespace

uint32_t MidiOutOpen(HMidiOut& handle, uint32_t deviceId) {
  handle = 0;
  if (deviceId != 0) return MidiOutErrBadDeviceId;
  if (!MciSynth::Instance().Acquire()) return MidiOutErrNoSynthesizer;
  do {
    ++lastHandle;
  } while (lastHandle == 0 || Handles().count(lastHandle));
  handle = lastHandle;
  Handles()[handle] = Output();
  return MidiOutErrNone;
}

uint32_t MidiOutShortMsg(HMidiOut handle, uint32_t message) {
  auto it = Handles().find(handle);
  if (it == Handles().end()) return MidiOutErrInvalidHandle;
  uint8_t status = message & 0xFF;
  uint8_t data1 = (message >> 8) & 0x7F;
  uint8_t data2 = (message >> 16) & 0x7F;
  if (status < 0x80) return MidiOutErrInvalidMessage;
  if (status >= 0xF0) return MidiOutErrNone;  // system messages mean nothing to the synthesizer
  int channel = status & 0x0F;
  uint8_t kind = status & 0xF0;
  if (kind == 0x90 && data2 > 0) {
    it->second.sounding[channel].set(data1);
  } else if (kind == 0x80 || kind == 0x90) {
    it->second.sounding[channel].reset(data1);
  }
  MciSynth& synth = MciSynth::Instance();
  std::lock_guard<std::mutex> lock(synth.Mutex());
  SendMidiMessage(synth.Synth(), status, data1, data2);
  return MidiOutErrNone;
}

uint32_t MidiOutClose(HMidiOut handle) {
  auto it = Handles().find(handle);
  if (it == Handles().end()) return MidiOutErrInvalidHandle;
  EndNotes(it->second);
  Handles().erase(it);
  MciSynth::Instance().Release();
  return MidiOutErrNone;
}

int MidiOutOpenCount() {
  return static_cast<int>(Handles().size());
}

void MidiOutCloseAll() {
  while (!Handles().empty()) MidiOutClose(Handles().begin()->first);
}

}  // namespace quorrel
