#pragma once
// The desktop's per-user folders moved into a test's own folder: XDG_CONFIG_HOME
// and XDG_DATA_HOME point at its "config" and "data" for as long as this lives,
// and come back as they were (set or unset) afterwards, the folder removed.
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace quorrel::test {

class XdgHome {
 public:
  // home ends with "/"; anything already in it is removed first.
  explicit XdgHome(std::string home) : home_(std::move(home)) {
    std::filesystem::remove_all(home_);
    std::filesystem::create_directories(home_ + "config");
    std::filesystem::create_directories(home_ + "data");
    oldConfig_ = Get("XDG_CONFIG_HOME");
    oldData_ = Get("XDG_DATA_HOME");
    setenv("XDG_CONFIG_HOME", (home_ + "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home_ + "data").c_str(), 1);
  }
  ~XdgHome() {
    Restore("XDG_CONFIG_HOME", oldConfig_);
    Restore("XDG_DATA_HOME", oldData_);
    std::filesystem::remove_all(home_);
  }
  XdgHome(const XdgHome&) = delete;
  XdgHome& operator=(const XdgHome&) = delete;

 private:
  static std::optional<std::string> Get(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  }
  static void Restore(const char* name, const std::optional<std::string>& value) {
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }

  std::string home_;
  std::optional<std::string> oldConfig_, oldData_;
};

}  // namespace quorrel::test
