// Masters as the program's own save writes them (its RTF writer, its end mark),
// built on disk: text the writer escapes, letters outside the code page, the
// typographic characters of Windows-1252, and what messages and warnings name.
// Every page built here is read by tidy and xmllint.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Abort.h"
#include "shell/CommandNames.h"
#include "shell/ShellState.h"
#include "sitebuild/BuildPages.h"
#include "sitebuild/BuildTestKit.h"
#include "support/MasterRtf.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

class SavedMastersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CurrentFolder = TestHome() + "saved/";
    CurrentFileName = CurrentFolder + "master.rtf";
    fs::remove_all(CurrentFolder);
    fs::create_directories(CurrentFolder);
    SetProgressView(&reports);
    Dialogs().Clear();
  }
  void TearDown() override { SetProgressView(nullptr); }

  // Builds the saved master; the message that stopped it, "" when none did.
  std::string Build(const std::vector<std::string>& paragraphs) {
    WriteFile(CurrentFileName, SavedMaster(paragraphs));
    TBuildRun run;
    try {
      BuildPagesFromRtf(run, false);
    } catch (const EAbort&) {
      return Dialogs().Texts().empty() ? "?" : Dialogs().Texts().back();
    }
    return "";
  }
  std::string Page(const std::string& name) { return ReadFile(CurrentFolder + name); }
  // Each named page exists and real checkers find nothing wrong in it.
  void ExpectValidPages(const std::vector<std::string>& names) {
    for (const std::string& name : names) ExpectValidPage(CurrentFolder + name);
  }

  WarningsView reports;
};

