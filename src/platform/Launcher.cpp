#include "platform/Launcher.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "platform/Paths.h"
#include "platform/ResetRegistry.h"

namespace quorrel {

namespace {

bool DefaultShellOpen(const std::string& target) {
  // A local path goes as a file URL, so that xdg-open never takes it for an option.
  const QString native = QString::fromStdString(NativePath(target));
  const QString argument =
      target.starts_with("/") ? QUrl::fromLocalFile(native).toString(QUrl::FullyEncoded) : native;
  return QProcess::startDetached("xdg-open", QStringList{argument});
}

TLaunchFunction& ShellOpener() {
  static TLaunchFunction opener;
  return opener;
}

TLaunchFunction& PreviewOpener() {
  static TLaunchFunction opener;
  return opener;
}

}  // namespace

bool ShellOpen(const std::string& target) {
  return ShellOpener() ? ShellOpener()(target) : DefaultShellOpen(target);
}

void SetShellOpener(TLaunchFunction opener) {
  ShellOpener() = std::move(opener);
}

bool PreviewOpen(const std::string& target) {
  return PreviewOpener() ? PreviewOpener()(target) : ShellOpen(target);
}

void SetPreviewOpener(TLaunchFunction opener) {
  PreviewOpener() = std::move(opener);
}

void ResetLauncher() {
  ShellOpener() = nullptr;
  PreviewOpener() = nullptr;
}

namespace {
const TResetEntry resetLauncher(ResetLauncher);
}  // namespace

}  // namespace quorrel
