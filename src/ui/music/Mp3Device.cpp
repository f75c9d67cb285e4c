#include "ui/music/Mp3Device.h"

#include <sys/stat.h>

#include <memory>

#include "platform/LazyLibrary.h"
#include "platform/Mci.h"
#include "platform/Paths.h"
#include "ui/media/MediaModule.h"
#include "ui/platform/MediaModuleLoader.h"

namespace quorrel {

namespace {

// Takes program paths and passes the call on to the module's player, which is made
// with the device: a device opened with no module reports that it cannot play.
class TMp3Device : public MciDevice {
 public:
  TMp3Device() {
    auto* make = LazySymbol<decltype(QuorrelMediaNewMp3Device)>(MediaModule(),
                                                                 "QuorrelMediaNewMp3Device");
    if (make) player_.reset(make());
  }

  uint32_t Open(const std::string& fileName) override {
    const std::string native = NativePath(fileName);
    struct stat info;
    if (stat(native.c_str(), &info) != 0) return MciErrFileNotFound;
    if (!S_ISREG(info.st_mode)) return MciErrFileRead;
    if (!player_) return MciErrNoSoundModule;
    return player_->Open(native);
  }
  uint32_t Play(std::optional<uint32_t> from, std::optional<uint32_t> to) override {
    return player_ ? player_->Play(from, to) : MciErrNoSoundModule;
  }
  uint32_t Pause() override { return player_ ? player_->Pause() : MciErrNone; }
  uint32_t Resume() override { return player_ ? player_->Resume() : MciErrNone; }
  uint32_t Stop() override { return player_ ? player_->Stop() : MciErrNone; }
  uint32_t Seek(uint32_t ms) override { return player_ ? player_->Seek(ms) : MciErrOutOfRange; }
  uint32_t Length() const override { return player_ ? player_->Length() : 0; }
  uint32_t Position() const override { return player_ ? player_->Position() : 0; }
  uint32_t Mode() const override { return player_ ? player_->Mode() : MciModeStop; }

 private:
  std::unique_ptr<MciDevice> player_;
};

}  // namespace

void RegisterMp3Device() {
  RegisterMciDevice(".mp3", [] { return std::make_unique<TMp3Device>(); });
}

}  // namespace quorrel
