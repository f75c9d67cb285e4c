// The dispatcher with a scripted validator in place of the real ones: which
// validator a document gets, how many passes run, the loop message, what the run
// only checks, the base folder of references, and the closing status.
#include <gtest/gtest.h>

#include "platform/Abort.h"
#include "publish/SiteDetails.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/MenuModel.h"
#include "shell/Recolour.h"
#include "shell/SiteState.h"
#include "support/ScriptedDialogs.h"
#include "validate/TextMarkers.h"
#include "validate/ValTestKit.h"

namespace quorrel::test {
namespace {

using K = TValidatorKind;

class DispatcherTest : public ValidationTest {};

TEST_F(DispatcherTest, EachDocumentTypeGetsItsValidatorInOrder) {
  struct Case {
    std::string name, text;
    K kind;
  } cases[] = {
      {"prog.dpr", "program P;", K::Project},
      {"unit.pas", "unit U;", K::Pascal},
      {"decl.inc", "x := 1;", K::Pascal},
      {"asp.inc", "<% Response.Write 1 %>", K::None},  // "<%": not Pascal, and no page either
      {"page.inc", "<!DOCTYPE html>\r\n<% x %>", K::Html},
      {"page.php", "<?php echo 1; ?>", K::Php},
      {"lib.js", "var a;", K::Php},
      {"prog.cs", "class A {}", K::Php},
      {"style.css", "p { }", K::Css},
      {"macro.vba", "Sub A()", K::Asp},
      {"page.asp", "<% x %>", K::Asp},
      {"page.aspx", "<p>", K::Html},
      {"tune.abc", "X:1", K::Abc},
      {"music/ABCCodes.txt", "X:1", K::None},  // ABC by name, never validated
      {"page.htm", "<p>", K::Html},
      {"data.xml", "<?xml version=\"1.0\"?>", K::Xml},
      {"letter.rtf", "{\\rtf1\\ansi Dear Sir, thank you\\par }", K::Rtf},
      {"notes.txt", "plain", K::None},
  };
  for (const auto& c : cases) {
    calls.clear();
    Open(c.name, c.text);
    ValidateCurrentFile("Validate");
    if (c.kind == K::None) {
      EXPECT_TRUE(calls.empty()) << c.name;
    } else {
      ASSERT_EQ(calls.size(), 1u) << c.name;
      EXPECT_EQ(calls[0].kind, c.kind) << c.name;
      EXPECT_EQ(calls[0].sender, "Validate") << c.name;
    }
  }
}

TEST_F(DispatcherTest, RtfShownAsCodesAndPagesOfABuildRun) {
  Open("letter.rtf", "{\\rtf1\\ansi Dear Sir, thank you\\par }");
  MainMenu().SetChecked("Raw", true);
  ValidateCurrentFile("Validate");
  EXPECT_TRUE(calls.empty());

  Open("notes.txt", "plain");
  CurrentCommand = "BuildAll";
  ValidateCurrentFile("Validate");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].kind, K::Html);
}

TEST_F(DispatcherTest, PassLimits) {
  struct Case {
    std::string name, sender;
    int asksAgain;  // passes that ask for another; -1 every one
    std::vector<int> passesSeen;
    bool loop;
  } cases[] = {
      {"page.htm", "Validate", 0, {0}, false},
      {"page.htm", "Validate", 1, {0, 1}, false},
      {"page.htm", "Validate", 3, {0, 1, 2, 3}, false},
      {"page.htm", "Validate", -1, {0, 1, 2, 3, 4}, true},
      {"page.htm", "N0", -1, {1, 2, 3, 4}, true},  // after a download: four at most
      {"page.htm", "N0", 2, {1, 2, 3}, false},
      {"page.php", "Validate", -1, {0, 1}, false},  // a server page: two at most
      {"page.asp", "Reformat", -1, {0, 1}, false},
      {"page.php", "N0", -1, {1}, false},
  };
  for (const auto& c : cases) {
    Open(c.name, "<p>");
    calls.clear();
    onCall = [&](const TValidatorCall&) {
      ValidateAgain = c.asksAgain < 0 || static_cast<int>(calls.size()) <= c.asksAgain;
    };
    Dialogs().Clear();
    bool aborted = false;
    try {
      ValidateCurrentFile(c.sender);
    } catch (const EAbort&) {
      aborted = true;
    }
    std::vector<int> passes;
    for (const auto& call : calls) passes.push_back(call.pass);
    const std::string what = c.name + " " + c.sender + " " + std::to_string(c.asksAgain);
    EXPECT_EQ(passes, c.passesSeen) << what;
    EXPECT_EQ(aborted, c.loop) << what;
    if (c.loop) {
      ASSERT_EQ(Dialogs().Calls().size(), 1u) << what;
      EXPECT_EQ(Dialogs().Last().text, MessageText(ValidationLoopMessage)) << what;
      EXPECT_EQ(ValidationPass, MaxValidationPasses) << what;
    } else {
      EXPECT_TRUE(Dialogs().Calls().empty()) << what;
      EXPECT_EQ(Status(), "  Validated") << what;
    }
  }
}

