// The handler of unexpected errors behind the command dispatcher: which messages
// it shows and how, that the documents survive, and that errors coming from
// inside its own boxes end the program at the fourth.
#include <gtest/gtest.h>

#include <stdexcept>

#include "shell/Commands.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/MyException.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"

namespace quorrel {
namespace {

using test::Dialogs;

class MyExceptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    InstallMyException();
  }
  void TearDown() override {
    SetUserDialogs(&Dialogs());
    SetMainWindow(nullptr);
  }
  // A menu command that fails with this message.
  bool Fail(const std::string& message) {
    MainMenu().SetHandler("Compare",
                          [message](const TMenuItem&) { throw std::runtime_error(message); });
    return MainMenu().Click("Compare");
  }
  test::MemoryMainWindow window;
};

TEST_F(MyExceptionTest, WhatTheUserIsShown) {
  struct Case {
    std::string message;
    std::string shown;  // "" for nothing
  } cases[] = {
      {"A call to an OS function failed", ""},
      {"Scan line index out of range", ""},
      {"Invalid argument to date encode", "Just a glitch.  Please try again."},
      {"Invalid callback address", "Just a glitch.  Please try again."},
      {"List index out of bounds (5)",
       "List index out of bounds (5)\rException Address:  00000000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Dialogs().Clear();
    EXPECT_FALSE(Fail(c.message));
    if (c.shown.empty()) {
      EXPECT_TRUE(Dialogs().Calls().empty());
    } else {
      ASSERT_EQ(Dialogs().Calls().size(), 1u);
      // Short texts are centred in the box.
      EXPECT_NE(Dialogs().Last().text.find(c.shown), std::string::npos);
    }
    EXPECT_EQ(ExceptionDepth, 0);
    EXPECT_EQ(CurrentCommand, "");
  }
  EXPECT_EQ(ExceptionText("x", 0xbeef), "x\rException Address:  0000BEEF");
}

TEST_F(MyExceptionTest, TheOpenDocumentsSurviveAFailingCommand) {
  for (const char* text : {"one\r\n", "two\r\n"}) {
    NewDocumentTab(std::string("/docs/") + text[0] + ".txt");
    CurrentEditor = window.TabEditor(window.ActiveTab());
    CurrentEditor->SetText(text);
  }
  CurrentEditor->SetSelText("typed ");
  window.HideSplash();
  BeginBusy();
  EXPECT_FALSE(Fail("Access violation"));
  EXPECT_EQ(window.TabCount(), 2);
  EXPECT_EQ(window.TabEditor(0)->GetText(), "one\r\n");
  EXPECT_EQ(window.TabEditor(1)->GetText(), "typed two\r\n");
  EXPECT_TRUE(window.TabEditor(1)->Modified());
  EXPECT_EQ(window.SplashState(), test::MemoryMainWindow::Splash::Closed);
  EXPECT_FALSE(window.BusyCursor()) << "the normal cursor is back";
  EXPECT_EQ(CurrentFileName, "/docs/t.txt") << "the tab change ran";
  EXPECT_EQ(CurrentText, "typed two\r\n");
}

// Every error box lets another command run, which fails again.
class NestingDialogs : public test::ScriptedDialogs {
 public:
  int ShowBox(const DialogCall& call) override {
    const int result = ScriptedDialogs::ShowBox(call);
    RunCommand("Compare", [] { throw std::runtime_error("again"); });
    return result;
  }
};

TEST_F(MyExceptionTest, AFourthErrorInsideTheBoxesEndsTheProgram) {
  NestingDialogs nesting;
  SetUserDialogs(&nesting);
  EXPECT_FALSE(Fail("first"));
  EXPECT_EQ(nesting.Calls().size(), 3u) << "three boxes, one inside the other";
  EXPECT_TRUE(window.Terminated());
  EXPECT_EQ(ExceptionDepth, 0);

  // One error after another is no nesting.
  SetUserDialogs(&Dialogs());
  test::MemoryMainWindow fresh;
  SetMainWindow(&fresh);
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(Fail("again and again"));
  EXPECT_FALSE(fresh.Terminated());
  EXPECT_EQ(Dialogs().Calls().size(), 5u);
}

}  // namespace
}  // namespace quorrel
