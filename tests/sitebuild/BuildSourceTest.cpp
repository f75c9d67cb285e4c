// Collecting a master from its file: the whole document or the section round the
// caret, the refusals in their order, the cuts and the normalisation.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Abort.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "sitebuild/BuildPages.h"
#include "sitebuild/BuildSource.h"
#include "sitebuild/BuildState.h"
#include "sitebuild/BuildTestKit.h"
#include "support/MasterRtf.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel::test {
namespace {

class BuildSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CurrentFolder = TestHome() + "site/";
    CurrentFileName = CurrentFolder + "master.rtf";
  }
  void Write(const std::string& rtf) { WriteFile(CurrentFileName, rtf); }
  // The message that stopped a whole-document build, "" when none did.
  std::string BuildMessage() {
    try {
      BuildPagesFromRtf(lastRun, false);
    } catch (const EAbort&) {
      EXPECT_FALSE(lastRun.BuildRunning);
      const auto texts = Dialogs().Texts();
      return texts.empty() ? "" : texts.back();
    }
    return "";
  }
  static std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? ""
                                      : text.substr(first, text.find_last_not_of(' ') + 1 - first);
  }

  TBuildRun lastRun;  // the run of the last build
};

// A master that passes every check reaches its first page.
bool ReachedFirstPage(const TBuildRun& run) {
  return run.PageName == "a";
}

TEST_F(BuildSourceTest, ChecksInTheirOrder) {
  const std::string longPlain(1801, 'x');
  struct Case {
    const char* name;
    std::string rtf;
    bool slides;
    std::string message;  // the error text ("" = reached the first page)
  };
  const std::vector<Case> cases = {
      {"empty file", "", false, "No records selected!"},
      {"blank last paragraph", kMasterHeader + ".PG a|T\r\n\\par x\r\n\\par ", false,
       "Remove blank line at end of page!"},
      {"blank last paragraph as the editor writes it", Master({".PG a|T", "x", ""}), false,
       "Remove blank line at end of page!"},
      {"long without bold or italic", Master({".PG a|T", longPlain}), false,
       "No bold or italic text found!"},
      {"long slide show", Master({".PG a|T", longPlain}), true, ""},
      {"long with bold", Master({".PG a|T", "\\b x\\b0 " + longPlain}), false, ""},
      {"long with a table", Master({".PG a|T", ".ta x", longPlain}), false, ""},
      {"short without bold", Master({".PG a|T", "x"}), false, ""},
  };
  for (const Case& c : cases) {
    Dialogs().Clear();
    Write(c.rtf);
    IsSlides = c.slides;
    const std::string shown = BuildMessage();
    if (c.message.empty()) {
      EXPECT_TRUE(ReachedFirstPage(lastRun)) << c.name << ": " << shown;
    } else {
      EXPECT_EQ(ErrorOf(Trim(shown)), c.message) << c.name;
      EXPECT_FALSE(ReachedFirstPage(lastRun)) << c.name;
    }
  }
}

TEST_F(BuildSourceTest, WithoutAPageCommandTheSearchSaysWhatIsMissing) {
  Write(Master({"no commands here"}));
  EXPECT_EQ(Trim(BuildMessage()).substr(0, 25), "The text:\r.PG\rwas not fou");
}

TEST_F(BuildSourceTest, UnreadableMasterNamesItsPath) {
  CurrentFileName = CurrentFolder + "missing.rtf";
  EXPECT_EQ(Trim(BuildMessage()), "Cannot read " + CurrentFileName + "\rNo such file or directory");
}

