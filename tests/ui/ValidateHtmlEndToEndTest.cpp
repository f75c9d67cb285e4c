// The main road from end to end on the real program: a real Debian documentation
// page opened in a tab, F10 typed into the editor, the real HTML validator with its
// questions answered, the caret and blink at its error, the page re-laid, and the
// file on disk after Save.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTabWidget>
#include <QTextBrowser>
#include <filesystem>
#include <fstream>

#include "commands/StartUp.h"
#include "platform/Help.h"
#include "platform/Paths.h"
#include "shell/BlinkJob.h"
#include "shell/DBoxUnit.h"
#include "shell/HelpSystem.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/Installed.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "ui/shell/HelpViewer.h"
#include "ui/shell/WebForm.h"
#include "support/WindowSiteTest.h"
#include "validate/ValTestKit.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

const char kVorbisPage[] = "/usr/share/doc/libvorbis-dev/html/floor1_inverse_dB_table.html";

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ValidateHtmlEndToEndTest : public test::WindowSiteTest {
 protected:
  ValidateHtmlEndToEndTest() : WindowSiteTest("end-to-end/") {}
};

TEST_F(ValidateHtmlEndToEndTest, ADocumentationPageValidatedAndSaved) {
  ASSERT_TRUE(test::Installed(kVorbisPage, "libvorbis-dev"));
  const std::string page = site + "floor1.html";
  fs::copy_file(kVorbisPage, page);
  StartParameters = {page};
  FormActivate();
  ASSERT_EQ(CurrentFileName, page);
  form->show();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->isActiveWindow(); }, 2000));
  const std::string original = CurrentText;
  const std::string heading = "Ogg Vorbis I format specification: floor1_inverse_dB_table";

  // Blank lines go; the title and heading stay at odds: the error.
  Dialogs().Answer({mrNo, mrNo});
  PressF10();
  ASSERT_FALSE(Dialogs().Calls().empty());
  EXPECT_EQ(Dialogs().Last().text,
            "Inconsistent tags.\r<Title>: Ogg Vorbis Documentation\rFirst <H1>: " + heading);
  // The page as far as it was re-laid, the caret at the heading and blinking there.
  EXPECT_NE(CurrentText, original);
  EXPECT_EQ(CurrentText.find("<!DOCTYPE html PUBLIC"), 0u);
  EXPECT_NE(CurrentText.find("\n<html Lang=en>\n"), std::string::npos);
  const size_t at = CurrentText.find(heading + "</h1>");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(CurrentEditor->SelStart(), at);
  EXPECT_TRUE(Blinking());
  EXPECT_EQ(BlinkStart, static_cast<long>(at));
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(Slurp(page), Slurp(kVorbisPage));

  // Again, making them consistent: the page is validated.
  Dialogs().Clear();
  Dialogs().Answer({mrYes, mrYes});
  PressF10();
  EXPECT_EQ(Dialogs().Calls().size(), 2u);
  EXPECT_EQ(form->StatusPanel(MessagePanel)->text().toStdString(), "  Validated");
  EXPECT_NE(CurrentText.find("<title>" + heading + "</title>"), std::string::npos);
  const std::string validated = CurrentText;

  // Saved as it stands (validated again on the way, with nothing to change).
  Dialogs().Clear();
  form->Action("Save")->trigger();
  QApplication::processEvents();
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(Slurp(page), validated);
  EXPECT_EQ(CurrentText, validated);
}

// The Help button of the missing-end-tag question opens the page about that
// question, not another message's.
TEST_F(ValidateHtmlEndToEndTest, TheMissingEndTagQuestionsHelpIsAboutMissingEndTags) {
  OpenNewPage("cells.html",
              "<HTML>\n<Head>\n<Title>Cells</Title>\n</Head>\n<Body>\n<H1>Cells</H1>\n"
              "<Table><TR><TD>x</Table>\n</Body>\n</HTML>\n");
  InstallHelpViewer();
  THelpViewer* viewer = HelpViewerWindow();
  QString title;
  Dialogs().whileShowing = [&](const DialogCall& call) {
    if (call.text.find(" missing after") == std::string::npos) return;
    ShowHelpContext(call.helpContext);  // the box's Help button
    title = viewer->Browser->documentTitle();
  };
  Dialogs().Answer(mrNo);
  PressF10();
  Dialogs().whileShowing = nullptr;
  CloseAllHelp();
  EXPECT_EQ(viewer->Page(), "missing-end-tag.html");
  EXPECT_EQ(title, "End tag missing");
}

// F10 on a page of a site: the dashes and dots of its prose become typography.
TEST_F(ValidateHtmlEndToEndTest, DashesAndDotsBecomeTypography) {
  OpenNewPage("prose.html",
              "<HTML>\n<Head>\n<Title>Prose</Title>\n</Head>\n<Body>\n<H1>Prose</H1>\n"
              "<P>one - two, and so on...</P>\n<PRE>a - b (...args)</PRE>\n</Body>\n</HTML>\n");
  PressF10();
  EXPECT_TRUE(Dialogs().Calls().empty()) << Dialogs().Last().text;
  EXPECT_EQ(form->StatusPanel(MessagePanel)->text().toStdString(), "  Validated");
  const std::string shown = CurrentEditor->GetText();
  EXPECT_NE(shown.find("one &mdash; two, and so on&hellip;"), std::string::npos) << shown;
  EXPECT_NE(shown.find("a - b (...args)"), std::string::npos) << shown;
  EXPECT_TRUE(CurrentEditor->Modified());
}

// F10 on a page with a reference that lacks its semicolon: the box, then the caret
// on the "&".
TEST_F(ValidateHtmlEndToEndTest, AReferenceWithoutItsSemicolonStopsWithTheCaretOnIt) {
  OpenNewPage("spaces.html",
              "<HTML>\n<Head>\n<Title>Spaces</Title>\n</Head>\n<Body>\n<H1>Spaces</H1>\n"
              "<P>one - two</P>\n<P>a&nbsp b</P>\n</Body>\n</HTML>\n");
  Dialogs().Answer(mrOk);
  PressF10();
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, "Missing semicolon, or \"&\" should be \"&amp;\" in\r&nbsp ");
  EXPECT_EQ(Dialogs().Last().helpContext, 100750);
  // The corrections before it stay; the caret is on the "&".
  EXPECT_NE(CurrentText.find("one &mdash; two"), std::string::npos) << CurrentText;
  EXPECT_EQ(CurrentEditor->SelStart(), CurrentText.find("&nbsp "));
  EXPECT_EQ(CurrentEditor->SelLength(), 0u);
}

}  // namespace
}  // namespace quorrel
