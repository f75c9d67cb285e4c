#include "ui/platform/MediaModuleLoader.h"

#include <dlfcn.h>

#include <cstdio>

#include "platform/Paths.h"

namespace quorrel {

std::string MediaModuleName() {
  return "libquorrel-media.so";
}

void* MediaModule() {
  static void* const handle = [] {
    const std::string path = NativePath(ExecutableDir() + MediaModuleName());
    void* loaded = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!loaded) std::fprintf(stderr, "quorrel: no sound or MP3 playing: %s\n", ::dlerror());
    return loaded;
  }();
  return handle;
}

}  // namespace quorrel
