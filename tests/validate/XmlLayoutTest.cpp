// The XML re-layout on small documents that show each rule and each message, and
// on the XML that Debian ships: the shared MIME database and the ISO code lists.
#include <gtest/gtest.h>

#include <filesystem>

#include "shell/FastStrings.h"
#include "support/Installed.h"
#include "support/ProgramOutput.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "validate/XmlLayout.h"

namespace quorrel::test {
namespace {

namespace fs = std::filesystem;

constexpr char kDeclaration[] = "<?xml version=\"1.0\"?>";

std::string Xml(const std::string& body) {
  return kDeclaration + body;
}

// What a document should come back as; the layout of a document laid out already
// is the same again.
struct LayoutCase {
  const char* name;
  std::string body;      // after the declaration
  std::string expected;  // after the declaration and its line end
};

TEST(XmlLayoutTest, LaysOutOneElementALine) {
  const LayoutCase cases[] = {
      {"an element with a text element", "<a><b>x</b></a>", "<a>\r\n  <b>x</b>\r\n</a>\r\n"},
      {"a blank goes before />", "<a><b/><c x=\"1\"/></a>", "<a>\r\n  <b />\r\n  <c x=\"1\" />\r\n</a>\r\n"},
      {"a blank before /> stays one", "<a><b /></a>", "<a>\r\n  <b />\r\n</a>\r\n"},
      {"lines and blanks between elements go", "\n\n  <a>\n      <b/>\n\n</a>\n",
       "<a>\r\n  <b />\r\n</a>\r\n"},
      {"deeper levels", "<a><b><c><d/></c></b></a>",
       "<a>\r\n  <b>\r\n    <c>\r\n      <d />\r\n    </c>\r\n  </b>\r\n</a>\r\n"},
      {"an element without content keeps one line", "<a>\n  </a>", "<a></a>\r\n"},
      {"text keeps its inner line ends", "<a>one\ntwo</a>", "<a>one\ntwo</a>\r\n"},
      {"a text keeps its blanks", "<a>  x </a>", "<a>  x </a>\r\n"},
      {"a text keeps its line ends", "<a>\n  x\n</a>", "<a>\n  x\n</a>\r\n"},
      {"a start tag over several lines", "<a\n  x=\"1\"\n  y=\"2\">t</a>", "<a\n  x=\"1\"\n  y=\"2\">t</a>\r\n"},
      {"comments are indented as they stand", "<!-- top --><a><!-- in\n  two --><b/></a>",
       "<!-- top -->\r\n<a>\r\n  <!-- in\n  two -->\r\n  <b />\r\n</a>\r\n"},
      {"a processing instruction opens no level", "<?xml-stylesheet href=\"s.xsl\"?><a/>",
       "<?xml-stylesheet href=\"s.xsl\"?>\r\n<a />\r\n"},
      {"a > in a quoted value is no tag end", "<a b=\"x>y\" c='>'/>", "<a b=\"x>y\" c='>' />\r\n"},
      {"a DOCTYPE with its internal subset", "<!DOCTYPE a [\n<!ELEMENT a (b)>\n<!-- a > -->\n<!ENTITY e \"]>\">\n]>\n<a><b/></a>",
       "<!DOCTYPE a [\n<!ELEMENT a (b)>\n<!-- a > -->\n<!ENTITY e \"]>\">\n]>\r\n<a>\r\n  <b />\r\n</a>\r\n"},
      {"a CDATA section among elements", "<a><![CDATA[ </b> <c> ]]><b/></a>",
       "<a>\r\n  <![CDATA[ </b> <c> ]]>\r\n  <b />\r\n</a>\r\n"},
      {"a CDATA section in a text", "<a>x <![CDATA[</b>]]> <!-- </c> --> y</a>",
       "<a>x <![CDATA[</b>]]> <!-- </c> --> y</a>\r\n"},
      // Tabs are the writer's own: they stay in front of the tag they indent.
      {"tab-indented elements", "<a>\n\t<b>\n\t\t<c/>\n\t</b>\n\t<d>t</d>\n</a>\n",
       "<a>\r\n  \t<b>\r\n    \t\t<c />\r\n  \t</b>\r\n  \t<d>t</d>\r\n</a>\r\n"},
      {"tabs ending a line stay at its end", "<a>\n<b/>\t\n</a>", "<a>\r\n  <b />\t\r\n</a>\r\n"},
      {"a tab in a text stays", "<a>\tx</a>", "<a>\tx</a>\r\n"},
      {"the declaration alone", "\n", ""},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TXmlLayout first = LayOutXml(Xml(c.body));
    ASSERT_FALSE(first.error) << first.error->message;
    EXPECT_EQ(first.out, std::string(kDeclaration) + "\r\n" + c.expected);
    const TXmlLayout second = LayOutXml(first.out);
    ASSERT_FALSE(second.error) << second.error->message;
    EXPECT_EQ(second.out, first.out);
  }
}

// The first error stops the layout; its offset is that of the place at fault, and
// a message that stands alone has none.
struct ErrorCase {
  const char* name;
  std::string body;
  std::string message;
  std::string at;  // the text at the offset ("" for a message that stands alone)
};

TEST(XmlLayoutTest, StopsAtTheFirstError) {
  const std::string shown = std::string(kDeclaration) + "\r\n<a>\r\n  <b />";
  const std::string notFound = NotFoundMessage(">", Xml("<a><b"), 25);
  const std::string far(250, 'x');
  const ErrorCase cases[] = {
      {"text after a child element", "<a><b/>text</a>",
       "Expected \"<\" after \r" + RightChars(shown, 40) + "\rbut found t Chr(116).", "text</a>"},
      {"text after a tab-indented child", "<a>\n\t<b/>\n\tmore</a>",
       "Expected \"<\" after \r" + RightChars(std::string(kDeclaration) + "\r\n<a>\r\n  \t<b />", 40) +
           "\rbut found m Chr(109).",
       "more</a>"},
      {"a character of the upper half is named by its code", "<a/>\xE9",
       "Expected \"<\" after \r" + RightChars(std::string(kDeclaration) + "\r\n<a />", 40) +
           "\rbut found \xE9 Chr(233).",
       "\xE9"},
      {"an element closed by another's end tag", "<a><b/></c>",
       "<a> cannot be terminated by </c>\rPreceding text: " + Xml("<a><b/></c"), "</c>"},
      {"a text element closed by another's end tag", "<a>x" + far + "</c >",
       "<a> cannot be terminated by </c>\rPreceding text:\r" + std::string(196, 'x') + "</c ", "</c >"},
      {"an end tag without its >", "<a><b/></a", "Final \">\" not found after\r</a", "</a"},
      {"a text element's end tag without its >", "<a>x</a", "Final \">\" not found after\r</a",
       "</a"},
      {"an unterminated comment", "<a><!-- never closed <b/></a>", "Unterminated comment.",
       "<!-- never"},
      {"the comment-like tag", "<--! x>", "Sorry, Quorrel has a problem validating comments!",
       "<--!"},
      {"an end tag at the top", "<a/></b>", "</b> has not been opened.", "</b>"},
      {"an end tag straight after the declaration", "</a>", "</a> has not been opened.", "</a>"},
      {"a start tag without its >", "<a><b", notFound, ""},
      {"elements still open at the end", "<a><b><c/>", XmlFinalLevelMessage, ""},
      {"a text element still open at the end", "<a>text", XmlFinalLevelMessage, ""},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string input = Xml(c.body);
    const TXmlLayout layout = LayOutXml(input);
    ASSERT_TRUE(layout.error);
    EXPECT_EQ(layout.error->message, c.message);
    if (c.at.empty()) {
      EXPECT_FALSE(layout.error->atOffset);
    } else {
      EXPECT_TRUE(layout.error->offsetFirst);
      EXPECT_EQ(layout.error->offset, input.rfind(c.at));
    }
  }
}

// Nesting lives on the heap, and the depth is bounded: the laid-out text grows with
// the square of the depth. A document of 100,000 levels is refused at once, not a
// crash or a hang; the deepest allowed is laid out.
TEST(XmlLayoutTest, DeepNestingIsBounded) {
  auto nested = [](size_t depth, bool closed) {
    std::string open, close;
    for (size_t i = 0; i < depth; ++i) {
      open += "<e>";
      close += "</e>";
    }
    return Xml(closed ? open + close : open);
  };
  const TXmlLayout deepest = LayOutXml(nested(MaxXmlDepth + 1, true));
  ASSERT_FALSE(deepest.error) << deepest.error->message;
  EXPECT_NE(deepest.out.find(std::string(2 * MaxXmlDepth, ' ') + "<e></e>\r\n"), std::string::npos);
  for (bool closed : {true, false}) {
    const std::string input = nested(100000, closed);
    const TXmlLayout layout = LayOutXml(input);
    ASSERT_TRUE(layout.error);
    EXPECT_EQ(layout.error->message, XmlTooDeepMessage);
    EXPECT_EQ(layout.error->offset, std::string(kDeclaration).size() + 3 * MaxXmlDepth);
  }
  const TXmlLayout left = LayOutXml(nested(50, false));
  ASSERT_TRUE(left.error);
  EXPECT_EQ(left.error->message, XmlFinalLevelMessage);
}

// Where two long texts part (a whole-text comparison would print megabytes).
std::string FirstDifference(const std::string& a, const std::string& b) {
  size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  if (at == a.size() && at == b.size()) return "";
  return "at " + std::to_string(at) + ": [" + a.substr(at, 60) + "] against [" + b.substr(at, 60) + "]";
}

// The text with a blank before every "/>" that ends a tag (not in comments).
std::string BlankBeforeSlash(const std::string& text) {
  std::string out;
  for (size_t at = 0; at < text.size(); ++at) {
    if (text.compare(at, 4, "<!--") == 0) {
      const size_t end = text.find("-->", at);
      out.append(text, at, end + 3 - at);
      at = end + 2;
      continue;
    }
    if (text.compare(at, 2, "/>") == 0 && at > 0 && text[at - 1] != ' ') out += ' ';
    out += text[at];
  }
  return out;
}

std::vector<fs::path> MimeFiles() {
  std::vector<fs::path> files;
  for (const auto& type : fs::directory_iterator("/usr/share/mime")) {
    if (!type.is_directory()) continue;
    for (const auto& file : fs::directory_iterator(type.path())) {
      if (file.path().extension() == ".xml") files.push_back(file.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The MIME database is laid out as this layout lays it, apart from its LF line
// ends and the blank before "/>": each file comes back as it is, a second run
// changes nothing, and libxml2 reads every result as well-formed.
TEST(XmlLayoutTest, MimeDatabaseComesBackAsItIs) {
  ASSERT_TRUE(Installed("/usr/share/mime/packages/freedesktop.org.xml", "shared-mime-info"));
  const std::vector<fs::path> files = MimeFiles();
  ASSERT_GT(files.size(), 500u);
  const fs::path outFolder = fs::path(TestHome()) / "mime-out";
  fs::create_directories(outFolder);
  std::string paths;
  for (size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE(files[i].string());
    const std::string text = ReadFile(files[i].string());
    const TXmlLayout layout = LayOutXml(text);
    ASSERT_FALSE(layout.error) << layout.error->message;
    // Line ends inside comments, tags and the DOCTYPE are copied as they stand. The
    // packages' own sources (but the database's) are laid out as their writers like.
    if (files[i].parent_path().filename() != "packages" ||
        files[i].filename() == "freedesktop.org.xml") {
      EXPECT_EQ(FirstDifference(ReplaceAll(layout.out, "\r\n", "\n", true), BlankBeforeSlash(text)),
                "");
    }
    EXPECT_EQ(FirstDifference(LayOutXml(layout.out).out, layout.out), "");
    const std::string out = (outFolder / (std::to_string(i) + ".xml")).string();
    WriteFile(out, layout.out);
    paths += " " + out;
  }
  EXPECT_EQ(ProgramOutput("xmllint --noout" + paths + " 2>&1; echo $?"), "0\n");
}

// The ISO code lists carry a DOCTYPE with its internal subset, and indent with tabs.
TEST(XmlLayoutTest, IsoCodeListsValidate) {
  ASSERT_TRUE(Installed("/usr/share/xml/iso-codes/iso_3166-2.xml", "iso-codes"));
  size_t laidOut = 0;
  for (const auto& file : fs::directory_iterator("/usr/share/xml/iso-codes")) {
    const std::string text = ReadFile(file.path().string());
    if (!text.starts_with("<?xml")) continue;  // an empty list is no XML document
    SCOPED_TRACE(file.path().string());
    const TXmlLayout layout = LayOutXml(text);
    ASSERT_FALSE(layout.error) << layout.error->message;
    EXPECT_EQ(FirstDifference(LayOutXml(layout.out).out, layout.out), "");
    // libxml2 finds what our check leaves alone (one list has a bare "&"), in the
    // laid-out list exactly when in the list itself.
    const std::string out = TestHome() + "iso.xml";
    WriteFile(out, layout.out);
    const std::string verdict = " >/dev/null 2>&1; echo $?";
    EXPECT_EQ(ProgramOutput("xmllint --noout " + out + verdict),
              ProgramOutput("xmllint --noout " + file.path().string() + verdict));
    ++laidOut;
  }
  EXPECT_GE(laidOut, 10u);
}

}  // namespace
}  // namespace quorrel::test
