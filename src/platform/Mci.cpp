#include "platform/Mci.h"

#include <map>

#include "platform/MciSequencer.h"
#include "platform/MciSynth.h"
#include "platform/MidiOut.h"
#include "platform/ResetRegistry.h"

namespace quorrel {

namespace {

struct Registry {
  std::map<std::string, MciDeviceFactory> factories;  // by lower-case extension
  std::map<uint16_t, std::unique_ptr<MciDevice>> devices;
  uint16_t lastId = 0;
};

// Never destroyed: devices are closed by their owners, not by the exit of the program.
Registry& Devices() {
  static Registry* registry = [] {
    auto* r = new Registry;
    auto sequencer = [] { return std::make_unique<MciSequencer>(); };
    r->factories[".mid"] = sequencer;
    r->factories[".midi"] = sequencer;
    return r;
  }();
  return *registry;
}

std::string LowerExtension(const std::string& name) {
  size_t dot = name.rfind('.');
  size_t slash = name.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string ext = name.substr(dot);
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return ext;
}

MciDevice* Find(uint16_t deviceId) {
  auto it = Devices().devices.find(deviceId);
  return it == Devices().devices.end() ? nullptr : it->second.get();
}

uint16_t NewId() {
  Registry& r = Devices();
  do {
    ++r.lastId;
  } while (r.lastId == 0 || r.devices.count(r.lastId));
  return r.lastId;
}

}  // namespace

uint32_t MciOpen(const std::string& elementName, uint16_t& deviceId) {
  deviceId = 0;
  auto factory = Devices().factories.find(LowerExtension(elementName));
  if (factory == Devices().factories.end()) return MciErrExtensionNotFound;
  std::unique_ptr<MciDevice> device = factory->second();
  uint32_t error = device->Open(elementName);
  if (error != MciErrNone) return error;
  deviceId = NewId();
  Devices().devices[deviceId] = std::move(device);
  return MciErrNone;
}

uint32_t MciClose(uint16_t deviceId) {
  auto it = Devices().devices.find(deviceId);
  if (it == Devices().devices.end()) return MciErrInvalidDeviceId;
  Devices().devices.erase(it);
  return MciErrNone;
}

uint32_t MciPlay(uint16_t deviceId, std::optional<uint32_t> fromMs, std::optional<uint32_t> toMs) {
  MciDevice* device = Find(deviceId);
  return device ? device->Play(fromMs, toMs) : MciErrInvalidDeviceId;
}

uint32_t MciPause(uint16_t deviceId) {
  MciDevice* device = Find(deviceId);
  return device ? device->Pause() : MciErrInvalidDeviceId;
}

uint32_t MciResume(uint16_t deviceId) {
  MciDevice* device = Find(deviceId);
  return device ? device->Resume() : MciErrInvalidDeviceId;
}

uint32_t MciStop(uint16_t deviceId) {
  MciDevice* device = Find(deviceId);
  return device ? device->Stop() : MciErrInvalidDeviceId;
}

uint32_t MciSeek(uint16_t deviceId, uint32_t ms) {
  MciDevice* device = Find(deviceId);
  return device ? device->Seek(ms) : MciErrInvalidDeviceId;
}

uint32_t MciStatus(uint16_t deviceId, MciStatusItem item, uint32_t& value) {
  value = 0;
  MciDevice* device = Find(deviceId);
  if (!device) return MciErrInvalidDeviceId;
  switch (item) {
    case MciStatusLength:
      value = device->Length();
      return MciErrNone;
    case MciStatusPosition:
      value = device->Position();
      return MciErrNone;
    case MciStatusMode:
      value = device->Mode();
      return MciErrNone;
  }
  return MciErrUnknownItem;
}

bool MciGetErrorText(uint32_t error, std::string& text) {
  switch (error) {
    case MciErrNone:
      text = "The command completed.";
      return true;
    case MciErrInvalidDeviceId:
      text = "The media device is not open.";
      return true;
    case MciErrFileNotFound:
      text = "The file was not found. Make sure the folder and the file name are correct.";
      return true;
    case MciErrFileRead:
      text = "The file could not be read: it is a folder, or you may not read it.";
      return true;
    case MciErrNotMidiFile:
      text = "The file is not a MIDI file.";
      return true;
    case MciErrTruncatedFile:
      text = "The MIDI file is incomplete: it ends before its last track does.";
      return true;
    case MciErrDamagedFile:
      text = "The MIDI file is damaged: a track holds data that is not MIDI.";
      return true;
    case MciErrUnsupportedFile:
      text =
          "The MIDI file cannot be played: it is a format 2 file, uses an unknown time "
          "division or is too long.";
      return true;
    case MciErrExtensionNotFound:
      text = "No media device plays files of this type.";
      return true;
    case MciErrOutOfRange:
      text = "The position is beyond the end of the file.";
      return true;
    case MciErrNoSynthesizer:
      text = "The MIDI synthesizer could not start: the sound font " + MciSoundFont() +
             " could not be loaded.";
      return true;
    case MciErrUnknownItem:
      text = "The device does not report that item.";
      return true;
    case MciErrBadSoundFile:
      text = "The file cannot be played: it is damaged, or not a sound file of its type.";
      return true;
    case MciErrNoSoundModule:
      text =
          "Files of this type cannot be played: the program's media module "
          "(libquorrel-media.so, beside the program) is missing or could not be loaded.";
      return true;
  }
  text.clear();
  return false;
}

void MciCloseAll() {
  Devices().devices.clear();
}

void RegisterMciDevice(const std::string& extension, MciDeviceFactory factory) {
  Devices().factories[LowerExtension(extension)] = std::move(factory);
}

void ResetMciForTests() {
  MciCloseAll();
  MidiOutCloseAll();
  SetMciClock(MciClock::Manual);
  SetMciSoundFont(kDefaultSoundFont);
}

namespace {
const TResetEntry resetMciForTests(ResetMciForTests);
}  // namespace

}  // namespace quorrel
