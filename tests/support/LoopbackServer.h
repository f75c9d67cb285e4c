#pragma once
// What every test server shares: a fresh temporary folder, the server's process and
// the 127.0.0.1 port it listens on once it has started.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <string>

namespace quorrel::test {

// A port free at this moment, for servers that cannot report the one they took.
uint16_t FreeLoopbackPort();

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
  // Takes the port once the server accepts connections on it and, when a greeting
  // is given, its first words begin with it; false when the server ended or the
  // time ran out.
  bool TakePortWhenListening(uint16_t port, const QByteArray& greeting = {});
  // Ends the server; politely lets it shut down first.
  void Stop(bool politely = false);

  QTemporaryDir dir_;
  QProcess process_;
  std::string root_;
  std::string problem_;
  uint16_t port_ = 0;
};

}  // namespace quorrel::test
