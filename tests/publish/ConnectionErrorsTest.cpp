// Internet errors: what is captured from the internet layer, and the box that
// reports them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Abort.h"
#include "platform/Help.h"
#include "platform/InetInternal.h"
#include "publish/Connection.h"
#include "publish/FtpErrors.h"
#include "publish/ServerDates.h"
#include "publish/SiteDetails.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"

namespace quorrel {
namespace {

using test::Dialogs;
using ::testing::ElementsAre;

// The layer's state after a failed call: its error and the server's last reply.
void Failed(uint32_t error, const std::string& reply) {
  inet::SetLastResponse(reply);
  SetLastError(error);
}

TEST(InternetErrorTest, ARefusalBecomesTheServersReplyCode) {
  struct Case {
    uint32_t error;
    std::string reply;
    uint32_t previous;
    uint32_t code;
    std::string text;
  } cases[] = {
      {12003, "530 Authentication failed.", 0, 530, "530 Authentication failed."},
      {12003, "550 No such file or directory.", 12002, 550, "550 No such file or directory."},
      // A server that wants encryption: its reply says more than its number.
      {12003, "421 Sorry, cleartext sessions and weak ciphers are not accepted on this server.", 0,
       12003, "421 Sorry, cleartext sessions and weak ciphers are not accepted on this server."},
      {12003, "Goodbye", 0, 12003, "Goodbye"},
      {12029, "", 0, 12029, "A connection with the server could not be established"},
      {12031, "226 Done", 0, 12031, "The connection with the server was reset"},
      {0, "", 12002, 12002, "The operation timed out"},  // nothing new: the code stands
      {0, "", 0, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply + " " + std::to_string(c.error));
    Failed(c.error, c.reply);
    InternetErrorCode = c.previous;
    GetInternetError();
    EXPECT_EQ(InternetErrorCode, c.code);
    EXPECT_EQ(InternetErrorText, c.text);
    EXPECT_EQ(GetLastError(), c.error);  // asking for the reply changed nothing
  }
}

TEST(InternetErrorTest, TheBoxTextDependsOnTheCode) {
  ServerName = "ftp.example.org";
  struct Case {
    std::string message;
    uint32_t code;
    std::string errorText;
    std::string shown;
  } cases[] = {
      {"Failed", 12002, "The operation timed out",
       "Failed\rError code: 12002\rThe operation timed out.\rTimed out."},
      {"Failed", 12013, "",
       "Failed\rError code: 12013\rThe user name is incorrect.\rUser name incorrect"},
      {"Failed", 12014, "",
       "Failed\rError code: 12014\rThe password is incorrect.\r"
       "Usually means \"Password incorrect\" but can indicate other problems."},
      {"Failed", 12007, "",
       "Failed\rError code: 12007\rThe server name or address could not be resolved.\r"
       "ftp.example.org\rServer name could not be resolved"},
      {"Failed", 12031, "",
       "Failed\rError code: 12031\rThe connection with the server was reset.\r"
       "Internet connection reset - please try again."},
      {"Failed", 3, "",
       "Failed\rError code: 3\rThe system cannot find the path specified.\r"
       "Internet connection reset - please try again."},
      {"Cannot connect to server.", 12031, "The connection with the server was reset",
       "Cannot connect to server.\rError code: 12031\rThe connection with the server was reset.\r"
       "The connection with the server was reset"},
      {"Failed", 530, "530 Login incorrect.", "Failed\rError code: 530\r530 Login incorrect."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InternetErrorMessage(c.message, c.code, c.errorText), c.shown) << c.code;
  }
}

class ReportInternetErrorTest : public ::testing::Test {
 protected:
  void SetUp() override { savedHelp_ = CurrentHelpHandler(); }
  void TearDown() override {
    SetHelpViewer(savedHelp_);
    SetErrorClipboard(nullptr);
    SetServerWindowRefresh(nullptr);
  }
  std::function<void(int)> savedHelp_;
};

TEST_F(ReportInternetErrorTest, TheButtonsCopyTheMessageOrOpenHelpAndTheCommandStops) {
  std::vector<std::string> copied;
  std::vector<int> helps;
  SetErrorClipboard([&](const std::string& text) { copied.push_back(text); });
  SetHelpViewer([&](int context) { helps.push_back(context); });
  const std::string shown = "Upload failed\rError code: 530\r530 Login incorrect.";
  for (int answer : {mrYes, mrNo, mrCancel}) {
    SCOPED_TRACE(answer);
    Dialogs().Clear();
    copied.clear();
    helps.clear();
    BulkRunMode = 'S';
    Failed(12003, "530 Login incorrect.");
    Dialogs().Answer(answer);
    EXPECT_THROW(ReportInternetError("Upload failed"), EAbort);
    EXPECT_EQ(Dialogs().Calls()[0].text, shown);
    EXPECT_THAT(Dialogs().Calls()[0].buttons, ElementsAre("&Copy message", "&Help", "&Cancel"));
    // A box with a topic of its own would stay open on Help instead of answering.
    EXPECT_EQ(Dialogs().Calls()[0].helpContext, 0);
    EXPECT_EQ(BulkRunMode, ' ');
    EXPECT_EQ(InternetErrorCode, 0u);
    if (answer == mrYes) {
      // Pasted on Linux, lines that end in a bare CR would overwrite each other.
      EXPECT_THAT(copied, ElementsAre("Upload failed\nError code: 530\n530 Login incorrect."));
      EXPECT_THAT(Dialogs().Last().text, ::testing::HasSubstr("Error message copied to clipboard"));
    } else {
      EXPECT_THAT(copied, ::testing::IsEmpty());
      EXPECT_EQ(Dialogs().Calls().size(), 1u);
    }
    EXPECT_EQ(helps, answer == mrNo ? std::vector<int>{70400} : std::vector<int>{});
  }
}

TEST(LinuxLineEnds, EveryLineEndBecomesOneLineFeed) {
  struct Case {
    std::string text, expected;
  } cases[] = {
      {"a\rb\rc", "a\nb\nc"}, {"a\r\nb", "a\nb"}, {"a\nb", "a\nb"},
      {"a\r", "a\n"},         {"\r\r", "\n\n"},   {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(LinuxLineEnds(c.text), c.expected) << c.text;
}

TEST_F(ReportInternetErrorTest, TheServersCreatedIsNoError) {
  InternetErrorCode = 257;
  SetLastError(0);
  ReportInternetError("Could not create folder");
  EXPECT_EQ(InternetErrorCode, 0u);
  EXPECT_THAT(Dialogs().Calls(), ::testing::IsEmpty());
}

TEST_F(ReportInternetErrorTest, AStaleCodeNeverHidesAFreshFailure) {
  // A "created" left behind by an earlier step must not make a failure look
  // like success.
  InternetErrorCode = 257;
  Failed(12003, "553 Could not create file.");
  Dialogs().Answer(mrCancel);
  EXPECT_THROW(ReportInternetError("Upload failed"), EAbort);
  EXPECT_EQ(Dialogs().Last().text, "Upload failed\rError code: 553\r553 Could not create file.");
}

TEST_F(ReportInternetErrorTest, TheServerWindowIsRefreshedOnceAfterTheBox) {
  std::vector<size_t> boxesBeforeRefresh;
  SetServerWindowRefresh([&] {
    boxesBeforeRefresh.push_back(Dialogs().Calls().size());
    // The refresh meets the same failure again.
    Failed(12003, "550 Not found.");
    ReportInternetError("Error listing files");
  });
  Failed(12003, "550 Not found.");
  Dialogs().Answer({mrCancel, mrCancel});
  EXPECT_THROW(ReportInternetError("Error listing files"), EAbort);
  EXPECT_THAT(boxesBeforeRefresh, ElementsAre(1u));
  EXPECT_EQ(Dialogs().Calls().size(), 2u);  // one box each, and no third attempt

  // The next failure refreshes again.
  Failed(12003, "550 Not found.");
  Dialogs().Answer({mrCancel, mrCancel});
  EXPECT_THROW(ReportInternetError("Error listing files"), EAbort);
  EXPECT_THAT(boxesBeforeRefresh, ElementsAre(1u, 3u));
}

}  // namespace
}  // namespace quorrel
