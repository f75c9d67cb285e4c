#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <filesystem>

#include "platform/Abort.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

using test::Dialogs;

std::string Blanks(int n) {
  return std::string(n, ' ');
}

TEST(ShowMsg, CentresShortSingleLineMessages) {
  struct Case {
    std::string message;
    std::string shown;
  } cases[] = {
      {"Saved", Blanks(22) + "Saved" + Blanks(22)},
      {std::string(48, 'x'), " " + std::string(48, 'x') + " "},
      {std::string(49, 'x'), std::string(49, 'x')},  // (50 - 49) div 2 = 0
      {std::string(50, 'x'), std::string(50, 'x')},
      {std::string(51, 'x'), std::string(51, 'x')},  // -1 div 2 truncates to 0
      {std::string(80, 'x'), std::string(80, 'x')},
      {"Line one\rline two", "Line one\rline two"},
      {"\r", "\r"},
      {"", Blanks(50)},
  };
  for (const auto& c : cases) {
    Dialogs().Clear();
    ShowMsg(c.message);
    ASSERT_EQ(Dialogs().Calls().size(), 1u);
    EXPECT_EQ(Dialogs().Last().text, c.shown) << "message of " << c.message.size() << " chars";
    EXPECT_EQ(Dialogs().Last().kind, DialogKind::Message);
  }
}

TEST(ShowMsg, PlainBoxCarriesTheApplicationTitle) {
  ApplicationTitle = "/home/u/site/index.htm - Quorrel v. 1.921, 16-Jun-26";
  ShowMsg(std::string(60, 'y'));
  EXPECT_EQ(Dialogs().Last().caption, ApplicationTitle);
  EXPECT_EQ(Dialogs().Last().timeoutMs, 0);
}

TEST(ShowMsg, NamesThePageOfABatchRun) {
  const std::string longMsg(60, 'e');
  struct Case {
    const char* what;
    bool contentDoc;
    bool dotPage;
    std::string command;
    std::string page;
    std::string message;
    std::string shown;
  } cases[] = {
      {"validate all", false, false, "ValAll", "contact", "Saved",
       Blanks(22) + "Saved" + Blanks(22) + "\rcontact.htm"},
      {"name already there", false, false, "ValAll", "contact", "Error in contact.htm",
       Blanks(15) + "Error in contact.htm" + Blanks(15)},
      {"name with extension", false, false, "BuildAll", "menu.php", longMsg,
       longMsg + "\rmenu.php"},
      {"menu update", false, false, "UpMenu", "news", longMsg, longMsg + "\rnews.htm"},
      {"content document", true, false, "", "about", longMsg, longMsg + "\rabout.htm"},
      {"dot-command page", false, true, "", "about", longMsg, longMsg + "\rabout.htm"},
      {"no page name", false, false, "ValAll", "", longMsg, longMsg},
      {"other command", false, false, "Save", "contact", longMsg, longMsg},
      {"no command", false, false, "", "contact", longMsg, longMsg},
      // CurrentCommand holds component names, never captions.
      {"caption is not a command", false, false, "Validate all", "contact", longMsg, longMsg},
      // Padding happens first, so a multi-line result stays as built.
      {"multi-line message", false, false, "ValAll", "a", "x\ry", "x\ry\ra.htm"},
  };
  for (const auto& c : cases) {
    test::ResetAllState();
    Dialogs().Clear();
    IsContentDoc = c.contentDoc;
    IsDotPage = c.dotPage;
    CurrentCommand = c.command;
    CurrentPageName = c.page;
    ShowMsg(c.message);
    EXPECT_EQ(Dialogs().Last().text, c.shown) << c.what;
  }
}

