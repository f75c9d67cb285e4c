#include "platform/Sound.h"

namespace quorrel {

namespace {

std::function<void(const std::string&)>& Player() {
  static std::function<void(const std::string&)> player;
  return player;
}

}  // namespace

void PlaySound(const std::string& name) {
  if (Player()) Player()(name);
}

void SetSoundPlayer(std::function<void(const std::string& name)> player) {
  Player() = std::move(player);
}

}  // namespace quorrel
