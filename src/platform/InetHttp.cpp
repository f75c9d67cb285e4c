// Web pages by HTTP and HTTPS GET. The body is read as the caller asks for it,
// through curl's multi interface, so a long page never has to arrive in one piece.

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/CodePage.h"
#include "platform/InetInternal.h"

namespace quorrel {

namespace {

constexpr long kMaxRedirects = 10;

struct Request : inet::Handle {
  Request() : Handle(inet::Kind::Request) {}
  ~Request() override {
    if (multi && easy) curl_multi_remove_handle(multi, easy);
    if (easy) curl_easy_cleanup(easy);
    if (multi) curl_multi_cleanup(multi);
    curl_slist_free_all(headers);
  }
  std::shared_ptr<inet::Session> session;
  CURLM* multi = nullptr;
  CURL* easy = nullptr;
  curl_slist* headers = nullptr;
  std::string buffer;
  size_t readPos = 0;
  bool done = false;
  CURLcode result = CURLE_OK;
  std::atomic<bool> busy{false};

  bool Cancelled() const { return closed || (session && session->closed); }
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto* r = static_cast<Request*>(user);
  try {
    r->buffer.append(data, size * count);
  } catch (...) {
    return 0;
  }
  return size * count;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<Request*>(user)->Cancelled() ? 1 : 0;
}

// Runs the transfer until body bytes are waiting or it has ended.
void Pump(Request& r) {
  while (!r.done && r.buffer.size() == r.readPos) {
    int running = 0;
    CURLMcode mc = curl_multi_perform(r.multi, &running);
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(r.multi, &left)) {
      if (msg->msg == CURLMSG_DONE) {
        r.done = true;
        r.result = msg->data.result;
      }
    }
    if (mc != CURLM_OK && !r.done) {
      r.done = true;
      r.result = CURLE_OUT_OF_MEMORY;
    }
    if (r.done || r.buffer.size() > r.readPos) break;
    if (running) curl_multi_poll(r.multi, nullptr, 0, 200, nullptr);
  }
}

// Loopback never goes through a proxy; the environment's list still counts.
std::string NoProxyList() {
  std::string list = "localhost,127.0.0.1,::1";
  for (const char* name : {"no_proxy", "NO_PROXY"}) {
    if (const char* value = std::getenv(name); value && *value) list += std::string(",") + value;
  }
  return list;
}

}  // namespace

HINTERNET InternetOpenUrlA(HINTERNET session, const std::string& url, const char* headers,
                           uint32_t headersLength, uint32_t, uintptr_t) {
  auto s = inet::LookupAs<inet::Session>(session, inet::Kind::Session);
  if (!s) return nullptr;
  if (!StartsWithNoCase(url, "http://") && !StartsWithNoCase(url, "https://")) {
    SetLastError(ERROR_INTERNET_UNRECOGNIZED_SCHEME);
    return nullptr;
  }
  if (url.find_first_of(std::string(" \r\n\t\0", 5)) != std::string::npos) {
    SetLastError(ERROR_INTERNET_INVALID_URL);
    return nullptr;
  }
  auto r = std::make_shared<Request>();
  r->session = s;
  r->multi = curl_multi_init();
  r->easy = curl_easy_init();
  if (!r->multi || !r->easy) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (headers) {
    std::string all = headersLength ? std::string(headers, headersLength) : std::string(headers);
    size_t start = 0;
    while (start < all.size()) {
      size_t end = all.find_first_of("\r\n", start);
      if (end == std::string::npos) end = all.size();
      if (end > start)
        r->headers = curl_slist_append(r->headers, all.substr(start, end - start).c_str());
      start = end + 1;
    }
  }
  uint32_t timeout = s->timeoutMs;
  long seconds = static_cast<long>((uint64_t(timeout) + 999) / 1000);
  std::string noProxy = NoProxyList();
  CURL* h = r->easy;
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(h, CURLOPT_USERAGENT, s->agent.c_str());
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeout));
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, seconds);
  if (s->direct) curl_easy_setopt(h, CURLOPT_PROXY, "");
  curl_easy_setopt(h, CURLOPT_NOPROXY, noProxy.c_str());
  if (r->headers) curl_easy_setopt(h, CURLOPT_HTTPHEADER, r->headers);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, r.get());
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, r.get());
  curl_multi_add_handle(r->multi, h);

  Pump(*r);
  if (r->done && r->result != CURLE_OK) {
    SetLastError(r->Cancelled() ? ERROR_INTERNET_OPERATION_CANCELLED
                                : inet::ErrorFromCurl(r->result));
    return nullptr;
  }
  SetLastError(ERROR_SUCCESS);
  return inet::Register(std::move(r));
}

bool InternetReadFile(HINTERNET request, void* buffer, uint32_t bytesToRead, uint32_t* bytesRead) {
  if (bytesRead) *bytesRead = 0;
  auto r = inet::LookupAs<Request>(request, inet::Kind::Request);
  if (!r) return false;
  if (!bytesRead || (!buffer && bytesToRead)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  if (r->busy.exchange(true)) {
    SetLastError(ERROR_FTP_TRANSFER_IN_PROGRESS);
    return false;
  }
  Pump(*r);
  size_t available = r->buffer.size() - r->readPos;
  size_t n = std::min<size_t>(available, bytesToRead);
  std::memcpy(buffer, r->buffer.data() + r->readPos, n);
  r->readPos += n;
  if (r->readPos == r->buffer.size()) {
    r->buffer.clear();
    r->readPos = 0;
  }
  *bytesRead = static_cast<uint32_t>(n);
  bool failed = n == 0 && r->done && r->result != CURLE_OK;
  SetLastError(!failed          ? ERROR_SUCCESS
               : r->Cancelled() ? ERROR_INTERNET_OPERATION_CANCELLED
                                : inet::ErrorFromCurl(r->result));
  r->busy = false;
  return !failed;
}

int HttpStatusCode(HINTERNET request) {
  auto r = inet::LookupAs<Request>(request, inet::Kind::Request);
  if (!r) return 0;
  long code = 0;
  curl_easy_getinfo(r->easy, CURLINFO_RESPONSE_CODE, &code);
  SetLastError(ERROR_SUCCESS);
  return static_cast<int>(code);
}

}  // namespace quorrel
