#include "ui/platform/QtDesktop.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPointer>
#include <QTextDocument>

#include "platform/CodePage.h"
#include "ui/platform/QtPrinting.h"
#include "ui/platform/RtfWriter.h"

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

std::string TQtDesktop::ClipboardRtf() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data) return {};
  for (const char* format : {"text/rtf", "application/rtf", "text/richtext"}) {
    if (data->hasFormat(format)) return data->data(format).toStdString();
  }
  if (!data->hasHtml()) return {};
  QTextDocument document;
  document.setHtml(data->html());
  return WriteRtf(document);
}

void TQtDesktop::SetClipboardRich(const std::string& text, const std::string& rtf) {
  auto* data = new QMimeData;
  data->setText(AnsiToQString(text));
  data->setData("text/rtf", QByteArray::fromStdString(rtf));
  QGuiApplication::clipboard()->setMimeData(data);
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
