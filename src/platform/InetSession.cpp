// Sessions, the handle table, options, status callbacks and the connected state.
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>
#include <unordered_map>

#include "platform/InetInternal.h"
#include "platform/ResetRegistry.h"

namespace quorrel {

namespace {

std::mutex tableMutex;
std::unordered_map<uintptr_t, std::shared_ptr<inet::Handle>> table;
uintptr_t nextId = 0x1000;

std::atomic<int> connectedOverride{-1};

}  // namespace

namespace inet {

void EnsureCurlGlobal() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_ALL); });
}

HINTERNET Register(std::shared_ptr<Handle> handle) {
  std::lock_guard lock(tableMutex);
  // Numbers are never reused, so a stale handle can never reach a newer object.
  nextId += 16;
  handle->id = reinterpret_cast<HINTERNET>(nextId);
  table[nextId] = std::move(handle);
  return reinterpret_cast<HINTERNET>(nextId);
}

std::shared_ptr<Handle> Lookup(HINTERNET id) {
  std::lock_guard lock(tableMutex);
  auto it = table.find(reinterpret_cast<uintptr_t>(id));
  return it == table.end() ? nullptr : it->second;
}

std::shared_ptr<Handle> Unregister(HINTERNET id) {
  std::lock_guard lock(tableMutex);
  auto it = table.find(reinterpret_cast<uintptr_t>(id));
  if (it == table.end()) return nullptr;
  std::shared_ptr<Handle> handle = std::move(it->second);
  table.erase(it);
  return handle;
}

Connection::~Connection() {
  if (multi) curl_multi_cleanup(multi);
  if (curl) curl_easy_cleanup(curl);
}

}  // namespace inet

bool InternetGetConnectedState() {
  int forced = connectedOverride;
  if (forced >= 0) return forced != 0;
  // Connected when an interface other than loopback is up, running and has an
  // IP address.
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return false;
  bool connected = false;
  for (const ifaddrs* entry = list; entry && !connected; entry = entry->ifa_next) {
    const unsigned flags = entry->ifa_flags;
    connected = entry->ifa_addr &&
                (entry->ifa_addr->sa_family == AF_INET || entry->ifa_addr->sa_family == AF_INET6) &&
                (flags & IFF_UP) && (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK);
  }
  ::freeifaddrs(list);
  return connected;
}

void SetConnectedStateOverride(int state) {
  connectedOverride = state < 0 ? -1 : (state ? 1 : 0);
}

HINTERNET InternetOpenA(const std::string& agent, uint32_t accessType, const char*, const char*,
                        uint32_t) {
  inet::EnsureCurlGlobal();
  auto session = std::make_shared<inet::Session>();
  session->agent = agent;
  session->direct = accessType == INTERNET_OPEN_TYPE_DIRECT;
  SetLastError(ERROR_SUCCESS);
  return inet::Register(std::move(session));
}

bool InternetCloseHandle(HINTERNET handle) {
  std::shared_ptr<inet::Handle> h = inet::Unregister(handle);
  if (!h) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  // A call still running on the handle in another thread sees the flag in its
  // progress check and stops; the object goes when that call lets go of it.
  h->closed = true;
  if (h->kind == inet::Kind::Connection) {
    auto connection = std::static_pointer_cast<inet::Connection>(h);
    if (HINTERNET find = connection->find.exchange(nullptr)) inet::Unregister(find);
  }
  SetLastError(ERROR_SUCCESS);
  return true;
}

bool InternetSetOptionA(HINTERNET handle, uint32_t option, const void* buffer, uint32_t length) {
  std::shared_ptr<inet::Handle> h = inet::Lookup(handle);
  if (!h) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  if (option != INTERNET_OPTION_CONNECT_TIMEOUT) {
    SetLastError(ERROR_INTERNET_INVALID_OPTION);
    return false;
  }
  if (!buffer || length < sizeof(uint32_t)) {
    SetLastError(ERROR_INTERNET_BAD_OPTION_LENGTH);
    return false;
  }
  // Only the first four bytes are the value, whatever the length.
  uint32_t value;
  std::memcpy(&value, buffer, sizeof value);
  h->timeoutMs = value ? value : inet::kDefaultTimeoutMs;
  SetLastError(ERROR_SUCCESS);
  return true;
}

bool InternetQueryOptionA(HINTERNET handle, uint32_t option, void* buffer, uint32_t* length) {
  std::shared_ptr<inet::Handle> h = inet::Lookup(handle);
  if (!h) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  if (option != INTERNET_OPTION_CONNECT_TIMEOUT) {
    SetLastError(ERROR_INTERNET_INVALID_OPTION);
    return false;
  }
  if (!length) {
    SetLastError(ERROR_INTERNET_BAD_OPTION_LENGTH);
    return false;
  }
  if (!buffer || *length < sizeof(uint32_t)) {
    *length = sizeof(uint32_t);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return false;
  }
  const uint32_t value = h->timeoutMs;
  std::memcpy(buffer, &value, sizeof value);
  *length = sizeof value;
  SetLastError(ERROR_SUCCESS);
  return true;
}

bool InternetSetStatusCallback(HINTERNET handle, INTERNET_STATUS_CALLBACK callback) {
  std::shared_ptr<inet::Handle> h = inet::Lookup(handle);
  if (!h) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  h->SetCallback(std::move(callback));
  SetLastError(ERROR_SUCCESS);
  return true;
}

void ResetInet() {
  connectedOverride = -1;
  inet::ResetThreadErrors();
}

namespace {
const TResetEntry resetInet(ResetInet);
}  // namespace

}  // namespace quorrel
