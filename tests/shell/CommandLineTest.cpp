#include <gtest/gtest.h>

#include <set>

#include "shell/CommandLine.h"

namespace quorrel {
namespace {

using Params = std::vector<std::string>;

TEST(CommandLine, WhatIsASwitch) {
  struct Case {
    std::string parameter;
    bool isSwitch;
  } cases[] = {
      {"/P", true},
      {"/p", true},
      {"/", true},
      {"/T My tune", true},
      {"/t x", true},
      {"/T ", true},
      {"/home/u/a.htm", false},
      {"/f", true},
      {"/F", true},
      {"/PX", false},
      {"/1", false},
      {"index.htm", false},
      {"/Tx", false},
      {"", false},
      {"//", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsSwitch(c.parameter), c.isSwitch) << c.parameter;
}

TEST(CommandLine, TheFirstParameterChoosesTheStart) {
  struct Case {
    Params parameters;
    TStartSwitch action;
    size_t namesFrom;
  } cases[] = {
      {{}, TStartSwitch::None, 0},
      {{"a.htm"}, TStartSwitch::Names, 0},
      {{"/home/u/site/a.htm"}, TStartSwitch::Names, 0},
      {{"/P", "a.htm"}, TStartSwitch::Print, 1},
      {{"/r", "proj.dpr"}, TStartSwitch::Reformat, 1},
      {{"/Q"}, TStartSwitch::QuickDelete, 1},
      {{"/A"}, TStartSwitch::Archive, 1},
      {{"/S", "a.htm"}, TStartSwitch::Server, 1},
      {{"/E"}, TStartSwitch::SetMode, 1},
      {{"/T"}, TStartSwitch::TuneNoTitle, 1},
      {{"/T", "My", "Tune"}, TStartSwitch::TuneNoTitle, 1},
      {{"/T "}, TStartSwitch::TuneNoTitle, 1},
      {{"/T The Kesh", "tunes.abc"}, TStartSwitch::Tune, 1},
      {{"/X"}, TStartSwitch::Invalid, 1},
      {{"/F", "word"}, TStartSwitch::Invalid, 1},
      {{"/", "a.htm"}, TStartSwitch::Invalid, 1},
  };
  for (const auto& c : cases) {
    TCommandLine line = ParseCommandLine(c.parameters);
    EXPECT_EQ(line.action, c.action) << (c.parameters.empty() ? "" : c.parameters[0]);
    EXPECT_EQ(line.namesFrom, c.namesFrom) << (c.parameters.empty() ? "" : c.parameters[0]);
  }
  EXPECT_EQ(ParseCommandLine({"/T The Kesh"}).tuneTitle, "The Kesh");
}

TEST(CommandLine, NamesAreJoinedUntilASeparatorOrFind) {
  struct Case {
    Params parameters;
    size_t from;
    std::vector<std::string> names;
    std::string findText;
  } cases[] = {
      {{"a.htm"}, 0, {"a.htm"}, ""},
      {{"My", "Page.htm"}, 0, {"My Page.htm"}, ""},
      {{"My", "Page.htm", "/", "other.css"}, 0, {"My Page.htm", "other.css"}, ""},
      {{"a.htm", "/F", "word"}, 0, {"a.htm"}, "word"},
      {{"a.htm", "/f", "Word", "more"}, 0, {"a.htm"}, "Word"},
      {{"a.htm", "/F"}, 0, {"a.htm"}, ""},
      {{"/P", "my", "doc.txt"}, 1, {"my doc.txt"}, ""},
      // An absolute path holding "/f" is a name, not the find switch.
      {{"/home/u/foo.htm"}, 0, {"/home/u/foo.htm"}, ""},
      {{"/", "a.htm", "/"}, 0, {"a.htm"}, ""},
  };
  for (const auto& c : cases) {
    std::string find;
    EXPECT_EQ(JoinDocumentNames(c.parameters, c.from, &find), c.names) << c.parameters[0];
    EXPECT_EQ(find, c.findText) << c.parameters[0];
  }
}

TEST(CommandLine, NamesAreCutWhereFilesExist) {
  std::set<std::string> files = {"some.html", "other.css", "My Page.htm", "a", "a b c"};
  auto exists = [&](const std::string& name) { return files.count(name) > 0; };
  struct Case {
    Params parameters;
    std::vector<std::string> names;
  } cases[] = {
      // Names the shell separated stay apart; unquoted blanks are joined back.
      {{"some.html", "other.css"}, {"some.html", "other.css"}},
      {{"My", "Page.htm", "other.css"}, {"My Page.htm", "other.css"}},
      {{"My", "Page.htm", "/", "some.html"}, {"My Page.htm", "some.html"}},
      // The shortest name that exists is taken.
      {{"a", "b", "c"}, {"a", "b c"}},
      // What names nothing stays one name, to be reported as not found.
      {{"no", "such", "file"}, {"no such file"}},
      {{"some.html", "no", "such"}, {"some.html", "no such"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JoinDocumentNames(c.parameters, 0, nullptr, exists), c.names) << c.parameters[0];
  }
}

TEST(CommandLine, RelativeNamesAreTakenFromTheStartFolder) {
  EXPECT_EQ(CommandLinePath("a.htm", "/home/u/site/"), "/home/u/site/a.htm");
  EXPECT_EQ(CommandLinePath("sub/a.htm", "/home/u/"), "/home/u/sub/a.htm");
  EXPECT_EQ(CommandLinePath("/etc/x.ini", "/home/u/"), "/etc/x.ini");
}

TEST(CommandLine, InvalidParametersAreListed) {
  EXPECT_EQ(InvalidParametersMessage({"/X", "a.htm"}),
            "Invalid command-line parameters:\r /X a.htm");
}

}  // namespace
}  // namespace quorrel
