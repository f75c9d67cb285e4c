#include "support/PageCheckers.h"

#include <gtest/gtest.h>

#include <regex>

#include "platform/Processes.h"
#include "support/Installed.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel::test {

std::string CheckerComplaints(const std::vector<std::string>& command, const std::string& file) {
  TRunOptions options;
  options.stderrFile = TestHome() + "checker.txt";
  std::vector<std::string> arguments(command.begin() + 1, command.end());
  arguments.push_back(file);
  EXPECT_EQ(StartProgram(command[0], arguments, options).outcome, TStartOutcome::Started);
  WaitForLastProgram();
  return ReadFile(options.stderrFile);
}

void ExpectValidPage(const std::string& path) {
  ASSERT_TRUE(Installed("/usr/bin/tidy", "tidy"));
  ASSERT_TRUE(Installed("/usr/bin/xmllint", "libxml2-utils"));
  const std::string page = ReadFile(path);
  ASSERT_FALSE(page.empty()) << path;
  EXPECT_FALSE(std::regex_search(page, std::regex("&#1(2[89]|[3-5][0-9]);"))) << page;
  const std::string tidy = CheckerComplaints({"tidy", "-q", "-e"}, path);
  EXPECT_EQ(tidy.find("Error:"), std::string::npos) << tidy << page;
  EXPECT_EQ(tidy.find("invalid numeric character reference"), std::string::npos) << tidy;
  EXPECT_EQ(CheckerComplaints({"xmllint", "--html", "--noout"}, path), "") << page;
}

}  // namespace quorrel::test
