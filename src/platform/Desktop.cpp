#include "platform/Desktop.h"

#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "platform/CodePage.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"

namespace quorrel {

namespace {

// A file manager that does not answer within this time is taken for absent.
constexpr int kFileManagerReplyMs = 3000;

class TDefaultDesktop : public TDesktop {
 public:
  void SetClipboardText(const std::string& text) override {
    clipboard = text;
    rtf.clear();
  }
  std::string ClipboardText() override { return clipboard; }
  bool ClipboardRich() override { return !rtf.empty(); }
  std::string ClipboardRtf() override { return rtf; }
  void SetClipboardRich(const std::string& text, const std::string& source) override {
    clipboard = text;
    rtf = source;
  }
  bool PrinterSetup() override { return false; }
  bool ShowInFileManager(const std::string& path) override {
    return ShowInFileManagerDefault(path);
  }

  std::string clipboard;
  std::string rtf;
};

TDefaultDesktop defaultDesktop;
TDesktop* installed = nullptr;

}  // namespace

TDesktop& Desktop() {
  return installed ? *installed : defaultDesktop;
}

void SetDesktop(TDesktop* desktop) {
  installed = desktop;
}

bool ShowInFileManagerDefault(const std::string& path) {
  // The freedesktop.org file manager interface shows a file selected in its folder.
  // A network address ("smb://host/share/...") is shown as it stands.
  const bool address = path.find("://") != std::string::npos;
  const QUrl target =
      address ? QUrl(AnsiToQString(path)) : QUrl::fromLocalFile(AnsiToQString(path));
  QString url = QString::fromUtf8(target.toEncoded());
  url.replace(',', "%2C");  // the bus tool separates array items by commas
  QProcess bus;
  bus.start(
      "dbus-send",
      {"--session", "--print-reply", "--reply-timeout=" + QString::number(kFileManagerReplyMs),
       "--dest=org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
       "org.freedesktop.FileManager1.ShowItems", "array:string:" + url, "string:"});
  if (bus.waitForFinished(kFileManagerReplyMs + 1000) && bus.exitStatus() == QProcess::NormalExit &&
      bus.exitCode() == 0) {
    return true;
  }
  if (bus.state() != QProcess::NotRunning) {
    bus.kill();
    bus.waitForFinished(1000);
  }
  return ShellOpen(ExtractFilePath(path));
}

void ResetDesktop() {
  installed = nullptr;
  defaultDesktop.clipboard.clear();
  defaultDesktop.rtf.clear();
}

namespace {
const TResetEntry resetDesktop(ResetDesktop);
}  // namespace

}  // namespace quorrel
