// The transfer library is loaded when the first connection or download starts, not
// as the program starts: with its own libraries (TLS, Kerberos, LDAP, SSH...) it
// is a good part of the start-up. These are the library's functions the internet
// layer calls, each passing the call on; without the library each reports failure
// as the library itself would.
#include <curl/curl.h>

#include <cstdarg>

#include "platform/LazyLibrary.h"

#undef curl_easy_setopt
#undef curl_easy_getinfo

namespace {

void* Library() {
  static void* const library = quorrel::OpenLazyLibrary("libcurl.so.4", "libcurl.so");
  return library;
}

}  // namespace

extern "C" {

CURLcode curl_global_init(long flags) {
  LAZY_PASS_ON(Library(), curl_global_init, CURLE_FAILED_INIT, flags);
}

CURL* curl_easy_init(void) {
  LAZY_PASS_ON(Library(), curl_easy_init, nullptr);
}
void curl_easy_cleanup(CURL* curl) {
  LAZY_PASS_ON_VOID(Library(), curl_easy_cleanup, curl);
}
void curl_easy_reset(CURL* curl) {
  LAZY_PASS_ON_VOID(Library(), curl_easy_reset, curl);
}

// An option's number tells the type of its value: a long, a pointer (objects and
// callbacks alike) or a file offset.
CURLcode curl_easy_setopt(CURL* curl, CURLoption option, ...) {
  static auto* const call =
      quorrel::LazySymbol<decltype(curl_easy_setopt)>(Library(), "curl_easy_setopt");
  if (!call) return CURLE_FAILED_INIT;
  va_list args;
  va_start(args, option);
  CURLcode result;
  if (option < CURLOPTTYPE_OBJECTPOINT) {
    result = call(curl, option, va_arg(args, long));
  } else if (option >= CURLOPTTYPE_OFF_T && option < CURLOPTTYPE_BLOB) {
    result = call(curl, option, va_arg(args, curl_off_t));
  } else {
    result = call(curl, option, va_arg(args, void*));
  }
  va_end(args);
  return result;
}

// Every piece of information is written through a pointer.
CURLcode curl_easy_getinfo(CURL* curl, CURLINFO info, ...) {
  static auto* const call =
      quorrel::LazySymbol<decltype(curl_easy_getinfo)>(Library(), "curl_easy_getinfo");
  if (!call) return CURLE_FAILED_INIT;
  va_list args;
  va_start(args, info);
  void* out = va_arg(args, void*);
  va_end(args);
  return call(curl, info, out);
}

curl_slist* curl_slist_append(curl_slist* list, const char* text) {
  LAZY_PASS_ON(Library(), curl_slist_append, nullptr, list, text);
}
void curl_slist_free_all(curl_slist* list) {
  LAZY_PASS_ON_VOID(Library(), curl_slist_free_all, list);
}

CURLM* curl_multi_init(void) {
  LAZY_PASS_ON(Library(), curl_multi_init, nullptr);
}
CURLMcode curl_multi_cleanup(CURLM* multi) {
  LAZY_PASS_ON(Library(), curl_multi_cleanup, CURLM_BAD_HANDLE, multi);
}
CURLMcode curl_multi_add_handle(CURLM* multi, CURL* curl) {
  LAZY_PASS_ON(Library(), curl_multi_add_handle, CURLM_BAD_HANDLE, multi, curl);
}
CURLMcode curl_multi_remove_handle(CURLM* multi, CURL* curl) {
  LAZY_PASS_ON(Library(), curl_multi_remove_handle, CURLM_BAD_HANDLE, multi, curl);
}
CURLMcode curl_multi_perform(CURLM* multi, int* running) {
  LAZY_PASS_ON(Library(), curl_multi_perform, CURLM_BAD_HANDLE, multi, running);
}
CURLMcode curl_multi_poll(CURLM* multi, curl_waitfd extra[], unsigned int count, int timeout,
                          int* ready) {
  LAZY_PASS_ON(Library(), curl_multi_poll, CURLM_BAD_HANDLE, multi, extra, count, timeout, ready);
}
CURLMsg* curl_multi_info_read(CURLM* multi, int* queued) {
  LAZY_PASS_ON(Library(), curl_multi_info_read, nullptr, multi, queued);
}

}  // extern "C"
