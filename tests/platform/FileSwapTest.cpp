// Two files trading names: by the kernel's exchange and by three renames through a
// work name, and what is left when the system refuses a step.
#include <errno.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/FileSwap.h"
#include "support/ImmutableFile.h"
#include "support/ReadOnlyFolder.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

class FileSwapTest : public ::testing::TestWithParam<TSwapMethod> {
 protected:
  void SetUp() override {
    folder = test::TestHome() + "swap/";
    fs::remove_all(folder);
    fs::create_directories(folder);
    doc = folder + "page one;x.htm";
    bak = doc + ".Bak";
    WriteFile(doc, docBytes);
    WriteFile(bak, bakBytes);
  }
  void TearDown() override { fs::remove_all(folder); }
  // Both files where they were, and nothing else in the folder.
  void ExpectUnchanged() {
    EXPECT_TRUE(ReadFile(doc) == docBytes) << "the document changed";
    EXPECT_TRUE(ReadFile(bak) == bakBytes) << "the back-up changed";
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
  }

  std::string folder, doc, bak;
  const std::string docBytes = test::RandomBytes(70000, 1);
  const std::string bakBytes = test::RandomBytes(5000, 2);
};

TEST_P(FileSwapTest, SwapAndSwapBackGiveBothFilesBackByteForByte) {
  TSwapResult result = SwapFiles(bak, doc, GetParam());
  ASSERT_TRUE(result.swapped) << result.step << " " << result.error;
  EXPECT_TRUE(ReadFile(doc) == bakBytes) << "the back-up is not the document";
  EXPECT_TRUE(ReadFile(bak) == docBytes) << "the document is not the back-up";
  result = SwapFiles(bak, doc, GetParam());
  ASSERT_TRUE(result.swapped);
  ExpectUnchanged();
}

TEST_P(FileSwapTest, AFolderThatCannotBeChangedLeavesBothFiles) {
  auto readOnly = std::make_unique<test::ReadOnlyFolder>(folder);
  ASSERT_TRUE(readOnly->Holds());
  const TSwapResult result = SwapFiles(bak, doc, GetParam());
  readOnly.reset();
  EXPECT_FALSE(result.swapped);
  EXPECT_EQ(result.step, GetParam() == TSwapMethod::Exchange ? 0 : 1);
  EXPECT_EQ(result.error, EACCES);
  EXPECT_EQ(result.stranded, "");
  ExpectUnchanged();
}

TEST_P(FileSwapTest, AFileThatCannotBeRenamedLeavesBothFiles) {
  struct Case {
    bool documentLocked;
    int workNameStep;  // where the work-name method stops
  } cases[] = {{true, 2}, {false, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.documentLocked ? "document immutable" : "back-up immutable");
    test::ImmutableFile locked(c.documentLocked ? doc : bak);
    if (!locked.Holds()) GTEST_SKIP() << "no immutable files here (not root, or not ext4)";
    const TSwapResult result = SwapFiles(bak, doc, GetParam());
    EXPECT_FALSE(result.swapped);
    EXPECT_EQ(result.step, GetParam() == TSwapMethod::Exchange ? 0 : c.workNameStep);
    EXPECT_EQ(result.error, EPERM);
    EXPECT_EQ(result.stranded, "");
    ExpectUnchanged();
  }
}

INSTANTIATE_TEST_SUITE_P(Methods, FileSwapTest,
                         ::testing::Values(TSwapMethod::Exchange, TSwapMethod::WorkName),
                         [](const auto& info) {
                           return info.param == TSwapMethod::Exchange ? "Exchange" : "WorkName";
                         });

TEST(RenameNoReplaceTest, TakesAFreeNameOnly) {
  const std::string folder = test::TestHome() + "noreplace/";
  fs::create_directories(folder);
  WriteFile(folder + "a.Bak", "back-up");
  WriteFile(folder + "taken", "keep");
  EXPECT_EQ(RenameNoReplace(folder + "a.Bak", folder + "taken"), EEXIST);
  EXPECT_EQ(ReadFile(folder + "taken"), "keep");
  EXPECT_EQ(RenameNoReplace(folder + "a.Bak", folder + "a"), 0);
  EXPECT_EQ(ReadFile(folder + "a"), "back-up");
  EXPECT_FALSE(fs::exists(folder + "a.Bak"));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace quorrel
