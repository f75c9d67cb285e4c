#include "ui/media/Mp3Player.h"

#include <QAudioOutput>
#include <QEventLoop>
#include <QFile>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

namespace quorrel {

namespace {

// How long opening waits for the file's first frames to be read.
constexpr int kLoadTimeoutMs = 10000;

bool Loaded(QMediaPlayer::MediaStatus status) {
  return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferedMedia ||
         status == QMediaPlayer::BufferingMedia;
}

}  // namespace

TMp3Player::TMp3Player()
    : player_(new QMediaPlayer(this)), output_(new QAudioOutput(this)), toTimer_(new QTimer(this)) {
  player_->setAudioOutput(output_);
  toTimer_->setSingleShot(true);
  toTimer_->setTimerType(Qt::PreciseTimer);
  connect(toTimer_, &QTimer::timeout, this, [this] {
    if (state_ != State::Playing || !to_) return;
    uint32_t to = *to_;
    Halt(State::Stopped);
    player_->setPosition(to);
  });
  connect(player_, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus s) {
    if (s == QMediaPlayer::EndOfMedia) ReachedEnd();
  });
}

TMp3Player::~TMp3Player() {
  player_->stop();
}

uint32_t TMp3Player::Open(const std::string& fileName) {
  bool failed = false;
  QEventLoop loop;
  connect(player_, &QMediaPlayer::mediaStatusChanged, &loop, [&](QMediaPlayer::MediaStatus s) {
    if (Loaded(s) || s == QMediaPlayer::InvalidMedia) loop.quit();
  });
  connect(player_, &QMediaPlayer::errorOccurred, &loop, [&] {
    failed = true;
    loop.quit();
  });
  QTimer::singleShot(kLoadTimeoutMs, &loop, &QEventLoop::quit);
  player_->setSource(QUrl::fromLocalFile(QFile::decodeName(fileName.c_str())));
  QMediaPlayer::MediaStatus status = player_->mediaStatus();
  if (!failed && !Loaded(status) && status != QMediaPlayer::InvalidMedia) {
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  if (failed || !Loaded(player_->mediaStatus()) || player_->duration() <= 0) {
    player_->setSource(QUrl());
    return MciErrBadSoundFile;
  }
  length_ = static_cast<uint32_t>(player_->duration());
  return MciErrNone;
}

uint32_t TMp3Player::Play(std::optional<uint32_t> from, std::optional<uint32_t> to) {
  uint32_t start = from ? *from : Position();
  if (start > length_ || (to && (*to > length_ || *to < start))) return MciErrOutOfRange;
  if (from) {
    player_->setPosition(*from);
    atEnd_ = false;
  }
  to_ = to;
  if (atEnd_ || start >= length_ || (to_ && *to_ == start)) {
    Halt(State::Stopped);
    return MciErrNone;
  }
  Start();
  return MciErrNone;
}

uint32_t TMp3Player::Pause() {
  if (state_ == State::Playing) Halt(State::Paused);
  return MciErrNone;
}

uint32_t TMp3Player::Resume() {
  if (state_ == State::Paused) Start();
  return MciErrNone;
}

uint32_t TMp3Player::Stop() {
  if (state_ != State::Stopped) Halt(State::Stopped);
  return MciErrNone;
}

uint32_t TMp3Player::Seek(uint32_t ms) {
  if (ms > length_) return MciErrOutOfRange;
  if (state_ == State::Playing) Halt(State::Stopped);
  player_->setPosition(ms);
  atEnd_ = false;
  return MciErrNone;
}

uint32_t TMp3Player::Position() const {
  if (atEnd_) return length_;
  qint64 position = player_->position();
  if (position < 0) return 0;
  return position > length_ ? length_ : static_cast<uint32_t>(position);
}

uint32_t TMp3Player::Mode() const {
  switch (state_) {
    case State::Playing:
      return MciModePlay;
    case State::Paused:
      return MciModePause;
    case State::Stopped:
      break;
  }
  return MciModeStop;
}

void TMp3Player::Start() {
  state_ = State::Playing;
  if (to_) toTimer_->start(static_cast<int>(*to_ - std::min(*to_, Position())));
  player_->play();
}

// Stopped and paused are both a paused player: QMediaPlayer's stop would lose
// the position, which a stopped device keeps.
void TMp3Player::Halt(State state) {
  toTimer_->stop();
  if (player_->playbackState() == QMediaPlayer::PlayingState) player_->pause();
  state_ = state;
}

void TMp3Player::ReachedEnd() {
  toTimer_->stop();
  state_ = State::Stopped;
  atEnd_ = true;
}

}  // namespace quorrel
