// ValidateHtml from end to end on real pages that Debian ships, opened from a site
// folder: libvorbis's XHTML pages (a title at odds with the first heading) and
// Node.js's HTML 5 reference. Each is validated to a text that a second validation
// leaves as it is.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Abort.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "support/Installed.h"
#include "support/ScriptedDialogs.h"
#include "validate/ValTestKit.h"
#include "validate/ValUnit.h"

namespace quorrel::test {
namespace {

const std::string kDoc = "/usr/share/doc/";
const std::string kVorbis = kDoc + "libvorbis-dev/html/";
const std::string kNode = kDoc + "nodejs/api/";
// Debian ships Node.js's pages in nodejs-doc (a nodejs from elsewhere carries them).
const char kNodePackage[] = "nodejs-doc";

class HtmlRealSiteTest : public ValidationTest {
 protected:
  void SetUp() override {
    ValidationTest::SetUp();
    SetValidatorStandIn(nullptr);
    IdleReady = true;
  }
  // Opens a copy of a real page, which the package installs, from the site folder.
  ::testing::AssertionResult OpenCopy(const std::string& path, const std::string& package) {
    ::testing::AssertionResult there = Installed(path, package);
    if (there) Open(ExtractFileName(path), Read(path));
    return there;
  }
  static std::string Validate() {
    try {
      ValidateCurrentFile("Validate");
    } catch (const EAbort&) {
      return Dialogs().Calls().empty() ? "(silent)" : Dialogs().Last().text;
    }
    return "";
  }
  // A second validation finds nothing to change or ask.
  void ExpectSettled() {
    const std::string text = CurrentText;
    Dialogs().Clear();
    EXPECT_EQ(Validate(), "");
    EXPECT_EQ(CurrentText, text);
    EXPECT_EQ(ValidationPass, 1);
    EXPECT_TRUE(Dialogs().Calls().empty());
  }
};

TEST_F(HtmlRealSiteTest, AVorbisPageGetsItsHeadingAsTitle) {
  const std::string page = kVorbis + "floor1_inverse_dB_table.html";
  ASSERT_TRUE(OpenCopy(page, "libvorbis-dev"));
  const std::string heading = "Ogg Vorbis I format specification: floor1_inverse_dB_table";
  // Blank lines are not kept; heading to title.
  Dialogs().Answer({mrNo, mrYes, mrYes});
  EXPECT_EQ(Validate(), "");
  ASSERT_EQ(Dialogs().Calls().size(), 3u);
  EXPECT_EQ(Dialogs().Calls()[1].text, "<Title>: Ogg Vorbis Documentation\rFirst <H1>: " + heading +
                                           "\rMake these consistent?");
  EXPECT_NE(CurrentText.find("<title>" + heading + "</title>"), std::string::npos);
  // Its DOCTYPE is its own; its html tag says its language; the old character set
  // stays and the viewport is added.
  EXPECT_EQ(CurrentText.find("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\""), 0u);
  EXPECT_NE(CurrentText.find("\n<html Lang=en>\n"), std::string::npos);
  EXPECT_NE(CurrentText.find("charset=iso-8859-15\" />"), std::string::npos);
  EXPECT_NE(CurrentText.find("<Meta Name=viewport"), std::string::npos);
  EXPECT_TRUE(CurrentEditor->Modified());
  ExpectSettled();
}

TEST_F(HtmlRealSiteTest, AnInconsistentVorbisPageStopsAtItsHeading) {
  const std::string page = kVorbis + "floor1_inverse_dB_table.html";
  ASSERT_TRUE(OpenCopy(page, "libvorbis-dev"));
  Dialogs().Answer({mrNo, mrNo});
  EXPECT_EQ(Validate(),
            "Inconsistent tags.\r<Title>: Ogg Vorbis Documentation\rFirst <H1>: Ogg Vorbis I "
            "format specification: floor1_inverse_dB_table");
  // The editor holds the page as re-laid, with the caret on the heading.
  EXPECT_EQ(CurrentEditor->SelStart(), CurrentText.find("Ogg Vorbis I format"));
  EXPECT_EQ(CurrentText.find("<!DOCTYPE"), 0u);
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(CurrentCommand, "");
}

// Pages that documentation generators write (AsciiDoc, Sphinx, DocBook, Node.js's
// own), with tables, nested lists, long link texts, code blocks and comments: they
// are re-laid in one pass, which the next pass only confirms (the open command
// re-lays a page whose head does not start a line, otherwise F10 does); the second
// F10 changes nothing and asks nothing.
TEST_F(HtmlRealSiteTest, GeneratedPagesSettleInOnePass) {
  MainMenu().SetChecked("CheckH", false);
  const std::string kNotice = "\"<A Name=...\" replaced by \"<A Id=...\".";
  struct Case {
    const char* page;  // under /usr/share/doc
    const char* package;
    std::vector<int> answers;  // to what the open and the first F10 ask
    std::vector<std::string> asked;
    // Quoted phrases the re-laid page breaks over two lines: the first F10 asks about
    // each after the questions above, and Yes writes its quotes as entities.
    int brokenQuotes = 0;
  } cases[] = {
      // AsciiDoc XHTML: the head's added lines end " />". The page has the run's
      // first empty line outside a script: blank lines are still not kept.
      {"git-doc/git-add.html", "git-doc", {mrNo}, {"Blank line at offset"}},
      // Its no-break spaces are left as they are; its anchors get ids.
      {"git-doc/user-manual.html",
       "git-doc",
       {mrNo, mrNo, mrOk},
       {"Replace \"\xC2\" (hex C2), or hex A0 pseudo-blanks", "Replace by &nbsp; ?", kNotice},
       20},
      // Sphinx: a line end before the DOCTYPE, UTF-8 text, SVG paths closed at once.
      {"python3.11/html/glossary.html", "python3-doc", {}, {}},
      {"python3.11/html/library/json.html", "python3-doc", {}, {}},
      {"python3.11/html/tutorial/controlflow.html", "python3-doc", {}, {}},
      // Link texts "https://www...", tables, comments.
      {"nodejs/api/crypto.html", kNodePackage, {}, {}},
      // DocBook: "<A" and "HREF" on two lines.
      {"shared-mime-info/shared-mime-info-spec.html/x34.html",
       "shared-mime-info",
       {mrOk},
       {kNotice}},
      // A definition list in a definition.
      {"libxslt1-dev/html/tutorial/libxslttutorial.html", "libxslt1-dev", {mrOk}, {kNotice}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    Dialogs().Clear();
    for (int answer : c.answers) Dialogs().Answer(answer);
    for (int i = 0; i < c.brokenQuotes; ++i) Dialogs().Answer(mrYes);
    ValidationPass = 0;
    const ::testing::AssertionResult opened = OpenCopy(kDoc + c.page, c.package);
    EXPECT_TRUE(opened);
    if (!opened) continue;
    const int openPasses = ValidationPass;
    EXPECT_EQ(Validate(), "");
    const std::vector<std::string> texts = Dialogs().Texts();
    ASSERT_EQ(texts.size(), c.asked.size() + c.brokenQuotes);
    for (size_t i = 0; i < texts.size(); ++i) {
      const std::string asked =
          i < c.asked.size() ? c.asked[i] : "Unmatched double-quote in text ending\r";
      EXPECT_EQ(texts[i].find(asked), 0u) << texts[i];
    }
    if (openPasses > 0) {
      EXPECT_EQ(openPasses, 2);
      EXPECT_EQ(ValidationPass, 1);
    } else {
      EXPECT_EQ(ValidationPass, 2);
    }
    ExpectSettled();
  }
}

// A site of pages that generators write, validated with Validate all (headings not
// checked): it stops on none of them. Each page, opened again, then passes F10, and
// a second F10 changes nothing and asks nothing.
TEST_F(HtmlRealSiteTest, ValidateAllStopsOnNoGeneratedPage) {
  MainMenu().SetChecked("CheckH", false);
  AskServerImages = false;
  AppPhase = 1;
  const struct {
    const char* page;  // under /usr/share/doc
    const char* package;
  } pages[] = {
      {"git-doc/git-add.html", "git-doc"},
      {"git-doc/gitworkflows.html", "git-doc"},
      {"python3.11/html/glossary.html", "python3-doc"},
      {"python3.11/html/library/functions.html", "python3-doc"},
      {"python3.11/html/c-api/init.html", "python3-doc"},
      {"nodejs/api/tls.html", kNodePackage},
  };
  std::vector<std::string> copied;
  for (const auto& p : pages) {
    ASSERT_TRUE(Installed(kDoc + p.page, p.package));
    copied.push_back(Write(p.page, Read(kDoc + p.page)));
  }
  Dialogs().AnswerPath(site);
  Dialogs().Answer(mrNo);  // the run's blank-line question: blank lines are not kept
  ValidateFolder(ValidateAllPatterns);
  EXPECT_EQ(Status(), "  " + std::to_string(copied.size()) + " files validated");
  ASSERT_EQ(Dialogs().Calls().size(), 1u) << Dialogs().Last().text;
  for (const std::string& path : copied) {
    SCOPED_TRACE(path);
    Dialogs().Clear();
    Open(path.substr(site.size()), Read(path));
    EXPECT_EQ(Validate(), "");
    EXPECT_TRUE(Dialogs().Calls().empty());
    ExpectSettled();
  }
}

TEST_F(HtmlRealSiteTest, NodeReferencePagesKeepTheirHead) {
  for (const char* name : {"addons.html", "events.html"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(OpenCopy(kNode + name, kNodePackage));
    EXPECT_EQ(Validate(), "");
    EXPECT_TRUE(Dialogs().Calls().empty());
    // An HTML 5 page with its language, character set and viewport gets none of them again.
    EXPECT_EQ(CurrentText.find("<!DOCTYPE html>\n<html lang=\"en\">\n"), 0u);
    EXPECT_EQ(PosNoCase("Lang=en", CurrentText), 0u);
    EXPECT_NE(CurrentText.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_EQ(PosNoCase("Name=viewport", CurrentText), 0u);
    ExpectSettled();
  }
}

}  // namespace
}  // namespace quorrel::test
