#pragma once
// A site of its own for each test: "My Site/" in a fresh folder under the test
// home, with no connection ticked.
#include <gtest/gtest.h>

#include <string>

namespace quorrel::test {

class SiteFixture : public ::testing::Test {
 protected:
  void SetUp() override;

  // Writes a small page at path and makes it the current document.
  void OpenDocument(const std::string& path);
  // Writes the site's Data.FTP and loads the server details for the current
  // document.
  void LoadDetails(const std::string& dataFtp);

  std::string root_;  // the folder holding the site, with "/"
  std::string site_;  // root_ + "My Site/"
};

}  // namespace quorrel::test