TEST_F(DispatcherTest, AFifthPassThatAsksNothingMoreStillCountsAsALoop) {
  Open("page.htm", "<p>");
  onCall = [&](const TValidatorCall& call) { ValidateAgain = call.pass < 4; };
  EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
  EXPECT_EQ(calls.size(), 5u);
  EXPECT_EQ(Dialogs().Last().text, MessageText(ValidationLoopMessage));
}

TEST_F(DispatcherTest, LoopEndsTheCommandInASiteButOnlyReportsItOutside) {
  // A page from the browser's cache, say: outside any site.
  const std::string foreign = TestHome() + "cache/page.htm";
  std::filesystem::create_directories(TestHome() + "cache");
  std::ofstream(foreign, std::ios::binary) << "<p>";
  Open("page.htm", "<p>");
  window.SetStatusText(MessagePanel, "");
  CurrentCommand = "Validate";
  onCall = [](const TValidatorCall&) { ValidateAgain = true; };
  EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
  EXPECT_EQ(CurrentCommand, "");  // the error ends the command
  EXPECT_EQ(Status(), "");

  onCall = nullptr;
  OpenInNewTab(foreign);
  PCChange();
  ASSERT_TRUE(NotInSite);
  window.SetStatusText(MessagePanel, "");
  Dialogs().Clear();
  calls.clear();
  CurrentCommand = "Validate";
  onCall = [](const TValidatorCall&) { ValidateAgain = true; };
  EXPECT_NO_THROW(ValidateCurrentFile("Validate"));
  EXPECT_EQ(calls.size(), 5u);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().kind, DialogKind::Message);
  EXPECT_EQ(Dialogs().Last().text, MessageText(ValidationLoopMessage));
  EXPECT_EQ(CurrentCommand, "Validate");
  EXPECT_EQ(Status(), "");  // no "Validated" after a loop
  std::filesystem::remove_all(TestHome() + "cache");
}

TEST_F(DispatcherTest, ServerPageGetsOneMorePassAndKeepsItsModifiedState) {
  for (bool modifiedBefore : {false, true}) {
    Open(modifiedBefore ? "changed.php" : "saved.php", "<?php\r\necho 1;\r\n?>\r\n");
    CurrentEditor->SetModified(modifiedBefore);
    calls.clear();
    onCall = [](const TValidatorCall& call) {
      if (call.pass == 0) {
        Rewrite("<?php\necho 2;\n?>\n");
        ValidateAgain = true;
      }
    };
    ValidateCurrentFile("Validate");
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_NE(CurrentEditor->GetText().find("echo 2;"), std::string::npos);
    EXPECT_EQ(CurrentEditor->Modified(), modifiedBefore) << modifiedBefore;
  }
}

TEST_F(DispatcherTest, OtherDocumentsStayModifiedAfterARewrite) {
  Open("page.htm", "<P>\r\n");
  onCall = [](const TValidatorCall& call) {
    if (call.pass == 0) {
      Rewrite("<p>\n");
      ValidateAgain = true;
    }
  };
  ValidateCurrentFile("Validate");
  EXPECT_EQ(calls.size(), 2u);
  EXPECT_TRUE(CurrentEditor->Modified());
}

