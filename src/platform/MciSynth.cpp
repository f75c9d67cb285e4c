#include "platform/MciSynth.h"

#include <fluidsynth.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <thread>

namespace quorrel {

const char* const kDefaultSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";

namespace {

MciClock clockMode = MciClock::Audio;
std::string soundFont = kDefaultSoundFont;

// The longest slice rendered at once: keeps the mutex free for the main thread.
constexpr int64_t kMaxSlice = 4096;
// How often the silent clock moves time on.
constexpr auto kClockPeriod = std::chrono::milliseconds(5);

// FluidSynth reports a missing sound server or device as an error on stderr; to us it
// only means that we play silently, and the open's own result says the rest.
void QuietLog(int, const char*, void*) {}

void SilenceFluidLog() {
  for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
    fluid_set_log_function(level, QuietLog, nullptr);
  }
}

bool HasSoundDevices() {
  struct stat info;
  return stat("/dev/snd", &info) == 0 && S_ISDIR(info.st_mode);
}

int AudioCallback(void* data, int len, int, float**, int nout, float** out) {
  if (nout < 1) return FLUID_FAILED;
  float* right = out[nout > 1 ? 1 : 0];
  static_cast<MciSynth*>(data)->Render(out[0], right, len, true);
  return FLUID_OK;
}

}  // namespace

struct MciSynth::Impl {
  fluid_settings_t* settings = nullptr;
  fluid_audio_driver_t* driver = nullptr;
  std::thread clock;
  std::mutex clockMutex;
  std::condition_variable clockWake;
  bool clockStop = false;
};

MciSynth& MciSynth::Instance() {
  // Never destroyed: an audio thread may still call in while the program exits.
  static MciSynth* instance = new MciSynth;
  return *instance;
}

bool MciSynth::Acquire() {
  if (holders_ > 0) {
    ++holders_;
    return true;
  }
  if (!Start()) return false;
  holders_ = 1;
  return true;
}

void MciSynth::Release() {
  if (holders_ == 0) return;
  if (--holders_ == 0) Stop();
}

bool MciSynth::Start() {
  SilenceFluidLog();
  impl_ = new Impl;
  impl_->settings = new_fluid_settings();
  fluid_settings_setnum(impl_->settings, "synth.sample-rate", kMciSampleRate);
  // Samples load when an instrument is first chosen: opening takes a moment instead of
  // reading the whole 150 MB font.
  fluid_settings_setint(impl_->settings, "synth.dynamic-sample-loading", 1);
  fluid_settings_setint(impl_->settings, "synth.lock-memory", 0);
  fluid_synth_t* synth = new_fluid_synth(impl_->settings);
  if (!synth || fluid_synth_sfload(synth, soundFont.c_str(), 1) == FLUID_FAILED) {
    if (synth) delete_fluid_synth(synth);
    delete_fluid_settings(impl_->settings);
    delete impl_;
    impl_ = nullptr;
    return false;
  }
  synth_ = synth;

  if (clockMode == MciClock::Manual) {
    outputName_ = "manual";
    return true;
  }
  if (clockMode == MciClock::Audio) {
    for (const char* driver : {"pulseaudio", "alsa"}) {
      if (std::string(driver) == "alsa" && !HasSoundDevices()) continue;
      fluid_settings_setstr(impl_->settings, "audio.driver", driver);
      impl_->driver = new_fluid_audio_driver2(impl_->settings, AudioCallback, this);
      if (impl_->driver) {
        outputName_ = driver;
        return true;
      }
    }
  }
  outputName_ = "silent";
  StartClockThread();
  return true;
}

void MciSynth::Stop() {
  // The output goes first, outside our mutex: its thread may be waiting for it.
  if (impl_->driver) delete_fluid_audio_driver(impl_->driver);
  StopClockThread();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    delete_fluid_synth(synth_);
    synth_ = nullptr;
  }
  delete_fluid_settings(impl_->settings);
  delete impl_;
  impl_ = nullptr;
  outputName_.clear();
}

