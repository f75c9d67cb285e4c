#pragma once
// Python's http.server on a free 127.0.0.1 port, serving a fresh temporary folder,
// with "/redirect?to=PATH" answering 302.
#include <string>

#include "support/LoopbackServer.h"

namespace quorrel::test {

class HttpServer : public LoopbackServer {
 public:
  HttpServer();

  // "http://127.0.0.1:PORT" + path.
  std::string Url(const std::string& path) const;
};

}  // namespace quorrel::test
