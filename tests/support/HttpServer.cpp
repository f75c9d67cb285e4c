#include "support/HttpServer.h"

#include <filesystem>

#include "support/FtpServer.h"

namespace quorrel::test {

HttpServer::HttpServer() {
  root_ = Dir() + "site/";
  std::filesystem::create_directories(root_);
  if (!Launch("/usr/bin/python3", {QString::fromStdString(SupportDir() + "httpserver.py"), "--root",
                                   QString::fromStdString(root_)})) {
    Fail("cannot run /usr/bin/python3");
  } else if (!TakeAnnouncedPort()) {
    Fail("http.server did not start: " + Output());
  }
}

std::string HttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(Port()) + path;
}

}  // namespace quorrel::test
