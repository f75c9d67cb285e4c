// Web addresses fetched as the open command fetches them, from both test web
// servers on loopback: which answers count as a missing page.
#include <gtest/gtest.h>

#include <memory>

#include "platform/Abort.h"
#include "publish/FetchUrl.h"
#include "support/HttpServer.h"
#include "support/NginxServer.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace quorrel {
namespace {

using test::Dialogs;

// Python's http.server (true) and nginx, which word their missing-page answers
// differently; both put "404" near the start.
class FetchUrlTest : public ::testing::TestWithParam<bool> {
 protected:
  static void SetUpTestSuite() {
    python = new test::HttpServer();
    nginx = new test::NginxServer();
  }
  static void TearDownTestSuite() {
    delete python;
    delete nginx;
  }
  void SetUp() override {
    ASSERT_TRUE(python->Running()) << python->Problem();
    ASSERT_TRUE(nginx->Running()) << nginx->Problem();
  }
  const std::string& Root() const { return GetParam() ? python->Root() : nginx->Root(); }
  std::string Url(const std::string& path) const {
    return GetParam() ? python->Url(path) : nginx->Url(path);
  }

  // The page's text, or "stopped: " and the message that ended the fetch.
  static std::string Fetch(const std::string& url) {
    try {
      return FetchUrl(url, "logo.png");
    } catch (const EAbort&) {
      return "stopped: " + (Dialogs().Calls().empty() ? "" : Dialogs().Last().text);
    }
  }

  static test::HttpServer* python;
  static test::NginxServer* nginx;
};

test::HttpServer* FetchUrlTest::python = nullptr;
test::NginxServer* FetchUrlTest::nginx = nullptr;

INSTANTIATE_TEST_SUITE_P(Servers, FetchUrlTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Python" : "Nginx"; });

TEST_P(FetchUrlTest, OnlyAMissingPageIsNotFoundWhereverItsAddressSays404) {
  struct Case {
    std::string path;
    const char* page;  // nullptr: no such file on the server
  } cases[] = {
      {"/error404-help.html", "<html><title>Error 404 help</title>Check the address.</html>"},
      {"/help.html", "<html><title>404 means not found</title></html>"},
      {"/missing.html", nullptr},
      {"/404/missing.html", nullptr},
      {"/missing.html?from=404", nullptr},
      // Never offered for saving: the answer is an error page, not the picture.
      {"/pics/logo.png", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    Dialogs().Clear();
    const std::string url = Url(c.path);
    if (c.page) test::WriteFile(Root() + c.path.substr(1), c.page);
    EXPECT_EQ(Fetch(url), c.page ? c.page : "stopped: URL not found:\r\n" + url);
    EXPECT_EQ(Dialogs().Calls().size(), c.page ? 0u : 1u);
    EXPECT_TRUE(Dialogs().PathCalls().empty());
  }
}

}  // namespace
}  // namespace quorrel
