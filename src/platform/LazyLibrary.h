#pragma once
// Libraries loaded with their first use instead of at start-up: a file standing for
// such a library defines the library's own functions, each passing the call on to
// the loaded library; without the library each reports failure as the library
// itself would.
#include <dlfcn.h>

namespace quorrel {

// The library by its versioned name, else by its development name; nullptr when
// neither loads.
inline void* OpenLazyLibrary(const char* name, const char* fallback) {
  void* handle = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
  return handle ? handle : ::dlopen(fallback, RTLD_NOW | RTLD_LOCAL);
}

template <typename Function>
Function* LazySymbol(void* library, const char* name) {
  return library ? reinterpret_cast<Function*>(::dlsym(library, name)) : nullptr;
}

}  // namespace quorrel

// In the stand-in for the library's function `name`: passes the arguments on, or
// returns `failed` without the library. `library` is an expression giving its handle.
#define LAZY_PASS_ON(library, name, failed, ...)                                   \
  static auto* const call = ::quorrel::LazySymbol<decltype(name)>(library, #name); \
  return call ? call(__VA_ARGS__) : failed

#define LAZY_PASS_ON_VOID(library, name, ...)                                      \
  static auto* const call = ::quorrel::LazySymbol<decltype(name)>(library, #name); \
  if (call) call(__VA_ARGS__)
