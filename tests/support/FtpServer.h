#pragma once
// Real FTP servers on 127.0.0.1 for the tests, each with a fresh temporary root.
// FtpServer runs pyftpdlib (a user with a password); VsftpdServer runs Debian's
// vsftpd in the foreground with anonymous access to its root.
#include <string>
#include <vector>

#include "platform/Inet.h"
#include "support/LoopbackServer.h"
#include "support/TestFiles.h"

namespace quorrel::test {

struct FtpServerOptions {
  std::string user = "user";
  std::string password = "secret";
  std::string perm = "elradfmwMT";  // pyftpdlib's permission letters
  int throttle = 0;                 // bytes per second on data connections; 0 = full speed
  bool noMlsd = false;              // offer LIST only, as many hosting servers do
  bool dosList = false;             // LIST in the DOS style of IIS (with noMlsd: the only one)
  bool noMdtm = false;              // no MDTM: a LIST line's time is all there is
  bool hostileNames = false;        // every listing also names "../x" and "a/b"
};

class FtpServer : public LoopbackServer {
 public:
  explicit FtpServer(FtpServerOptions options = {});
  ~FtpServer();

  const std::string& User() const { return options_.user; }
  const std::string& Password() const { return options_.password; }

  // Ends the server at once, as a crash or a dropped line would.
  void Kill();
  // The commands the server has received so far, in order ("USER", "MLSD" ...).
  std::vector<std::string> Commands() const;

 private:
  FtpServerOptions options_;
  std::string commandLog_;
};

class VsftpdServer : public LoopbackServer {
 public:
  VsftpdServer();
};

// The site's "Data.FTP" as the Server Details dialog writes it, naming the server
// (set 1, the test's user and password, a web address and the web root).
void WriteServerDetails(const std::string& siteFolder, const FtpServer& server,
                        const std::string& webRoot = "public_html/");

// Logs in to the server through the internet layer (nullptr on failure).
HINTERNET ConnectTo(HINTERNET session, const FtpServer& server);
// Every record of a search, in the server's order; empty when nothing matched.
std::vector<TFindData> FindAll(HINTERNET connection, const std::string& pattern);
// Names of the records.
std::vector<std::string> Names(const std::vector<TFindData>& records);

// The folder of the test support scripts, with a trailing "/".
std::string SupportDir();

}  // namespace quorrel::test
