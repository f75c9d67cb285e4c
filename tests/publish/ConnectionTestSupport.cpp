#include "ConnectionTestSupport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

#include "publish/SiteDetails.h"
#include "shell/ShellState.h"

namespace quorrel::test {

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    // Nothing pending: give other threads the processor instead of spinning.
    std::this_thread::yield();
  }
  return true;
}

void EndConnections() {
  ResetConnection();
  WaitUntil([] { return ConnectThreadsRunning() == 0; });
  // The results the threads posted: stale ones are closed on arrival.
  QCoreApplication::processEvents();
}

// ---- ConnectionTestBase ----------------------------------------------------------------

void ConnectionTestBase::SetUp() {
  const char* connected = std::getenv(ConnectedStateVariable);
  savedConnected_ = connected ? connected : "";
  setenv(ConnectedStateVariable, "1", 1);
  SetOnline(true);
}

void ConnectionTestBase::TearDown() {
  EndConnections();
  SetConnectWait(nullptr);
  if (savedConnected_.empty()) {
    unsetenv(ConnectedStateVariable);
  } else {
    setenv(ConnectedStateVariable, savedConnected_.c_str(), 1);
  }
}

void ConnectionTestBase::UseServer(uint16_t port, const std::string& user,
                                   const std::string& password, const std::string& startDir) {
  ServerName = "127.0.0.1";
  ServerPort = port;
  ServerUser = user;
  ServerPassword = password;
  ServerStartDir = startDir;
  SiteHasServer = true;
}

int ConnectionTestBase::Logins(const FtpServer& server) {
  const std::vector<std::string> commands = server.Commands();
  return static_cast<int>(std::count(commands.begin(), commands.end(), "USER"));
}

void ConnectionTestBase::SetFileTime(const std::string& path, int64_t seconds) {
  timespec times[2] = {{static_cast<time_t>(seconds), 0}, {static_cast<time_t>(seconds), 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

// ---- TcpRelay ---------------------------------------------------------------------

TcpRelay::TcpRelay(uint16_t backendPort) : backend_(backendPort) {
  listener_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
      pipe(wake_) != 0) {
    return;
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Run(); });
}

TcpRelay::~TcpRelay() {
  stop_ = true;
  Wake();
  if (thread_.joinable()) thread_.join();
  for (Link& link : links_) {
    if (link.client >= 0) close(link.client);
    if (link.server >= 0) close(link.server);
  }
  for (int fd : {listener_, wake_[0], wake_[1]}) {
    if (fd >= 0) close(fd);
  }
}

void TcpRelay::SetBackend(uint16_t port) {
  std::lock_guard lock(mutex_);
  backend_ = port;
}

void TcpRelay::Hold(bool hold) {
  std::lock_guard lock(mutex_);
  hold_ = hold;
}

void TcpRelay::Release(size_t index) {
  {
    std::lock_guard lock(mutex_);
    if (index < links_.size()) links_[index].released = true;
  }
  Wake();
}

size_t TcpRelay::Accepted() const {
  std::lock_guard lock(mutex_);
  return links_.size();
}

bool TcpRelay::Closed(size_t index) const {
  std::lock_guard lock(mutex_);
  return index < links_.size() && links_[index].closed;
}

void TcpRelay::Wake() {
  if (wake_[1] >= 0) {
    char c = 0;
    [[maybe_unused]] ssize_t n = write(wake_[1], &c, 1);
  }
}

void TcpRelay::Join(Link& link) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(backend_);
  link.server = socket(AF_INET, SOCK_STREAM, 0);
  link.held = false;
  if (link.server < 0 ||
      connect(link.server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    CloseLink(link);
  }
}

void TcpRelay::CloseLink(Link& link) {
  link.closed = true;
  if (link.client >= 0) close(link.client);
  if (link.server >= 0) close(link.server);
  link.client = link.server = -1;
}

bool TcpRelay::Pump(int from, int to) {
  char buffer[4096];
  ssize_t n = recv(from, buffer, sizeof buffer, 0);
  if (n <= 0) return false;
  for (ssize_t sent = 0; sent < n;) {
    ssize_t m = send(to, buffer + sent, static_cast<size_t>(n - sent), MSG_NOSIGNAL);
    if (m <= 0) return false;
    sent += m;
  }
  return true;
}

void TcpRelay::Run() {
  while (!stop_) {
    std::vector<pollfd> fds = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    std::vector<std::pair<size_t, bool>> owners;  // link, client side
    {
      std::lock_guard lock(mutex_);
      for (size_t i = 0; i < links_.size(); ++i) {
        Link& link = links_[i];
        if (link.client < 0) continue;
        if (link.held && link.released) Join(link);
        if (link.client < 0) continue;
        if (!link.held || !link.clientWaiting) {
          fds.push_back({link.client, POLLIN, 0});
          owners.push_back({i, true});
        }
        if (!link.held) {
          fds.push_back({link.server, POLLIN, 0});
          owners.push_back({i, false});
        }
      }
    }
    if (poll(fds.data(), fds.size(), 200) <= 0) continue;
    if (fds[1].revents) {
      char drain[64];
      [[maybe_unused]] ssize_t n = read(wake_[0], drain, sizeof drain);
    }
    std::lock_guard lock(mutex_);
    if (fds[0].revents & POLLIN) {
      int client = accept(listener_, nullptr, nullptr);
      if (client >= 0) {
        Link link;
        link.client = client;
        link.held = true;
        links_.push_back(link);
        if (!hold_) Join(links_.back());
      }
    }
    for (size_t k = 2; k < fds.size(); ++k) {
      if (!fds[k].revents) continue;
      Link& link = links_[owners[k - 2].first];
      if (link.client < 0) continue;
      const bool clientSide = owners[k - 2].second;
      if (link.held) {
        // Only the client can stir while held: either it closed, or it spoke
        // first and waits, which the relay leaves for later.
        char c;
        ssize_t n = recv(link.client, &c, 1, MSG_PEEK | MSG_DONTWAIT);
        if (n == 0) {
          CloseLink(link);
        } else if (n > 0) {
          link.clientWaiting = true;
        }
        continue;
      }
      if (clientSide ? !Pump(link.client, link.server) : !Pump(link.server, link.client)) {
        CloseLink(link);
      }
    }
  }
}

// ---- TestConnectWait -------------------------------------------------------------------

bool TestConnectWait::ShowModal(const std::function<void()>& start) {
  ++shown;
  done_ = false;
  bool cancelled = false;
  start();
  QEventLoop loop;
  QTimer poll;
  poll.setInterval(2);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (whileWaiting) whileWaiting();
    if (!done_ && cancelWhen && cancelWhen()) {
      cancelled = true;
      loop.quit();
    }
  });
  poll.start();
  loop_ = &loop;
  if (!done_) loop.exec();
  loop_ = nullptr;
  return done_ && !cancelled;
}

void TestConnectWait::Finish() {
  ++finished;
  done_ = true;
  if (loop_) loop_->quit();
}

}  // namespace quorrel::test