TEST(ShowMsg, ShowsAmpersandsAsTheyStand) {
  ShowMsg("Fish & chips");
  EXPECT_EQ(Dialogs().Last().text, Blanks(19) + "Fish & chips" + Blanks(19));
  Dialogs().Answer({mrYes, mrYes, mrYes, mrYes, mrOk});
  AskYesNo("Tom & Jerry?");
  AskYesNoHelp("Tom & Jerry?", 5);
  AskYesNoCancel("Tom & Jerry?");
  AskYesNoCancelHelp("Tom & Jerry?", 5);
  AskCustom("Tom & Jerry?", "&Yes", "&No", 0, "Cancel");
  for (size_t i = 1; i < Dialogs().Calls().size(); ++i) {
    EXPECT_EQ(Dialogs().Calls()[i].text, "Tom & Jerry?") << i;
  }
}

TEST(ShowMsg, TimeoutAppliesToTheNextMessageOnly) {
  MessageTimeout = 2000;
  ShowMsg("Uploaded");
  EXPECT_EQ(MessageTimeout, 0);
  ShowMsg("Done");
  ASSERT_EQ(Dialogs().Calls().size(), 2u);
  const DialogCall& timed = Dialogs().Calls()[0];
  EXPECT_EQ(timed.kind, DialogKind::TimedMessage);
  EXPECT_EQ(timed.timeoutMs, 2000);
  EXPECT_EQ(timed.caption, "Quorrel");
  EXPECT_EQ(timed.text, Blanks(21) + "Uploaded" + Blanks(21));
  const DialogCall& plain = Dialogs().Calls()[1];
  EXPECT_EQ(plain.kind, DialogKind::Message);
  EXPECT_EQ(plain.timeoutMs, 0);
}

TEST(ShowErrorAndAbort, ShowsOnceClearsTheCommandAndAborts) {
  CurrentCommand = "ValAll";
  CurrentPageName = "contact";
  EXPECT_THROW(ShowErrorAndAbort("Missing </p>"), EAbort);
  EXPECT_EQ(CurrentCommand, "");
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  // The page is named while the command is still known.
  EXPECT_EQ(Dialogs().Last().text, Blanks(19) + "Missing </p>" + Blanks(19) + "\rcontact.htm");
}

TEST(Questions, YesNoBoxesAnswerTrueOnlyForYes) {
  struct Case {
    int answer;
    bool result;
  } cases[] = {{mrYes, true}, {mrNo, false}, {mrCancel, false}, {mrNone, false}};
  for (const auto& c : cases) {
    Dialogs().Clear();
    Dialogs().Answer({c.answer, c.answer});
    EXPECT_EQ(AskYesNo("Save changes?"), c.result) << c.answer;
    EXPECT_EQ(AskYesNoHelp("Convert?", 100750), c.result) << c.answer;
    EXPECT_EQ(Dialogs().Calls()[0].kind, DialogKind::YesNo);
    EXPECT_EQ(Dialogs().Calls()[0].helpContext, 0);
    EXPECT_EQ(Dialogs().Calls()[1].kind, DialogKind::YesNoHelp);
    EXPECT_EQ(Dialogs().Calls()[1].helpContext, 100750);
  }
}

TEST(Questions, YesNoCancelBoxesReturnTheAnswer) {
  struct Case {
    int answer;
    int result;
  } cases[] = {{mrYes, mrYes}, {mrNo, mrNo}, {mrCancel, mrCancel}, {mrNone, mrCancel}};
  ApplicationTitle = "Quorrel";
  for (const auto& c : cases) {
    Dialogs().Clear();
    Dialogs().Answer({c.answer, c.answer});
    EXPECT_EQ(AskYesNoCancel("Close?"), c.result) << c.answer;
    EXPECT_EQ(AskYesNoCancelHelp("Close?", 42), c.result) << c.answer;
    EXPECT_EQ(Dialogs().Calls()[0].kind, DialogKind::YesNoCancel);
    EXPECT_EQ(Dialogs().Calls()[1].kind, DialogKind::YesNoCancelHelp);
    EXPECT_EQ(Dialogs().Calls()[1].helpContext, 42);
    EXPECT_EQ(Dialogs().Calls()[1].caption, "Quorrel");
  }
}

