// One exchange with an FTP server: a curl perform on the connection's own easy
// handle, which keeps the control connection (and the login) from call to call.
// Every server reply is collected with the command it answers.
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <set>

#include "platform/InetInternal.h"
#include "platform/InetListing.h"

namespace quorrel::inet {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPollMs = 10;
// How long a closing control connection is given to deliver the server's last reply.
constexpr int kLastReplyMs = 1000;

struct CallState {
  Connection* connection = nullptr;
  FtpCall* call = nullptr;
  INTERNET_STATUS_CALLBACK callback;
  std::string lastCommand;
  std::string pending;  // a multi-line reply still open
  int pendingCode = 0;
  curl_off_t lastCount = 0;
  Clock::time_point lastReport = Clock::now();
  bool stopped = false;
};

void AddReplyLine(CallState& st, const std::string& line) {
  int code = ReplyCode(line);
  if (st.pending.empty()) {
    if (code && line.size() > 3 && line[3] == '-') {
      st.pending = line;
      st.pendingCode = code;
      return;
    }
    st.call->replies.push_back({st.lastCommand, line, code});
    return;
  }
  st.pending += "\r\n" + line;
  if (code == st.pendingCode && (line.size() == 3 || line[3] == ' ')) {
    st.call->replies.push_back({st.lastCommand, st.pending, st.pendingCode});
    st.pending.clear();
  }
}

int OnDebug(CURL*, curl_infotype type, char* data, size_t size, void* user) {
  try {
    auto& st = *static_cast<CallState*>(user);
    if (type != CURLINFO_HEADER_OUT && type != CURLINFO_HEADER_IN) return 0;
    std::string text(data, size);
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (type == CURLINFO_HEADER_OUT) {
        // What is kept of the exchange never holds the login's password.
        st.lastCommand = line.starts_with("PASS ") ? "PASS" : line;
      } else {
        AddReplyLine(st, line);
      }
      start = end + 1;
    }
  } catch (...) {
    // Never let anything unwind into libcurl; a lost reply line only costs detail.
  }
  return 0;
}

// The server's last words on a control connection curl is about to close: the reply
// that explains a transfer it broke off, which curl does not wait for.
void ReadLastReply(CallState& st, curl_socket_t fd) {
  std::string text;
  char buffer[1024];
  pollfd wait{fd, POLLIN, 0};
  while (text.find('\n') == std::string::npos && poll(&wait, 1, kLastReplyMs) > 0) {
    const ssize_t n = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) break;  // a line cut short says nothing sure
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    AddReplyLine(st, line);
    start = end + 1;
  }
}

int OnCloseSocket(void* user, curl_socket_t fd) {
  auto& c = *static_cast<Connection*>(user);
  if (fd == c.controlSocket) {
    c.controlSocket = CURL_SOCKET_BAD;
    auto* st = static_cast<CallState*>(c.runningCall);
    try {
      if (st && st->call->source && !st->stopped && !c.Cancelled()) ReadLastReply(*st, fd);
    } catch (...) {
      // Only detail is lost; the socket is closed all the same.
    }
  }
  return close(fd);
}

int OnProgress(void* user, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded) {
  auto& st = *static_cast<CallState*>(user);
  if (st.connection->Cancelled()) return 1;
  uint32_t status = st.call->progressStatus;
  if (!status || !st.callback) return 0;
  curl_off_t count = status == INTERNET_STATUS_REQUEST_SENT ? uploaded : downloaded;
  curl_off_t delta = count - st.lastCount;
  Clock::time_point now = Clock::now();
  // A stalled transfer still reports now and then, so that it can be stopped.
  if (delta <= 0 && now - st.lastReport < std::chrono::milliseconds(250)) return 0;
  st.lastCount = count;
  st.lastReport = now;
  uint32_t info = static_cast<uint32_t>(delta > 0 ? std::min<curl_off_t>(delta, UINT32_MAX) : 0);
  try {
    if (!st.callback(st.connection->id, st.call->context, status, &info, sizeof info)) {
      st.stopped = true;
      return 1;
    }
  } catch (...) {
    st.call->exception = std::current_exception();
    return 1;
  }
  return 0;
}

