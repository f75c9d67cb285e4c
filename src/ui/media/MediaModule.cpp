#include "ui/media/MediaModule.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>
#include <map>
#include <string>

#include "ui/media/Mp3Player.h"

void QuorrelMediaPlaySound(const char* url) {
  // Owned by the application, so they go before the audio system does.
  static std::map<std::string, QPointer<QSoundEffect>> effects;
  QPointer<QSoundEffect>& effect = effects[url];
  if (!effect) {
    effect = new QSoundEffect(QCoreApplication::instance());
    effect->setSource(QUrl(QString::fromUtf8(url)));
  }
  // Without an audio device the effect never becomes ready and plays nothing.
  effect->play();
}

quorrel::MciDevice* QuorrelMediaNewMp3Device() {
  return new quorrel::TMp3Player;
}
