// Colouring never breaks down: real pages from Debian's documentation, and every
// construct cut off at the end of the text.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "shell/MainWindow.h"
#include "support/MemoryMainWindow.h"
#include "validate/ColourHtml.h"
#include "validate/ColourSyntax.h"
#include "validate/ColourTestKit.h"
#include "validate/ColourTypes.h"

namespace quorrel::test {
namespace {

// Runs lie in the text, sorted, apart, and not empty.
void ExpectValid(const std::vector<TColourRun>& runs, size_t length) {
  size_t end = 0;
  for (const TColourRun& run : runs) {
    ASSERT_GT(run.length, 0u);
    ASSERT_GE(run.start, end);
    end = run.start + run.length;
    ASSERT_LE(end, length);
  }
}

THtmlColourOptions Options(bool php) {
  THtmlColourOptions o;
  o.trackNames = true;
  o.php = php;
  if (php) {
    o.serverStart = "<?php";
    o.serverEnd = "?>";
  }
  return o;
}

class ColourRealPagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetColouring();
    SetMainWindow(&window_);
  }
  void TearDown() override { SetMainWindow(nullptr); }
  MemoryMainWindow window_;
};

TEST_F(ColourRealPagesTest, LibxsltPages) {
  const std::string folder = "/usr/share/doc/libxslt1-dev/html/";
  ASSERT_TRUE(std::filesystem::is_directory(folder)) << "package libxslt1-dev";
  int pages = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".html") continue;
    SCOPED_TRACE(entry.path().string());
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    TScanText scan(text.str());
    window_.SetStatusText(4, "");
    THtmlColouring html = HtmlRuns(scan, THtmlColourOptions(), ColourScheme.defaultColour);
    ExpectValid(html.runs, scan.length);
    // Well-formed pages: every tag closes, every comment ends.
    EXPECT_EQ(html.depth, 0u);
    EXPECT_EQ(window_.StatusText(4), "");
    // Each tag's run begins at its "<" and ends after its ">".
    size_t tags = 0;
    for (const TColourRun& run : html.runs) {
      if (run.colour != ColourScheme.tags) continue;
      ++tags;
      EXPECT_EQ(scan.text[run.start], '<');
      EXPECT_EQ(scan.text[run.start + run.length - 1], '>');
    }
    EXPECT_GT(tags, 10u);
    ExpectValid(UrlRuns(scan, 0, scan.length), scan.length);
    ++pages;
  }
  EXPECT_GT(pages, 30);
}

TEST_F(ColourRealPagesTest, ConstructsCutOffAtTheEnd) {
  const char* pieces[] = {
      "<",
      "<!--",
      "<![endif]",
      "<script",
      "<script>",
      "<script>//",
      "<script>'",
      "<a b=\"",
      "<%",
      "<% '",
      "<% Dim",
      "<% Dim a(",
      "<% Const a =",
      "<% Sub",
      "<% Sub S(",
      "<% Sub S(a,",
      "<% End",
      "<?php /*",
      "<?php //",
      "<?php global",
      "<?php global $",
      "<?php function",
      "<?php function f($a = array(",
      "\";",
      "<a href=\"<%=",
      "<script>a=\"<%",
      "http://",
      "www.",
      "(https://x",
  };
  for (const char* piece : pieces) {
    for (const char* tail : {"", "\n", "\r\n"}) {
      for (bool php : {false, true}) {
        std::string text = std::string("<p>") + piece + tail;
        SCOPED_TRACE(text);
        TScanText scan(text);
        ExpectValid(HtmlRuns(scan, Options(php), ColourScheme.defaultColour).runs, scan.length);
        ExpectValid(UrlRuns(scan, 0, scan.length), scan.length);
        ExpectValid(VbaRuns(scan, 0), scan.length);
        ExpectValid(CommentRuns(scan, "/*", "*/", 0), scan.length);
        ExpectValid(AbcRuns(scan, 0, scan.length, 0), scan.length);
      }
    }
  }
}

TEST_F(ColourRealPagesTest, JumblesOfPieces) {
  const char* pieces[] = {"<",
                          ">",
                          "\"",
                          "'",
                          "\n",
                          "\r\n",
                          "<%",
                          "%>",
                          "<?php",
                          "?>",
                          "//",
                          "/*",
                          "*/",
                          "<!--",
                          "-->",
                          "<script>",
                          "</script>",
                          "Dim a",
                          "Sub S(x)",
                          "End Sub",
                          "$v",
                          "global $g",
                          "function f($p)",
                          "www.x.org",
                          "|",
                          "%",
                          "T:",
                          "V:1",
                          " "};
  std::mt19937 random(20261210);
  for (int i = 0; i < 400; ++i) {
    std::string text;
    for (int n = 0; n < 40; ++n) text += pieces[random() % std::size(pieces)];
    SCOPED_TRACE(text);
    TScanText scan(text);
    for (bool php : {false, true}) {
      ExpectValid(HtmlRuns(scan, Options(php), ColourScheme.defaultColour).runs, scan.length);
    }
    ExpectValid(AbcRuns(scan, 0, scan.length, 0), scan.length);
    ExpectValid(VbaRuns(scan, 0), scan.length);
  }
}

}  // namespace
}  // namespace quorrel::test
