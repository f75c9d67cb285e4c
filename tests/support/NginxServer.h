#pragma once
// Debian's nginx on a free 127.0.0.1 port, serving a fresh temporary folder with
// folder listings ("autoindex") on, as a web server lists folders for browsers.
#include <QProcess>
#include <QTemporaryDir>
#include <cstdint>
#include <string>

namespace quorrel::test {

class NginxServer {
 public:
  NginxServer();
  ~NginxServer();
  NginxServer(const NginxServer&) = delete;
  NginxServer& operator=(const NginxServer&) = delete;

  bool Running() const { return port_ != 0; }
  const std::string& Problem() const { return problem_; }
  const std::string& Root() const { return root_; }  // ends with "/"
  // "http://127.0.0.1:PORT" + path.
  std::string Url(const std::string& path) const;

 private:
  QTemporaryDir dir_;
  QProcess process_;
  std::string root_;
  std::string problem_;
  uint16_t port_ = 0;
};

}  // namespace quorrel::test
