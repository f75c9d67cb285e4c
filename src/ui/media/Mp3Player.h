#pragma once
// The MP3 player of the media module, on Qt Multimedia: the device the MIDI player
// control opens an MP3 document through, as it opens a MIDI file through the
// sequencer. It plays silently when there is no sound device.
#include <QObject>
#include <optional>

#include "platform/Mci.h"

class QAudioOutput;
class QMediaPlayer;
class QTimer;

namespace quorrel {

class TMp3Player : public QObject, public MciDevice {
 public:
  TMp3Player();
  ~TMp3Player() override;

  // `fileName` as the file system spells it, a regular file that exists.
  uint32_t Open(const std::string& fileName) override;
  uint32_t Play(std::optional<uint32_t> from, std::optional<uint32_t> to) override;
  uint32_t Pause() override;
  uint32_t Resume() override;
  uint32_t Stop() override;
  uint32_t Seek(uint32_t ms) override;
  uint32_t Length() const override { return length_; }
  uint32_t Position() const override;
  uint32_t Mode() const override;

 private:
  enum class State { Stopped, Playing, Paused };
  void Start();
  void Halt(State state);
  void ReachedEnd();

  QMediaPlayer* player_;
  QAudioOutput* output_;
  QTimer* toTimer_;  // ends a play that has an end point
  State state_ = State::Stopped;
  uint32_t length_ = 0;
  std::optional<uint32_t> to_;
  bool atEnd_ = false;
};

}  // namespace quorrel
