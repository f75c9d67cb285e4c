#pragma once
// The media device for MP3 files: the MIDI player control opens an MP3 document
// through it as it opens a MIDI file through the sequencer. The player itself is in
// the media module, loaded with the first MP3.

namespace quorrel {

// Registers the device for ".mp3" files; the program does it at start-up.
void RegisterMp3Device();

}  // namespace quorrel