size_t OnWrite(char* data, size_t size, size_t count, void* user) {
  auto& st = *static_cast<CallState*>(user);
  size_t total = size * count;
  try {
    if (st.call->sink && !st.call->sink(data, total)) return 0;
  } catch (...) {
    if (!st.call->localError) st.call->localError = ERROR_NOT_ENOUGH_MEMORY;
    return 0;
  }
  return total;
}

size_t OnRead(char* buffer, size_t size, size_t count, void* user) {
  auto& st = *static_cast<CallState*>(user);
  long n = -1;
  try {
    n = st.call->source(buffer, size * count);
  } catch (...) {
    if (!st.call->localError) st.call->localError = ERROR_READ_FAULT;
  }
  return n < 0 ? CURL_READFUNC_ABORT : static_cast<size_t>(n);
}

// Runs the transfer on the connection's multi handle, which keeps the control
// connection between calls. The wait is kept short because curl 7.88 can arm no
// socket while it sets up a passive data connection and would then sleep for a
// second before connecting. A call with no data connection (controlOnly) notes
// the control connection's socket.
CURLcode Perform(Connection& c, bool controlOnly) {
  if (curl_multi_add_handle(c.multi, c.curl) != CURLM_OK) return CURLE_OUT_OF_MEMORY;
  CURLcode result = CURLE_OK;
  bool finished = false;
  while (!finished) {
    int running = 0;
    if (curl_multi_perform(c.multi, &running) != CURLM_OK) {
      result = CURLE_OUT_OF_MEMORY;
      break;
    }
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(c.multi, &left)) {
      if (msg->msg == CURLMSG_DONE && msg->easy_handle == c.curl) {
        result = msg->data.result;
        finished = true;
      }
    }
    if (!finished && !running) {
      result = CURLE_GOT_NOTHING;
      break;
    }
    if (!finished) curl_multi_poll(c.multi, nullptr, 0, kPollMs, nullptr);
  }
  if (result == CURLE_OK && controlOnly) {
    // With no data connection the one socket in use is the control connection;
    // it is known only until the handle leaves the connection.
    curl_socket_t socket = CURL_SOCKET_BAD;
    if (curl_easy_getinfo(c.curl, CURLINFO_ACTIVESOCKET, &socket) == CURLE_OK) {
      c.controlSocket = socket;
    }
  }
  curl_multi_remove_handle(c.multi, c.curl);
  return result;
}

long Seconds(uint32_t ms) {
  return static_cast<long>((uint64_t(ms) + 999) / 1000);
}

}  // namespace

