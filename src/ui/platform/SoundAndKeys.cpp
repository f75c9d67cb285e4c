#include "ui/platform/SoundAndKeys.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>
#include <map>

#include "platform/Sound.h"
#include "shell/FileRoutines.h"

static void InitSoundResources() {
  Q_INIT_RESOURCE(sounds);
}

namespace quorrel {

namespace {

// One effect per sound, loaded on first use and kept, so a repeated sound
// starts at once.
void Play(const std::string& name) {
  // Owned by the application, so they go before the audio system does.
  static std::map<std::string, QPointer<QSoundEffect>> effects;
  QPointer<QSoundEffect>& effect = effects[name];
  if (!effect) {
    QString resource = ":/sounds/" + QString::fromLatin1(name.c_str()) + ".wav";
    if (!QFile::exists(resource)) return;
    effect = new QSoundEffect(QCoreApplication::instance());
    effect->setSource(QUrl("qrc" + resource));
  }
  // Without an audio device the effect never becomes ready and plays nothing.
  effect->play();
}

}  // namespace

void InstallSoundAndKeys() {
  InitSoundResources();
  SetSoundPlayer(Play);
  SetShiftKeyQuery(
      [] { return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier); });
}

}  // namespace quorrel
