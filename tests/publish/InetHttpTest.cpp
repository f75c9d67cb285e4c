// Web pages through the internet layer, against Python's http.server on loopback.
#include <gtest/gtest.h>

#include "platform/Inet.h"
#include "support/FtpServer.h"
#include "support/HttpServer.h"

namespace quorrel {
namespace {

using test::HttpServer;
using test::WriteFile;

class InetHttpTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server = new HttpServer(); }
  static void TearDownTestSuite() {
    delete server;
    server = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(server->Running()) << server->Problem();
    session = InternetOpenA("Quorrel");
  }
  void TearDown() override { InternetCloseHandle(session); }

  // The body in reads of `block` bytes, as the page fetch reads it.
  static std::string ReadAll(HINTERNET request, uint32_t block = 1024) {
    std::string body;
    std::vector<char> buffer(block);
    uint32_t read = 0;
    while (InternetReadFile(request, buffer.data(), block, &read) && read > 0)
      body.append(buffer.data(), read);
    return body;
  }

  static HttpServer* server;
  HINTERNET session = nullptr;
};

HttpServer* InetHttpTest::server = nullptr;

TEST_F(InetHttpTest, APageIsReadInBlocks) {
  std::string page = "<!DOCTYPE html>\n<title>T</title>\n";
  for (int i = 0; i < 5000; ++i) page += "<p>line " + std::to_string(i) + "</p>\n";
  WriteFile(server->Root() + "page one.htm", page);
  HINTERNET request = InternetOpenUrlA(session, server->Url("/page%20one.htm"), nullptr, 0,
                                       INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RAW_DATA, 0);
  ASSERT_NE(request, nullptr) << GetLastError();
  EXPECT_EQ(HttpStatusCode(request), 200);
  EXPECT_EQ(ReadAll(request), page);
  // At the end every read gives nothing, successfully.
  char byte;
  uint32_t read = 7;
  EXPECT_TRUE(InternetReadFile(request, &byte, 1, &read));
  EXPECT_EQ(read, 0u);
  InternetCloseHandle(request);
}

TEST_F(InetHttpTest, RedirectsAreFollowed) {
  WriteFile(server->Root() + "target.htm", "arrived");
  HINTERNET request = InternetOpenUrlA(session, server->Url("/redirect?to=/target.htm"));
  ASSERT_NE(request, nullptr) << GetLastError();
  EXPECT_EQ(HttpStatusCode(request), 200);
  EXPECT_EQ(ReadAll(request), "arrived");
  InternetCloseHandle(request);
}

// A missing page is an answer like any other: its status tells the caller.
TEST_F(InetHttpTest, AMissingPageIsAnAnswerWithItsStatus) {
  HINTERNET request = InternetOpenUrlA(session, server->Url("/nothing-here.htm"));
  ASSERT_NE(request, nullptr) << GetLastError();
  EXPECT_EQ(HttpStatusCode(request), 404);
  EXPECT_NE(ReadAll(request).substr(0, 255).find("404"), std::string::npos);
  InternetCloseHandle(request);
}

TEST_F(InetHttpTest, BinaryBodiesArriveUnchanged) {
  std::string bytes;
  for (int i = 0; i < 70000; ++i) bytes += static_cast<char>(i * 7);
  WriteFile(server->Root() + "image.ico", bytes);
  HINTERNET request = InternetOpenUrlA(session, server->Url("/image.ico"));
  ASSERT_NE(request, nullptr);
  EXPECT_EQ(ReadAll(request, 1000), bytes);
  InternetCloseHandle(request);
}

TEST_F(InetHttpTest, OnlyWebAddressesAreOpened) {
  struct Case {
    std::string url;
    uint32_t error;
  };
  test::RefusingPort closed;
  ASSERT_NE(closed.Port(), 0);
  const Case cases[] = {
      {"ftp://127.0.0.1/x", ERROR_INTERNET_UNRECOGNIZED_SCHEME},
      {"file:///etc/passwd", ERROR_INTERNET_UNRECOGNIZED_SCHEME},
      {"http://127.0.0.1:" + std::to_string(closed.Port()) + "/", ERROR_INTERNET_CANNOT_CONNECT},
      {"http://127.0.0.1/a b", ERROR_INTERNET_INVALID_URL},
      // A redirect may not lead away from the web.
      {server->Url("/redirect?to=file:///etc/passwd"), ERROR_INTERNET_UNRECOGNIZED_SCHEME},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(InternetOpenUrlA(session, c.url), nullptr);
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST_F(InetHttpTest, ReadingNeedsAnOpenRequest) {
  char buffer[16];
  uint32_t read = 5;
  EXPECT_FALSE(InternetReadFile(session, buffer, sizeof buffer, &read));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(HttpStatusCode(nullptr), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

}  // namespace
}  // namespace quorrel