TEST_F(DispatcherTest, WhatMakesARunOnlyCheck) {
  struct Case {
    std::string name, text, command, sender;
    bool checkOnly;
  } cases[] = {
      {"page.htm", "<p>", "Validate", "Validate", false},
      {"page.htm", "<p>", "UpMenu", "Validate", true},
      {"page.htm", "<p>", "Download", "N0", true},
      {"master.rtf", "{\\rtf1\\ansi .PG index|Home\\par }", "BuildAll", "Validate",
       true},  // page source
      {"style.css", "p { }", "Reformat", "Reformat", false},
  };
  for (const auto& c : cases) {
    Open(c.name, c.text);
    CurrentEditor->SetModified(false);
    CurrentCommand = c.command;
    bool modifiedInRun = true;
    onCall = [&](const TValidatorCall&) {
      MarkDocumentChanged();
      modifiedInRun = CurrentEditor->Modified();
    };
    ValidateCurrentFile(c.sender);
    EXPECT_EQ(CheckOnly, c.checkOnly) << c.name << " " << c.command;
    // A run that only checks never marks the document changed.
    EXPECT_EQ(modifiedInRun, !c.checkOnly) << c.name << " " << c.command;
  }
}

TEST_F(DispatcherTest, TheContentDocumentIsOnlyChecked) {
  Open("page.htm", "<p>");
  IsContentDoc = true;  // the page body being edited as simple RTF
  CurrentEditor->SetModified(false);
  onCall = [](const TValidatorCall&) { MarkDocumentChanged(); };
  ValidateCurrentFile("Validate");
  EXPECT_TRUE(CheckOnly);
  EXPECT_FALSE(CurrentEditor->Modified());
}

TEST_F(DispatcherTest, ReferencesResolveAgainstTheRightFolder) {
  Open("my%20pages/Sub%20Dir/page.htm", "<p>");
  ValidateCurrentFile("Validate");
  EXPECT_EQ(ValidationBaseFolder, site + "my pages/Sub Dir/");

  // A page handed over by a site tool is resolved where that page lives.
  SiteBaseFolder = site + "menus/";
  CurrentCommand = "UpMenu";
  ValidateCurrentFile("Validate");
  EXPECT_EQ(ValidationBaseFolder, site + "menus/");

  // Without it, the document's own folder again; during a whole-site download the
  // folder being downloaded.
  SiteBaseFolder.clear();
  ValidateCurrentFile("Validate");
  EXPECT_EQ(ValidationBaseFolder, site + "my pages/Sub Dir/");
  CurrentCommand = "Validate";
  EntireRun = true;
  CurrentFolder = site + "down%20load/";
  ValidateCurrentFile("Validate");
  EXPECT_EQ(ValidationBaseFolder, site + "down load/");
  EntireRun = false;
}

TEST_F(DispatcherTest, ClosingStatus) {
  Open("page.htm", "<p>");
  ValidateCurrentFile("Validate");
  EXPECT_EQ(Status(), "  Validated");

  MainMenu().SetChecked("IndentPHP", true);
  ValidateCurrentFile("Validate");
  EXPECT_EQ(Status(), "  Indenting corrected if necessary");

  // A page the HTML validator left alone says so, and that stays.
  onCall = [&](const TValidatorCall&) {
    window.SetStatusText(MessagePanel, std::string("  ") + NoReformatStatus);
  };
  ValidateCurrentFile("Validate");
  EXPECT_EQ(Status(), std::string("  ") + NoReformatStatus);
}

TEST_F(DispatcherTest, NoValidatorForTheDocumentStillEndsValidated) {
  Open("notes.txt", "plain text");
  ValidateCurrentFile("Validate");
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(ValidationPass, 1);
  EXPECT_EQ(Status(), "  Validated");
}

// A validator returns its verdict on a page; the dispatcher alone writes it into the
// editor.
class VerdictTest : public DispatcherTest {
 protected:
  // Every validator answers with the verdict; the pages it was given are kept.
  void Answer(std::function<TValidation(const TPage&)> verdict) {
    SetPageValidatorStandIn([this, verdict](TValidatorKind kind, const TPage& page) {
      calls.push_back({kind, page.sender, page.pass, page.path});
      pages.push_back(page);
      return std::optional<TValidation>(verdict(page));
    });
  }
  std::vector<TPage> pages;
};

