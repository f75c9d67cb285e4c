#pragma once
// vsftpd as a hosting server runs it: a real Unix user of this machine logs in
// with the system's own password check (PAM) and lands in the home folder, which
// is Root(). Making the user needs root; Possible() says whether this run can.
#include <string>

#include "support/LoopbackServer.h"

namespace quorrel::test {

class UnixUserFtpServer : public LoopbackServer {
 public:
  UnixUserFtpServer();
  ~UnixUserFtpServer();

  // Why no such server can run here ("" when it can): not root, or no vsftpd.
  static std::string Impossible();

  const std::string& User() const { return user_; }
  const std::string& Password() const { return password_; }

 private:
  bool MakeUser();
  std::string user_;
  std::string password_ = "Quorrel-test-1";
  bool made_ = false;
};

}  // namespace quorrel::test
