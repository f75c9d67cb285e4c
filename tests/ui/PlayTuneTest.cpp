// "Play" on a real example tune in the real main window: abc2midi converts it, the
// player bar shows and follows the player, and its buttons and gauge control it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <memory>

#include "commands/OpenDocs.h"
#include "music/AbcWorkFiles.h"
#include "music/MyPlayer.h"
#include "music/PlayerBar.h"
#include "music/PlayerSections.h"
#include "platform/IniFile.h"
#include "platform/MciSynth.h"
#include "shell/DocumentsOpen.h"
#include "shell/FileRoutines.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/Timer.h"
#include "support/Installed.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "ui/music/PlayerBarForm.h"
#include "ui/platform/RichEdit.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

class PlayTuneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = test::TestHome() + "play-tune/";
    fs::create_directories(folder_);
    SettingsIni = std::make_unique<TIniFile>(test::TestHome() + "play-tune.ini");
    form_ = std::make_unique<TWebForm>();
    SetMainWindow(form_.get());
    bar_ = InstallPlayerBar(form_.get());
    form_->resize(900, 600);
    form_->show();
    QApplication::processEvents();
    AppPhase = 1;
    MainMenu().SetChecked("ValSave", false);
    CreatePlayer();
    SetPlayerSleepForTests([](uint32_t) {});
  }
  void TearDown() override {
    Player.CloseDevice();
    SetMainWindow(nullptr);
    CurrentEditor = nullptr;
    form_.reset();
    SettingsIni.reset();
  }

  QToolButton* Button(const char* name) { return bar_->Button(name); }
  QString Label(const char* name) { return bar_->findChild<QLabel*>(name)->text(); }

  std::string folder_;
  std::unique_ptr<TWebForm> form_;
  TPlayerBar* bar_ = nullptr;
};

TEST_F(PlayTuneTest, ARealTunePlaysPausesResumesAndStopsFromTheBar) {
  const std::string tune = folder_ + "coleraine.abc";
  const std::string example = "/usr/share/doc/abcmidi/examples/coleraine.abc";
  ASSERT_TRUE(test::Installed(example, "abcmidi"));
  fs::copy_file(example, tune, fs::copy_options::overwrite_existing);
  OpenThis(tune);
  ASSERT_NE(CurrentEditor, nullptr);
  ASSERT_TRUE(IsAbc);

  ASSERT_TRUE(MainMenu().Click("Play"));
  EXPECT_TRUE(test::Dialogs().Texts().empty());
  ASSERT_TRUE(WaitFor([&] { return bar_->isVisible(); }));
  EXPECT_EQ(Player.FileName, TempMidiFile());
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  EXPECT_GT(PlayLength, 10000);
  EXPECT_EQ(Timer().Interval(), PlayerTimerInterval);
  EXPECT_EQ(PlayPnl().GaugeWidth(), bar_->MGauge()->width());

  // The position advances and the bar follows it on the timer's ticks.
  MciAdvanceForTest(2100);
  ASSERT_TRUE(WaitFor([&] { return Label("LEDElapsed") == "0:02"; }));
  EXPECT_EQ(Label("LEDTLen").toStdString(), FormatMinSec(PlayLength));
  EXPECT_GT(bar_->Slider()->width(), 0);

  Button("PauseBtn")->click();
  EXPECT_EQ(Player.GetMode(), PlayerPaused);
  const uint32_t paused = Player.GetPosition();
  MciAdvanceForTest(500);
  EXPECT_EQ(Player.GetPosition(), paused);
  Button("PauseBtn")->click();
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  MciAdvanceForTest(500);
  EXPECT_GT(Player.GetPosition(), paused);

  // A click half way along the gauge seeks there.
  const int half = bar_->MGauge()->width() / 2;
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(half, 5),
                    bar_->MGauge()->mapToGlobal(QPointF(half, 5)), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(bar_->MGauge(), &press);
  EXPECT_TRUE(GaugeSeeked);
  EXPECT_EQ(Player.GetPosition(), uint32_t(GaugeTarget(half, PlayPnl().GaugeWidth(), PlayLength)));
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);

  // A repeated section: A here, B a second later; E and 0 come with B.
  Button("SecA")->click();
  MciAdvanceForTest(1000);
  Button("SecB")->click();
  EXPECT_TRUE(Button("SecE")->isVisible());
  EXPECT_TRUE(Button("Sec0")->isVisible());
  EXPECT_TRUE(bar_->findChild<QFrame*>("RepLine")->isVisible());
  Button("Sec0")->click();
  EXPECT_FALSE(Button("SecE")->isVisible());
  EXPECT_FALSE(bar_->findChild<QFrame*>("RepLine")->isVisible());

  Button("StopBtn")->click();
  EXPECT_FALSE(Player.IsOpen);
  EXPECT_TRUE(bar_->isVisible()) << "Stop leaves the bar";
  EXPECT_EQ(Timer().Interval(), BlinkTimerInterval);
  EXPECT_TRUE(test::Dialogs().Texts().empty());
}

