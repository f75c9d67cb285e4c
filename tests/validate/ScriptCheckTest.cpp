// The script checker on small sources: the columns it gives each block, the lines
// it splits and joins, the conditions it rewrites, its stops with their messages
// and where they put the caret, and that a second run changes nothing.
#include <gtest/gtest.h>

#include <string>

#include "platform/UserDialogs.h"
#include "support/ScriptedDialogs.h"
#include "validate/ScriptTestKit.h"

namespace quorrel::test {
namespace {

constexpr auto kJs = TDocumentKind::JavaScript;
constexpr auto kCs = TDocumentKind::CSharp;
constexpr auto kPhp = TDocumentKind::Php;

struct LayoutCase {
  const char* what;
  TDocumentKind kind;
  const char* text;     // as the editor holds it, lines ended CR LF
  const char* laidOut;  // as the checker writes it, lines ended LF
  TScriptOptions options = {};
};

const LayoutCase kLayouts[] = {
    {"a condition's bracket gains its blank", kJs,
     "if(x) {\ny();\n}\nwhile(a) {\n}\nfor(;;) {\n}\n",
     "if (x) {\ny();\n}\nwhile (a) {\n}\nfor (;;) {\n}\n"},
    {"column 1 inside a top-level function, 3 inside its block", kJs,
     "function f() {\n    x = 1;\n  if (x) {\n y();\n      }\n}\n",
     "function f() {\nx = 1;\nif (x) {\n  y();\n}\n}\n"},
    {"C# classes inside their namespace", kCs,
     "namespace N {\nclass A {\nvoid F() {\nx();\n}\n}\n}\n",
     "namespace N {\nclass A {\n  void F() {\n    x();\n  }\n}\n}\n"},
    {"a block on one line is split", kJs, "if (a) { b(); }\n", "if (a) {\nb();\n}\n"},
    {"text after a closing brace goes to the next line", kJs, "if (a) {\nb();\n} else {\nc();\n}\n",
     "if (a) {\nb();\n}\nelse {\nc();\n}\n"},
    {"what ends a statement or a do loop stays after its brace",
     kJs,
     "f(function () {\n});\ndo {\nx();\n} while (a);\ng({});\n",
     "f(function () {\n});\ndo {\nx();\n} while (a);\ng({});\n",
     {.checkBrackets = false}},
    {"a brace after other text starts its own line", kJs, "x = {\na: 1 };\n", "x = {\na: 1\n};\n"},
    {"strings and empty blocks after a brace stay", kJs, "x = {'a': 'b'};\nf = function () {};\n",
     "x = {'a': 'b'};\nf = function () {};\n"},
    {"a value ends its own line", kJs, "x = {\"a\": 1};\n", "x = {\"a\": 1\n};\n"},
    {"a lone brace joins its line", kJs, "if (a)\n{\nb();\n}\n", "if (a) {\nb();\n}\n"},
    {"a statement after the condition goes to its own line", kJs, "if (a) b();\nwhile (c) d();\n",
     "if (a)\nb();\nwhile (c)\nd();\n"},
    {"a function after other text gets a line of its own, with a blank line before", kJs,
     "x = 1; function f() {\n}\n", "x = 1;\n\nfunction f() {\n}\n"},
    {"no blank line after a comment end, a brace or an assignment", kJs,
     "/* c */\nfunction f() {\nfunction g() {\n}\n}\nvar h =\nfunction () {\n};\n",
     "/* c */\nfunction f() {\nfunction g() {\n}\n}\nvar h =\nfunction () {\n};\n"},
    {"functions as values and arguments stay", kJs,
     "var f = function () {\n};\nvar g = [1, function () {\n}];\nreturn function () {\n};\n",
     "var f = function () {\n};\nvar g = [1, function () {\n}\n];\nreturn function () {\n};\n"},
    {"a function stays with the word it may not be parted from", kJs,
     "var a = 1; async function f() {\n}\nx(); return function () {\n};\n",
     "var a = 1; async function f() {\n}\nx(); return function () {\n};\n"},
    {"switch labels two columns left of their statements", kJs,
     "function f(x) {\nswitch (x) {\ncase 1:\ny();\nbreak;\ndefault:\nz();\n}\n}\n",
     "function f(x) {\nswitch (x) {\n  case 1:\n    y();\n    break;\n  default:\n    "
     "z();\n}\n}\n"},
    {"a switch whose brace comes on the next line", kJs, "switch (x)\n{\ncase 1:\ny();\n}\n",
     "switch (x) {\ncase 1:\n  y();\n}\n"},
    {"a label's own block closes at the label", kJs,
     "switch (x) {\ncase 1: {\ny();\n}\ncase 2:\nz();\n}\nw();\n",
     "switch (x) {\ncase 1: {\n  y();\n}\ncase 2:\n  z();\n}\nw();\n"},
    {"nested switches return to their own columns", kCs,
     "class A {\nvoid F() {\nswitch (a) {\ncase 1:\nswitch (b) {\ncase "
     "2:\nx();\n}\nbreak;\n}\ny();\n}\n}\n",
     "class A {\nvoid F() {\n  switch (a) {\n    case 1:\n      switch (b) {\n        case 2:\n"
     "          x();\n      }\n      break;\n  }\n  y();\n}\n}\n"},
    {"a comment after long code stays", kJs,
     "thisIsAVeryLongName = anotherVeryLongName + 1; // c\n",
     "thisIsAVeryLongName = anotherVeryLongName + 1; // c\n"},
    {"an address is no comment", kJs, "x = a ? http://b : c;\n", "x = a ? http://b : c;\n"},
    {"C# generics close up", kCs, "class A {\nList< string > a = \"< string >\";\n}\n",
     "class A {\nList<string> a = \"< string >\";\n}\n"},
    {"at most one blank line, none after a brace or before a closing one", kJs,
     "a();\n\n\n\nb();\nif (c) {\n\nd();\n\n}\n   \n  \ne();\n",
     "a();\n\nb();\nif (c) {\nd();\n}\n\ne();\n"},
    {"comment blocks keep their layout", kJs, "  /*\n   it's { here\n*/\nx();\n",
     "  /*\n   it's { here\n*/\nx();\n"},
    {"comment lines hold no code", kJs, "// it's {\n# it's {\nx();\n",
     "// it's {\n# it's {\nx();\n"},
    {"braces in strings and regular expressions do not count", kJs,
     "x = \"{\" + '}';\ny = s.replace(/[{}'\"]/g, \"\");\nz = \"a\\\"{\";\n",
     "x = \"{\" + '}';\ny = s.replace(/[{}'\"]/g, \"\");\nz = \"a\\\"{\";\n"},
    {"conditions lose \"not\" and \"<>\" outside strings", kJs,
     "if (not a <> b) {\n}\nif (x == \"a <> b\") {\n}\nif ($cannot && c.not (d)) {\n}\n"
     "if ( not ) {\n}\nwhile (not (a && not b)) {\n}\n",
     "if (!a != b) {\n}\nif (x == \"a <> b\") {\n}\nif ($cannot && c.not (d)) {\n}\n"
     "if ( not ) {\n}\nwhile (!(a && !b)) {\n}\n"},
    {"\"then\" inside the condition is a name", kJs, "if ( isFunction( then ) ) {\n}\n",
     "if ( isFunction( then ) ) {\n}\n"},
    {"NoReformat on the first line leaves the file", kJs, "// NoReformat\nif(x){y();}\n",
     "// NoReformat\nif(x){y();}\n"},
    {"novalidate brackets switches the count off", kJs, "// novalidate brackets\nx = (1;\n",
     "// novalidate brackets\nx = (1;\n"},
};

class ScriptCheckTest : public ::testing::Test {
 protected:
  void TearDown() override { Dialogs().Clear(); }
};

TEST_F(ScriptCheckTest, LaysOutAndASecondRunChangesNothing) {
  for (const LayoutCase& c : kLayouts) {
    const std::string text = CrLf(c.text);
    const TValidation verdict = CheckScript(text, c.kind, c.options);
    ASSERT_FALSE(verdict.error) << c.what << ": " << verdict.error->message;
    const std::string laidOut = ScriptAfter(verdict, text);
    EXPECT_EQ(laidOut, c.laidOut) << c.what;
    EXPECT_EQ(verdict.text.has_value(), laidOut != c.text) << c.what;
    const TValidation again = CheckScript(CrLf(laidOut), c.kind, c.options);
    EXPECT_FALSE(again.text) << c.what << ": a second run changed\n" << laidOut;
    EXPECT_FALSE(again.error) << c.what;
  }
  EXPECT_TRUE(Dialogs().Calls().empty());
}

// Code padded to column 39, so that the comment starts at column 40.
std::string At40(const std::string& code, const std::string& comment) {
  return code + std::string(39 - code.size(), ' ') + comment;
}

TEST_F(ScriptCheckTest, TrailingCommentsStandAtColumn40) {
  struct Case {
    std::string text, laidOut;
  } cases[] = {
      {"x = 1; // one", At40("x = 1;", "// one")},
      {"y = 2;" + std::string(50, ' ') + "// two", At40("y = 2;", "// two")},
      {"function f() {\nif (a) { // c\nb();\n}\n}",
       "function f() {\n" + At40("if (a) {", "// c") + "\n  b();\n}\n}"},
      // A lone brace stays under a line with a comment.
      {"if (a) // c\n{\nb();\n}", At40("if (a)", "// c") + "\n{\nb();\n}"},
      {std::string(39, 'x') + "; // c", std::string(39, 'x') + "; // c"},
  };
  for (const Case& c : cases) {
    const TValidation verdict = CheckScript(CrLf(c.text));
    ASSERT_FALSE(verdict.error) << c.text;
    EXPECT_EQ(ScriptAfter(verdict, c.text), c.laidOut);
    EXPECT_FALSE(CheckScript(CrLf(c.laidOut)).text) << c.laidOut;
  }
}

TEST_F(ScriptCheckTest, AnUnchangedFileIsNotWrittenBackAndIsValidated) {
  const TValidation verdict = CheckScript(CrLf("if (a) {\nb();\n}\n"));
  EXPECT_FALSE(verdict.text);
  EXPECT_EQ(verdict.status, "Validated");
  EXPECT_TRUE(verdict.saveWhenReformatting);
  // Without a line end after the last line, none is added.
  const TValidation last = CheckScript("if(a) {\r\n}");
  EXPECT_EQ(last.text, "if (a) {\n}");
}

struct StopCase {
  const char* what;
  TDocumentKind kind;
  const char* text;
  const char* message;
  size_t line;  // the line of the text the caret goes to (0-based)
  TScriptOptions options = {};
};

const StopCase kStops[] = {
    {"\"then\" after a condition", kJs, "if (a) then b();\n", "Do not use \"then\" after \"if\".",
     0},
    {"two blanks before the condition", kJs, "x();\nif  (a) {\n}\n", "No bracket after if", 1},
    {"while without a bracket", kJs, "while a {\n}\n", "No bracket after while", 0},
    {"elseif without a bracket", kPhp, "<?php\nelseif(a) {\n}\n", "No bracket after elseif", 1},
    {"for without a bracket", kJs, "for x in y {\n}\n", "No bracket after for", 0},
    {"\"If\" with a capital", kJs, "If (a) {\n}\n", "\"If\" should be \"if\"", 0},
    {"\"except\"", kJs, "try {\n}\nexcept (e) {\n}\n",
     "\"except\" should be \"catch\" (or perhaps you meant \"finally\").", 2},
    {"try without a block", kJs, "try\nx();\n", "try, catch and finally must be followed by \"{\".",
     0},
    {"ASP delimiters in JavaScript", kJs, "x = '<%= a %>';\n",
     "\"<%\" and \"%>\" are Classic ASP and cannot appear in JavaScript or C#.", 0},
    {"ASP delimiters in PHP", kPhp, "<?php\n<% a %>\n",
     "\"<%\" and \"%>\" are Classic ASP.  Use \"<?php\" and \"?>\".", 1},
    {"an open quote", kJs, "x = 1;\ny = 'a;\n", "Unmatched quotes in line:\ry = 'a;", 1},
    {"a bracket closed that was not opened", kJs, "x = 1);\n",
     "Closing an unopened bracket.  See Validation | Check brackets.", 0},
    {"a blank line inside brackets", kJs, "f(a,\n\nb);\n",
     "Bracket error or missing double-quote before this line.", 1},
    {"a block inside brackets ends the walk at the bracket's line", kJs,
     "x();\nf(a,\nfunction () {\n});\n",
     "An open bracket \"(\" has not been closed.\rCurrent line is:\rfunction () {", 1},
    {"a function inside brackets ends the walk too", kJs, "f(\nfunction g() {\n});\n",
     "An open bracket \"(\" has not been closed.\rCurrent line is:\rfunction g() {", 0},
    {"a bracket open at the end", kJs, "x = (1;\ny = 2;\n",
     "An open bracket \"(\" has not been closed.\rCurrent line is:\ry = 2;", 0},
    {"a closing brace too many, the last line", kJs, "x();\n}\n", "Indenting error: Level = -1", 1},
    {"a closing brace too many, more after it", kJs, "}\nx();\n",
     "Indenting error: Level = -1\rPossibly caused by extraneous final line.", 0},
    {"C# leaving its outer block before the last line", kCs, "class A {\n}\nclass B {\n}\n",
     "Indenting error: Level = 0", 1},
    {"a closing brace missing", kJs, "function f() {\nx();\n",
     "Missing \"}\" before this point - check indenting.", 1},
    {"PHP with a closing brace too many", kPhp, "<?php\nx();\n}\n",
     "Extraneous \"}\" somewhere or possibly two \"{\" on same line - check indenting.", 2},
    {"a PHP string with \"${\" and no \"}\"", kPhp, "<?php\n$a = \"${x\";\n",
     "Quorrel doesn't cope with line 2:\r$a = \"${x\";", 1},
    {"the error line counts the page's lines, not the split ones", kJs,
     "if (a) { b(); c(); }\n\n\n\nx = 'a;\n", "Unmatched quotes in line:\rx = 'a;", 4},
};

TEST_F(ScriptCheckTest, StopsWithItsMessageAtItsLine) {
  for (const StopCase& c : kStops) {
    const std::string text = CrLf(c.text);
    const TValidation verdict = CheckScript(text, c.kind, c.options);
    ASSERT_TRUE(verdict.error) << c.what;
    EXPECT_EQ(verdict.error->message, c.message) << c.what;
    size_t offset = 0;
    for (size_t n = 0; n < c.line; ++n) offset = text.find('\n', offset) + 1;
    EXPECT_EQ(verdict.error->offset, offset) << c.what;
    EXPECT_FALSE(verdict.error->offsetInMessage) << c.what;
    EXPECT_TRUE(verdict.recolour) << c.what;
    EXPECT_FALSE(verdict.text) << c.what << ": the page stays as it was";
    EXPECT_FALSE(verdict.status) << c.what;
  }
}

TEST_F(ScriptCheckTest, OptionsSwitchTheirChecksOff) {
  struct Case {
    const char* text;
    TScriptOptions options;
  } cases[] = {
      {"y = 'a;\n", {.checkQuotes = false}},
      {"x = 1);\n", {.checkBrackets = false}},
      {"f(a,\n\nb);\n", {.checkBrackets = false}},
      {"// NOVALIDATE BRACKETS\nx = (1;\n", {}},
      {"}\nx();\n", {.debug = true}},
  };
  for (const Case& c : cases) {
    const TValidation verdict = CheckScript(CrLf(c.text), kJs, c.options);
    EXPECT_FALSE(verdict.error) << c.text << verdict.error->message;
    EXPECT_EQ(verdict.status, "Validated") << c.text;
  }
  // Quotes are not checked in PHP, where a page's text lies between its code.
  EXPECT_FALSE(CheckScript(CrLf("<?php\n$a = 'b;\n"), kPhp).error);
  // The marker counts only near the start.
  const std::string late = "// " + std::string(100, 'x') + " novalidate brackets\r\nx = (1;\r\n";
  EXPECT_TRUE(CheckScript(late).error);
}

TEST_F(ScriptCheckTest, SplitLinesWithABraceMissingAskToBeSavedFirst) {
  const std::string text = CrLf("function f() {\nif (a) { b(); }\n");
  // Yes: the re-formatted text is saved as it stands, and nothing more is said.
  Dialogs().Answer(mrYes);
  const TValidation saved = CheckScript(text);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text,
            "I recommend that you save this reformatted version before any further validation.");
  EXPECT_TRUE(saved.saveAndEnd);
  EXPECT_EQ(saved.text, "function f() {\nif (a) {\n  b();\n}\n");
  EXPECT_FALSE(saved.error);
  EXPECT_FALSE(saved.status);
  // No: the missing brace is reported.
  Dialogs().Clear();
  Dialogs().Answer(mrNo);
  const TValidation refused = CheckScript(text);
  ASSERT_TRUE(refused.error);
  EXPECT_EQ(refused.error->message, "Missing \"}\" before this point - check indenting.");
  EXPECT_FALSE(refused.saveAndEnd);
  // Without a split there is nothing to save first.
  Dialogs().Clear();
  EXPECT_TRUE(CheckScript(CrLf("function f() {\nb();\n")).error);
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(ScriptCheckTest, DeepNestingStopsAtItsLimit) {
  std::string text;
  for (int n = 0; n < 300; ++n) text += "a {\r\n";
  const TValidation verdict = CheckScript(text);
  ASSERT_TRUE(verdict.error);
  EXPECT_EQ(verdict.error->message, "Indenting level > 255");
  EXPECT_EQ(verdict.error->offset, 255u * 5);  // on the line that would open level 256
  EXPECT_FALSE(verdict.text);
  // As deep as the limit is still laid out.
  std::string deep;
  for (int n = 0; n < 255; ++n) deep += "a {\r\n";
  for (int n = 0; n < 255; ++n) deep += "}\r\n";
  const TValidation laidOut = CheckScript(deep);
  EXPECT_FALSE(laidOut.error);
  ASSERT_TRUE(laidOut.text);
  const std::string deepest(506, ' ');
  EXPECT_NE(laidOut.text->find("\n" + deepest + "a {\n" + deepest + "}\n"), std::string::npos);
}

}  // namespace
}  // namespace quorrel::test
