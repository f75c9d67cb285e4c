#include "support/NginxServer.h"

#include <filesystem>
#include <fstream>

#include "support/TestFiles.h"

namespace quorrel::test {

namespace {

// Answered by the server from its configuration, outside the served folder, so the
// token shows in no listing.
constexpr char kProbePath[] = "/.quorrel-probe";

}  // namespace

NginxServer::NginxServer() {
  const std::string dir = Dir();
  root_ = dir + "site/";
  std::filesystem::create_directories(root_);
  std::filesystem::create_directories(dir + "temp");
  const QByteArray token = NewToken();
  const auto launch = [&](uint16_t port) {
    // One process, no workers: it runs as whoever runs the tests and writes only here.
    std::ofstream(dir + "nginx.conf")
        << "daemon off;\nmaster_process off;\npid " << dir << "nginx.pid;\n"
        << "error_log " << dir << "error.log;\nevents {}\nhttp {\n  access_log off;\n"
        << "  client_body_temp_path " << dir << "temp;\n  proxy_temp_path " << dir << "temp;\n"
        << "  fastcgi_temp_path " << dir << "temp;\n  uwsgi_temp_path " << dir << "temp;\n"
        << "  scgi_temp_path " << dir << "temp;\n"
        << "  server {\n    listen 127.0.0.1:" << port << ";\n    root " << root_ << ";\n"
        << "    autoindex on;\n"
        << "    location = " << kProbePath << " {\n      default_type text/plain;\n"
        << "      return 200 \"" << token.toStdString() << "\";\n    }\n  }\n}\n";
    return Launch("/usr/sbin/nginx",
                  {"-e", QString::fromStdString(dir + "error.log"), "-p",
                   QString::fromStdString(dir), "-c", QString::fromStdString(dir + "nginx.conf")});
  };
  const QByteArray request =
      QByteArray("GET ") + kProbePath + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
  if (StartOnFreePort(launch, request, token)) return;
  if (process_.error() == QProcess::FailedToStart) {
    Fail("nginx cannot be run (scripts/install-deps installs nginx-light)");
  } else {
    Fail("nginx did not start: " + Output() + ReadFile(dir + "error.log"));
  }
}

NginxServer::~NginxServer() {
  Stop(true);
}

std::string NginxServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(Port()) + path;
}

}  // namespace quorrel::test
