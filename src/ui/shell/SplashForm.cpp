#include "ui/shell/SplashForm.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "platform/CodePage.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"

namespace quorrel {

namespace {

constexpr int kWidth = 320;

}  // namespace

TSplashForm::TSplashForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("SplashForm");

  Panel = new QFrame(this);
  Panel->setObjectName("Panel");
  Panel->setFrameShape(QFrame::Panel);
  Panel->setFrameShadow(QFrame::Raised);

  Title = new QLabel("Varek Dask's", Panel);
  Title->setObjectName("Title");
  Title->setAlignment(Qt::AlignCenter);

  ProgName = new QLabel("Quorrel", Panel);
  ProgName->setObjectName("ProgName");
  ProgName->setAlignment(Qt::AlignCenter);
  QFont big = ProgName->font();
  big.setPointSize(18);
  big.setBold(true);
  ProgName->setFont(big);

  VInfo = new QLabel(Panel);
  VInfo->setObjectName("VInfo");
  VInfo->setAlignment(Qt::AlignCenter);
  VInfo->hide();

  OKBtn = new QPushButton("OK", Panel);
  OKBtn->setObjectName("OKBtn");
  OKBtn->hide();
  connect(OKBtn, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TSplashForm::ShowSplash(const QStringList& parameters) {
  std::string first = parameters.isEmpty() ? std::string() : QStringToAnsi(parameters.first());
  TSplashMode mode = SplashModeFor(ProgramDir, first);
  ProgName->setText(AnsiToQString(mode.progName));
  if (mode.notepad) NotepadMode = true;
  VInfo->hide();
  OKBtn->hide();
  Arrange(mode.height);
  show();
  raise();
  // Measured on the screen the splash stands on, as every later form will be.
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (screen) CheckLargeFonts(screen->logicalDotsPerInchY());
}

int TSplashForm::ShowAbout() {
  VInfo->setText(AnsiToQString(AboutVersionLine()));
  VInfo->show();
  OKBtn->show();
  OKBtn->setDefault(true);
  Arrange(140);
  return exec();
}

void TSplashForm::Arrange(int height) {
  setFixedSize(kWidth, height);
  Panel->setGeometry(0, 0, kWidth, height);
  Title->setGeometry(0, 6, kWidth, 18);
  ProgName->setGeometry(0, 24, kWidth, 40);
  VInfo->setGeometry(0, 70, kWidth, 20);
  OKBtn->setGeometry((kWidth - 80) / 2, 100, 80, 28);
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (screen) move(screen->availableGeometry().center() - rect().center());
}

}  // namespace quorrel
