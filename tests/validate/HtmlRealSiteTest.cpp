// ValidateHtml from end to end on real pages that Debian ships, opened from a site
// folder: libvorbis's XHTML pages (a title at odds with the first heading) and
// Node.js's HTML 5 reference. Each is validated to a text that a second validation
// leaves as it is.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Abort.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "support/ScriptedDialogs.h"
#include "validate/ValTestKit.h"

namespace quorrel::test {
namespace {

const std::string kVorbis = "/usr/share/doc/libvorbis-dev/html/";
const std::string kNode = "/usr/share/doc/nodejs/api/";

class HtmlRealSiteTest : public ValidationTest {
 protected:
  void SetUp() override {
    ValidationTest::SetUp();
    SetValidatorStandIn(nullptr);
    IdleReady = true;
  }
  // Opens a copy of a real page from the site folder.
  bool OpenCopy(const std::string& path) {
    if (!std::filesystem::exists(path)) return false;
    const std::string name = ExtractFileName(path);
    Open(name, Read(path));
    return true;
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
  if (!OpenCopy(page)) GTEST_SKIP() << "libvorbis-dev is not installed";
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
  if (!OpenCopy(page)) GTEST_SKIP() << "libvorbis-dev is not installed";
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

TEST_F(HtmlRealSiteTest, NodeReferencePagesKeepTheirHead) {
  for (const char* name : {"addons.html", "events.html"}) {
    SCOPED_TRACE(name);
    if (!OpenCopy(kNode + name)) GTEST_SKIP() << "nodejs is not installed";
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
