// F10 on a page with a mailto link, in the real window: the address is announced
// and scrambled into its script block with the decoder in the head; with "Encrypt
// Email" unticked, F10 gives the plain link back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTabWidget>
#include <filesystem>

#include "commands/StartUp.h"
#include "platform/Paths.h"
#include "shell/DBoxUnit.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "support/WindowSiteTest.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

const char kLink[] = "<A Href=\"mailto:xslt@gnome.org\">xslt@gnome.org</A>";

class EmailScrambleEndToEndTest : public test::WindowSiteTest {
 protected:
  EmailScrambleEndToEndTest() : WindowSiteTest("mail/") {}
};

TEST_F(EmailScrambleEndToEndTest, F10ScramblesTheLinkAndUntickedGivesItBack) {
  const std::string page = site + "contact.html";
  test::WriteFile(page, "<!DOCTYPE HTML>\n<HTML Lang=en>\n<Head>\n  <Title>Contact</Title>\n"
                        "<meta charset=\"utf-8\">\n"
                        "<Meta Name=viewport Content=\"width=device-width, initial-scale=1\">\n"
                        "</Head>\n<Body>\n<H1>Contact</H1>\n<P>Write to " +
                            std::string(kLink) + " today.\n</Body>\n</HTML>\n");
  StartParameters = {page};
  FormActivate();
  ASSERT_EQ(CurrentFileName, page);
  ASSERT_TRUE(MainMenu().Checked("EncE"));

  PressF10();
  ASSERT_FALSE(Dialogs().Calls().empty());
  EXPECT_EQ(Dialogs().Calls().front().text, MessageText("xslt@gnome.org\rEmail address encrypted"));
  EXPECT_EQ(Status(), "  Validated");
  EXPECT_EQ(CurrentText.find("mailto:xslt@gnome.org"), std::string::npos);
  EXPECT_NE(CurrentText.find("\nEmail(\"xl!nm%rgoeogts\", \"\", \"~\")\n"), std::string::npos)
      << CurrentText;
  EXPECT_NE(CurrentText.find("function Email(A, X, Y)"), std::string::npos);
  EXPECT_LT(CurrentText.find("function Email(A, X, Y)"), CurrentText.find("</Head>"));
  EXPECT_TRUE(CurrentEditor->Modified());

  // Unticked: the plain link again.
  Dialogs().Clear();
  form->Action("EncE")->trigger();
  ASSERT_FALSE(MainMenu().Checked("EncE"));
  PressF10();
  EXPECT_NE(CurrentText.find(std::string("Write to ") + kLink), std::string::npos) << CurrentText;
  EXPECT_EQ(CurrentText.find("\nEmail("), std::string::npos);
  EXPECT_EQ(Status(), "  Validated");
}

}  // namespace
}  // namespace quorrel
