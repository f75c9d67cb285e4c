#include "support/NginxServer.h"

#include <QFile>
#include <filesystem>
#include <fstream>

namespace quorrel::test {

NginxServer::NginxServer() {
  const std::string dir = Dir();
  root_ = dir + "site/";
  std::filesystem::create_directories(root_);
  std::filesystem::create_directories(dir + "temp");
  const uint16_t port = FreeLoopbackPort();
  // One process, no workers: it runs as whoever runs the tests and writes only here.
  std::ofstream(dir + "nginx.conf")
      << "daemon off;\nmaster_process off;\npid " << dir << "nginx.pid;\n"
      << "error_log " << dir << "error.log;\nevents {}\nhttp {\n  access_log off;\n"
      << "  client_body_temp_path " << dir << "temp;\n  proxy_temp_path " << dir << "temp;\n"
      << "  fastcgi_temp_path " << dir << "temp;\n  uwsgi_temp_path " << dir << "temp;\n"
      << "  scgi_temp_path " << dir << "temp;\n"
      << "  server {\n    listen 127.0.0.1:" << port << ";\n    root " << root_ << ";\n"
      << "    autoindex on;\n  }\n}\n";
  if (!Launch("/usr/sbin/nginx",
              {"-e", QString::fromStdString(dir + "error.log"), "-p", QString::fromStdString(dir),
               "-c", QString::fromStdString(dir + "nginx.conf")})) {
    problem_ = "nginx did not start (is nginx-light installed?)";
    return;
  }
  if (TakePortWhenListening(port)) return;
  QFile log(QString::fromStdString(dir + "error.log"));
  log.open(QIODevice::ReadOnly);
  problem_ = "nginx did not listen: " + log.readAll().toStdString();
}

NginxServer::~NginxServer() {
  Stop(true);
}

std::string NginxServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(Port()) + path;
}

}  // namespace quorrel::test