TEST_F(BuildSourceTest, TwoBlankLinesStopWhenValidatingOnSave) {
  Write(Master({".PG a|T", "x", "", "", "", "y"}));
  MainMenu().SetChecked("ValSave", true);
  const std::string shown = Trim(BuildMessage());
  // Four paragraph marks leave three line ends after one pass; they start at
  // offset 11, and the excerpt starts at the text's start.
  EXPECT_EQ(shown.substr(0, 60), "Two consecutive blank lines at offset 11 from start of page.");
  EXPECT_EQ(shown.substr(60), "\r\n\r\n.PG a|T\r\nx\r\n\r\n\r\ny\r\n");

  MainMenu().SetChecked("ValSave", false);
  BuildMessage();
  EXPECT_TRUE(ReachedFirstPage(lastRun));
}

TEST_F(BuildSourceTest, Normalisation) {
  struct Case {
    std::string in, out;
  };
  const std::vector<Case> cases = {
      {"{\\rtf1 x}.PG a|T\\par b\\par }", ".PG a|T\r\nb\r\n"},
      {".pg a|T\\par x \\b0 y \\i0 z \\u0 w", ".pg a|T\r\nx\\b0  y\\i0  z\\u0  w"},
      {".PG a\\par \\par \\par \\par b", ".PG a\r\n\r\n\r\nb"},
      {".PG a\\par \\par \\par b", ".PG a\r\n\r\nb"},
      // A brace further than 31 characters from the end is the text's own.
      {".PG a\\par " + std::string(40, 'x') + "\\}" + std::string(31, 'y'),
       ".PG a\r\n" + std::string(40, 'x') + "\\}" + std::string(31, 'y')},
  };
  for (const Case& c : cases) EXPECT_EQ(NormaliseBuildSource(c.in), c.out) << c.in;
}

TEST_F(BuildSourceTest, OneSectionCollectsTheSectionRoundTheCaret) {
  Write(Master(
      {".PG one|First", "\\b alpha\\b0", ".PG two|Second", "beta", ".pg three|Third", "gamma"}));
  CurrentText = ".PG one|First\r\nalpha\r\n.PG two|Second\r\nbeta\r\n.pg three|Third\r\ngamma\r\n";
  const size_t caret = CurrentText.find("beta") + 2;
  // A section that stops before the next one ends as a collected text does.
  EXPECT_EQ(CollectBuildSource(true, caret), ".PG two|Second\r\nbeta\r\n\f");
  EXPECT_EQ(CollectBuildSource(true, CurrentText.size()), ".pg three|Third\r\ngamma\r\n");
  EXPECT_EQ(CollectBuildSource(false, 0),
            ".PG one|First\r\n\\b alpha\\b0\r\n.PG two|Second\r\nbeta\r\n.pg three|Third\r\n"
            "gamma\r\n");
}

TEST_F(BuildSourceTest, SectionKeyMustEndAtABarOrTheLineEnd) {
  Write(Master({".PG one2|A", "wrong", ".PG one|B", "right"}));
  CurrentText = ".PG one2|A\r\nwrong\r\n.PG one|B\r\nright\r\n";
  EXPECT_EQ(CollectBuildSource(true, CurrentText.size()), ".PG one|B\r\nright\r\n");
}

// The site menu is found whatever its letter case and read with LF line ends; a menu changed today
// is mentioned once.
TEST_F(BuildSourceTest, SiteMenuIsReadAndItsChangeMentionedOnce) {
  Write(Master({".PG a|T", "x"}));
  WriteFile(CurrentFolder + "menu.TXT", "<Nav>\r\n<A Href=\"a.htm\">A</A>\r\n</Nav>\r\n");
  const std::string notice =
      "If you have updated Menu.txt you also need to update the code in EDecrypt.js";
  for (int run = 0; run < 2; ++run) {
    Dialogs().Clear();
    BuildMessage();
    EXPECT_TRUE(ReachedFirstPage(lastRun));
    EXPECT_EQ(lastRun.SiteMenu, "<Nav>\n<A Href=\"a.htm\">A</A>\n</Nav>\n");
    const auto texts = Dialogs().Texts();
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [&](const std::string& t) { return Trim(t) == notice; }),
              run == 0 ? 1 : 0);
  }
}

}  // namespace
}  // namespace quorrel::test
