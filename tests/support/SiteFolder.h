#pragma once
// A folder for test sites that counts as part of a site. Documents under /tmp or the
// program's temporary folder count as outside any site, so neither the temporary HOME
// nor a checkout under /tmp will do: the first candidate outside them is taken.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Paths.h"
#include "shell/ClassifyDocument.h"
#include "support/TestEnvironment.h"

namespace quorrel::test {

inline std::string SiteTestFolder() {
  std::vector<std::string> bases = {ExecutableDir()};
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
    bases.push_back(std::string(pw->pw_dir) + "/.cache/quorrel-tests/");
  bases.push_back("/dev/shm/");
  bases.push_back(std::filesystem::current_path().string() + "/");
  for (const std::string& base : bases) {
    const std::string folder = base + "quorrel-sites-" + std::to_string(getpid()) + "/";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!ec && !IsNotInSite(folder + "x.htm", TempFolder())) return folder;
    std::filesystem::remove(folder, ec);
  }
  ADD_FAILURE() << "no folder for test sites outside /tmp";
  return TestHome();
}

// A site's "Data.FTP" for a site without a server: its folder is the site's root.
inline void WriteNoServerDetails(const std::string& siteFolder) {
  std::ofstream(siteFolder + "Data.FTP", std::ios::binary)
      << "[System]\r\nSection=1\r\n[1]\r\nFTPAddr=None\r\n";
}

}  // namespace quorrel::test
