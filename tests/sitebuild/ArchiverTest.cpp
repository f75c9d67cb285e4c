// The .ZI archive: its argument text split as Windows splits a command line, and a
// real archive made by 7z in the output folder once the pages are written.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Abort.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "shell/ShellState.h"
#include "sitebuild/Archiver.h"
#include "sitebuild/BuildPages.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

TEST(ArchiverTest, ArgumentsSplitAsWindowsDoes) {
  struct Case {
    std::string line;
    std::vector<std::string> arguments;
  };
  const Case cases[] = {
      {"", {}},
      {"   ", {}},
      {" a -tzip site.zip *.htm", {"a", "-tzip", "site.zip", "*.htm"}},
      {"a \"my site.7z\" x", {"a", "my site.7z", "x"}},
      {"a\tb", {"a", "b"}},
      {"pre\"fix and\"post", {"prefix andpost"}},
      {"\"\"", {""}},
      {"\"a \"\"quoted\"\" word\"", {"a \"quoted\" word"}},
      {"c:\\dir\\ x", {"c:\\dir\\", "x"}},
      {"\\\\\"a b\"", {"\\a b"}},
      {"\\\"a", {"\"a"}},
      {"\"unclosed arg", {"unclosed arg"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitWindowsArguments(c.line), c.arguments) << c.line;
}

const std::string kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}}\r\n"
    "\\viewkind4\\uc1\\pard\\f0\\fs24 ";

class ArchiverBuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CurrentFolder = TestHome() + "zsite/";
    fs::remove_all(CurrentFolder);
    fs::create_directories(CurrentFolder);
    CurrentFileName = CurrentFolder + "master.rtf";
    WriteFile(CurrentFileName, kHeader +
                                   ".PG one|One\r\n\\par .ZI a \"the site.7z\" *.htm\r\n\\par "
                                   ".BO\r\n\\par x\r\n\\par .PG two|Two\r\n\\par .BO\r\n\\par "
                                   "y\r\n\\par }\r\n");
    CurrentText = ".PG one|One\r\n.ZI a \"the site.7z\" *.htm\r\n.BO\r\nx\r\n.PG two|Two\r\n";
  }
};

TEST_F(ArchiverBuildTest, BuildLeavesARealArchive) {
  TBuildRun run;
  BuildPagesFromRtf(run, false);
  ASSERT_EQ(WaitForLastProgram(), 0) << ReadFile(TempFolder() + kArchiverLog);
  const std::string archive = CurrentFolder + "the site.7z";
  ASSERT_TRUE(fs::exists(archive));
  TRunOptions options;
  options.stdoutFile = TestHome() + "listing.txt";
  ASSERT_EQ(StartProgram(kArchiverProgram, {"l", archive}, options).outcome,
            TStartOutcome::Started);
  ASSERT_EQ(WaitForLastProgram(), 0);
  const std::string listing = ReadFile(options.stdoutFile);
  EXPECT_NE(listing.find("one.htm"), std::string::npos) << listing;
  EXPECT_NE(listing.find("two.htm"), std::string::npos) << listing;
}

TEST_F(ArchiverBuildTest, OneSectionMakesNoArchive) {
  TBuildRun run;
  BuildPagesFromRtf(run, true);
  EXPECT_TRUE(fs::exists(CurrentFolder + "one.htm"));
  EXPECT_TRUE(StartedProcesses().empty());
  EXPECT_FALSE(fs::exists(CurrentFolder + "the site.7z"));
}

}  // namespace
}  // namespace quorrel::test
