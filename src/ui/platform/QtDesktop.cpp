#include "ui/platform/QtDesktop.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrinter>

#include "editor/Activation.h"
#include "editor/Commands.h"
#include "platform/CodePage.h"

namespace quorrel {

namespace {

// X11 (and Wayland's XKB) modifier bits of Caps Lock and of Num Lock.
constexpr quint32 kCapsLockMask = 0x02;
constexpr quint32 kNumLockMask = 0x10;

}  // namespace

TQtDesktop::TQtDesktop() : printer_(new QPrinter) {}

TQtDesktop::~TQtDesktop() {
  delete printer_;
}

void TQtDesktop::SetClipboardText(const std::string& text) {
  QGuiApplication::clipboard()->setText(AnsiToQString(text));
}

std::string TQtDesktop::ClipboardText() {
  return QStringToAnsi(QGuiApplication::clipboard()->text());
}

bool TQtDesktop::PrinterSetup() {
  QPageSetupDialog dialog(printer_, QApplication::activeWindow());
  return dialog.exec() == QDialog::Accepted;
}

bool TQtDesktop::ShowInFileManager(const std::string& path) {
  return ShowInFileManagerDefault(path);
}

bool TQtDesktop::LocksInNativeModifiers(quint32 nativeModifiers) {
  const QString platform = QGuiApplication::platformName();
  if (platform != "xcb" && !platform.startsWith("wayland")) return false;
  return (nativeModifiers & (kCapsLockMask | kNumLockMask)) != 0;
}

bool TQtDesktop::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    locksOn_ = LocksInNativeModifiers(static_cast<QKeyEvent*>(event)->nativeModifiers());
  }
  return QObject::eventFilter(watched, event);
}

void InstallQtDesktop() {
  static QPointer<TQtDesktop> desktop;
  if (desktop) {
    SetDesktop(desktop.data());
    return;
  }
  desktop = new TQtDesktop;
  desktop->setParent(qApp);
  qApp->installEventFilter(desktop);
  SetDesktop(desktop.data());
  QObject::connect(desktop, &QObject::destroyed, [] { SetDesktop(nullptr); });
  QObject::connect(qApp, &QGuiApplication::applicationStateChanged, desktop,
                   [](Qt::ApplicationState state) {
                     if (state == Qt::ApplicationActive) RunGuarded(ApplicationActivate);
                   });
}

}  // namespace quorrel
