#pragma once
// What every test server shares: a fresh temporary folder, the server's process and
// the 127.0.0.1 port it listens on once it has started.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <string>

namespace quorrel::test {

// A 127.0.0.1 port held bound but not listening, for as long as this lives:
// connections to it are refused, and no server can take it meanwhile.
class RefusingPort {
 public:
  RefusingPort();
  ~RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;

  uint16_t Port() const { return port_; }  // 0 when no port could be held

 private:
  int socket_ = -1;
  uint16_t port_ = 0;
};

class LoopbackServer {
 public:
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  bool Running() const { return port_ != 0; }
  // Why the server did not start ("" when it did).
  const std::string& Problem() const { return problem_; }
  uint16_t Port() const { return port_; }
  const std::string& Root() const { return root_; }  // ends with "/"

 protected:
  static constexpr int kStartMs = 15000;

  LoopbackServer() = default;
  ~LoopbackServer();

  // The temporary folder, with a trailing "/".
  std::string Dir() const { return dir_.path().toStdString() + "/"; }
  // Starts the program; false when it cannot be run.
  bool Launch(const QString& program, const QStringList& args);
  // Takes the port a server that chose its own prints as its first line; false when
  // none came in time.
  bool TakeAnnouncedPort();

  // For a server that must be told its port. A free port may be taken by another
  // test's server before ours binds it, so each try launches the server on a free
  // port (launch gives false when the program cannot be run) and takes the port only
  // when the listener there answers with `token`, which only this server knows;
  // a server that ended (its bind failed) is tried again on another port. The
  // exchange is `request` sent on connecting ("" to wait for a greeting).
  bool StartOnFreePort(const std::function<bool(uint16_t port)>& launch, const QByteArray& request,
                       const QByteArray& token);
  // A token unlike any other server's.
  static QByteArray NewToken();

  // The server did not start: the running test fails with why, even one that never
  // looks. A server shared by a suite is checked in each test's SetUp.
  void Fail(const std::string& problem);
  // What the process has written to its standard output and error so far.
  std::string Output();

  // Ends the server; politely lets it shut down first.
  void Stop(bool politely = false);

  QTemporaryDir dir_;
  QProcess process_;
  std::string root_;
  std::string problem_;
  uint16_t port_ = 0;

 private:
  // Waits while the server starts: true once the listener on the port answers
  // with the token, false when the server ended or the time ran out.
  bool ProvesOurs(uint16_t port, const QByteArray& request, const QByteArray& token);
};

}  // namespace quorrel::test