void MciSynth::StartClockThread() {
  impl_->clockStop = false;
  impl_->clock = std::thread([this] { ClockThread(); });
}

void MciSynth::StopClockThread() {
  if (!impl_->clock.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(impl_->clockMutex);
    impl_->clockStop = true;
  }
  impl_->clockWake.notify_all();
  impl_->clock.join();
}

void MciSynth::ClockThread() {
  // Nobody listens, so nothing is synthesized: time moves on by the wall clock.
  auto start = std::chrono::steady_clock::now();
  int64_t done = 0;
  std::unique_lock<std::mutex> lock(impl_->clockMutex);
  while (!impl_->clockStop) {
    impl_->clockWake.wait_for(lock, kClockPeriod, [this] { return impl_->clockStop; });
    auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    int64_t due = elapsed.count() * kMciFramesPerMs / 1000;
    if (due > done) {
      Render(nullptr, nullptr, due - done, false);
      done = due;
    }
  }
}

void MciSynth::AddClient(MciRenderClient* client) {
  clients_.push_back(client);
}

void MciSynth::RemoveClient(MciRenderClient* client) {
  clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
}

void MciSynth::Render(float* left, float* right, int64_t frames, bool synthesize) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!synth_) {
    if (left) std::fill(left, left + frames, 0.0f);
    if (right) std::fill(right, right + frames, 0.0f);
    return;
  }
  int64_t done = 0;
  while (done < frames) {
    int64_t slice = std::min(frames - done, kMaxSlice);
    for (MciRenderClient* client : clients_) slice = client->Prepare(synth_, slice, synthesize);
    if (synthesize) {
      fluid_synth_write_float(synth_, static_cast<int>(slice), left + done, 0, 1, right + done, 0,
                              1);
    }
    for (MciRenderClient* client : clients_) client->Advance(synth_, slice, synthesize);
    done += slice;
  }
}

void SendMidiMessage(FluidSynth* synth, uint8_t status, uint8_t data1, uint8_t data2) {
  int channel = status & 0x0F;
  switch (status & 0xF0) {
    case 0x80:
      fluid_synth_noteoff(synth, channel, data1);
      break;
    case 0x90:
      if (data2 == 0) {
        fluid_synth_noteoff(synth, channel, data1);
      } else {
        fluid_synth_noteon(synth, channel, data1, data2);
      }
      break;
    case 0xA0:
      fluid_synth_key_pressure(synth, channel, data1, data2);
      break;
    case 0xB0:
      fluid_synth_cc(synth, channel, data1, data2);
      break;
    case 0xC0:
      fluid_synth_program_change(synth, channel, data1);
      break;
    case 0xD0:
      fluid_synth_channel_pressure(synth, channel, data1);
      break;
    case 0xE0:
      fluid_synth_pitch_bend(synth, channel, data1 | (data2 << 7));
      break;
    default:
      break;
  }
}

void SetMciClock(MciClock clock) {
  clockMode = clock;
}
MciClock GetMciClock() {
  return clockMode;
}

void SetMciSoundFont(const std::string& path) {
  soundFont = path;
}
std::string MciSoundFont() {
  return soundFont;
}

std::vector<float> MciRenderForTest(uint32_t ms) {
  int64_t frames = int64_t(ms) * kMciFramesPerMs;
  std::vector<float> left(frames), right(frames), both(frames * 2);
  MciSynth::Instance().Render(left.data(), right.data(), frames, true);
  for (int64_t i = 0; i < frames; ++i) {
    both[2 * i] = left[i];
    both[2 * i + 1] = right[i];
  }
  return both;
}

void MciAdvanceForTest(uint32_t ms) {
  MciSynth::Instance().Render(nullptr, nullptr, int64_t(ms) * kMciFramesPerMs, false);
}

}  // namespace quorrel
