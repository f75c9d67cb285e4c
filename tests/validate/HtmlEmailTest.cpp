// Mailto links in the HTML validator's walk: the nine pages of libxslt's site that
// have them, copied into a site folder, are scrambled with the decoder put in their
// head and decode back to the same links; in a folder named "html", on a second pass
// and with "edecrypt.js" beside the page the walk does what those cases ask.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"
#include "support/Installed.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "validate/EmailScramble.h"
#include "validate/HtmlTestKit.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

const std::string kSite = "/usr/share/doc/libxslt1-dev/html/";
const char* const kMailPages[] = {"bugs.html",  "contribs.html",  "downloads.html",
                                  "extensions.html", "help.html", "index.html",
                                  "internals.html",  "python.html", "xslt.html"};

std::string WorkingCopy(const std::string& path) {
  std::string text = Utf8ToAnsi(ReadFile(path));
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return ReplaceAll(text, "\t", " ", true);
}

// Each mailto link as address, query, other attributes and text.
std::vector<std::string> MailLinks(const std::string& text) {
  static const std::regex link(R"(<a\s+href="mailto:([^"?]*)(\?[^"]*)?"\s*([^>]*)>([\s\S]*?)</a>)",
                               std::regex::icase);
  std::vector<std::string> links;
  for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it) {
    // A line end in a link's text is a blank to the reader, and to the script call.
    links.push_back((*it)[1].str() + "|" + (*it)[2].str() + "|" + (*it)[3].str() + "|" +
                    ReplaceAll((*it)[4].str(), "\n", " ", true));
  }
  return links;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class HtmlEmailTest : public HtmlTest {
 protected:
  void SetUp() override {
    HtmlTest::SetUp();
    NotInSite = false;
    ValidationPass = 0;
    Option("EncE", true);
    site = TestHome() + "site/";
    fs::create_directories(site + "html");
  }
  void TearDown() override { fs::remove_all(site); }

  TWalkResult Walk(const std::string& page, const std::string& folder) {
    CurrentFolder = folder;
    ResetInsTagQuestion();
    // The one page with a list item left open: its end tag is completed.
    if (page.find("Build: configure setup for TRIO_REPLACE_STDIO") != std::string::npos) {
      Dialogs().Answer(mrYes);
    }
    return WalkPage(page);
  }
  std::string site;
};

TEST_F(HtmlEmailTest, LibxsltPagesScrambleAndDecodeBack) {
  ASSERT_TRUE(Installed(kSite + "bugs.html", "libxslt1-dev"));
  for (const char* name : kMailPages) {
    SCOPED_TRACE(name);
    const std::string page = WorkingCopy(kSite + name);
    const std::vector<std::string> links = MailLinks(page);
    ASSERT_FALSE(links.empty());
    Dialogs().Clear();
    const TWalkResult scrambled = Walk(page, site);
    ASSERT_FALSE(scrambled.aborted) << LastBox();
    ASSERT_EQ(scrambled.error, "");
    EXPECT_EQ(Count(scrambled.out, "\nEmail(\""), links.size());
    EXPECT_EQ(Count(scrambled.out, "function Email(A, X, Y)"), 1u);
    EXPECT_LT(scrambled.out.find("function Email(A, X, Y)"), PosNoCase("</head>", scrambled.out));
    EXPECT_TRUE(MailLinks(scrambled.out).empty());
    // Each address was announced.
    size_t notices = 0;
    for (const auto& call : Dialogs().Calls()) {
      notices += call.text.find("\rEmail address encrypted") != std::string::npos;
    }
    EXPECT_EQ(notices, links.size());

    std::string decoded = scrambled.out;
    EXPECT_TRUE(DecodeEmailScripts(decoded));
    EXPECT_EQ(MailLinks(decoded), links);

    // In a folder named "html" the links stay links.
    const TWalkResult untouched = Walk(page, site + "html/");
    EXPECT_EQ(Count(untouched.out, "\nEmail("), 0u);
    EXPECT_EQ(MailLinks(untouched.out).size(), links.size());
  }
  Dialogs().Clear();
  Walk(WorkingCopy(kSite + "bugs.html"), site);
  ASSERT_FALSE(Dialogs().Calls().empty());
  EXPECT_EQ(Dialogs().Calls().front().text,
            MessageText("xslt@gnome.org\rEmail address encrypted"));
}

TEST_F(HtmlEmailTest, WhenTheWalkLeavesTheLinkOrRefersToTheDecoderFile) {
  const std::string page = InPage("<P>Mail <A Href=\"mailto:me@x.org\">me</A> now\n");
  // A second pass never scrambles: the first did.
  ValidationPass = 1;
  TWalkResult second = Walk(page, site);
  EXPECT_EQ(Count(second.out, "\nEmail("), 0u);
  EXPECT_NE(second.out.find("mailto:me@x.org"), std::string::npos);
  ValidationPass = 0;
  // With "Encrypt Email" unticked, a page without a head is not scrambled either.
  Option("EncE", false);
  EXPECT_EQ(Count(Walk(page, site).out, "\nEmail("), 0u);
  Option("EncE", true);
  // "edecrypt.js" beside the page: the page loads it instead of carrying the decoder.
  WriteFile(site + "EDecrypt.js", EmailDecoderJs);
  const TWalkResult loaded = Walk(page, site);
  EXPECT_EQ(Count(loaded.out, "\nEmail(\""), 1u);
  EXPECT_EQ(loaded.out.find("function Email"), std::string::npos);
  EXPECT_NE(loaded.out.find("<script src=\"edecrypt.js\"></script></Head>"), std::string::npos);
  fs::remove(site + "EDecrypt.js");
  // An empty address and a link without its end stop the walk.
  EXPECT_EQ(Walk(InPage("<A Href=\"mailto:\">x</A>\n"), site).error, "Blank email address.");
  EXPECT_EQ(Walk(InPage("<A Href=\"mailto:a@b.c\">x\n"), site).error, "Missing \"</a>\"");
}

}  // namespace
}  // namespace quorrel::test