TEST(Questions, AskCustomShowsTheMessageUncentredWithThreeCaptions) {
  ApplicationTitle = "page.htm - Quorrel v. 1.921, 16-Jun-26";
  CurrentCommand = "ValAll";
  CurrentPageName = "contact";
  struct Case {
    int answer;
    int result;
  } cases[] = {{mrYes, mrYes}, {mrNo, mrNo}, {mrCancel, mrCancel}, {mrNone, mrCancel}};
  for (const auto& c : cases) {
    Dialogs().Clear();
    Dialogs().Answer(c.answer);
    EXPECT_EQ(
        AskCustom("What do you want to print?", "&This tune", "&All tunes", 0, "&Source text"),
        c.result);
    const DialogCall& call = Dialogs().Last();
    EXPECT_EQ(call.kind, DialogKind::Custom);
    EXPECT_EQ(call.text, "What do you want to print?");
    EXPECT_EQ(call.caption, ApplicationTitle);
    EXPECT_EQ(call.buttons, (std::vector<std::string>{"&This tune", "&All tunes", "&Source text"}));
  }
}

TEST(Questions, AskOkHelpCancel) {
  Dialogs().Answer({mrYes, mrCancel, mrNo});
  EXPECT_EQ(AskOkHelpCancel("Copy the message?", 2050), mrYes);
  EXPECT_EQ(Dialogs().Last().buttons, (std::vector<std::string>{"&OK", "&Help", "Cancel"}));
  EXPECT_EQ(Dialogs().Last().helpContext, 2050);
  EXPECT_EQ(AskOkHelpCancel("Copy the message?", 2050), mrCancel);
  // Without a help topic the Help button closes the box with No.
  EXPECT_EQ(AskOkHelpCancel("Copy the message?", 0), mrNo);
}

TEST(SmallRoutines, EscapeAmpersands) {
  struct Case {
    std::string in, out;
  } cases[] = {{"", ""}, {"&", "&&"}, {"a&b&&c", "a&&b&&&&c"}, {"none", "none"}};
  for (const auto& c : cases) EXPECT_EQ(EscapeAmpersands(c.in), c.out) << c.in;
}

TEST(SmallRoutines, PadLeft) {
  struct Case {
    std::string text;
    int width;
    char fill;
    std::string out;
  } cases[] = {
      {"12345", 3, ' ', "***"}, {"7", 3, '0', "007"}, {"abc", 3, ' ', "abc"}, {"", 2, ' ', "  "},
      {"", 0, ' ', ""},         {"x", 0, ' ', ""},    {"x", -2, ' ', ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PadLeft(c.text, c.width, c.fill), c.out) << c.text << " to " << c.width;
  }
  EXPECT_EQ(PadLeft("7", 3), "  7");
}

TEST(SmallRoutines, PadRightOrCut) {
  struct Case {
    std::string text;
    int width;
    std::string out;
  } cases[] = {{"abcdef", 3, "abc"}, {"ab", 4, "ab  "}, {"abc", 3, "abc"},
               {"", 2, "  "},        {"abc", 0, ""},    {"abc", -1, ""}};
  for (const auto& c : cases) EXPECT_EQ(PadRightOrCut(c.text, c.width), c.out) << c.text;
}

