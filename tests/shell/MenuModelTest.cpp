#include <gtest/gtest.h>

#include <set>

#include "platform/Abort.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"

namespace quorrel {
namespace {

class MenuModelTest : public ::testing::Test {
 protected:
  void SetUp() override { menu.Reset(); }
  TMenuModel& menu = MainMenu();
};

void CollectNames(const TMenuItem& item, std::vector<std::string>& names) {
  for (const auto& child : item.items) {
    if (!child->name.empty()) names.push_back(child->name);
    CollectNames(*child, names);
  }
}

TEST_F(MenuModelTest, NamesAreUniqueAndFound) {
  std::vector<std::string> names;
  CollectNames(menu.Root(), names);
  std::set<std::string> unique(names.begin(), names.end());
  EXPECT_EQ(unique.size(), names.size());
  for (const auto& name : names) EXPECT_EQ(menu.Find(name)->name, name);
  EXPECT_EQ(menu.Find("NoSuchItem"), nullptr);
  EXPECT_THROW(menu.Item("NoSuchItem"), std::logic_error);
}

TEST_F(MenuModelTest, TheOptionsKeptInTheSettingsAreCheckableWithTheirStartStates) {
  // The 61 options in the order they are registered, with the state a start
  // without settings file gives them (in a radio group the last one wins).
  struct Option {
    const char* name;
    bool checked;
  } options[] = {
      {"Below", true},         {"CheckChords", true}, {"Viola", false},
      {"BFlat", false},        {"A", false},          {"NoOrig", false},
      {"Bigger", false},       {"Renumber", true},    {"IntPlayer", true},
      {"CountBars", true},     {"ValSquare", true},   {"FieldOrder", true},
      {"TopOfTune", true},     {"abc2midiu", false},  {"SF", false},
      {"FindCase", false},     {"FindWord", false},   {"InSection", false},
      {"Prompt", true},        {"SubDirs", true},     {"WordWrap", true},
      {"EncE", true},          {"ColourCSS", true},   {"IgnoreMail", true},
      {"UseIIS", false},       {"BrowserO", false},   {"BrowserD", false},
      {"BrowserI", true},      {"ShowMarkers", true}, {"Online", true},
      {"CheckRefs", true},     {"CheckEXIF", true},   {"CheckH", true},
      {"CheckQuotes", true},   {"CheckAmp", true},    {"CheckSlash", true},
      {"CheckBrackets", true}, {"CheckTab", true},    {"CheckNames", true},
      {"CheckImgSize", true},  {"MixedCase", true},   {"ShowTitles", true},
      {"MultiRow", true},      {"ShowTabs", true},    {"Condense", true},
      {"NoBorder", false},     {"WarnLocks", false},  {"Unwanted", true},
      {"DelBlanks", true},     {"Skip", false},       {"Sensible", true},
      {"DT3F", false},         {"DT4S", false},       {"DT4T", false},
      {"DT5", false},          {"DTXS", false},       {"DTXT", true},
      {"ToMDash", true},       {"ToNDash", false},    {"LeaveAlone", false},
      {"SmartQuotes", false},
  };
  ASSERT_EQ(std::size(options), 61u);
  for (const auto& o : options) {
    TMenuItem* item = menu.Find(o.name);
    ASSERT_NE(item, nullptr) << o.name;
    EXPECT_TRUE(item->checkable) << o.name;
    EXPECT_EQ(item->checked, o.checked) << o.name;
  }
  EXPECT_EQ(menu.Item("CheckAmp").caption, "Check \"&&\"");
  EXPECT_EQ(menu.Item("CheckSlash").caption, "Check \"\\\"");
}

TEST_F(MenuModelTest, RadioItemsCheckOneAtATime) {
  menu.SetChecked("BrowserO", true);
  EXPECT_TRUE(menu.Checked("BrowserO"));
  EXPECT_FALSE(menu.Checked("BrowserI"));
  EXPECT_FALSE(menu.Checked("BrowserD"));
  // Unchecking leaves the group empty, as the option table's fall-back rules expect.
  menu.SetChecked("BrowserO", false);
  EXPECT_FALSE(menu.Checked("BrowserO") || menu.Checked("BrowserD") || menu.Checked("BrowserI"));
  menu.SetChecked("Z150", true);
  EXPECT_FALSE(menu.Checked("Z100"));
  EXPECT_EQ(menu.Item("Z150").tag, 150);
  // Other groups are untouched.
  EXPECT_TRUE(menu.Checked("DTXT"));
  EXPECT_TRUE(menu.Checked("ToMDash"));
}

TEST_F(MenuModelTest, ACommandRunsThroughTheDispatcherUnderItsName) {
  std::string seen;
  EXPECT_FALSE(menu.Click("Find")) << "a command not built yet does nothing";
  EXPECT_FALSE(menu.Available(menu.Item("Find")));
  menu.SetHandler("Find",
                  [&](const TMenuItem& item) { seen = CurrentCommand + "/" + item.caption; });
  EXPECT_TRUE(menu.Available(menu.Item("Find")));
  EXPECT_TRUE(menu.Click("Find"));
  EXPECT_EQ(seen, "Find/&Find");
  EXPECT_EQ(CurrentCommand, "");

  menu.SetHandler("Reload", [](const TMenuItem&) { Abort(); });
  EXPECT_FALSE(menu.Click("Reload")) << "the silent abort ends the command quietly";

  menu.SetEnabled("Find", false);
  seen.clear();
  EXPECT_FALSE(menu.Click("Find"));
  EXPECT_EQ(seen, "");
}

TEST_F(MenuModelTest, ASubMenusOwnCommandRunsAsItOpens) {
  std::string seen;
  EXPECT_FALSE(menu.Open("FileMenu")) << "a menu without a command of its own";
  menu.SetHandler("FileMenu", [&](const TMenuItem& item) {
    seen = CurrentCommand + "/" + item.caption;
    Abort();
  });
  EXPECT_FALSE(menu.Click("FileMenu")) << "a menu is opened, not chosen";
  EXPECT_EQ(seen, "");
  EXPECT_FALSE(menu.Open("FileMenu")) << "the silent abort ends it quietly";
  EXPECT_EQ(seen, "FileMenu/&File");
  EXPECT_FALSE(menu.Open("Open")) << "an item is not a menu";

  menu.SetHandler("ABCMenu", [&](const TMenuItem&) { seen = "ABC"; });
  EXPECT_FALSE(menu.Open("ABCMenu")) << "hidden until an ABC document is current";
  menu.SetVisible("ABCMenu", true);
  EXPECT_TRUE(menu.Open("ABCMenu"));
  EXPECT_EQ(seen, "ABC");
  EXPECT_EQ(menu.HandlerNames(), (std::vector<std::string>{"FileMenu", "ABCMenu"}));
}

TEST_F(MenuModelTest, ChoosingAnOptionChangesItFirst) {
  std::vector<std::string> announced;
  menu.SetOptionHandler([&](const TMenuItem& item) {
    announced.push_back(item.name + (item.checked ? " on" : " off"));
  });
  EXPECT_TRUE(menu.Available(menu.Item("SmartQuotes"))) << "options need no command of their own";
  menu.Click("SmartQuotes");
  menu.Click("SmartQuotes");
  menu.Click("BrowserD");
  menu.Click("BrowserD");  // a radio item stays checked when chosen again
  EXPECT_EQ(announced, (std::vector<std::string>{"SmartQuotes on", "SmartQuotes off", "BrowserD on",
                                                 "BrowserD on"}));
  EXPECT_FALSE(menu.Checked("BrowserI"));
}

class RecordingListener : public TMenuListener {
 public:
  void ItemChanged(TMenuItem& item) override { changed.push_back(item.name); }
  void ItemsChanged(TMenuItem& subMenu) override { refilled.push_back(subMenu.name); }
  std::vector<std::string> changed, refilled;
};

TEST_F(MenuModelTest, RunTimeItemsAndChangesReachTheListener) {
  RecordingListener listener;
  menu.SetListener(&listener);
  TMenuItem recent;
  recent.name = "Recent0";
  recent.caption = "&0  a.htm";
  recent.tag = 0;
  menu.AddItem("Recent", std::move(recent));
  EXPECT_EQ(menu.Find("Recent0")->parent, menu.Find("Recent"));
  menu.SetCaption("Recent0", "&0  a.htm");  // unchanged: no news
  menu.SetCaption("Recent0", "&0  b.htm");
  int runs = 0;
  menu.SetHandler("Recent0", [&](const TMenuItem& item) {
    menu.ClearItems("Recent");  // a command may refill the menu it came from
    EXPECT_EQ(item.caption, "&0  b.htm");
    ++runs;
  });
  EXPECT_TRUE(menu.Click("Recent0"));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(menu.Find("Recent0"), nullptr);
  EXPECT_EQ(listener.refilled, (std::vector<std::string>{"Recent", "Recent"}));
  EXPECT_EQ(std::count(listener.changed.begin(), listener.changed.end(), "Recent0"), 2);
  menu.SetListener(nullptr);
}

}  // namespace
}  // namespace quorrel
