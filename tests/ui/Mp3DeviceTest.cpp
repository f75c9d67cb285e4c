// The MP3 media device on Qt Multimedia, playing a real MP3 in real time with no
// sound device.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <fstream>
#include <functional>
#include <string>

#include "platform/Mci.h"
#include "support/SoundFiles.h"
#include "support/TestEnvironment.h"
#include "ui/music/Mp3Device.h"

namespace quorrel {
namespace {

// Lets events run until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

class Mp3DeviceTest : public ::testing::Test {
 protected:
  // One real MP3 for the suite: a generated tone encoded by Debian's lame.
  static void SetUpTestSuite() {
    folder_ = test::TestHome() + "mp3/";
    mkdir(folder_.c_str(), 0700);
    encoded_ = !test::MakeToneMp3(folder_, "tone", 3).empty();
  }

  void SetUp() override {
    ASSERT_TRUE(encoded_) << "lame could not encode the test tone";
    RegisterMp3Device();
  }

  uint16_t Open(const std::string& name) {
    uint16_t id = 0;
    EXPECT_EQ(MciOpen(folder_ + name, id), MciErrNone) << name;
    return id;
  }
  static uint32_t Status(uint16_t id, MciStatusItem item) {
    uint32_t value = 0;
    EXPECT_EQ(MciStatus(id, item, value), MciErrNone);
    return value;
  }
  static uint32_t Position(uint16_t id) { return Status(id, MciStatusPosition); }
  static uint32_t Mode(uint16_t id) { return Status(id, MciStatusMode); }
  // Lets the player run for a while and tells whether its position moved.
  static bool Moves(uint16_t id) {
    uint32_t start = Position(id);
    return WaitFor([&] { return Position(id) != start; }, 400);
  }

  static std::string folder_;
  static bool encoded_;
};

std::string Mp3DeviceTest::folder_;
bool Mp3DeviceTest::encoded_ = false;

TEST_F(Mp3DeviceTest, OpenGivesTheLengthStoppedAtTheStart) {
  uint16_t id = Open("tone.mp3");
  ASSERT_NE(id, 0);
  EXPECT_NEAR(double(Status(id, MciStatusLength)), 3000, 60);
  EXPECT_EQ(Position(id), 0u);
  EXPECT_EQ(Mode(id), MciModeStop);
  EXPECT_FALSE(Moves(id)) << "nothing plays before play";
  EXPECT_EQ(MciClose(id), MciErrNone);
}

TEST_F(Mp3DeviceTest, PlayPauseSeekAndResumeLandWhereAsked) {
  uint16_t id = Open("tone.mp3");
  ASSERT_EQ(MciPlay(id), MciErrNone);
  EXPECT_EQ(Mode(id), MciModePlay);
  ASSERT_TRUE(WaitFor([&] { return Position(id) >= 300; }));

  ASSERT_EQ(MciPause(id), MciErrNone);
  EXPECT_EQ(Mode(id), MciModePause);
  EXPECT_FALSE(Moves(id)) << "a paused device holds its place";

  ASSERT_EQ(MciSeek(id, 2000), MciErrNone);
  EXPECT_EQ(Position(id), 2000u);
  EXPECT_EQ(Mode(id), MciModePause) << "a paused device stays paused";

  ASSERT_EQ(MciResume(id), MciErrNone);
  EXPECT_EQ(Mode(id), MciModePlay);
  ASSERT_TRUE(WaitFor([&] { return Position(id) >= 2200; }));

  ASSERT_EQ(MciSeek(id, 1000), MciErrNone);
  EXPECT_EQ(Position(id), 1000u);
  EXPECT_EQ(Mode(id), MciModeStop) << "a seek stops a playing device";
  EXPECT_FALSE(Moves(id));

  ASSERT_EQ(MciPlay(id), MciErrNone);
  ASSERT_TRUE(WaitFor([&] { return Position(id) > 1100; }));
  ASSERT_EQ(MciStop(id), MciErrNone);
  EXPECT_EQ(Mode(id), MciModeStop);
  uint32_t stopped = Position(id);
  EXPECT_GE(stopped, 1100u) << "a stop keeps the position";
  EXPECT_FALSE(Moves(id));
  EXPECT_EQ(MciResume(id), MciErrNone);
  EXPECT_EQ(Mode(id), MciModeStop) << "resume does not start a stopped device";

  EXPECT_EQ(MciSeek(id, 3100), MciErrOutOfRange);
  EXPECT_EQ(MciPlay(id, 3100), MciErrOutOfRange);
  EXPECT_EQ(MciPlay(id, 2000, 1000), MciErrOutOfRange);
  EXPECT_EQ(Position(id), stopped);
}

TEST_F(Mp3DeviceTest, PlayEndsAtTheEndOfTheFileOrWhereAsked) {
  uint16_t id = Open("tone.mp3");
  const uint32_t length = Status(id, MciStatusLength);
  ASSERT_EQ(MciPlay(id, 500, 900), MciErrNone);
  ASSERT_TRUE(WaitFor([&] { return Mode(id) == MciModeStop; }));
  EXPECT_EQ(Position(id), 900u);

  ASSERT_EQ(MciPlay(id, length - 300), MciErrNone);
  ASSERT_TRUE(WaitFor([&] { return Mode(id) == MciModeStop; }));
  EXPECT_EQ(Position(id), length);
  ASSERT_EQ(MciPlay(id), MciErrNone);
  EXPECT_EQ(Mode(id), MciModeStop) << "a play at the end stops at once";

  ASSERT_EQ(MciPlay(id, 0), MciErrNone);
  EXPECT_EQ(Mode(id), MciModePlay) << "and a play from the start plays again";
  EXPECT_TRUE(Moves(id));
}

TEST_F(Mp3DeviceTest, FilesThatCannotPlayGiveTheirErrorAndTheDeviceStaysUsable) {
  std::ofstream(folder_ + "text.mp3") << "X:1\r\nT:Not a sound\r\nK:C\r\nCDEF|\r\n";
  std::ofstream(folder_ + "empty.mp3");
  mkdir((folder_ + "folder.mp3").c_str(), 0700);
  struct Case {
    const char* name;
    uint32_t error;
  };
  const Case cases[] = {
      {"missing.mp3", MciErrFileNotFound},
      {"text.mp3", MciErrBadSoundFile},
      {"empty.mp3", MciErrBadSoundFile},
      {"folder.mp3", MciErrFileRead},
  };
  for (const Case& c : cases) {
    uint16_t id = 99;
    EXPECT_EQ(MciOpen(folder_ + c.name, id), c.error) << c.name;
    EXPECT_EQ(id, 0) << c.name;
    std::string text;
    EXPECT_TRUE(MciGetErrorText(c.error, text)) << c.name;

    uint16_t good = Open("tone.mp3");
    ASSERT_EQ(MciPlay(good), MciErrNone) << c.name;
    EXPECT_TRUE(Moves(good)) << c.name;
    EXPECT_EQ(MciClose(good), MciErrNone) << c.name;
  }
}

TEST_F(Mp3DeviceTest, NameInWindows1252AndAnyCaseOfTheExtension) {
  const std::string name = "Caf\xE9.MP3";
  QFile::copy(QString::fromStdString(folder_ + "tone.mp3"),
              QString::fromLatin1((folder_ + name).c_str()));
  uint16_t id = Open(name);
  ASSERT_NE(id, 0);
  EXPECT_NEAR(double(Status(id, MciStatusLength)), 3000, 60);
}

}  // namespace
}  // namespace quorrel
