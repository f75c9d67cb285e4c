#include "platform/Processes.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QThread>
#include <memory>

#include "platform/Instances.h"
#include "platform/Paths.h"
#include "platform/ResetRegistry.h"
#include "platform/UserDialogs.h"

namespace quorrel {

namespace {

struct TStarted {
  std::unique_ptr<QProcess> process;
  int64_t pid = 0;
  std::string program;
  std::string title;
};

// Never destroyed: a QProcess kills its program when it goes, and viewers the
// user opened from here stay open after the editor has closed.
std::vector<TStarted>& Table() {
  static auto* table = new std::vector<TStarted>;
  return *table;
}

// The program WaitForOutputFile waits for; 0 when none was started.
int64_t lastStartedPid = 0;

QString ToQ(const std::string& bytes) {
  return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string FromQ(const QString& text) {
  QByteArray bytes = QFile::encodeName(text);
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool IsRunning(QProcess& process) {
  // Lets the process notice an exit whose event has not been delivered yet.
  if (process.state() != QProcess::NotRunning) process.waitForFinished(0);
  return process.state() != QProcess::NotRunning;
}

// Forgets programs that have ended, so the table holds only what may still run.
void ForgetEnded() {
  auto& table = Table();
  std::erase_if(table, [](TStarted& entry) { return !IsRunning(*entry.process); });
}

TStarted* FindByPid(int64_t pid) {
  for (auto& entry : Table()) {
    if (entry.pid == pid) return &entry;
  }
  return nullptr;
}

void End(QProcess& process) {
  process.terminate();
  if (!process.waitForFinished(2000)) {
    process.kill();
    process.waitForFinished(2000);
  }
}

// Program names and titles are compared as their ASCII letters go, any case.
std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

bool ContainsNoCase(const std::string& text, const std::string& fragment) {
  return UpperAscii(text).find(UpperAscii(fragment)) != std::string::npos;
}

}  // namespace

std::string FindProgram(const std::string& program) {
  if (program.empty()) return "";
  if (program.find('/') != std::string::npos) {
    struct stat info {};
    if (stat(program.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return "";
    return access(program.c_str(), X_OK) == 0 ? program : "";
  }
  QString found = QStandardPaths::findExecutable(ToQ(program));
  return found.isEmpty() ? "" : FromQ(found);
}

TStartResult StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const TRunOptions& options) {
  std::string path = FindProgram(program);
  if (path.empty()) {
    struct stat info {};
    if (program.find('/') == std::string::npos) return {TStartOutcome::NotFound, ENOENT};
    if (stat(program.c_str(), &info) != 0) return {TStartOutcome::NotFound, errno};
    if (S_ISDIR(info.st_mode)) return {TStartOutcome::NotFound, EISDIR};
    // There is a file, but this user may not run it.
    return {TStartOutcome::NotExecutable, access(program.c_str(), X_OK) != 0 ? errno : EACCES};
  }

  ForgetEnded();
  auto process = std::make_unique<QProcess>();
  QStringList args;
  for (const auto& a : arguments) args << ToQ(a);
  process->setProgram(ToQ(path));
  process->setArguments(args);
  // A tool that asks a question nobody gave it an answer for gets an empty input
  // instead of waiting for one forever.
  if (!options.input) process->setStandardInputFile(QProcess::nullDevice());
  process->setStandardOutputFile(options.stdoutFile.empty() ? QProcess::nullDevice()
                                                            : ToQ(options.stdoutFile));
  process->setStandardErrorFile(options.stderrFile.empty() ? QProcess::nullDevice()
                                                           : ToQ(options.stderrFile));
  if (!options.workingFolder.empty()) process->setWorkingDirectory(ToQ(options.workingFolder));
  process->start(options.input ? QIODevice::WriteOnly : QIODevice::NotOpen);
  if (!process->waitForStarted(10000)) {
    // exec fails on a file that is executable but holds no program.
    return {TStartOutcome::NotStarted, ENOEXEC};
  }
  if (options.input) {
    // Handed over now, while the pipe takes it whole, so that it does not wait in
    // our buffer for an event loop; then the input ends, as a typed answer would.
    process->write(options.input->data(), static_cast<qint64>(options.input->size()));
    process->waitForBytesWritten(10000);
    process->closeWriteChannel();
  }
  TStarted entry;
  entry.pid = process->processId();
  entry.program = path;
  entry.title = options.title.empty() ? ExtractFileName(path) : options.title;
  entry.process = std::move(process);
  lastStartedPid = entry.pid;
  Table().push_back(std::move(entry));
  return {TStartOutcome::Started, 0};
}

TOutputFileState WaitForOutput(const std::string& path, int seconds) {
  QElapsedTimer clock;
  clock.start();
  const qint64 limit = static_cast<qint64>(seconds) * 1000;
  // Looked up afresh each time: a command run meanwhile may start programs too.
  const int64_t awaited = lastStartedPid;
  const bool started = FindByPid(awaited) != nullptr;
  for (;;) {
    qint64 left = limit - clock.elapsed();
    TStarted* entry = FindByPid(awaited);
    if (entry && IsRunning(*entry->process)) {
      if (left <= 0) break;
      entry->process->waitForFinished(static_cast<int>(std::min<qint64>(left, 50)));
      UserDialogs().ProcessMessages();
      continue;
    }
    // Our program has finished (or none was started here): the file is as
    // complete as it will get.
    struct stat info {};
    bool ready = stat(path.c_str(), &info) == 0 && info.st_size > 0;
    if (ready || started || left <= 0) break;
    UserDialogs().ProcessMessages();
    QThread::msleep(20);
  }

  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return {false, 0};
  return {true, static_cast<int64_t>(info.st_size)};
}

int WaitForLastProgram() {
  const int64_t awaited = lastStartedPid;
  for (;;) {
    // Looked up afresh each time: a command run meanwhile may start programs too.
    TStarted* entry = FindByPid(awaited);
    if (!entry) return -1;
    QProcess& process = *entry->process;
    if (!IsRunning(process)) {
      return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    process.waitForFinished(50);
    UserDialogs().ProcessMessages();
  }
}

int64_t LastStartedPid() {
  return lastStartedPid;
}

bool EndProcess(int64_t pid) {
  TStarted* entry = pid != 0 ? FindByPid(pid) : nullptr;
  const bool running = entry && IsRunning(*entry->process);
  if (running) End(*entry->process);
  ForgetEnded();
  return running;
}

int KillWindowsByTitle(const std::string& fragment) {
  int ended = 0;
  for (auto& entry : Table()) {
    if (!ContainsNoCase(entry.title, fragment) || ContainsNoCase(entry.title, "VLC ")) continue;
    if (!IsRunning(*entry.process)) continue;
    End(*entry.process);
    ++ended;
  }
  ForgetEnded();
  return ended;
}

int KillProcessByName(const std::string& name) {
  std::string wanted = UpperAscii(ExtractFileName(name));
  int ended = 0;
  for (auto& entry : Table()) {
    if (UpperAscii(ExtractFileName(entry.program)) != wanted) continue;
    if (!IsRunning(*entry.process)) continue;
    End(*entry.process);
    ++ended;
  }
  ForgetEnded();
  return ended;
}

void ListTaskWindow(std::string& text) {
  std::vector<std::string> titles = LiveInstanceTitles();
  for (auto& entry : Table()) {
    if (IsRunning(*entry.process)) titles.push_back(entry.title);
  }
  for (const auto& title : titles) {
    if (!title.empty()) text += title + "\r\n";
  }
}

std::vector<TProcessInfo> StartedProcesses() {
  std::vector<TProcessInfo> list;
  for (auto& entry : Table()) {
    list.push_back({entry.pid, entry.program, entry.title, IsRunning(*entry.process)});
  }
  return list;
}

void ResetProcesses() {
  for (auto& entry : Table()) {
    if (IsRunning(*entry.process)) End(*entry.process);
  }
  Table().clear();
  lastStartedPid = 0;
}

namespace {
const TResetEntry resetProcesses(ResetProcesses);
}  // namespace

}  // namespace quorrel
