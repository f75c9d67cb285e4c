#include "support/HttpServer.h"

#include <QDeadlineTimer>
#include <filesystem>

#include "support/FtpServer.h"

namespace quorrel::test {

HttpServer::HttpServer() {
  root_ = dir_.path().toStdString() + "/site/";
  std::filesystem::create_directories(root_);
  process_.start("/usr/bin/python3", {QString::fromStdString(SupportDir() + "httpserver.py"),
                                      "--root", QString::fromStdString(root_)});
  QDeadlineTimer deadline(15000);
  while (!process_.canReadLine() && !deadline.hasExpired()) {
    if (!process_.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) break;
  }
  bool ok = false;
  uint16_t port = process_.canReadLine() ? process_.readLine().trimmed().toUShort(&ok) : 0;
  if (!ok || !port) {
    problem_ = "http.server did not start: " + process_.readAllStandardError().toStdString();
    return;
  }
  port_ = port;
}

HttpServer::~HttpServer() {
  if (process_.state() != QProcess::NotRunning) {
    process_.kill();
    process_.waitForFinished(15000);
  }
}

std::string HttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

}  // namespace quorrel::test
