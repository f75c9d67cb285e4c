#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/Abort.h"
#include "shell/Commands.h"
#include "shell/DBoxUnit.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"

namespace quorrel {
namespace {

using test::Dialogs;

TEST(RunCommand, NamesTheCommandWhileItRuns) {
  std::string seen;
  EXPECT_TRUE(RunCommand("ValAll", [&] { seen = CurrentCommand; }));
  EXPECT_EQ(seen, "ValAll");
  EXPECT_EQ(CurrentCommand, "");
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST(RunCommand, DropsTheSilentAbort) {
  bool after = false;
  EXPECT_FALSE(RunCommand("Save", [&] {
    Abort();
    after = true;
  }));
  EXPECT_FALSE(after);
  EXPECT_EQ(CurrentCommand, "");
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST(RunCommand, AnErrorMessageIsTheOnlyWord) {
  EXPECT_FALSE(RunCommand("Save", [] { ShowErrorAndAbort(std::string(60, 'e')); }));
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, std::string(60, 'e'));
  EXPECT_EQ(CurrentCommand, "");
}

TEST(RunCommand, ShowsOtherExceptionsByDefault) {
  struct Case {
    const char* what;
    std::function<void()> body;
    std::string shown;
  } cases[] = {
      {"std::exception", [] { throw std::runtime_error(std::string(55, 'r')); },
       std::string(55, 'r')},
      {"bad_alloc", [] { throw std::bad_alloc(); }, std::string("std::bad_alloc")},
      {"not an exception class", [] { throw 42; }, std::string("Unknown exception")},
  };
  for (const auto& c : cases) {
    Dialogs().Clear();
    EXPECT_FALSE(RunCommand("Open", c.body)) << c.what;
    ASSERT_EQ(Dialogs().Calls().size(), 1u) << c.what;
    EXPECT_NE(Dialogs().Last().text.find(c.shown), std::string::npos) << c.what;
    EXPECT_EQ(CurrentCommand, "") << c.what;
  }
}

TEST(RunCommand, ReportsWhileTheBatchPageIsStillKnown) {
  CurrentPageName = "contact";
  RunCommand("ValAll", [] { throw std::runtime_error(std::string(60, 'x')); });
  EXPECT_EQ(Dialogs().Last().text, std::string(60, 'x') + "\rcontact.htm");
}

TEST(RunCommand, InstalledHandlerReceivesTheMessage) {
  std::vector<std::string> got;
  std::string commandSeen;
  SetExceptionHandler([&](const std::string& message) {
    got.push_back(message);
    commandSeen = CurrentCommand;
  });
  EXPECT_FALSE(RunCommand("Upload", [] { throw std::runtime_error("lost connection"); }));
  EXPECT_FALSE(RunCommand("Upload", [] { Abort(); }));
  EXPECT_EQ(got, std::vector<std::string>{"lost connection"});
  EXPECT_EQ(commandSeen, "Upload");
  EXPECT_TRUE(Dialogs().Calls().empty());

  SetExceptionHandler(nullptr);
  RunCommand("Upload", [] { throw std::runtime_error(std::string(50, 'z')); });
  EXPECT_EQ(Dialogs().Calls().size(), 1u);
}

TEST(RunCommand, NothingEscapesAFailingHandler) {
  SetExceptionHandler([](const std::string&) { throw std::logic_error("handler broke"); });
  EXPECT_NO_THROW(RunCommand("Open", [] { throw std::runtime_error("x"); }));
  SetExceptionHandler([](const std::string&) { Abort(); });
  EXPECT_NO_THROW(RunCommand("Open", [] { throw std::runtime_error("x"); }));
  EXPECT_EQ(CurrentCommand, "");
}

TEST(RunCommand, ACommandRunFromInsideAnotherLeavesTheOuterOneIntact) {
  std::string afterInner;
  bool innerResult = true;
  EXPECT_TRUE(RunCommand("BuildAll", [&] {
    innerResult = RunCommand("Find", [] { Abort(); });
    afterInner = CurrentCommand;
  }));
  EXPECT_FALSE(innerResult);
  EXPECT_EQ(afterInner, "BuildAll");
  EXPECT_EQ(CurrentCommand, "");
}

TEST(RunGuarded, ProtectsWithoutNamingACommand) {
  CurrentCommand = "ValAll";
  std::string seen;
  EXPECT_TRUE(RunGuarded([&] { seen = CurrentCommand; }));
  EXPECT_EQ(seen, "ValAll");
  EXPECT_EQ(CurrentCommand, "ValAll");
  EXPECT_FALSE(RunGuarded([] { Abort(); }));
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_FALSE(RunGuarded([] { throw std::runtime_error(std::string(50, 't')); }));
  EXPECT_EQ(Dialogs().Calls().size(), 1u);
}

}  // namespace
}  // namespace quorrel
