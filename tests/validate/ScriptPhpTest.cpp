// The script checker on PHP pages and on variable names: one spelling of a name in
// a function, the page's HTML between the code, a function off the outer level,
// names used only once (with the file a page requires), the hand-over to the HTML
// validator, and Correct Indenting.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "validate/ScriptVariables.h"
#include "validate/ScriptTestKit.h"

namespace quorrel::test {
namespace {

constexpr auto kJs = TDocumentKind::JavaScript;
constexpr auto kPhp = TDocumentKind::Php;

struct StopCase {
  const char* what;
  TDocumentKind kind;
  const char* text;
  const char* message;  // "" for none
  size_t line = 0;      // the line the caret goes to
};

const StopCase kStops[] = {
    {"one name in two letter cases in a function", kPhp,
     "<?php\nfunction f() {\n$a = 1;\n$A = 2;\n}\n", "Difference in case.\r$A was previously $a",
     3},
    {"in JavaScript too", kJs, "var $a = 1, $A = 2;\n", "Difference in case.\r$A was previously $a",
     0},
    {"in a double-quoted string", kPhp, "<?php\n$a = 1;\necho \"$A\";\n",
     "Difference in case.\r$A was previously $a", 2},
    {"in a page line's code", kPhp, "<?php $a = 1; ?>\n<p><?php echo $A; ?></p>\n",
     "Difference in case.\r$A was previously $a", 1},
    {"a function forgets the names of the one before", kPhp,
     "<?php\nfunction f() {\n$a = 1;\n}\nfunction g() {\n$A = 2;\n}\n", ""},
    {"PHP's own names in any case", kPhp,
     "<?php\n$this->a; $This->b; $GLOBALS['x']; $globals['x']; $php_errormsg; $PHP_ERRORMSG;\n"
     "$DUMMY; $dummy; $$x; $$X; $_POST['a']; $_GET['a'];\n",
     ""},
    {"names in single quotes, after a \"/\" or inside other names", kPhp,
     "<?php\n$a = 1;\necho '$A';\n$b = 2 /$A;\n$c = a$A;\n", ""},
    {"$_SESSION in lower case", kPhp, "<?php\n$_session['a'] = 1;\n",
     "$_SESSION must be all uppercase.", 1},
    {"$_SESSION in mixed case", kPhp, "<?php\n$x = $_Session;\n",
     "$_SESSION must be all uppercase.", 1},
    {"a closing brace starting a line of HTML", kPhp, "<p>\n}\n</p>\n",
     "Line starting \"}\" found within HTML.", 1},
    {"but not in a style block", kPhp, "<STYLE>\np {\n}\n</style>\n", ""},
    {"nor in a script block", kPhp, "<script>\nif (a) {\n}\n</Script>\n", ""},
    {"nor once the code has begun", kPhp, "<?php\nif ($a) {\n$b = 1;\n}\n?>\n", ""},
    {"a function inside a block", kPhp, "<?php\nif ($a) {\nfunction f() {\n}\n}\n",
     "Indenting level non-zero at\rfunction f() {", 2},
    {"a PHP page without its last closing brace", kPhp, "<?php\n\nfunction f() {\n$a = 1;\n",
     "Missing \"}\" before this point - check indenting.", 3},
};

class ScriptPhpTest : public ::testing::Test {
 protected:
  void TearDown() override { Dialogs().Clear(); }
};

TEST_F(ScriptPhpTest, VariablesAndPageLinesStopWithTheirMessage) {
  for (const StopCase& c : kStops) {
    SCOPED_TRACE(c.what);
    const std::string text = CrLf(c.text);
    const TValidation verdict = CheckScript(text, c.kind);
    if (*c.message == '\0') {
      EXPECT_FALSE(verdict.error) << c.what << ": " << verdict.error->message;
      continue;
    }
    ASSERT_TRUE(verdict.error) << c.what;
    EXPECT_EQ(verdict.error->message, c.message) << c.what;
    size_t offset = 0;
    for (size_t n = 0; n < c.line; ++n) offset = text.find('\n', offset) + 1;
    EXPECT_EQ(verdict.error->offset, offset) << c.what;
  }
}

TEST_F(ScriptPhpTest, ThePageGoesOnToTheHtmlValidatorWithItsHtmlAsItWas) {
  const std::string text = CrLf(
      "<pre>\n   indented {\n</pre>\n<?php\n    if ($x) {\n  $y = 1;\n        }\n?>\n<p>\n  "
      "text\n</p>\n");
  const TValidation verdict = CheckScript(text, kPhp);
  ASSERT_FALSE(verdict.error) << verdict.error->message;
  EXPECT_TRUE(verdict.again);
  EXPECT_EQ(verdict.againAs, TDocumentKind::Html);
  EXPECT_FALSE(verdict.status) << "the HTML validator has the last word";
  EXPECT_EQ(
      verdict.text,
      "<pre>\n   indented {\n</pre>\n<?php\nif ($x) {\n  $y = 1;\n}\n?>\n<p>\n  text\n</p>\n");
  // Unchanged, it is handed on all the same.
  const TValidation again = CheckScript(CrLf(*verdict.text), kPhp);
  EXPECT_TRUE(again.again);
  EXPECT_EQ(again.text, verdict.text);
}

TEST_F(ScriptPhpTest, CorrectIndentingDropsTheErrorAndWritesTheText) {
  struct Case {
    const char* text;
    const char* laidOut;
  } cases[] = {
      // The missing brace is not reported: the file is only re-indented.
      {"<?php\nif ($a) {\n    $b = 1;\n", "<?php\nif ($a) {\n  $b = 1;\n"},
      // Lines before a stop are re-indented, the rest stay as they were.
      {"<?php\n  $a = 1;\nif  ($a) {\n    $b = 1;\n}\n",
       "<?php\n$a = 1;\nif  ($a) {\n    $b = 1;\n}\n"},
  };
  for (const Case& c : cases) {
    const TValidation verdict = CheckScript(CrLf(c.text), kPhp, {.indentPhp = true});
    EXPECT_FALSE(verdict.error) << c.text;
    EXPECT_FALSE(verdict.again) << c.text;
    EXPECT_EQ(verdict.text, c.laidOut);
    EXPECT_EQ(verdict.status, "Validated") << c.text;
  }
}

// A site folder of real files for the once-only names check.
class OnceOnlyNamesTest : public ScriptPhpTest {
 protected:
  void SetUp() override {
    site = SiteTestFolder() + "names/";
    std::filesystem::create_directories(site + "lib");
    Write("common.php", "<?php\n$Lonely = 0;\nfunction x() {\n$other = 1;\n}\n");
    Write("lib/common.php", "<?php\n$lonely = 0;\n");
    Write("vars.inc", "<%\r\nDim first, lonely, last\r\n%>\r\n");
  }
  void TearDown() override {
    std::filesystem::remove_all(SiteTestFolder());
    ScriptPhpTest::TearDown();
  }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(site + name, std::ios::binary) << text;
  }
  TValidation Check(const std::string& text, const std::string& name, TScriptOptions options = {}) {
    path = site + name;
    options.checkNames = !options.indentPhp;
    options.path = path.c_str();
    return CheckScript(text, name.ends_with(".js") ? kJs : kPhp, options);
  }