TEST(SmallRoutines, PathEnds) {
  struct Case {
    std::string path, backslashed, slashed;
  } cases[] = {
      {"", "/", ""},
      {"/", "/", "/"},
      {"/home/u/site", "/home/u/site/", "/home/u/site/"},
      {"/home/u/site/", "/home/u/site/", "/home/u/site/"},
      {"http://example.com", "http://example.com/", "http://example.com/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AddBackslash(c.path), c.backslashed) << c.path;
    EXPECT_EQ(AddSlash(c.path), c.slashed) << c.path;
  }
}

TEST(SmallRoutines, ScaleForFont) {
  struct Case {
    int scale, x, out;
  } cases[] = {{4, 250, 250}, {5, 250, 313}, {4, 0, 0},     {5, 0, 0},
               {5, 1, 1},     {5, 2, 3},     {5, 460, 575}, {4, 302, 302}};
  for (const auto& c : cases) {
    FontScale = c.scale;
    EXPECT_EQ(ScaleForFont(c.x), c.out) << c.x << " at scale " << c.scale;
  }
}

TEST(SmallRoutines, CurrentDirWithBackslash) {
  std::string saved = std::filesystem::current_path().string();
  std::string dir = test::TestHome() + "Documents";
  ASSERT_EQ(chdir(dir.c_str()), 0);
  std::string current = CurrentDirWithBackslash();
  ASSERT_EQ(chdir(saved.c_str()), 0);
  EXPECT_EQ(current, std::filesystem::canonical(dir).string() + "/");
}

TEST(SmallRoutines, ProgramDirIsTheExecutablesFolder) {
  EXPECT_EQ(ProgramDir, QCoreApplication::applicationDirPath().toStdString() + "/");
}

TEST(Splash, ModeFromProgramFolderAndFirstParameter) {
  struct Case {
    std::string dir, param;
    std::string name;
    bool notepad, reformatter;
    int height;
  } cases[] = {
      {"/usr/bin/", "", "Quorrel", false, false, 80},
      {"/opt/Notepad/", "", "Notepad", true, false, 80},
      {"/home/u/mynotepad++/", "", "Notepad", true, false, 80},
      {"/usr/bin/", "/R", "Reformatter", false, true, 100},
      {"/usr/bin/", "/r", "Reformatter", false, true, 100},
      {"/opt/NOTEPAD/", "/R", "Reformatter", true, true, 100},
      // Absolute paths that merely begin with "/R" are documents, not the switch.
      {"/usr/bin/", "/root/page.htm", "Quorrel", false, false, 80},
      {"/usr/bin/", "/run/x.htm", "Quorrel", false, false, 80},
      {"/usr/bin/", "/Rx", "Quorrel", false, false, 80},
      {"/usr/bin/", "/P", "Quorrel", false, false, 80},
      {"/usr/bin/", "R", "Quorrel", false, false, 80},
  };
  for (const auto& c : cases) {
    TSplashMode mode = SplashModeFor(c.dir, c.param);
    EXPECT_EQ(mode.progName, c.name) << c.dir << " " << c.param;
    EXPECT_EQ(mode.notepad, c.notepad) << c.dir << " " << c.param;
    EXPECT_EQ(mode.reformatter, c.reformatter) << c.dir << " " << c.param;
    EXPECT_EQ(mode.height, c.height) << c.dir << " " << c.param;
  }
}

TEST(Splash, LargeFontsRaiseTheScaleAndVeryLargeOnesWarn) {
  const std::string warning =
      "Using a font size more than 125% means that some items will not be displayed correctly.";
  struct Case {
    double dpi;
    int height;
    int scale;
    bool warned;
  } cases[] = {
      {72, -10, 4, false},  {96, -13, 4, false}, {100, -14, 5, false},
      {120, -17, 5, false},  // 125 %: still fits
      {125, -17, 5, false}, {126, -18, 5, true}, {144, -20, 5, true},
  };
  for (const auto& c : cases) {
    test::ResetAllState();
    Dialogs().Clear();
    EXPECT_EQ(TenPointFontHeight(c.dpi), c.height) << c.dpi;
    CheckLargeFonts(c.dpi);
    EXPECT_EQ(FontScale, c.scale) << c.dpi;
    if (c.warned) {
      ASSERT_EQ(Dialogs().Calls().size(), 1u) << c.dpi;
      EXPECT_EQ(Dialogs().Last().text, warning);
    } else {
      EXPECT_TRUE(Dialogs().Calls().empty()) << c.dpi;
    }
  }
}

TEST(Splash, AboutVersionLine) {
  EXPECT_EQ(AboutVersionLine(), "Version 1.921, 16-Jun-26");
}

}  // namespace
}  // namespace quorrel
