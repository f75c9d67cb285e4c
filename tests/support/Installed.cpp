#include "support/Installed.h"

#include <filesystem>

#include "support/TestFiles.h"

namespace quorrel::test {

::testing::AssertionResult Installed(const std::string& path, const std::string& package) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << path << " is missing: package " << package
                                       << " is not installed (scripts/install-deps installs it)";
}

std::string InstalledFile(const std::string& path, const std::string& package) {
  const ::testing::AssertionResult there = Installed(path, package);
  if (!there) {
    ADD_FAILURE() << there.message();
    return "";
  }
  return ReadFile(path);
}

}  // namespace quorrel::test
