#pragma once
// Real sound files for tests: a tone written as a WAV file, and the same encoded to
// MP3 by Debian's lame.
#include <string>

namespace quorrel::test {

// The bytes of a mono 16-bit 44.1 kHz WAV file of a 440 Hz tone.
std::string ToneWav(int seconds);

// Writes the tone as "<name>.wav" in the folder and encodes it as "<name>.mp3";
// returns the MP3's path, or "" when lame failed.
std::string MakeToneMp3(const std::string& folder, const std::string& name, int seconds);

}  // namespace quorrel::test
