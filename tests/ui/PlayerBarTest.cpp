// The player bar on the real main window: drawn from its model, and its buttons
// driving the player on MIDI and MP3 documents.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QTabWidget>
#include <QToolButton>
#include <functional>
#include <memory>
#include <string>

#include "music/AbcWorkFiles.h"
#include "music/MyPlayer.h"
#include "music/PlayerBar.h"
#include "platform/Mci.h"
#include "platform/MciSynth.h"
#include "platform/Paths.h"
#include "shell/Documents.h"
#include "shell/FastStrings.h"
#include "shell/MainWindow.h"
#include "shell/ShellState.h"
#include "shell/Timer.h"
#include "support/SoundFiles.h"
#include "support/TestEnvironment.h"
#include "ui/music/Mp3Device.h"
#include "ui/music/PlayerBarForm.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// A standard MIDI file of one track: a note of 500 ms in 4 s.
std::string FourSecondMidi() {
  std::string track = std::string("\x00\xC0\x00", 3) + std::string("\x00\x90\x3C\x64", 4) +
                      std::string("\x83\x60\x80\x3C\x40", 5) +  // 480 ticks later
                      std::string("\x9A\x20\xFF\x2F\x00", 5);   // 3360 ticks later
  std::string header = std::string("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0", 14);
  std::string length = {0, 0, 0, char(track.size())};
  return header + "MTrk" + length + track;
}

class PlayerBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = test::TestHome() + "bar/";
    mkdir(folder_.c_str(), 0700);
    form_ = std::make_unique<TWebForm>();
    SetMainWindow(form_.get());
    bar_ = InstallPlayerBar(form_.get());
    form_->resize(800, 600);
    form_->show();
    RegisterMp3Device();
    CreatePlayer();
    SetPlayerSleepForTests([](uint32_t) {});
  }
  void TearDown() override {
    Player.CloseDevice();
    SetMainWindow(nullptr);
    form_.reset();
  }

  // Opens the document in a tab of its own, as the open command does for music.
  void OpenMusic(const std::string& path) {
    NewDocumentTab(path);
    CurrentEditor = form_->TabEditor(form_->ActiveTab());
    CurrentFileName = path;
    CurrentExt = UpperCaseAnsi(ExtractFileExt(path));
    OpenInPlayer(path);
  }
  QToolButton* Button(const char* name) { return bar_->Button(name); }
  bool Shows(QWidget* widget) { return widget->isVisibleTo(form_.get()); }

  std::string folder_;
  std::unique_ptr<TWebForm> form_;
  TPlayerBar* bar_ = nullptr;
};

TEST_F(PlayerBarTest, BarSitsUnderThePagesAndFollowsItsModel) {
  EXPECT_EQ(bar_->objectName(), "PlayPnl");
  EXPECT_FALSE(Shows(bar_));
  EXPECT_EQ(Button("PlayBtn")->toolTip(), "Play from start (or start of repeated section)");
  EXPECT_EQ(Button("ABCBtn")->toolTip(), "Convert from MIDI to ABC");

  PlayPnl().SetVisible(true);
  ASSERT_TRUE(WaitFor([&] { return bar_->isVisible(); }));
  EXPECT_GT(bar_->geometry().top(), form_->PC()->geometry().top());
  struct Case {
    const char* button;
    std::function<void(bool)> set;
  };
  const Case cases[] = {
      {"SecB", [](bool on) { PlayPnl().SetSecBVisible(on); }},
      {"ABCBtn", [](bool on) { PlayPnl().SetABCBtnVisible(on); }},
      {"SlowBtn", [](bool on) { PlayPnl().SetSlowBtnVisible(on); }},
      {"FastBtn", [](bool on) { PlayPnl().SetFastBtnVisible(on); }},
  };
  for (const Case& c : cases) {
    for (bool on : {true, false}) {
      c.set(on);
      EXPECT_EQ(Shows(Button(c.button)), on) << c.button;
    }
  }
  PlayPnl().SetSliderWidth(137);
  EXPECT_EQ(bar_->Slider()->width(), 137);
  PlayPnl().SetVisible(false);
  EXPECT_FALSE(Shows(bar_));
}

TEST_F(PlayerBarTest, MidiDocumentIsControlledFromTheBar) {
  WriteFileBytes(folder_ + "tune.mid", FourSecondMidi());
  OpenMusic(folder_ + "tune.mid");
  EXPECT_TRUE(Shows(bar_));
  EXPECT_TRUE(Shows(Button("ABCBtn")));
  EXPECT_EQ(Player.GetLength(), 4000u);
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  MciAdvanceForTest(1000);

  Button("PauseBtn")->click();
  EXPECT_EQ(Player.GetMode(), PlayerPaused);
  EXPECT_EQ(Timer().Interval(), BlinkTimerInterval);
  Button("PauseBtn")->click();
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  EXPECT_EQ(Player.GetPosition(), 1000u);
  EXPECT_EQ(Timer().Interval(), PlayerTimerInterval);

  Button("StopBtn")->click();
  EXPECT_FALSE(Player.IsOpen);
  EXPECT_TRUE(Shows(bar_)) << "Stop keeps the bar";
  Button("PlayBtn")->click();
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  EXPECT_EQ(Player.GetPosition(), 0u);

  Button("CloseP")->click();
  EXPECT_FALSE(Shows(bar_));
  EXPECT_FALSE(Player.IsOpen);
  EXPECT_EQ(form_->TabCount(), 1) << "a MIDI document keeps its tab";
}

TEST_F(PlayerBarTest, Mp3DocumentPlaysPausesAndClosesWithItsTab) {
  const std::string mp3 = test::MakeToneMp3(folder_, "Tone", 3);
  ASSERT_FALSE(mp3.empty()) << "lame could not encode the test tone";
  OpenMusic(mp3);
  EXPECT_TRUE(Shows(bar_));
  EXPECT_FALSE(Shows(Button("ABCBtn"))) << "MP3 is not converted to ABC";
  EXPECT_NEAR(double(PlayLength), 3000, 60);
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  ASSERT_TRUE(WaitFor([] { return Player.GetPosition() >= 200; }));

  Button("PauseBtn")->click();
  EXPECT_EQ(Player.GetMode(), PlayerPaused);
  const uint32_t paused = Player.GetPosition();
  EXPECT_FALSE(WaitFor([&] { return Player.GetPosition() != paused; }, 400));
  Button("PauseBtn")->click();
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  ASSERT_TRUE(WaitFor([&] { return Player.GetPosition() > paused + 100; }));

  Player.SeekTo(2500);
  EXPECT_EQ(Player.GetPosition(), 2500u);
  Button("CloseP")->click();
  EXPECT_FALSE(Shows(bar_));
  EXPECT_FALSE(Player.IsOpen);
  EXPECT_EQ(form_->TabCount(), 0) << "the MP3 document's tab closes with the bar";
}

}  // namespace
}  // namespace quorrel
