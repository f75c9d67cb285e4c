#include <gtest/gtest.h>

#include "platform/UserDialogs.h"
#include "support/ScriptedDialogs.h"

namespace quorrel {
namespace {

TEST(ScriptedDialogs, RecordsMessagesAndAnswersQueuedQuestions) {
  test::Dialogs().Answer(mrNo);
  EXPECT_EQ(UserDialogs().ShowBox({DialogKind::Message, "hello", "Quorrel", {}, 0, 0}), mrOk);
  EXPECT_EQ(UserDialogs().ShowBox({DialogKind::YesNo, "Sure?", "Quorrel", {}, 0, 0}), mrNo);
  ASSERT_EQ(test::Dialogs().Calls().size(), 2u);
  EXPECT_EQ(test::Dialogs().Last().text, "Sure?");
}

}  // namespace
}  // namespace quorrel
