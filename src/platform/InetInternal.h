#pragma once
// Shared inside the internet layer only: the handle objects, the handle table and
// the thread's error state.
#include <curl/curl.h>

#include <atomic>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Inet.h"

namespace quorrel::inet {

constexpr uint32_t kDefaultTimeoutMs = 60000;

enum class Kind { Session, Connection, Find, Request };

struct Handle {
  explicit Handle(Kind k) : kind(k) {}
  virtual ~Handle() = default;
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  const Kind kind;
  HINTERNET id = nullptr;
  std::atomic<bool> closed{false};

  INTERNET_STATUS_CALLBACK Callback() {
    std::lock_guard lock(mutex_);
    return callback_;
  }
  void SetCallback(INTERNET_STATUS_CALLBACK callback) {
    std::lock_guard lock(mutex_);
    callback_ = std::move(callback);
  }
  std::atomic<uint32_t> timeoutMs{kDefaultTimeoutMs};

 private:
  std::mutex mutex_;
  INTERNET_STATUS_CALLBACK callback_;
};

struct Session : Handle {
  Session() : Handle(Kind::Session) {}
  std::string agent;
  bool direct = false;  // no proxy even for the web
};

struct Connection : Handle {
  Connection() : Handle(Kind::Connection) {}
  ~Connection() override;

  std::shared_ptr<Session> session;
  CURL* curl = nullptr;
  CURLM* multi = nullptr;  // holds the control connection between calls
  std::string baseUrl;     // "ftp://host:port/"
  std::string user, password;
  std::string currentDir;  // Windows-1252, absolute
  bool utf8 = false;       // names travel as UTF-8
  bool mlsd = false;
  bool mdtm = false;
  // Names whose wire bytes are not the UTF-8 of their Windows-1252 form, by their
  // full Windows-1252 path; only touched by the thread holding `busy`.
  std::map<std::string, std::string> wireNames;
  std::atomic<bool> busy{false};
  std::atomic<InetHandleTag*> find{nullptr};
  // The control connection's socket as last seen, and the exchange running on it:
  // a server that refuses an upload half-way (a full disk) says why on the control
  // connection just as curl closes it, and that reply is read before it goes.
  curl_socket_t controlSocket = CURL_SOCKET_BAD;
  void* runningCall = nullptr;

  bool Cancelled() const { return closed || (session && session->closed); }
};

// Holds a connection for one call; a second caller (another thread, or a status
// callback calling back in) is refused: the guard sets 12110 as its last error.
class BusyGuard {
 public:
  explicit BusyGuard(Connection& c) : c_(c), ok_(!c.busy.exchange(true)) {
    if (!ok_) SetLastError(ERROR_FTP_TRANSFER_IN_PROGRESS);
  }
  ~BusyGuard() {
    if (ok_) c_.busy = false;
  }
  bool Ok() const { return ok_; }

 private:
  Connection& c_;
  bool ok_;
};

// ---- the handle table ----
HINTERNET Register(std::shared_ptr<Handle> handle);
std::shared_ptr<Handle> Lookup(HINTERNET id);
std::shared_ptr<Handle> Unregister(HINTERNET id);

// The handle as the kind asked for; nullptr with 6 (not open) or 12018 (other kind).
template <class T>
std::shared_ptr<T> LookupAs(HINTERNET id, Kind kind) {
  std::shared_ptr<Handle> h = Lookup(id);
  if (!h) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (h->kind != kind) {
    SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    return nullptr;
  }
  return std::static_pointer_cast<T>(h);
}

// ---- the thread's last reply ----
void SetLastResponse(const std::string& reply);
void ResetThreadErrors();

// ---- one exchange with an FTP server: a curl perform on the connection ----

struct FtpReply {
  std::string command;  // the command it answers ("" for the greeting)
  std::string text;     // all lines, joined by CR LF
  int code = 0;
};

struct FtpCall {
  std::string url;                 // "" = the server's root, for commands only
  std::vector<std::string> quote;  // commands before the transfer; "*" = may fail
  bool transfer = false;           // false: no data connection
  bool fileInfo = false;           // no transfer: the url's file is asked for its date and size
  std::string customRequest;       // "MLSD" instead of LIST
  bool ascii = false;
  // Download data; returns false to stop (after setting localError).
  std::function<bool(const char*, size_t)> sink;
  // Upload data: fills the buffer, returns the count, 0 at the end, -1 on failure
  // (after setting localError).
  std::function<long(char*, size_t)> source;
  int64_t uploadSize = -1;
  // Progress for the status callback: INTERNET_STATUS_REQUEST_SENT or
  // _RESPONSE_RECEIVED, 0 for none.
  uint32_t progressStatus = 0;
  uintptr_t context = 0;

  // Outcome.
  std::vector<FtpReply> replies;
  CURLcode result = CURLE_OK;
  std::exception_ptr exception;  // thrown by the status callback
  uint32_t localError = 0;       // a failed local read or write
};

// Runs the exchange and sets the thread's last error and reply. True on success.
bool RunFtp(Connection& connection, FtpCall& call);

// Windows error number for a failed local file operation.
uint32_t ErrorFromErrno(int err);
// Windows error number for a failed curl transfer that got no usable server reply.
uint32_t ErrorFromCurl(CURLcode code);

// Names between our Windows-1252 form and the server's bytes.
std::string ToWire(const Connection& connection, const std::string& ansiPath);
// Absolute Windows-1252 path of a name relative to the current directory.
std::string AbsolutePath(const Connection& connection, const std::string& path);
// "ftp://host:port/%2F..." for an absolute path.
std::string PathUrl(const Connection& connection, const std::string& ansiPath, bool folder);

void EnsureCurlGlobal();

}  // namespace quorrel::inet
