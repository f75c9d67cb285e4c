// A tab filled at the tab change asks, as the open command does, before it keeps
// only the text up to a file's first zero byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Paths.h"
#include "shell/DocumentsOpen.h"
#include "shell/ShellState.h"
#include "support/MemoryRich.h"
#include "support/OpenDocuments.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

class ZeroByteLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = test::TestHome() + "zero-byte/prog";
    std::filesystem::create_directories(NativePath(test::TestHome() + "zero-byte"));
    std::string bytes(
        "\x7F"
        "ELF",
        4);
    bytes += std::string(1, '\0') + "rest\r\n";
    std::ofstream(NativePath(path), std::ios::binary) << bytes;
    test::RecordOfSlot(0).FileAge = 0;
  }
  void TearDown() override {
    std::filesystem::remove_all(NativePath(test::TestHome() + "zero-byte"));
    test::RecordOfSlot(0).FileAge = 0;
  }
  std::string path;
};

TEST_F(ZeroByteLoadTest, TheSlowReadQuestionComesFirstAndItsAnswerIsKept) {
  struct Case {
    int answer;
    bool slowRead;
  };
  for (const Case& c : {Case{mrNo, false}, Case{mrYes, true}}) {
    SCOPED_TRACE(c.answer);
    test::Dialogs().Clear();
    test::Dialogs().Answer(c.answer);
    test::MemoryRich editor;
    LoadIntoEditor(editor, path, 0);
    ASSERT_FALSE(test::Dialogs().Calls().empty());
    EXPECT_EQ(test::Dialogs().Calls().front().text, "File size discrepancy.  Use slow read?");
    // The slow read keeps every byte, a zero byte shown as 01.
    EXPECT_EQ(editor.GetText().find("ELF\x01rest") != std::string::npos, c.slowRead);
  }
}

}  // namespace
}  // namespace quorrel
