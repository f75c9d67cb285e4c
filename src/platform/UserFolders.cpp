#include "platform/UserFolders.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "platform/Paths.h"

namespace quorrel {

namespace {

// The XDG variable when it holds an absolute path (the rule of the XDG base
// directory specification), else the folder below HOME.
std::string ProgramFolderIn(const char* variable, const char* belowHome) {
  std::string base;
  const char* value = getenv(variable);
  if (value && value[0] == '/') {
    base = value;
  } else {
    const char* home = getenv("HOME");
    base = std::string(home && home[0] == '/' ? home : "/tmp") + "/" + belowHome;
  }
  if (base.back() != '/') base += '/';
  const std::string native = base + "Quorrel";
  std::error_code ignored;  // a folder that cannot be made shows when its file is written
  std::filesystem::create_directories(native, ignored);
  return PathFromNative(native) + "/";
}

}  // namespace

std::string UserConfigFolder() {
  return ProgramFolderIn("XDG_CONFIG_HOME", ".config");
}

std::string UserDataFolder() {
  return ProgramFolderIn("XDG_DATA_HOME", ".local/share");
}

}  // namespace quorrel
