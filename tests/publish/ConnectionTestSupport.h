#pragma once
// Shared by the connection tests: a loopback relay that can hold a connection
// before the server sees it, a connect wait that a test steers, and waiting on the
// event loop.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "publish/Connection.h"

class QEventLoop;
#include "support/FtpServer.h"

namespace quorrel::test {

// Runs the event loop until the condition holds; false when the time ran out.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 15000);

// Ends the connection state of a test: closes every handle and waits until the
// connect threads have ended and handed in their results.
void EndConnections();

// A TCP relay on a free 127.0.0.1 port. Each connection it accepts is joined to
// the backend port, or, while holding, kept waiting (the client has connected but
// hears nothing) until released. The FTP data connections go to the server
// directly; only the control connection passes through.
class TcpRelay {
 public:
  explicit TcpRelay(uint16_t backendPort);
  ~TcpRelay();
  TcpRelay(const TcpRelay&) = delete;
  TcpRelay& operator=(const TcpRelay&) = delete;

  uint16_t Port() const { return port_; }
  // New connections go to this port from now on.
  void SetBackend(uint16_t port);
  // Connections accepted from now on wait for Release.
  void Hold(bool hold);
  void Release(size_t index);
  // Connections accepted so far, and whether one has ended (either side closed).
  size_t Accepted() const;
  bool Closed(size_t index) const;

 private:
  struct Link {
    int client = -1;
    int server = -1;
    bool held = false;
    bool released = false;
    bool closed = false;
    bool clientWaiting = false;  // sent something while held
  };
  void Run();
  void Wake();
  void Join(Link& link);
  void CloseLink(Link& link);
  bool Pump(int from, int to);

  mutable std::mutex mutex_;
  std::vector<Link> links_;
  uint16_t backend_;
  bool hold_ = false;
  int listener_ = -1;
  int wake_[2] = {-1, -1};
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// A connect wait that a test steers in place of the "Connecting..." window.
class TestConnectWait : public TConnectWait {
 public:
  // Polled while the wait runs; true cancels it as the Cancel button would.
  std::function<bool()> cancelWhen;
  // Polled while the wait runs, for steps a test takes meanwhile.
  std::function<void()> whileWaiting;
  int shown = 0;
  int finished = 0;

  bool ShowModal(const std::function<void()>& start) override;
  void Finish() override;

 private:
  QEventLoop* loop_ = nullptr;
  bool done_ = false;
};

// On-line on a machine taken to be on the network, with no window to wait in;
// every handle closed and every connect thread ended afterwards.
class ConnectionTestBase : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Points the server details at a loopback server; the site has details.
  static void UseServer(uint16_t port, const std::string& user = "user",
                        const std::string& password = "secret", const std::string& startDir = "");
  // How often the server has been logged in to.
  static int Logins(const FtpServer& server);
  // Sets a file's modification time (seconds since the epoch).
  static void SetFileTime(const std::string& path, int64_t seconds);

 private:
  std::string savedConnected_;
};

}  // namespace quorrel::test
