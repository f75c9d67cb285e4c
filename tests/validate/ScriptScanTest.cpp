// The script checker's scanner: what it leaves of a line for the rules to look at
// (strings, regular expressions and comments masked, positions kept), whether the
// quotes balance, and the first word.
#include <gtest/gtest.h>

#include <string>

#include "validate/ScriptScan.h"

namespace quorrel {
namespace {

constexpr auto kJs = TScriptLanguage::JavaScript;
constexpr auto kCs = TScriptLanguage::CSharp;
constexpr auto kPhp = TScriptLanguage::Php;

struct ScanCase {
  const char* what;
  TScriptLanguage language;
  const char* line;
  const char* code;  // "~" for each character masked
  bool balanced = true;
};

const ScanCase kScans[] = {
    {"strings are masked, their quotes kept", kJs, "a = \"{x}\" + 'y';", "a = \"~~~\" + '~';"},
    {"an escaped quote stays in its string", kJs, "a = \"x\\\"{\";", "a = \"~~~~\";"},
    {"an escaped backslash ends before the quote", kJs, "a = \"x\\\\\"; b = {",
     "a = \"~~~\"; b = {"},
    {"C# escapes as JavaScript's", kCs, "s = 'a\\'b';", "s = '~~~~';"},
    {"a PHP single quote escaped inside its string", kPhp, "$s = 'it\\'s {';", "$s = '~~~~~~~';"},
    {"a PHP double quote escaped inside its string", kPhp, "$s = \"a\\\"{\";", "$s = \"~~~~\";"},
    {"PHP variables stay visible in double quotes", kPhp, "$s = \"a $name {\";",
     "$s = \"~~$name~~\";"},
    {"but not in single quotes", kPhp, "$s = 'a $name';", "$s = '~~~~~~~';"},
    {"\"${...}\" masked as \"<...>\"", kPhp, "$s = \"a ${b} {\";", "$s = \"~~<~~>~~\";"},
    {"an open quote", kJs, "a = 'b;", "a = '~~", false},
    {"a trailing comment is cut off", kJs, "a = 1; // it's {", "a = 1; "},
    {"\"//\" in a string is no comment", kJs, "a = \"//\"; // c", "a = \"~~\"; "},
    {"an address is no comment", kJs, "a = b ! http://c : d;", "a = b ! http://c : d;"},
    {"a comment line holds no code", kJs, "// it's {", ""},
    {"a \"#\" line holds no code", kCs, "#region it's {", ""},
    {"a regular expression after a bracket", kCs, "f(/'{/);", "f(/~~/);"},
    {"a regular expression where a value is expected", kJs, "r = /^[^{]+\\{'/;",
     "r = /~~~~~~~~~/;"},
    {"a \"/\" in its class or escaped does not end it", kJs, "r = /[/]\\/{/g, x = {",
     "r = /~~~~~~/g, x = {"},
    {"after \"return\"", kJs, "return /{/.test(s);", "return /~/.test(s);"},
    {"a division is no regular expression", kJs, "a = b / c / d; e = (f) / 2 / {",
     "a = b / c / d; e = (f) / 2 / {"},
    {"C# divides after an operator too", kCs, "a = b * /**/ c; d = e / f;",
     "a = b * /**/ c; d = e / f;"},
    {"a comment inside the line is masked", kJs, "f(a /* it's { */) {", "f(a /*~~~~~~~~*/) {"},
    {"a PHP comment ends at \"?>\"", kPhp, "$a = 1; // it's { ?> <b>", "$a = 1; ~~~~~~~~~~~>~~~~"},
    {"a PHP comment line too", kPhp, "# it's { ?> <b>", "~~~~~~~~~~>~~~~"},
    // (the "?" of "?>" and "<?" shown as "~" too)
    {"outside \"?>\" ... \"<?\" is the page's", kPhp, "?> <b>{'</b> <?php }",
     "~>~~~~~~~~~~~<~php }"},
};

// The masked characters written "~", so that the table reads more easily.
std::string Shown(std::string code) {
  for (char& c : code) {
    if (c == '?') c = '~';
  }
  return code;
}

TEST(ScriptScanTest, MasksWhatIsNotCodeAndKeepsPositions) {
  for (const ScanCase& c : kScans) {
    const TScriptScan scan = ScanScriptLine(c.line, c.language);
    EXPECT_EQ(Shown(scan.code), c.code) << c.what;
    EXPECT_EQ(scan.quotesBalance, c.balanced) << c.what;
    EXPECT_TRUE(scan.copes) << c.what;
  }
}

TEST(ScriptScanTest, FindsTheTrailingComment) {
  EXPECT_EQ(ScanScriptLine("a = 1; // c", kJs).comment, 7u);
  EXPECT_EQ(ScanScriptLine("a = \"//\";", kJs).comment, std::string::npos);
  EXPECT_EQ(ScanScriptLine("// c", kJs).comment, std::string::npos);
}

TEST(ScriptScanTest, APhpLineEndsInThePageAfterItsLastQuestionMarkBracket) {
  struct Case {
    const char* line;
    bool inHtml;  // at its start
    bool after;
  } cases[] = {
      {"<p>text</p>", true, true},         {"<p><?php if ($a) { ?>", true, true},
      {"<p><?php if ($a) {", true, false}, {"$a = 1; ?>", false, true},
      {"?> <b> <?php", false, false},      {"$a = 1; // done ?>", false, true},
      {"# done ?>", false, true},          {"$a = '?>';", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScanScriptLine(c.line, kPhp, c.inHtml).inHtmlAfter, c.after) << c.line;
  }
  // The page's text before a "<?" is masked.
  EXPECT_EQ(ScanScriptLine("<p>{</p><?php }", kPhp, true).code, std::string(8, '?') + "<?php }");
}

TEST(ScriptScanTest, APhpStringWithAnUnclosedDollarBraceIsNotCopedWith) {
  EXPECT_FALSE(ScanScriptLine("$a = \"${x\";", kPhp).copes);
  // Elsewhere "${" in a string is text.
  EXPECT_TRUE(ScanScriptLine("a = \"${x\";", kJs).copes);
  EXPECT_TRUE(ScanScriptLine("$a = '${x';", kPhp).copes);
}

TEST(ScriptScanTest, FirstWord) {
  struct Case {
    const char* code;
    const char* word;
  } cases[] = {
      {"If (a) {", "if"}, {"  while(x)", "while"},  {"abstract class A {", "class"},
      {"} else {", ""},   {"case_1: x", "case_1"},  {"ABSTRACT  Function f()", "function"},
      {"", ""},           {"elseif (a)", "elseif"}, {"$x = 1;", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ScriptFirstWord(c.code), c.word) << c.code;
}

}  // namespace
}  // namespace quorrel