bool RunFtp(Connection& c, FtpCall& call) {
  CURL* h = c.curl;
  // Reset clears the options but keeps the cached control connection.
  curl_easy_reset(h);
  CallState st;
  st.connection = &c;
  st.call = &call;
  if (call.progressStatus) st.callback = c.Callback();
  std::string url = call.url.empty() ? c.baseUrl : call.url;
  uint32_t timeout = c.timeoutMs;

  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_USERNAME, c.user.c_str());
  curl_easy_setopt(h, CURLOPT_PASSWORD, c.password.c_str());
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_PROXY, "");
  // Every path we send is absolute, so curl never needs to change folders.
  curl_easy_setopt(h, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
  curl_easy_setopt(h, CURLOPT_FTP_USE_EPSV, 0L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeout));
  curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, Seconds(timeout));
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, Seconds(timeout));
  curl_easy_setopt(h, CURLOPT_VERBOSE, 1L);
  curl_easy_setopt(h, CURLOPT_DEBUGFUNCTION, OnDebug);
  curl_easy_setopt(h, CURLOPT_DEBUGDATA, &st);
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, &st);
  // A new connection keeps the close function it was made with, so every call
  // names it and the connection outlives them all.
  curl_easy_setopt(h, CURLOPT_CLOSESOCKETFUNCTION, OnCloseSocket);
  curl_easy_setopt(h, CURLOPT_CLOSESOCKETDATA, &c);

  curl_slist* quote = nullptr;
  std::set<std::string> mayFail;
  for (const std::string& command : call.quote) {
    quote = curl_slist_append(quote, command.c_str());
    if (!command.empty() && command[0] == '*') mayFail.insert(command.substr(1));
  }
  if (quote) curl_easy_setopt(h, CURLOPT_QUOTE, quote);
  if (!call.transfer) {
    curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    if (call.fileInfo) {
      // curl asks MDTM and SIZE itself, in binary mode, and keeps track of the mode.
      curl_easy_setopt(h, CURLOPT_FILETIME, 1L);
      curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnWrite);
      curl_easy_setopt(h, CURLOPT_WRITEDATA, &st);
    }
  } else {
    if (!call.customRequest.empty())
      curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, call.customRequest.c_str());
    curl_easy_setopt(h, CURLOPT_TRANSFERTEXT, call.ascii ? 1L : 0L);
    if (call.source) {
      curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
      curl_easy_setopt(h, CURLOPT_READFUNCTION, OnRead);
      curl_easy_setopt(h, CURLOPT_READDATA, &st);
      if (call.uploadSize >= 0)
        curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(call.uploadSize));
    } else {
      curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnWrite);
      curl_easy_setopt(h, CURLOPT_WRITEDATA, &st);
    }
  }

  c.runningCall = &st;
  call.result = Perform(c, !call.transfer);
  c.runningCall = nullptr;
  curl_easy_setopt(h, CURLOPT_QUOTE, nullptr);
  curl_slist_free_all(quote);
  if (!st.pending.empty()) call.replies.push_back({st.lastCommand, st.pending, st.pendingCode});

  if (call.result == CURLE_OK) {
    SetLastError(ERROR_SUCCESS);
    SetLastResponse(call.replies.empty() ? "" : call.replies.back().text);
    return true;
  }
  const FtpReply* refusal = nullptr;
  for (const FtpReply& reply : call.replies)
    if (reply.code >= 400 && !mayFail.count(reply.command)) refusal = &reply;
  uint32_t error;
  if (call.exception || st.stopped || c.Cancelled()) {
    error = ERROR_INTERNET_OPERATION_CANCELLED;
  } else if (call.localError) {
    error = call.localError;
  } else {
    switch (call.result) {
      case CURLE_OPERATION_TIMEDOUT:
        // curl reports a server's 421 ("closing control connection") as a time-out;
        // it is the server's answer.
        error = refusal && refusal->code == 421 ? ERROR_INTERNET_EXTENDED_ERROR
                                                : ERROR_INTERNET_TIMEOUT;
        break;
      case CURLE_COULDNT_RESOLVE_HOST:
      case CURLE_COULDNT_CONNECT:
        error = ErrorFromCurl(call.result);
        break;
      case CURLE_RECV_ERROR:
      case CURLE_SEND_ERROR:
      case CURLE_PARTIAL_FILE:
      case CURLE_UPLOAD_FAILED:
      case CURLE_GOT_NOTHING:
        // A transfer the server broke off with a reason (a full disk: 452, 552) is
        // its refusal, not a dropped line worth trying again.
        error = refusal ? ERROR_INTERNET_EXTENDED_ERROR : ErrorFromCurl(call.result);
        break;
      default:
        error = refusal ? ERROR_INTERNET_EXTENDED_ERROR : ErrorFromCurl(call.result);
    }
  }
  SetLastResponse(refusal ? refusal->text : call.replies.empty() ? "" : call.replies.back().text);
  SetLastError(error);
  return false;
}

std::string AbsolutePath(const Connection& c, const std::string& path) {
  if (path.empty()) return c.currentDir;
  if (path[0] == '/') return path;
  std::string dir = c.currentDir;
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir + path;
}

std::string ToWire(const Connection& c, const std::string& ansiPath) {
  if (!c.utf8) return ansiPath;
  std::string out;
  size_t start = 0;
  while (start <= ansiPath.size()) {
    size_t end = ansiPath.find('/', start);
    if (end == std::string::npos) end = ansiPath.size();
    std::string segment = ansiPath.substr(start, end - start);
    if (!segment.empty()) {
      auto it = c.wireNames.find(ansiPath.substr(0, end));
      out += it != c.wireNames.end() ? it->second : AnsiToWire(segment);
    }
    if (end < ansiPath.size()) out += '/';
    start = end + 1;
  }
  return out;
}

std::string PathUrl(const Connection& c, const std::string& ansiPath, bool folder) {
  std::string wire = ToWire(c, ansiPath);
  if (!wire.empty() && wire[0] == '/') wire.erase(0, 1);
  // "%2F" makes the path absolute: curl sends it to the server as it stands.
  std::string url = c.baseUrl + "%2F" + PercentEncodePath(wire);
  if (folder && url.back() != '/') url += '/';
  return url;
}

}  // namespace quorrel::inet
