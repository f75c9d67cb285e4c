// Scrambled e-mail addresses: the shuffle and its inverse, the script block and the
// decoder that the visitor's browser runs (run here by Debian's node), and the
// blocks turned back into links.
#include <gtest/gtest.h>

#include "platform/Abort.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/ShellState.h"
#include "support/ProgramOutput.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "validate/EmailScramble.h"

namespace quorrel::test {
namespace {

TEST(EmailScrambleTest, ShufflesAndRestores) {
  const struct {
    const char* address;
    const char* code;
  } cases[] = {
      {"a", "a"},
      {"abcdef", "acefdb"},
      {"abcdefg", "acegfdb"},  // 1, 3, 5, 7, then 6, 4, 2
      {"xslt@gnome.org", nullptr},  // only the way back
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    if (c.code) EXPECT_EQ(ScrambleEmail(c.address), c.code);
    const std::string code = ScrambleEmail(c.address);
    EXPECT_EQ(code.find_first_of(".@"), std::string::npos);
    EXPECT_EQ(UnscrambleEmail(code), c.address);
  }
}

TEST(EmailScrambleTest, AddressesWithItsOwnMarksAreRefused) {
  for (const char* address : {"a!b@c.org", "100%@c.org"}) {
    SCOPED_TRACE(address);
    Dialogs().Clear();
    EXPECT_THROW(ScrambleEmail(address), EAbort);
    ASSERT_EQ(Dialogs().Calls().size(), 1u);
    EXPECT_EQ(Dialogs().Last().text,
              MessageText(std::string("Email address contains \"!\" or \"%\"\r") + address));
  }
}

TEST(EmailScrambleTest, TheScriptBlockByteForByte) {
  EXPECT_EQ(EmailScript("acefdb?subject=Hi", "class=\"m\"", "Write to a@b.c", "a@b.c"),
            "<script>\nEmail(\"acefdb?subject=Hi\", \"class=\\\"m\\\"\", \"Write to ~\")\n"
            "document.write(\"<span style='display: none;'>\")\n"
            "</script><A Href=\"https://www.enable-javascript.com/\">You must enable JavaScript "
            "to see this email address.</A>\n"
            "<Script>\ndocument.write('<\\/span>');\n</script>\n");
  // The link text that is the address itself is "~"; the text's own "~" is kept
  // apart as its entity, and a line end separates words.
  const std::string block = EmailScript("x", "", "a@b.c", "a@b.c");
  EXPECT_NE(block.find("Email(\"x\", \"\", \"~\")"), std::string::npos);
  const std::string tilde = EmailScript("x", "", "~john\nat a@b.c", "a@b.c");
  EXPECT_NE(tilde.find("\"&#126;john at ~\")"), std::string::npos);
}

struct LinkCase {
  const char* name;
  std::string address, query, attributes, text;
};

const LinkCase kLinks[] = {
    {"the address as its text", "xslt@gnome.org", "", "", "xslt@gnome.org"},
    {"a name as its text", "igor@zlatkovic.com", "", "", "Igor  Zlatkovic"},
    {"a query", "a.b@c.org", "?subject=Hello%20there&body=x", "", "Mail us"},
    {"attributes with quotes", "a@b.org", "", "class=\"mail\" title='x'", "<b>A</b> and \"B\""},
    {"a text with its own ~ and the address twice", "a@b.org", "", "", "~me: a@b.org, a@b.org"},
    {"a backslash in the text", "a@b.org", "", "", "C:\\mail"},
};

std::string Link(const LinkCase& c) {
  return "<A Href=\"mailto:" + c.address + c.query + "\"" +
         (c.attributes.empty() ? "" : " " + c.attributes) + ">" + c.text + "</A>";
}

std::string Block(const LinkCase& c) {
  return EmailScript(ScrambleEmail(c.address) + c.query, c.attributes, c.text, c.address);
}

TEST(EmailScrambleTest, BlocksDecodeBackToTheirLinks) {
  for (const LinkCase& c : kLinks) {
    SCOPED_TRACE(c.name);
    std::string text = "<p>Before " + Block(c) + "after</p>\n";
    EXPECT_TRUE(DecodeEmailScripts(text));
    EXPECT_EQ(text, "<p>Before " + Link(c) + "after</p>\n");
  }
  // Two blocks on one page, each with its own address.
  std::string two = Block(kLinks[0]) + "<br>" + Block(kLinks[2]);
  EXPECT_TRUE(DecodeEmailScripts(two));
  EXPECT_EQ(two, Link(kLinks[0]) + "<br>" + Link(kLinks[2]));
}

TEST(EmailScrambleTest, ScriptsNotOfTheBlocksShapeAreLeftAlone) {
  const std::string cases[] = {
      "<script>\nvar a = 1;\nEmail(\"x\")\n</script>\n",            // other script before the call
      "<p>\nEmail(\"abc\", \"\", \"t\")\n</p>\n",                    // no script around it
      "<script>\nEmail(\"abc\", \"\", \"t\")\n",                     // no end
      "<script>\nEmail(\"abc\", \"\", \"unclosed)\n</script>\n",     // a string without its end
      "<script>\nEmail(\"abc\", x, \"t\")\n</script>\n",             // not three strings
  };
  for (const std::string& page : cases) {
    SCOPED_TRACE(page);
    std::string text = page;
    EXPECT_FALSE(DecodeEmailScripts(text));
    EXPECT_EQ(text, page);
  }
  // A block of ours after one that is not is still decoded.
  std::string mixed = cases[0] + Block(kLinks[0]);
  EXPECT_TRUE(DecodeEmailScripts(mixed));
  EXPECT_EQ(mixed, cases[0] + Link(kLinks[0]));
  // A generated page is left as it is.
  std::string generated = Block(kLinks[0]);
  IsDotPage = true;
  EXPECT_FALSE(DecodeEmailScripts(generated));
  IsDotPage = false;
}

// The browser's side: the decoder and a block's call, run by node with a stub
// document.write, write the original link.
TEST(EmailScrambleTest, TheDecoderWritesTheOriginalLink) {
  ASSERT_NE(ProgramOutput("node --version"), "") << "node (Debian's nodejs) is missing";
  std::string script = "var written = '';\nvar document = { write: function (s) { written += s; } };\n";
  script += EmailDecoderJs;
  std::string expected;
  for (const LinkCase& c : kLinks) {
    const std::string block = Block(c);
    // The call and the span it opens, as the page runs them.
    const size_t from = block.find("Email(");
    const size_t to = block.find("</script>");
    script += block.substr(from, to - from);
    script += "written += '\\n';\n";
    std::string link = "<a href=\"mailto:" + c.address + c.query + "\"" +
                       (c.attributes.empty() ? "" : " " + c.attributes) + ">" + c.text + "</a>";
    if (std::string(c.name) == "a text with its own ~ and the address twice") {
      link = ReplaceAll(link, ">~me", ">&#126;me", true);  // the browser shows "~"
    }
    expected += link + "<span style='display: none;'>\n";
  }
  script += "process.stdout.write(written);\n";
  const std::string path = TestHome() + "decoder.js";
  WriteFile(path, script);
  EXPECT_EQ(ProgramOutput("node " + path), expected);
}

}  // namespace
}  // namespace quorrel::test