TEST_F(VerdictTest, TheNewTextKeepsTheCaretsLineAndColumn) {
  Open("style.css", "a {}\r\nb {}\r\nc {}\r\n");
  CurrentEditor->SetModified(false);
  CurrentEditor->Select(CurrentEditor->LineIndex(1) + 2, 0);
  Answer([](const TPage& page) {
    TValidation v;
    v.text = ReplaceAll(page.text, "{}", "{ }", true);
    v.status = ValidatedStatus;
    return v;
  });
  ValidateCurrentFile("Validate");
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].kind, TDocumentKind::Css);
  EXPECT_EQ(pages[0].text, "a {}\r\nb {}\r\nc {}\r\n");
  EXPECT_EQ(pages[0].caret, 8u) << "an offset into the page's text";
  EXPECT_EQ(CurrentText, "a { }\r\nb { }\r\nc { }\r\n");
  EXPECT_EQ(CurrentEditor->LineFromChar(CurrentEditor->SelStart()), 1u);
  EXPECT_EQ(CurrentEditor->SelStart() - CurrentEditor->LineIndex(1), 2u);
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(Status(), "  Validated");

  // A run that only checks leaves the document as it is.
  Open("body.htm", "<p>");
  IsContentDoc = true;
  CurrentEditor->SetModified(false);
  const std::string body = CurrentText;
  Answer([](const TPage& page) {
    TValidation v;
    v.text = page.text + "<p>more";
    v.status = ValidatedStatus;
    return v;
  });
  ValidateCurrentFile("Validate");
  EXPECT_TRUE(pages.back().checkOnly);
  EXPECT_EQ(CurrentText, body);
  EXPECT_FALSE(CurrentEditor->Modified());
}

TEST_F(VerdictTest, TheFirstErrorGoesToItsOffsetWithItsMessageAndTopic) {
  Open("style.css", "a {}\r\nb {\r\n");
  Answer([](const TPage&) {
    TValidation v;
    v.error = TValidationError{8, "No closing brace", 0};
    return v;
  });
  EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
  EXPECT_EQ(Dialogs().Last().text, MessageText("No closing brace\rat offset 8"));
  EXPECT_EQ(CurrentEditor->SelStart(), CurrentEditor->OffsetToPos(8));
  EXPECT_NE(Status(), "  Validated");

  Dialogs().Clear();
  Answer([](const TPage&) {
    TValidation v;
    v.error = TValidationError{2, "Unknown property", 100600};
    return v;
  });
  Dialogs().Answer(mrOk);
  EXPECT_THROW(ValidateCurrentFile("Validate"), EAbort);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().helpContext, 100600);
  EXPECT_NE(Dialogs().Last().text.find("Unknown property\rat offset 2"), std::string::npos);
}

// The hand-over belongs to the pass that made it: a server page's second pass is a
// second round of both validators.
TEST_F(VerdictTest, AServerPageIsHandedToTheHtmlValidatorWithinThePass) {
  Open("page.php", "<?php\r\necho 1;\r\n?>\r\n<p>\r\n");
  Answer([](const TPage& page) {
    TValidation v;
    v.status = ValidatedStatus;
    if (page.kind == TDocumentKind::Php) {
      v.text = "<?php\n  echo 1;\n?>\n<p>\n";
      v.again = true;
      v.againAs = TDocumentKind::Html;
    }
    return v;
  });
  ValidateCurrentFile("Validate");
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(calls[0].kind, TValidatorKind::Php);
  EXPECT_EQ(calls[1].kind, TValidatorKind::Html);
  EXPECT_EQ(pages[1].kind, TDocumentKind::Html);
  EXPECT_EQ(pages[1].text, "<?php\n  echo 1;\n?>\n<p>\n");
  EXPECT_EQ(pages[1].pass, 0);
  EXPECT_EQ(ValidationPass, 1);
}

TEST_F(VerdictTest, AValidatorMayEndSilentlyOrAskForAFullRecolour) {
  Open("style.css", "a {}\r\n");
  window.SetStatusText(MessagePanel, "");
  RecolourRequest = RecolourNone;
  Answer([](const TPage&) {
    TValidation v;
    v.recolour = true;
    return v;
  });
  ValidateCurrentFile("Validate");
  EXPECT_EQ(Status(), "");
  EXPECT_EQ(RecolourRequest, RecolourFull);
}

// Until a kind's validator is written, F10 says so and never "Validated".
TEST_F(VerdictTest, KindsNotCheckedYetSaySo) {
  SetValidatorStandIn(nullptr);
  struct Case {
    std::string name, text, kind;
  } cases[] = {
      {"style.css", "p { }", "CSS"},
  };
  for (const Case& c : cases) {
    Open(c.name, c.text);
    const std::string before = CurrentText;
    ValidateCurrentFile("Validate");
    EXPECT_EQ(Status(), "  " + c.kind + " documents are not checked yet") << c.name;
    EXPECT_EQ(CurrentText, before) << c.name;
    EXPECT_EQ(ValidationPass, 1) << c.name;
  }
}

}  // namespace
}  // namespace quorrel::test
