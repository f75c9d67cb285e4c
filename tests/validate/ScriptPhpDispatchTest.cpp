// The PHP checker behind the dispatcher: the page re-indented and handed to the HTML
// validator in a second pass, the modified state the dispatcher promises a server
// page, Correct Indenting, and Debian's DokuWiki pages re-laid or stopped with a
// message, each still a PHP file that php -l accepts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Abort.h"
#include "platform/Chars.h"
#include "platform/UserDialogs.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "support/Installed.h"
#include "support/ProgramOutput.h"
#include "support/ScriptedDialogs.h"
#include "validate/ValTestKit.h"

namespace quorrel::test {
namespace {

const char kPage[] =
    "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>Shop</title>\n"
    "</head>\n<body>\n<?php\n$open = date('G') > 8;\n    if ($open) {\n  echo 'Open';\n        "
    "}\n?>\n"
    "<div><p>Welcome</p></div>\n"
    "</body>\n</html>\n";

class ScriptPhpDispatchTest : public ValidationTest {
 protected:
  void SetUp() override {
    ValidationTest::SetUp();
    SetValidatorStandIn(nullptr);  // the real validators
  }
  void TearDown() override {
    MainMenu().SetChecked("IndentPHP", false);
    Dialogs().Clear();
    ValidationTest::TearDown();
  }
};

// A page's text has LF line ends, as HTML's has.
const char kPhpLaidOut[] = "<?php\n$open = date('G') > 8;\nif ($open) {\n  echo 'Open';\n}\n?>";

TEST_F(ScriptPhpDispatchTest, TwoPassesThePhpReindentedAndTheHtmlRelaid) {
  Open("shop.php", kPage);
  ValidateCurrentFile("Validate");
  EXPECT_EQ(ValidationPass, 2);
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_NE(CurrentText.find(kPhpLaidOut), std::string::npos) << CurrentText;
  EXPECT_NE(CurrentText.find("<head>\n  <meta charset"), std::string::npos) << CurrentText;
  EXPECT_EQ(Status(), "  Validated");
  // A server page's re-laying alone does not make it a changed document.
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(Read(site + "shop.php"), kPage);
}

TEST_F(ScriptPhpDispatchTest, AnEditedPageStaysModified) {
  Open("shop.php", kPage);
  CurrentEditor->SetModified(true);
  ValidateCurrentFile("Validate");
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(ValidationPass, 2);
}

TEST_F(ScriptPhpDispatchTest, CorrectIndentingReindentsThePhpOnly) {
  MainMenu().SetChecked("IndentPHP", true);
  Open("shop.php", kPage);
  ValidateCurrentFile("Validate");
  EXPECT_EQ(ValidationPass, 1);
  EXPECT_NE(CurrentText.find(kPhpLaidOut), std::string::npos) << CurrentText;
  EXPECT_NE(CurrentText.find("<head>\n<meta charset"), std::string::npos) << "no HTML pass";
  EXPECT_EQ(Status(), "  Indenting corrected if necessary");
}

TEST_F(ScriptPhpDispatchTest, AStopOfThePhpCheckerRunsNoHtmlPass) {
  Open("stop.php", "<p>\n}\n</p>\n");
  EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(TrimBlanks(Dialogs().Last().text), "Line starting \"}\" found within HTML.");
  EXPECT_EQ(ValidationPass, 1) << "the checker's pass alone";
  EXPECT_EQ(CurrentEditor->LineFromChar(CurrentEditor->SelStart()), 1u);
}

TEST_F(ScriptPhpDispatchTest, ANameUsedOnceIsShownWithItsHelpAndTheCaretOnIt) {
  const char page[] = "<p>Shop</p>\n<?php\n$open = 1;\necho $open;\n$lonely = 2;\n?>\n";
  Open("once.php", page);
  Dialogs().Answer(mrOk);
  EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  const size_t offset = std::string(page).find("$lonely");
  EXPECT_EQ(Dialogs().Last().text, "The following names are referenced only once,\rnear offset " +
                                       std::to_string(offset) + ":\r\n$lonely");
  EXPECT_EQ(Dialogs().Last().helpContext, 20790);
  EXPECT_EQ(CurrentEditor->SelStart(), offset);
  EXPECT_EQ(CurrentText, page);
}

// Debian's DokuWiki: templates that mix PHP and HTML, and its entry pages.
struct DokuWikiPage {
  const char* path;
  const char* said;  // "Validated" or the first line of the message
};

const DokuWikiPage kDokuWiki[] = {
    {"lib/tpl/dokuwiki/tpl_header.php", "Validated"},
    {"lib/tpl/dokuwiki/tpl_footer.php", "Validated"},
    {"lib/tpl/dokuwiki/mediamanager.php", "Validated"},
    // Names a template takes from DokuWiki's globals, used once in the page.
    {"lib/tpl/dokuwiki/main.php", "The following names are referenced only once,"},
    {"lib/tpl/dokuwiki/detail.php", "The following names are referenced only once,"},
    {"index.php", "The following names are referenced only once,"},
    // "} elseif(" split, and then without its blank.
    {"doku.php", "No bracket after elseif"},
    // An argument list over several lines with a blank line in it.
    {"feed.php", "Bracket error or missing double-quote before this line."},
    // A callback's block inside the brackets of its call.
    {"inc/html.php", "An open bracket \"(\" has not been closed."},
    // $TOC, a global, and $toc, a local, in one function.
    {"inc/template.php", "Difference in case."},
};

TEST_F(ScriptPhpDispatchTest, DokuWikiPagesAreRelaidOrStoppedAndStillLint) {
  for (const DokuWikiPage& page : kDokuWiki) {
    SCOPED_TRACE(page.path);
    const std::string text =
        InstalledFile(std::string("/usr/share/dokuwiki/") + page.path, "dokuwiki");
    ASSERT_FALSE(text.empty());
    const std::string name = ReplaceAll(page.path, "/", "-", true);
    Open(name, text);
    Dialogs().Clear();
    // The once-only message comes with a Help button: OK is pressed.
    if (std::string(page.said).starts_with("The following")) Dialogs().Answer(mrOk);
    std::string said = "Validated";
    try {
      ValidateCurrentFile("Validate");
      EXPECT_EQ(Status(), "  Validated");
    } catch (const EAbort&) {
      ASSERT_FALSE(Dialogs().Calls().empty());
      const std::string message(TrimBlanks(Dialogs().Last().text));
      said = message.substr(0, message.find('\r'));
    }
    EXPECT_EQ(said, page.said);
    EXPECT_LE(ValidationPass, 2);
    const std::string laidOut = site + "laid-out-" + name;
    std::ofstream(laidOut, std::ios::binary) << CurrentText;
    EXPECT_EQ(ProgramOutput("php -l '" + laidOut + "' 2>&1 >/dev/null && echo lints"), "lints\n");
  }
}

}  // namespace
}  // namespace quorrel::test
