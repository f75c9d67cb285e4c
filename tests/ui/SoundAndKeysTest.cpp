#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>

#include "platform/Sound.h"
#include "shell/FileRoutines.h"
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

}  // namespace
}  // namespace quorrel
