#include "ui/platform/SoundAndKeys.h"

#include <QFile>
#include <QGuiApplication>

#include "platform/LazyLibrary.h"
#include "platform/Sound.h"
#include "shell/FileRoutines.h"
#include "ui/media/MediaModule.h"
#include "ui/platform/MediaModuleLoader.h"

static void InitSoundResources() {
  Q_INIT_RESOURCE(sounds);
}

namespace quorrel {

namespace {

// The media module plays it; the first sound loads the module.
void Play(const std::string& name) {
  const std::string resource = ":/sounds/" + name + ".wav";
  if (!QFile::exists(QString::fromLatin1(resource.c_str()))) return;
  static auto* const play =
      LazySymbol<decltype(QuorrelMediaPlaySound)>(MediaModule(), "QuorrelMediaPlaySound");
  if (play) play(("qrc" + resource).c_str());
}

}  // namespace

void InstallSoundAndKeys() {
  InitSoundResources();
  SetSoundPlayer(Play);
  SetShiftKeyQuery(
      [] { return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier); });
}

}  // namespace quorrel
