#include "support/SoundFiles.h"

#include <QProcess>
#include <cmath>
#include <cstdint>
#include <fstream>

namespace quorrel::test {

namespace {

void PutLe(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string ToneWav(int seconds) {
  const uint32_t rate = 44100;
  std::string samples;
  for (uint32_t i = 0; i < rate * uint32_t(seconds); ++i) {
    auto value = int16_t(8000 * std::sin(2 * M_PI * 440 * i / rate));
    PutLe(samples, uint16_t(value), 2);
  }
  std::string wav = "RIFF";
  PutLe(wav, uint32_t(36 + samples.size()), 4);
  wav += "WAVEfmt ";
  PutLe(wav, 16, 4);
  PutLe(wav, 1, 2);  // PCM
  PutLe(wav, 1, 2);  // mono
  PutLe(wav, rate, 4);
  PutLe(wav, rate * 2, 4);
  PutLe(wav, 2, 2);
  PutLe(wav, 16, 2);
  wav += "data";
  PutLe(wav, uint32_t(samples.size()), 4);
  return wav + samples;
}

std::string MakeToneMp3(const std::string& folder, const std::string& name, int seconds) {
  const std::string wav = folder + name + ".wav";
  const std::string mp3 = folder + name + ".mp3";
  std::ofstream(wav, std::ios::binary) << ToneWav(seconds);
  int result = QProcess::execute(
      "lame", {"--quiet", "-V2", QString::fromStdString(wav), QString::fromStdString(mp3)});
  return result == 0 ? mp3 : "";
}

}  // namespace quorrel::test