// The same window under the default application font and a larger one: the
// editor's lines and the bar's height both follow the fonts.
class PlayTuneFontTest : public PlayTuneTest, public ::testing::WithParamInterface<double> {
 protected:
  void SetUp() override {
    kept_ = QApplication::font();
    if (GetParam() != 1.0) {
      QFont larger = kept_;
      if (kept_.pointSizeF() > 0) {
        larger.setPointSizeF(kept_.pointSizeF() * GetParam());
      } else {
        larger.setPixelSize(static_cast<int>(kept_.pixelSize() * GetParam()));
      }
      QApplication::setFont(larger);
    }
    PlayTuneTest::SetUp();
  }
  void TearDown() override {
    PlayTuneTest::TearDown();
    QApplication::setFont(kept_);
  }

 private:
  QFont kept_;
};

// F4 with the caret on the editor's last visible line: the bar that appears takes
// its room from the editor, and the caret's line must stay in view above it.
TEST_P(PlayTuneFontTest, TheCaretLineStaysInViewAboveTheNewBar) {
  const std::string tunes = folder_ + "demo.abc";
  fs::copy_file("/usr/share/doc/abcmidi/examples/demo.abc", tunes,
                fs::copy_options::overwrite_existing);
  // Opened without playing (OpenThis plays a tune file).
  OpenInNewTab(tunes);
  ASSERT_FALSE(bar_->isVisible());
  auto* editor = dynamic_cast<TRichEdit*>(CurrentEditor);
  ASSERT_NE(editor, nullptr);
  QApplication::processEvents();
  // The caret on the last line the editor shows whole, well inside a tune: the line
  // at the view's bottom edge may show only in part, by how the fonts fall.
  const auto wholeInView = [&] {
    return editor->viewport()->rect().contains(editor->cursorRect());
  };
  size_t line = editor->LineFromChar(editor->BottomLeftPos());
  editor->Select(editor->LineIndex(line), 0);
  while (line > 0 && !wholeInView()) editor->Select(editor->LineIndex(--line), 0);
  ASSERT_TRUE(wholeInView());
  ASSERT_GT(line, 20u);

  ASSERT_TRUE(MainMenu().Click("Play"));
  ASSERT_TRUE(WaitFor([&] { return bar_->isVisible(); }));
  QApplication::processEvents();
  EXPECT_EQ(Player.GetMode(), PlayerPlaying);
  EXPECT_EQ(editor->LineFromChar(editor->SelStart()), line) << "the caret stays on its line";
  const QRect caret = editor->cursorRect();
  EXPECT_GE(caret.top(), 0);
  EXPECT_LT(caret.bottom(), editor->viewport()->height()) << "the caret's line is in view";
  const QRect editorOnForm(editor->mapTo(form_.get(), QPoint(0, 0)), editor->size());
  EXPECT_LE(editorOnForm.bottom(), bar_->mapTo(form_.get(), QPoint(0, 0)).y())
      << "the editor ends where the bar begins";
  Player.StopPlay();
}

INSTANTIATE_TEST_SUITE_P(Fonts, PlayTuneFontTest, ::testing::Values(1.0, 1.6),
                         [](const ::testing::TestParamInfo<double>& info) {
                           return std::string(info.param == 1.0 ? "Default" : "Larger");
                         });

}  // namespace
}  // namespace quorrel
