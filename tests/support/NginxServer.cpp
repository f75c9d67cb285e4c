#include "support/NginxServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <filesystem>
#include <fstream>

namespace quorrel::test {

namespace {

uint16_t FreePort() {
  QTcpServer probe;
  if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
  return probe.serverPort();
}

}  // namespace

NginxServer::NginxServer() {
  const std::string dir = dir_.path().toStdString() + "/";
  root_ = dir + "site/";
  std::filesystem::create_directories(root_);
  std::filesystem::create_directories(dir + "temp");
  const uint16_t port = FreePort();
  // One process, no workers: it runs as whoever runs the tests and writes only here.
  std::ofstream(dir + "nginx.conf")
      << "daemon off;\nmaster_process off;\npid " << dir << "nginx.pid;\n"
      << "error_log " << dir << "error.log;\nevents {}\nhttp {\n  access_log off;\n"
      << "  client_body_temp_path " << dir << "temp;\n  proxy_temp_path " << dir << "temp;\n"
      << "  fastcgi_temp_path " << dir << "temp;\n  uwsgi_temp_path " << dir << "temp;\n"
      << "  scgi_temp_path " << dir << "temp;\n"
      << "  server {\n    listen 127.0.0.1:" << port << ";\n    root " << root_ << ";\n"
      << "    autoindex on;\n  }\n}\n";
  process_.start("/usr/sbin/nginx",
                 {"-e", QString::fromStdString(dir + "error.log"), "-p",
                  QString::fromStdString(dir), "-c", QString::fromStdString(dir + "nginx.conf")});
  if (!process_.waitForStarted(15000)) {
    problem_ = "nginx did not start (is nginx-light installed?)";
    return;
  }
  // Ready once it accepts a connection.
  QDeadlineTimer deadline(15000);
  while (!deadline.hasExpired() && process_.state() == QProcess::Running) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (socket.waitForConnected(200)) {
      port_ = port;
      return;
    }
    process_.waitForFinished(50);
  }
  QFile log(QString::fromStdString(dir + "error.log"));
  log.open(QIODevice::ReadOnly);
  problem_ = "nginx did not listen: " + log.readAll().toStdString();
}

NginxServer::~NginxServer() {
  if (process_.state() != QProcess::NotRunning) {
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }
}

std::string NginxServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

}  // namespace quorrel::test
