#include "support/SiteFixture.h"

#include <filesystem>

#include "publish/Connection.h"
#include "publish/SiteDetails.h"
#include "shell/ShellState.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel::test {

void SiteFixture::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  root_ = TestHome() + "sites/" + info->test_suite_name() + "/" + info->name() + "/";
  std::filesystem::remove_all(root_);
  site_ = root_ + "My Site/";
  std::filesystem::create_directories(site_);
  // No test of a site's details talks to a server.
  OnlineTicked = false;
}

void SiteFixture::OpenDocument(const std::string& path) {
  WriteFile(path, "<html></html>\n");
  CurrentFileName = path;
  CurrentFolder = path.substr(0, path.rfind('/') + 1);
}

void SiteFixture::LoadDetails(const std::string& dataFtp) {
  WriteFile(site_ + "Data.FTP", dataFtp);
  ASSERT_TRUE(LoadServerDetails(CurrentFileName));
}

}  // namespace quorrel::test
