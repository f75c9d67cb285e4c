#include "platform/Launcher.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>

#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"

namespace quorrel {

namespace {

TLaunchFailed& FailedHandler() {
  static TLaunchFailed handler;
  return handler;
}

// What the opener wrote to standard error: only its end is kept, which says why it
// failed (the program it starts may write on for as long as it runs).
constexpr qsizetype MostErrorKept = 1000;

void KeepEnd(QByteArray& kept, const QByteArray& more) {
  kept.append(more);
  if (kept.size() > MostErrorKept) kept.remove(0, kept.size() - MostErrorKept);
}

// The last line of what the opener wrote: the lines before it may be the programs
// it tried.
std::string LastLine(const QByteArray& error) {
  const QList<QByteArray> lines = error.trimmed().split('\n');
  return QStringToAnsi(QString::fromLocal8Bit(lines.back().trimmed()));
}

bool DefaultShellOpen(const std::string& target) {
  // A local path goes as a file URL, so that xdg-open never takes it for an option.
  const QString native = QString::fromStdString(NativePath(target));
  const QString argument =
      target.starts_with("/") ? QUrl::fromLocalFile(native).toString(QUrl::FullyEncoded) : native;
  // Not detached: only its exit tells whether the hand-over worked. Without a
  // parent it is never destroyed before it ends, so a browser it runs stays open
  // when this program closes.
  auto* process = new QProcess();
  process->setStandardOutputFile(QProcess::nullDevice());
  auto error = std::make_shared<QByteArray>();
  QObject::connect(process, &QProcess::readyReadStandardError,
                   [process, error] { KeepEnd(*error, process->readAllStandardError()); });
  QObject::connect(process, &QProcess::finished,
                   [process, error, target](int code, QProcess::ExitStatus status) {
                     KeepEnd(*error, process->readAllStandardError());
                     process->deleteLater();
                     if (status == QProcess::NormalExit && code == 0) return;
                     if (FailedHandler())
                       FailedHandler()(ShellOpenProgram, target, LastLine(*error));
                   });
  process->start(ShellOpenProgram, QStringList{argument});
  if (process->waitForStarted()) return true;
  delete process;
  return false;
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

void SetShellOpenFailed(TLaunchFailed handler) {
  FailedHandler() = std::move(handler);
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
  FailedHandler() = nullptr;
  PreviewOpener() = nullptr;
}

namespace {
const TResetEntry resetLauncher(ResetLauncher);
}  // namespace

}  // namespace quorrel
