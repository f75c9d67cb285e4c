#pragma once
// Python's http.server on a free 127.0.0.1 port, serving a fresh temporary folder,
// with "/redirect?to=PATH" answering 302.
#include <QProcess>
#include <QTemporaryDir>
#include <cstdint>
#include <string>

namespace quorrel::test {

class HttpServer {
 public:
  HttpServer();
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

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
