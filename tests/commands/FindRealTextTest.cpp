// The find engine on real text nobody here wrote, against grep on the same text:
// the GNU GPL made CR LF, and a page of the Vorbis documentation.
#include <gtest/gtest.h>
#include <stdio.h>

#include <sstream>
#include <string>
#include <vector>

#include "commands/FindTestKit.h"
#include "shell/FastStrings.h"
#include "support/Installed.h"
#include "support/ProgramOutput.h"

namespace quorrel::test {
namespace {

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string WithoutCr(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != '\r') out += c;
  }
  return out;
}
class FindRealTextTest : public FindTest {
 protected:
  // The editor's text as a file with LF line ends: one byte per editor position.
  std::string EditorTextFile() {
    return Write("editor.txt", WithoutCr(Text()) + "\n");
  }
  // Where grep -o stops, as byte offsets of the editor's text.
  std::vector<size_t> GrepStops(const std::string& pattern, bool ignoreCase) {
    std::istringstream lines(ProgramOutput(std::string("grep -o -b -F ") + (ignoreCase ? "-i " : "") +
                                 "-e '" + pattern + "' '" + EditorTextFile() + "'"));
    std::vector<size_t> stops;
    for (std::string line; std::getline(lines, line);) stops.push_back(std::stoul(line));
    return stops;
  }
  // Where Find, then Next after Next, stop.
  std::vector<size_t> EngineStops(const std::string& pattern, bool caseSensitive) {
    std::vector<size_t> stops;
    CurrentEditor->Select(0, 0);
    Command("Find", [&](TFindAnswers& a) {
      a.findText = pattern;
      a.caseSensitive = caseSensitive;
    });
    while (FindState.found) {
      EXPECT_EQ(UpperCaseAnsi(Selected()), UpperCaseAnsi(pattern));
      stops.push_back(CurrentEditor->SelStart());
      Command("FRNext");
    }
    return stops;
  }
  void CompareStops(const std::string& pattern) {
    for (bool caseSensitive : {true, false}) {
      SCOPED_TRACE(pattern + (caseSensitive ? " case-sensitive" : " any case"));
      const std::vector<size_t> expected = GrepStops(pattern, !caseSensitive);
      EXPECT_GT(expected.size(), 2u);
      EXPECT_EQ(EngineStops(pattern, caseSensitive), expected);
    }
  }
  void CompareExtract(const std::string& pattern) {
    for (bool caseSensitive : {true, false}) {
      SCOPED_TRACE(pattern + (caseSensitive ? " case-sensitive" : " any case"));
      const std::string file = EditorTextFile();
      const std::string expected = ProgramOutput(std::string("grep -F ") + (caseSensitive ? "" : "-i ") +
                                       "-e '" + pattern + "' '" + file + "'");
      const int source = window.ActiveTab();
      Command("Extract", [&](TFindAnswers& a) {
        a.findText = pattern;
        a.caseSensitive = caseSensitive;
      });
      EXPECT_EQ(WithoutCr(CurrentText), expected);
      window.ActivateTab(source);
      PCChange();
    }
  }
};

TEST_F(FindRealTextTest, TheGplMadeCrLfStopsWhereGrepDoes) {
  const std::string gpl = InstalledFile("/usr/share/common-licenses/GPL-3", "base-files");
  if (gpl.empty()) GTEST_SKIP();
  Open("GPL-3.txt", WithCrLf(gpl));
  ASSERT_NE(CurrentText.find("\r\n"), std::string::npos);
  CompareStops("the");
  CompareStops("License");
  CompareExtract("the Program");
  CompareExtract("GNU");
}

TEST_F(FindRealTextTest, AVorbisPageStopsWhereGrepDoes) {
  const std::string page =
      InstalledFile("/usr/share/doc/libvorbis-dev/html/framing.html", "libvorbis-dev");
  if (page.empty()) GTEST_SKIP();
  Open("framing.html", page);
  ASSERT_TRUE(IsHtml);
  CompareStops("page");
  CompareStops("Ogg");
  CompareExtract("packet");
}

}  // namespace
}  // namespace quorrel::test
