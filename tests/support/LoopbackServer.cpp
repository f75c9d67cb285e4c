#include "support/LoopbackServer.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace quorrel::test {

uint16_t FreeLoopbackPort() {
  QTcpServer probe;
  if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
  return probe.serverPort();
}

LoopbackServer::~LoopbackServer() {
  Stop();
}

bool LoopbackServer::Launch(const QString& program, const QStringList& args) {
  process_.start(program, args);
  return process_.waitForStarted(kStartMs);
}

bool LoopbackServer::TakeAnnouncedPort() {
  QDeadlineTimer deadline(kStartMs);
  while (!process_.canReadLine() && !deadline.hasExpired()) {
    if (!process_.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) break;
  }
  bool ok = false;
  const uint16_t port = process_.canReadLine() ? process_.readLine().trimmed().toUShort(&ok) : 0;
  if (!ok || !port) return false;
  port_ = port;
  return true;
}

bool LoopbackServer::TakePortWhenListening(uint16_t port, const QByteArray& greeting) {
  QDeadlineTimer deadline(kStartMs);
  while (!deadline.hasExpired() && process_.state() == QProcess::Running) {
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, port);
    if (probe.waitForConnected(1000) &&
        (greeting.isEmpty() ||
         (probe.waitForReadyRead(2000) && probe.readAll().startsWith(greeting)))) {
      port_ = port;
      return true;
    }
    // Waits only while the server is still starting; returns at once if it ended.
    process_.waitForFinished(20);
  }
  return false;
}

void LoopbackServer::Stop(bool politely) {
  if (process_.state() == QProcess::NotRunning) return;
  if (politely) {
    process_.terminate();
    if (process_.waitForFinished(5000)) return;
  }
  process_.kill();
  process_.waitForFinished(kStartMs);
}

}  // namespace quorrel::test
