#include "ui/platform/QtDesktop.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPointer>

#include "platform/CodePage.h"
#include "ui/platform/QtPrinting.h"

namespace quorrel {

void TQtDesktop::SetClipboardText(const std::string& text) {
  QGuiApplication::clipboard()->setText(AnsiToQString(text));
}

std::string TQtDesktop::ClipboardText() {
  return QStringToAnsi(QGuiApplication::clipboard()->text());
}

bool TQtDesktop::ClipboardRich() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data) return false;
  for (const QString& format : data->formats()) {
    if (format == "text/rtf" || format == "application/rtf" || format == "text/richtext" ||
        format == "text/html" || format.startsWith("application/x-")) {
      return true;
    }
  }
  return false;
}

bool TQtDesktop::PrinterSetup() {
  // One printer for the run, so that the set-up stays as the user left it.
  QPageSetupDialog dialog(&RunPrinter(), QApplication::activeWindow());
  return dialog.exec() == QDialog::Accepted;
}

bool TQtDesktop::ShowInFileManager(const std::string& path) {
  return ShowInFileManagerDefault(path);
}

void InstallQtDesktop() {
  static QPointer<TQtDesktop> desktop;
  if (!desktop) {
    desktop = new TQtDesktop;
    desktop->setParent(qApp);
    QObject::connect(desktop, &QObject::destroyed, [] { SetDesktop(nullptr); });
  }
  SetDesktop(desktop.data());
}

}  // namespace quorrel