  std::string site;
  std::string path;
};

constexpr char kLonely[] = "<?php\r\n$used = 1;\r\necho $used;\r\n$lonely = 2;\r\n?>\r\n";

TEST_F(OnceOnlyNamesTest, ANameUsedOnceIsReportedWithItsOffset) {
  const TValidation verdict = Check(kLonely, "page.php");
  ASSERT_TRUE(verdict.error);
  const size_t offset = std::string(kLonely).find("$lonely");
  EXPECT_EQ(verdict.error->message, "The following names are referenced only once,\rnear offset " +
                                        std::to_string(offset) + ":\r\n$lonely");
  EXPECT_EQ(verdict.error->offset, offset);
  EXPECT_EQ(verdict.error->helpTopic, OnceOnlyHelpContext);
  EXPECT_FALSE(verdict.error->offsetInMessage);
  // Each function is checked when the next begins, every name it used once.
  const std::string functions =
      "<?php\r\nfunction f() {\r\n$a = 1;\r\n$b = 2;\r\n}\r\nfunction g() {\r\n$c = $c + "
      "1;\r\n}\r\n";
  const TValidation first = Check(functions, "page.php");
  ASSERT_TRUE(first.error);
  EXPECT_EQ(first.error->message, "The following names are referenced only once,\rnear offset " +
                                      std::to_string(functions.find("$a")) + ":\r\n$a\r\n$b");
}

TEST_F(OnceOnlyNamesTest, NamesTheRequiredFileUsesCountAsUsed) {
  struct Case {
    const char* what;
    std::string text;
    bool reported;
  } cases[] = {
      {"a PHP file's names before its first function",
       "<?php\r\nrequire 'common.php';\r\n$lonely = 2;\r\n", false},
      {"but not those inside it", "<?php\r\nrequire 'common.php';\r\n$other = 2;\r\n", true},
      {"a path written with \"\\\" and in other letter cases",
       "<?php\r\nrequire \"lib\\\\Common.PHP\";\r\n$lonely = 2;\r\n", false},
      {"another file's \"Dim\" names", "<?php\r\nrequire ('vars.inc');\r\n$lonely = 2;\r\n", false},
      {"a file that is not there", "<?php\r\nrequire 'missing.php';\r\n$lonely = 2;\r\n", true},
  };
  for (const Case& c : cases) {
    const TValidation verdict = Check(c.text, "page.php");
    EXPECT_EQ(verdict.error.has_value(), c.reported) << c.what;
  }
}

TEST_F(OnceOnlyNamesTest, NotMadeForUtilitiesNoValidateOrOutsideASite) {
  EXPECT_FALSE(Check(kLonely, "MyUtils.php").error);
  EXPECT_FALSE(Check("<?php // NoValidate\r\n$lonely = 1;\r\n", "page.php").error);
  EXPECT_FALSE(Check(kLonely, "page.php", {.indentPhp = true}).error);
  TScriptOptions outside{.checkNames = true, .path = "/tmp/page.php"};
  EXPECT_FALSE(CheckScript(kLonely, kPhp, outside).error);
  TScriptOptions off{.checkNames = false};
  off.path = path.c_str();
  EXPECT_FALSE(CheckScript(kLonely, kPhp, off).error);
}

}  // namespace
}  // namespace quorrel::test
