#pragma once
// Material that Debian packages put on the machine for the tests. scripts/install-deps
// installs every such package, so a missing file fails the test with the package's
// name instead of skipping it or passing over its cases.
#include <gtest/gtest.h>

#include <string>

namespace quorrel::test {

// Whether the file (or folder) that the package installs is there.
::testing::AssertionResult Installed(const std::string& path, const std::string& package);

// The whole of a file that the package installs; a failure naming the package, and
// "", when it cannot be read.
std::string InstalledFile(const std::string& path, const std::string& package);

}  // namespace quorrel::test