TEST_F(SavedMastersTest, TheEndMarkIsTheEndOfTheMaster) {
  // A blank last paragraph is refused, as it is in a master without the mark.
  EXPECT_NE(Build({".PG one|One", ".BO", "<H1>One</H1>", "Text", ""})
                .find("Remove blank line at end of page!"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(CurrentFolder + "one.htm"));
  // Without one, the last page ends with its text.
  ASSERT_EQ(Build({".PG one|One", ".BO", "<H1>One</H1>", "Text"}), "");
  EXPECT_NE(Page("one.htm").find("<H1>One</H1>\nText\n</Body>"), std::string::npos)
      << Page("one.htm");
  ExpectValidPages({"one.htm"});
}

// A "<" that opens no tag is text: the rest of the master is not taken for a tag.
TEST_F(SavedMastersTest, ALessThanSignThatOpensNoTagIsText) {
  ASSERT_EQ(Build({".PG one|One", ".BO", "<H1>One</H1>", "If a<b then \\b stop\\b0 .", "x < y",
                   ".PG two|Two", ".BO", "<H1>Two</H1>", "<I>Tags</I> still pass."}),
            "");
  const std::string one = Page("one.htm");
  EXPECT_NE(one.find("If a&lt;b then <b>stop</b>."), std::string::npos) << one;
  EXPECT_NE(one.find("x &lt; y"), std::string::npos) << one;
  EXPECT_EQ(one.find("two"), std::string::npos) << one;
  EXPECT_NE(Page("two.htm").find("<I>Tags</I> still pass."), std::string::npos);
  ExpectValidPages({"one.htm", "two.htm"});

  // A master long enough to have filled the push-back stack with the rest of the text.
  std::vector<std::string> big = {".PG big|Big", ".BO", "<H1>Big</H1>", "a<b \\b c\\b0"};
  for (int i = 0; i < 400; ++i) big.push_back("Line " + std::to_string(i) + " of the text.");
  big.insert(big.end(), {".PG end|End", ".BO", "<H1>End</H1>", "Last."});
  ASSERT_EQ(Build(big), "");
  ExpectValidPages({"big.htm", "end.htm"});
}

TEST_F(SavedMastersTest, LettersOutsideTheCodePageAreReferences) {
  ASSERT_EQ(Build({".PG one|One", ".BO", "<H1>One</H1>", "\\u321?ukasz \\u380?\\'f3\\u322?w",
                   "\\u8364? 5 and \\u945? rest", ".PG two|Two", ".BO", "<H1>Two</H1>", "After"}),
            "");
  const std::string one = Page("one.htm");
  // The writer gives the euro sign as its code-page byte.
  EXPECT_NE(one.find("&#321;ukasz &#380;&#243;&#322;w"), std::string::npos) << one;
  EXPECT_NE(one.find("&euro; 5 and &#945; rest"), std::string::npos) << one;
  ExpectValidPages({"one.htm", "two.htm"});
}

// The bytes 128-159 of Windows-1252 as the editor saves them: dashes and double
// quotes as the control words for them give them, the rest by name.
TEST_F(SavedMastersTest, TypographicCharactersBecomeValidReferences) {
  ASSERT_EQ(Build({".PG one|One", ".BO", "<H1>One</H1>",
                   "A \\'97 dash, \\'93quoted\\'94 it\\'92s \\'91single\\'92 \\'8099 \\'85 end",
                   "\\'96 \\'95 \\'99 \\'84low \\'8a\\'9a\\'8c\\'9c\\'9f\\'83 \\'86\\'87\\'89"}),
            "");
  const std::string one = Page("one.htm");
  EXPECT_NE(one.find("A - dash, &ldquo;quoted&rdquo; it&rsquo;s &lsquo;single&rsquo; &euro;99 "
                     "&hellip; end"),
            std::string::npos)
      << one;
  EXPECT_NE(one.find("- &bull; &trade; &bdquo;low &Scaron;&scaron;&OElig;&oelig;&Yuml;"
                     "&fnof; &dagger;&Dagger;&permil;"),
            std::string::npos)
      << one;
  ExpectValidPages({"one.htm"});
}

// A message names the page being built, not the section the caret is in.
TEST_F(SavedMastersTest, MessagesNameThePageBeingBuilt) {
  CurrentPageName = "one";
  CurrentCommand = BuildAllCommand;
  const std::string shown =
      Build({".PG one|One", ".BO", "<H1>One</H1>", "x", ".PG two|Two", ".BO", ".QQ what"});
  CurrentCommand.clear();
  EXPECT_EQ(ErrorOf(shown), "Unknown marker .QQ");
  EXPECT_EQ(shown.substr(0, 13), "Section: two\r");
  EXPECT_EQ(shown.substr(shown.size() - 8), "\rtwo.htm") << shown;
  EXPECT_EQ(shown.find("one.htm"), std::string::npos) << shown;
  EXPECT_EQ(CurrentPageName, "one");  // the caret's section again
}

// The tab warning quotes the line the tab is in, as the editor shows it.
TEST_F(SavedMastersTest, TheTabWarningShowsTheLineFound) {
  struct Case {
    const char* name;
    std::vector<std::string> paragraphs;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"after a command", {".PG one|One", ".BO", "A\\tab B"}, "A B"},
      {"after text",
       {".PG one|One", ".BO", "<H1>One</H1>", "Some \\b bold\\b0  and caf\\'e9\\tab next"},
       "Some bold and caf\xE9 next"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Dialogs().Clear();
    ASSERT_EQ(Build(c.paragraphs), "");
    ASSERT_FALSE(Dialogs().Texts().empty());
    EXPECT_EQ(Dialogs().Texts().front(), "Unexpected tab character converted to @@@@ in line\r" +
                                             c.line + "\rand maybe others.");
  }
}

// Each page's warnings reach the user, not only the last page's.
TEST_F(SavedMastersTest, EveryPagesWarningsAreShown) {
  WriteFile(CurrentFolder + "menu.htm", "<Nav>\n<A Href=\"three.htm\">Three</A>\n</Nav>\n");
  ASSERT_EQ(Build({".PG one|One", ".BO", ".ME menu.htm", "<H1>One</H1>", ".PG two|Two", ".BO",
                   ".ME menu.htm", "<H1>Two</H1>", ".PG three|Three", ".BO", ".ME menu.htm",
                   "<H1>Three</H1>"}),
            "");
  std::vector<std::string> warned;
  for (const std::string& line : reports.lines) {
    if (line.starts_with("Page ")) warned.push_back(line.substr(5, line.find(' ', 5) - 5));
  }
  EXPECT_EQ(warned, (std::vector<std::string>{"one", "two"}));
}

// Lists, indents and links kept by the save reach the builder: a bullet is the
// page's bullet, layout is passed over, a link is a link, and centring is refused.
TEST_F(SavedMastersTest, ListsLayoutAndLinksOfASavedMaster) {
  const std::vector<std::string> master = {
      ".PG one|One",
      ".BO",
      "<H1>One</H1>",
      "\\pard\\li720\\fi-360{\\pntext\\f1\\'B7\\tab}Apples",
      "{\\pntext\\f1\\'B7\\tab}\\b Fresh\\b0  pears",
      "\\pard\\li720 An indented line",
      "\\pard See {\\field{\\*\\fldinst HYPERLINK \"https://example.com/a?b=1&c=2\"}"
      "{\\fldrslt \\ul\\cf1 the caf\\'e9 site}} now.",
      ".PG two|Two",
      ".BO",
      "<H1>Two</H1>",
      "Last"};
  const std::string saved = SavedMaster(master);
  EXPECT_NE(saved.find("{\\*\\pn\\pnlvlblt"), std::string::npos) << saved;
  EXPECT_NE(saved.find("{\\field{\\*\\fldinst HYPERLINK"), std::string::npos) << saved;
  ASSERT_EQ(Build(master), "");
  const std::string one = Page("one.htm");
  const std::string bullet =
      "<Br> &nbsp; <Img Src=\"images/Bullet.gif\" Width=7 Height=9 Alt=\"\"> &nbsp;";
  EXPECT_NE(one.find(bullet + "Apples"), std::string::npos) << one;
  EXPECT_NE(one.find(bullet + "<b>Fresh</b> pears"), std::string::npos) << one;
  EXPECT_NE(one.find("\nAn indented line\n"), std::string::npos) << one;
  EXPECT_NE(
      one.find("See <a href=\"https://example.com/a?b=1&amp;c=2\">the caf&eacute; site</a> now."),
      std::string::npos)
      << one;
  EXPECT_EQ(one.find("Font"), std::string::npos) << one;
  EXPECT_NE(Page("two.htm").find("Last"), std::string::npos);
  ExpectValidPages({"one.htm", "two.htm"});

  EXPECT_EQ(ErrorOf(Build({".PG one|One", ".BO", "<H1>One</H1>", "\\pard\\qc Centred"})),
            "Use <center> rather than centring with Text | Centred.");

  // One section ends at the next page command, though layout stands before it.
  fs::remove(CurrentFolder + "one.htm");
  fs::remove(CurrentFolder + "two.htm");
  WriteFile(CurrentFileName, saved);
  CurrentText = RtfPlainText(ParseRtf(saved));
  TBuildRun run;
  ASSERT_NO_THROW(BuildPagesFromRtf(run, true)) << Dialogs().Last().text;
  EXPECT_EQ(Page("one.htm"), one);
  EXPECT_FALSE(fs::exists(CurrentFolder + "two.htm"));
}

}  // namespace
}  // namespace quorrel::test
