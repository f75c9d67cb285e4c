// The FTP password goes to libcurl and over the wire to the server, and nowhere
// else: what the internet layer keeps of an exchange never holds it.
#include <gtest/gtest.h>

#include "platform/Inet.h"
#include "platform/InetInternal.h"
#include "support/FtpServer.h"

namespace quorrel {
namespace {

TEST(InetSecrets, TheRepliesOfALoginDoNotKeepThePassword) {
  test::FtpServer server;
  ASSERT_TRUE(server.Running()) << server.Problem();
  struct Case {
    const char* what;
    std::string password;
    int code;  // the server's answer to the password
  } cases[] = {{"the right password", server.Password(), 230},
               {"a wrong password", server.Password() + "-typo", 530}};
  for (const Case& c : cases) {
    inet::Connection connection;
    connection.curl = curl_easy_init();
    connection.multi = curl_multi_init();
    connection.baseUrl = "ftp://127.0.0.1:" + std::to_string(server.Port()) + "/";
    connection.user = server.User();
    connection.password = c.password;
    inet::FtpCall login;
    login.quote = {"*NOOP"};
    EXPECT_EQ(inet::RunFtp(connection, login), c.code == 230) << c.what;

    bool answered = false;
    for (const inet::FtpReply& reply : login.replies) {
      EXPECT_EQ(reply.command.find(c.password), std::string::npos) << c.what;
      EXPECT_EQ(reply.text.find(c.password), std::string::npos) << c.what;
      if (reply.command == "PASS" && reply.code == c.code) answered = true;
    }
    EXPECT_TRUE(answered) << c.what << ": the server's answer to the password is still known";
    EXPECT_EQ(InternetLastResponseText().find(c.password), std::string::npos) << c.what;
  }
}

}  // namespace
}  // namespace quorrel
