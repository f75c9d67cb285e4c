#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <fstream>
#include <sstream>

#include "platform/Sound.h"
#include "shell/FileRoutines.h"
#include "ui/platform/MediaModuleLoader.h"
#include "ui/platform/SoundAndKeys.h"

namespace quorrel {
namespace {

TEST(SoundAndKeysTest, TheProgramsSoundsArePlayableWaveResources) {
  InstallSoundAndKeys();
  for (const char* name : {"On", "Off", "Buzzer"}) {
    QFile file(QString(":/sounds/") + name + ".wav");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    QByteArray head = file.read(12);
    EXPECT_TRUE(head.startsWith("RIFF") && head.endsWith("WAVE")) << name;
  }
  // Asynchronous, and silent here where there is no audio device.
  QElapsedTimer clock;
  clock.start();
  PlayWaveResource("On");
  PlayWaveResource("Buzzer");
  PlayWaveResource("NoSuchSound");
  EXPECT_LT(clock.elapsed(), 1000);
  EXPECT_FALSE(IsShiftDown());
  SetSoundPlayer(nullptr);
  SetShiftKeyQuery(nullptr);
}

// The sounds are played by the media module, which brings Qt Multimedia with it.
TEST(SoundAndKeysTest, TheFirstSoundLoadsTheMediaModule) {
  InstallSoundAndKeys();
  PlayWaveResource("On");
  ASSERT_NE(MediaModule(), nullptr);
  std::ostringstream maps;
  maps << std::ifstream("/proc/self/maps").rdbuf();
  EXPECT_NE(maps.str().find(MediaModuleName()), std::string::npos);
  EXPECT_NE(maps.str().find("libQt6Multimedia.so"), std::string::npos);
  SetSoundPlayer(nullptr);
  SetShiftKeyQuery(nullptr);
}

}  // namespace
}  // namespace quorrel
