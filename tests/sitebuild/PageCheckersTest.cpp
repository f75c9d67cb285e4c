// Pages of a real-sized master, built on disk and read by real HTML checkers:
// tidy and xmllint must find no unknown entity and no broken attribute.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Abort.h"
#include "shell/ShellState.h"
#include "sitebuild/BuildPages.h"
#include "sitebuild/BuildTestKit.h"
#include "support/Installed.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

constexpr int kSections = 12;

// Prose of the GPL as the editor writes a master's paragraphs, with bold and italic
// runs, accented letters, quotes, a pound sign and sentences ending in two blanks.
std::string Paragraphs(const std::string& prose, size_t from, size_t bytes) {
  std::string body;
  size_t word = 0;
  for (size_t i = from % prose.size(); body.size() < bytes; i = (i + 1) % prose.size()) {
    const char ch = prose[i];
    if (ch == '\n') {
      if (i + 1 < prose.size() && prose[i + 1] == '\n')
        body += "\r\n\\par \r\n\\par ";
      else
        body += ' ';
      continue;
    }
    // A paragraph starting with "." would be a command line.
    if (ch == '.' &&
        (body.empty() || (body.size() >= 5 && body.compare(body.size() - 5, 5, "\\par ") == 0)))
      continue;
    if (ch == '{' || ch == '}' || ch == '\\' || ch == '<' || ch == '>' || ch == '&') continue;
    if (ch == '"') continue;  // quotes come in pairs below
    if (ch == ' ' && ++word % 9 == 0) {
      body += word % 18 == 0 ? " \\b bold\\b0 " : " \\i caf\\'e9 \"quoted\" \\'a31\\i0 ";
      continue;
    }
    body += ch;
    if (ch == '.' && word % 3 == 0) body += ' ';
  }
  return body;
}

std::string RealMaster(const std::string& prose) {
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}}\r\n"
      "\\viewkind4\\uc1\\pard\\f0\\fs24 ";
  for (int s = 0; s < kSections; ++s) {
    const std::string name = "page" + std::to_string(s);
    rtf += std::string(s == 0 ? "" : "\r\n\\par ") + ".PG " + name + "|Page " + std::to_string(s) +
           (s % 2 ? "|Music" : "") +
           "\r\n\\par .BO\r\n\\par <H1 "
           "Id=Content>Heading " +
           std::to_string(s) + "</H1>\r\n\\par " +
           Paragraphs(prose, static_cast<size_t>(s) * 7919, 20'000) +
           "\r\n\\par A link: <A Href=\"https://www.example.com/a/long/path/\">\\'a7</A> here.";
  }
  return rtf + "\r\n\\par }\r\n";
}

TEST(PageCheckersTest, RealSizedMasterPassesTidyAndXmllint) {
  const std::string prose = InstalledFile("/usr/share/common-licenses/GPL-3", "base-files");
  ASSERT_TRUE(Installed("/usr/bin/tidy", "tidy"));
  ASSERT_TRUE(Installed("/usr/bin/xmllint", "libxml2-utils"));
  CurrentFolder = TestHome() + "real/";
  fs::remove_all(CurrentFolder);
  CurrentFileName = CurrentFolder + "master.rtf";
  WriteFile(CurrentFolder + "Menu.txt",
            "<Nav>\n<A Href=\"page0.htm\">Home</A>\n<A Href=\"page1.htm\">Music</A>\n</Nav>\n");
  WriteFile(CurrentFileName, RealMaster(prose));
  TBuildRun run;
  try {
    BuildPagesFromRtf(run, false);
  } catch (const EAbort&) {
    FAIL() << Dialogs().Last().text;
  }
  for (int s = 0; s < kSections; ++s) {
    const std::string page = CurrentFolder + "page" + std::to_string(s) + ".htm";
    ASSERT_TRUE(fs::exists(page)) << page;
    EXPECT_GT(fs::file_size(page), 20'000u);
    const std::string tidy = CheckerComplaints({"tidy", "-q", "-e"}, page);
    for (const char* fault : {"Error:", "unknown entity", "unescaped &", "attribute with missing",
                              "lacks value", "malformed", "<p> not allowed"}) {
      EXPECT_EQ(tidy.find(fault), std::string::npos) << page << ":\n" << tidy;
    }
    const std::string xmllint = CheckerComplaints({"xmllint", "--html", "--noout"}, page);
    for (const char* fault : {"Entity", "error : Unexpected", "AttValue", "attributes construct"}) {
      EXPECT_EQ(xmllint.find(fault), std::string::npos) << page << ":\n" << xmllint;
    }
  }
}

}  // namespace
}  // namespace quorrel::test
