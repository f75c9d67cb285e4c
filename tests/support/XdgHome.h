#pragma once
// The desktop's per-user folders moved into a test's own folder: XDG_CONFIG_HOME
// and XDG_DATA_HOME point at its "config" and "data" for as long as this lives,
// and come back as they were (set or unset) afterwards, the folder removed.
#include <filesystem>
#include <string>

#include "support/ScopedVariable.h"

namespace quorrel::test {

class XdgHome {
 public:
  // home ends with "/"; anything already in it is removed first.
  explicit XdgHome(std::string home)
      : home_(Fresh(std::move(home))),
        config_("XDG_CONFIG_HOME", home_ + "config"),
        data_("XDG_DATA_HOME", home_ + "data") {}
  ~XdgHome() { std::filesystem::remove_all(home_); }
  XdgHome(const XdgHome&) = delete;
  XdgHome& operator=(const XdgHome&) = delete;

 private:
  static std::string Fresh(std::string home) {
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home + "config");
    std::filesystem::create_directories(home + "data");
    return home;
  }

  std::string home_;
  ScopedVariable config_, data_;
};

}  // namespace quorrel::test
