#pragma once
// The program's sounds and its MP3 device live in a module of their own,
// libquorrel-media.so beside the program, loaded with the first sound or MP3: Qt
// Multimedia and the audio libraries it brings (PulseAudio, the codecs, Qt Network)
// then cost nothing at start-up. The module shares only these two entry points with
// the program, and the device interface of platform/Mci.h.

namespace quorrel {
class MciDevice;
}

#define QUORREL_MEDIA_EXPORT __attribute__((visibility("default")))

extern "C" {

// Plays one of the program's sounds by its resource address ("qrc:/sounds/x.wav").
// Each sound is loaded once and kept; without an audio device nothing is heard.
QUORREL_MEDIA_EXPORT void QuorrelMediaPlaySound(const char* url);

// A new MP3 device, owned by the caller. Its Open takes the file's name as the file
// system spells it, and expects a regular file that exists.
QUORREL_MEDIA_EXPORT quorrel::MciDevice* QuorrelMediaNewMp3Device();
}
