// The script checker on real JavaScript and C# that Debian ships: jQuery, the
// Sphinx scripts and node-gyp's C# helper. Each file is re-indented or stopped
// with one of the checker's messages; re-indented JavaScript still parses for
// Node.js, and a second run changes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/UserDialogs.h"
#include "support/Installed.h"
#include "support/ProgramOutput.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "validate/ScriptTestKit.h"

namespace quorrel::test {
namespace {

constexpr char kJquery[] = "/usr/share/javascript/jquery/jquery.js";
constexpr char kSphinx[] = "/usr/share/javascript/sphinxdoc/1.0/";
constexpr char kReindented[] = "re-indented";

// node-gyp's C# helper: Debian's node-gyp package, or the copy a Node.js from
// elsewhere carries in its npm.
std::string FindVisualStudio() {
  const std::string npm =
      "/usr/lib/node_modules/npm/node_modules/node-gyp/lib/Find-VisualStudio.cs";
  return std::filesystem::exists(npm) ? npm : "/usr/share/nodejs/node-gyp/lib/Find-VisualStudio.cs";
}

struct RealFile {
  std::string path;
  const char* package;
  // What the checker says with the brackets counted, and without: kReindented or
  // the first line of its message.
  const char* counted;
  const char* uncounted;
};

std::vector<RealFile> RealFiles() {
  const char* open = "An open bracket \"(\" has not been closed.";
  return {
      // Callbacks put a block inside open brackets, which ends the walk; a block
      // opened on a line with "{}" before it ("|| {} ).x ) {") is not counted, which
      // leaves one "}" over at the end.
      {kJquery, "libjs-jquery", open, "Indenting error: Level = -1"},
      // Its templates' "<%" in a regular expression.
      {std::string(kSphinx) + "underscore.js", "libjs-underscore", open,
       "\"<%\" and \"%>\" are Classic ASP and cannot appear in JavaScript or C#."},
      {std::string(kSphinx) + "searchtools.js", "libjs-sphinxdoc", open, kReindented},
      {std::string(kSphinx) + "doctools.js", "libjs-sphinxdoc", open, kReindented},
      {std::string(kSphinx) + "sidebar.js", "libjs-sphinxdoc", open, kReindented},
      {std::string(kSphinx) + "sphinx_highlight.js", "libjs-sphinxdoc", open, kReindented},
      {std::string(kSphinx) + "theme_extras.js", "libjs-sphinxdoc", open, kReindented},
      {std::string(kSphinx) + "_sphinx_javascript_frameworks_compat.js", "libjs-sphinxdoc", open,
       kReindented},
      {std::string(kSphinx) + "language_data.js", "libjs-sphinxdoc", kReindented, kReindented},
      // Minified into one line of 15,000 characters, which splitting takes apart.
      {std::string(kSphinx) + "css3-mediaqueries.js", "libjs-sphinxdoc", open,
       "Indenting error: Level = -1"},
      {FindVisualStudio(), "node-gyp", kReindented, kReindented},
  };
}

std::string Said(const TValidation& verdict) {
  if (!verdict.error) return kReindented;
  const std::string& message = verdict.error->message;
  return message.substr(0, message.find('\r'));
}

// Whether Node.js parses the script; its complaint when it does not.
std::string NodeCheck(const std::string& script) {
  const std::string path = TestHome() + "reindented.js";
  std::ofstream(path, std::ios::binary) << script;
  return ProgramOutput("node --check '" + path + "' 2>&1 && echo parses");
}

class ScriptRealFilesTest : public ::testing::Test {
 protected:
  void TearDown() override { Dialogs().Clear(); }

  // Runs the checker on a file; the question about saving first is answered No.
  static TValidation Check(const std::string& text, const std::string& path,
                           const TScriptOptions& options) {
    const TDocumentKind kind =
        path.ends_with(".cs") ? TDocumentKind::CSharp : TDocumentKind::JavaScript;
    Dialogs().Answer(mrNo);
    TValidation verdict = CheckScript(text, kind, options);
    Dialogs().Clear();
    return verdict;
  }

  static void ExpectReindentedOnce(const std::string& text, const std::string& path,
                                   const TValidation& verdict, const TScriptOptions& options) {
    ASSERT_TRUE(verdict.text) << path;
    EXPECT_EQ(verdict.status, "Validated") << path;
    if (path.ends_with(".js")) {
      EXPECT_EQ(NodeCheck(*verdict.text), "parses\n") << path;
    }
    const TValidation again = Check(CrLf(*verdict.text), path, options);
    EXPECT_FALSE(again.error) << path;
    EXPECT_FALSE(again.text) << path << ": a second run changed it";
    EXPECT_NE(ScriptAfter(verdict, text), ScriptAfter(again, text));
  }
};

TEST_F(ScriptRealFilesTest, ReindentOrStopWithAMessage) {
  for (const RealFile& file : RealFiles()) {
    const std::string text = CrLf(InstalledFile(file.path, file.package));
    ASSERT_FALSE(text.empty()) << file.path;
    const TValidation counted = Check(text, file.path, {});
    EXPECT_EQ(Said(counted), file.counted) << file.path;
    if (counted.error) {
      EXPECT_FALSE(counted.text) << file.path;
    } else {
      ExpectReindentedOnce(text, file.path, counted, {});
    }

    const TScriptOptions uncounted{.checkBrackets = false};
    const TValidation verdict = Check(text, file.path, uncounted);
    EXPECT_EQ(Said(verdict), file.uncounted) << file.path;
    if (!verdict.error) ExpectReindentedOnce(text, file.path, verdict, uncounted);
  }
}

TEST_F(ScriptRealFilesTest, JqueryReindentedWithLevelsResetStillParses) {
  const std::string text = CrLf(InstalledFile(kJquery, "libjs-jquery"));
  ASSERT_FALSE(text.empty());
  // With Debug a level below 0 is set back instead of stopping the run; the
  // difference is shown and the outside compare is declined.
  const TScriptOptions debug{.checkBrackets = false, .debug = true};
  Dialogs().Answer(mrNo);
  const TValidation verdict = CheckScript(text, TDocumentKind::JavaScript, debug);
  ASSERT_FALSE(verdict.error) << verdict.error->message;
  ASSERT_TRUE(verdict.text);
  EXPECT_EQ(NodeCheck(*verdict.text), "parses\n");
  // Its object literals' methods as the checker lays them out.
  EXPECT_NE(verdict.text->find(
                "\n  toArray:\n\n  function() {\n    return slice.call( this );\n  }\n  ,\n"),
            std::string::npos);
  Dialogs().Clear();
  Dialogs().Answer(mrNo);
  const TValidation again = CheckScript(CrLf(*verdict.text), TDocumentKind::JavaScript, debug);
  EXPECT_FALSE(again.text);
}

}  // namespace
}  // namespace quorrel::test
