#include "support/LoopbackServer.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUuid>

namespace quorrel::test {

namespace {

constexpr int kTries = 5;

uint16_t FreeLoopbackPort() {
  QTcpServer probe;
  if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
  return probe.serverPort();
}

// What the listener on the port answers to the request, up to the token or until
// it stops talking; "" when nobody listens.
QByteArray Exchange(uint16_t port, const QByteArray& request, const QByteArray& token) {
  QTcpSocket probe;
  probe.connectToHost(QHostAddress::LocalHost, port);
  if (!probe.waitForConnected(1000)) return {};
  if (!request.isEmpty()) probe.write(request);
  QByteArray reply;
  while (!reply.contains(token) && probe.waitForReadyRead(2000)) reply += probe.readAll();
  return reply + probe.readAll();
}

}  // namespace

RefusingPort::RefusingPort() {
  socket_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  // Bound without SO_REUSEADDR and never listening: refused, and not shareable.
  if (socket_ >= 0 && bind(socket_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
      getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port_ = ntohs(address.sin_port);
  }
}

RefusingPort::~RefusingPort() {
  if (socket_ >= 0) close(socket_);
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

bool LoopbackServer::StartOnFreePort(const std::function<bool(uint16_t)>& launch,
                                     const QByteArray& request, const QByteArray& token) {
  for (int i = 0; i < kTries; ++i) {
    const uint16_t port = FreeLoopbackPort();
    if (!port || !launch(port)) return false;
    if (ProvesOurs(port, request, token)) {
      port_ = port;
      return true;
    }
    // Still running means it never answered in time: another try would fare no better.
    if (process_.state() != QProcess::NotRunning) {
      Stop();
      return false;
    }
  }
  return false;
}

bool LoopbackServer::ProvesOurs(uint16_t port, const QByteArray& request, const QByteArray& token) {
  QDeadlineTimer deadline(kStartMs);
  while (!deadline.hasExpired() && process_.state() == QProcess::Running) {
    if (Exchange(port, request, token).contains(token)) return true;
    // Waits only while the server is still starting; returns at once if it ended.
    process_.waitForFinished(20);
  }
  return false;
}

QByteArray LoopbackServer::NewToken() {
  return "quorrel-" + QUuid::createUuid().toByteArray(QUuid::WithoutBraces);
}

void LoopbackServer::Fail(const std::string& problem) {
  problem_ = problem;
  // A failure recorded while a suite sets up would make its tests count as skipped:
  // there each test's own check of Running() fails it instead.
  if (::testing::UnitTest::GetInstance()->current_test_info()) {
    ADD_FAILURE() << "test server: " << problem_;
  }
}

std::string LoopbackServer::Output() {
  return process_.readAllStandardError().toStdString() +
         process_.readAllStandardOutput().toStdString();
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
