#pragma once
// Debian's nginx on a free 127.0.0.1 port, serving a fresh temporary folder with
// folder listings ("autoindex") on, as a web server lists folders for browsers.
#include <string>

#include "support/LoopbackServer.h"

namespace quorrel::test {

class NginxServer : public LoopbackServer {
 public:
  NginxServer();
  ~NginxServer();

  // "http://127.0.0.1:PORT" + path.
  std::string Url(const std::string& path) const;
};

}  // namespace quorrel::test
