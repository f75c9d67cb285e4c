// The Sections list: the rules of each document type with their names and starts,
// the type-ahead filter, the list's layout, choosing a section, F11 and F12, and
// Highlight section; on small texts and on real files Debian ships.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "edit/SectionRules.h"
#include "edit/Sections.h"
#include "platform/Abort.h"
#include "shell/ClassifyDocument.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "support/Installed.h"
#include "support/MemoryMainWindow.h"
#include "support/MemoryRich.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace quorrel {
namespace {

using test::Dialogs;

struct Section {
  std::string name;
  size_t offset;
  bool operator==(const Section&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Section& s) {
  return out << "{\"" << s.name << "\", " << s.offset << "}";
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    if (c != '\r') out += c;
  }
  return out;
}

class SectionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    InstallSectionCommands();
  }
  void TearDown() override {
    CurrentEditor = nullptr;
    SetMainWindow(nullptr);
  }
  // The current document: a name (for its type) and its text as CurrentText holds it.
  void Doc(const std::string& name, const std::string& text) {
    editor.SetText(text);
    CurrentEditor = &editor;
    CurrentFileName = "/docs/" + name;
    CurrentText = text;
    ClassifyDocument(true);
    DocModified = false;
    SectionLines.clear();
    SectionTypeAhead.clear();
  }
  std::vector<Section> Built(const std::string& command = "") {
    SectionsClick(command);
    return Listed();
  }
  std::vector<Section> Listed() {
    std::vector<Section> found;
    for (size_t i = 0; i < SectionLines.size(); ++i) {
      found.push_back({SectionCaptions.at(i), std::stoul(SectionLines[i])});
    }
    return found;
  }
  size_t CaretOffset() { return TextOffsetOf(editor.SelStart()); }

  test::MemoryMainWindow window;
  test::MemoryRich editor;
};

TEST_F(SectionsTest, EachTypeFindsItsSections) {
  const std::string dot =
      ".PG Home page\r\nText\r\n.we a|Home page|x\r\n.WE Products|Our range\r\n";
  const std::string cs =
      "using System;\r\npublic class A\r\n{\r\n  public int count;\r\n\r\n"
      "  public void Run()\r\n  {\r\n  }\r\n  public static bool Ok(int x) {\r\n  }\r\n}\r\n";
  const std::string js =
      "var a = 1;\r\nfunction go(x) {\r\n}\r\nFunction f() {\r\n}\r\n  class Box {\r\n}\r\n";
  const std::string php =
      "<?php\r\nFunction f() {\r\n}\r\n?>\r\n<script>\r\nfunction js() {\r\n}\r\n</script>\r\n";
  const std::string abc =
      "%comment\r\nX:1\r\nT:The Globe\r\nK:C\r\nX:2\r\nT:Alpha\r\nT:Sub\r\nK:G\r\n";
  const std::string asp =
      "<%\nSub One()\nEnd Sub\nFunction Two(x)\nEnd Function\nResponse.Write 1\n%>\n";
  const std::string html =
      "<html>\n<head>\n<style>\nb{}\n</style>\n<script>\nx\n</script>\n"
      "<script src=a></script>\n<p>\n</html>\n";
  const std::string play =
      "My Play\r\nScene 1: The Garden - Day\r\ntext\r\nSCENE 2\r\nmore\r\n"
      "Scene: Int. Kitchen.\r\n";
  const std::string numbered = "Title\r\n12\tINT. HOUSE - Night\t12\r\nx\r\n";
  const std::string ini = "[Main]\r\na=1\r\n[Other]\r\n[main]\r\n";
  const std::string plain =
      "Intro\r\n==========\r\n\r\nFirst part\r\ntext\r\n========\r\nSecond part\r\n"
      "more text to pass the end\r\n";
  const std::string sql = "select 1\r\nGO\r\n\r\nselect 2\r\ngo\r\nselect 3\r\n";
  const std::string css =
      "/* c */\r\nbody { x:1 }\r\n@media print {\r\n  .a { y:2 }\r\n  #b{}\r\n}\r\np\r\n{ }\r\n";
  auto at = [](const std::string& text, const char* part) { return text.find(part); };
  struct Case {
    std::string name;
    std::string text;
    std::vector<Section> sections;
  } cases[] = {
      {"a.rtf",
       dot,
       {{"Home page", 0},
        {"a\t\tHome page", at(dot, ".we")},  // "a" is narrower than 40 pixels
        {"Products\tOur range", at(dot, ".WE")}}},
      // A field is no section; a method is, with its brace on the next line too.
      {"x.cs", cs, {{"Run", at(cs, "  public void")}, {"Ok", at(cs, "  public static")}}},
      // "Function" is no keyword of JavaScript.
      {"f.js", js, {{"[Open code]", 0}, {"go", at(js, "function go")}, {"Box", at(js, "  class")}}},
      {"g.js", "function a() {\r\n}\r\n", {{"a", 0}}},
      // In PHP it is; the functions of a script block are not PHP's.
      {"p.php", php, {{"[Open code]", 0}, {"f", at(php, "Function")}}},
      {"t.abc",
       abc,
       {{"[Global commands]", 0}, {"The Globe", at(abc, "X:1")}, {"Alpha", at(abc, "X:2")}}},
      {"u.abc", "X:1\r\nT:One\r\n", {{"One", 0}}},
      {"a.asp",
       asp,
       {{"One", at(asp, "Sub One")},
        {"Two", at(asp, "Function Two")},
        {"[Open Code]", at(asp, "Response")}}},
      {"p.htm",
       html,
       {{"HTML", 0},
        {"Style", at(html, "<style>")},
        {"Script", at(html, "<script>")},
        {"Script", at(html, "<script src")},
        {"HTML", at(html, "<p>")}}},
      {"s.scr",
       play,
       {{"Title etc.", 0},
        {"1: The Garden", at(play, "Scene 1")},
        {"2", at(play, "SCENE")},
        {"Kitchen", at(play, "Scene:")}}},
      {"n.scr", numbered, {{"Title etc.", 0}, {"HOUSE", at(numbered, "12")}}},
      // One past the "[" of the line's first occurrence.
      {"q.ini", ini, {{"Main", 1}, {"Other", at(ini, "[Other]") + 1}, {"main", 1}}},
      {"r.txt",
       plain,
       {{"[Start]", 0}, {"First part", at(plain, "First")}, {"Second part", at(plain, "Second")}}},
      {"q.sql", sql, {{"select 2", at(sql, "select 2")}, {"select 3", at(sql, "select 3")}}},
      {"s.css",
       css,
       {{"body", at(css, "body")},
        {MediaSeparator, at(css, "@media")},
        {"@media print", at(css, "@media")},
        {".a", at(css, "  .a")},
        {"#b", at(css, "  #b")},
        {"p", at(css, "p\r\n{")}}},
      {"unit.pas", "begin\r\nend.\r\n", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Doc(c.name, c.text);
    EXPECT_EQ(Built(), c.sections);
    EXPECT_EQ(MainMenu().Item(SectionsCommand).visible, !c.sections.empty());
  }
}

TEST_F(SectionsTest, ATuneWithoutATitleStopsTheCommandButNotTheQuietBuild) {
  const std::string text = "X:1\r\nK:C\r\nabc|\r\nX:2\r\nT:Second\r\n";
  Doc("t.abc", text);
  EXPECT_EQ(Built(), std::vector<Section>({{"Second", 0}, {"Second", text.find("X:2")}}))
      << "quietly the first title after the tune";
  Doc("t.abc", text);
  editor.Select(12, 0);
  EXPECT_THROW(SectionsClick(SectionsCommand), EAbort);
  EXPECT_EQ(Dialogs().Last().text,
            MessageText("Cannot generate Section menu.  No title for tune starting " +
                        text.substr(0, 50) + "..."));
  EXPECT_EQ(editor.SelStart(), 0u) << "the caret at the tune";
  EXPECT_FALSE(window.SectionsBoxShowing());
  Dialogs().Clear();
  // No title anywhere: the first line from its third character.
  Doc("n.abc", "X:7\r\nK:C\r\n");
  EXPECT_EQ(Built(), std::vector<Section>({{"7", 0}}));
}

TEST_F(SectionsTest, AnUnfinishedCssCommentStopsOnlyACommand) {
  const std::string text = "a{}\r\n/* open\r\nb{}\r\n";
  Doc("s.css", text);
  EXPECT_EQ(Built(), std::vector<Section>({{"a", 0}}));
  EXPECT_TRUE(Dialogs().Calls().empty());
  Doc("s.css", text);
  EXPECT_THROW(SectionsClick(SectionsCommand), EAbort);
  EXPECT_EQ(Dialogs().Last().text, MessageText("Unterminated comment."));
  Dialogs().Clear();
}

TEST(SectionTypeAhead, MatchesTheNameWithoutItsArticle) {
  struct Case {
    std::string name, typed;
    bool css, bracketed, listed;
  } cases[] = {
      {"The Globe", "GL", false, false, true},
      {"The Globe", "THE", false, false, true},  // the whole name too
      {"Alpha", "GL", false, false, false},
      {"Die Forelle", "FO", false, false, true},
      {"12: Title", "TI", false, false, true},
      {"a\t\tHome page", "HO", false, false, true},
      {".nav a", "NAV", true, false, true},
      {"#main, p", "MAIN", true, false, true},
      {"body", "OD", true, false, false},
      {"#x", "X", false, true, true},
      {"Anything", "", false, false, true},
      {"The ", "", false, false, false},  // nothing left to match
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchesTypeAhead(c.name, c.typed, c.css, c.bracketed), c.listed)
        << c.name << " / " << c.typed;
  }
}

TEST_F(SectionsTest, TheTypeAheadTextFiltersTheShownList) {
  const std::string text = "X:1\r\nT:Galway\r\nX:2\r\nT:The Globe\r\nX:3\r\nT:Alpha\r\n";
  Doc("t.abc", text);
  EXPECT_EQ(Built(SectionsCommand).size(), 3u);
  EXPECT_TRUE(window.SectionsBoxShowing());
  SectionTypeAhead = "G";
  EXPECT_EQ(Built(TypeAheadCommand),
            std::vector<Section>({{"Galway", 0}, {"The Globe", text.find("X:2")}}));
  EXPECT_TRUE(window.SectionsBoxShowing()) << "rebuilt in place";
  EXPECT_EQ(window.ShownSectionsBox().labels.size(), 2u);
  SectionTypeAhead = "GL";
  SectionsClick(TypeAheadCommand);
  EXPECT_FALSE(window.SectionsBoxShowing()) << "one left: chosen at once";
  EXPECT_EQ(CaretOffset(), text.find("X:2"));
  EXPECT_EQ(CurrentPageName, "The Globe");
  EXPECT_TRUE(SectionLines.empty()) << "the next idle pass builds it again";
  SectionTypeAhead = "Q";
  EXPECT_TRUE(Built(TypeAheadCommand).empty());
  EXPECT_TRUE(MainMenu().Item(SectionsCommand).visible) << "an ABC document keeps its item";
}

TEST_F(SectionsTest, TheListIsLaidOutInColumnsAndShownByItsCommand) {
  std::string text;
  for (int i = 0; i < 20; ++i) {
    text += "X:" + std::to_string(i + 1) + "\r\nT:Tune " + std::string(i % 3 + 1, 'w') + "\r\n";
  }
  text += "X:21\r\nT:" + std::string(40, 'L') + "\r\n";
  Doc("t.abc", text);
  window.SetPageControlHeight(300);
  SectionsClick(SectionsCommand);
  ASSERT_TRUE(window.SectionsBoxShowing());
  const TSectionsBox& box = window.ShownSectionsBox();
  ASSERT_EQ(box.labels.size(), 21u);
  // A new column once the next top would pass the page control's height less 32.
  const int perColumn = (300 - 32 - 5) / 17 + 1;
  EXPECT_EQ(SectionsPerColumn(), perColumn);
  int widest = 0;
  for (int i = 0; i < perColumn; ++i) {
    EXPECT_EQ(box.labels[i].left, 12);
    EXPECT_EQ(box.labels[i].top, 5 + 17 * i);
    widest = std::max(widest, DefaultSectionTextWidth(box.labels[i].caption));
  }
  for (int i = 0; i < perColumn; ++i) EXPECT_EQ(box.labels[i].width, widest) << i;
  const TSectionLabel& second = box.labels[perColumn];
  EXPECT_EQ(second.left, 12 + widest + 20 + 12);
  EXPECT_EQ(second.top, 5);
  // A long name is cut, and whole in the tool tip.
  const TSectionLabel& last = box.labels.back();
  EXPECT_EQ(last.caption, std::string(33, 'L') + "...");
  EXPECT_EQ(last.hint, std::string(40, 'L'));
  EXPECT_EQ(box.top, 0) << "seven or more sections: at the top";
  EXPECT_EQ(box.left, 360);
  EXPECT_EQ(box.background, -1);
  EXPECT_EQ(window.HighlightedLabel(), 0);
  EXPECT_EQ(HighlightedSection(), 0);

  SectionsClick(SectionsCommand);  // the command again hides it
  EXPECT_FALSE(window.SectionsBoxShowing());
  EXPECT_EQ(SectionLines.size(), 21u) << "hiding keeps the list";
}

TEST_F(SectionsTest, FewSectionsStandLowerAndOneIsChosenAtOnce) {
  Doc("q.ini", "[A]\r\nx\r\n[B]\r\ny\r\n");
  MainMenu().SetVisible("ScriptMenu", true);
  SectionsClick(SectionsCommand);
  EXPECT_EQ(window.ShownSectionsBox().top, 44);
  EXPECT_EQ(window.ShownSectionsBox().left, 300) << "beside the Script menu";
  MainMenu().SetVisible("ScriptMenu", false);
  ThisSectClick(1);
  EXPECT_FALSE(window.SectionsBoxShowing());
  EXPECT_EQ(CaretOffset(), 9u);
  EXPECT_EQ(editor.SelLength(), 0u);

  Doc("one.ini", "[Only]\r\nz\r\n");
  editor.Select(0, 0);
  MainMenu().Click(SectionsCommand);
  EXPECT_FALSE(window.SectionsBoxShowing());
  EXPECT_EQ(CaretOffset(), 1u) << "one past the [ of the only section";
}

TEST_F(SectionsTest, PreviousAndNextSectionWalkTheStarts) {
  const std::string text = "a{}\r\nb{}\r\n\r\nc{}\r\n";
  Doc("s.css", text);
  MainMenu().Click("NextSection");
  EXPECT_EQ(window.StatusText(MessagePanel), std::string("  ") + NoSectionsMessage)
      << "the item is shown by a build";
  SectionsClick("");
  struct Case {
    const char* item;
    size_t from, to;
  } cases[] = {
      {"NextSection", 0, 5},
      {"NextSection", 5, 12},
      {"NextSection", 12, text.size()},  // past the last: the end
      {"PrevSection", 12, 5},
      {"PrevSection", 7, 5},
      {"PrevSection", 0, 0},  // none before: the first
  };
  for (const auto& c : cases) {
    editor.Select(EditorPosOf(c.from), 0);
    MainMenu().Click(c.item);
    EXPECT_EQ(CaretOffset(), c.to) << c.item << " from " << c.from;
  }
}

TEST_F(SectionsTest, HighlightSectionSelectsTheSectionAroundTheCaret) {
  const std::string text = "[A]\r\nx\r\n[B]\r\ny\r\n";
  Doc("q.ini", text);
  editor.Select(EditorPosOf(6), 0);
  MainMenu().Click("SelSect");
  EXPECT_EQ(editor.SelText(), "A]\r\nx\r\n[");
  Doc("r.txt", "no sections\r\n");
  MainMenu().Click("SelSect");
  EXPECT_EQ(editor.SelText(), "no sections\r\n") << "none: the whole text";
}

TEST_F(SectionsTest, OffsetsLandOnTheSameCharacterInCrLfAndLfCopies) {
  const std::string lf = test::ReadFile("/usr/share/doc/base-files/README");
  ASSERT_FALSE(lf.empty()) << "base-files";
  Doc("README", WithCrLf(lf));
  const std::vector<Section> sections = Built();
  ASSERT_GE(sections.size(), 2u);
  EXPECT_EQ(sections[0], (Section{"[Start]", 0}));
  // A name this long is cut on its label, and whole in its tool tip.
  EXPECT_EQ(SectionsBox().labels[1].hint, "* Questions about /etc/issue and /etc/debian_version:");
  for (size_t i = 0; i < sections.size(); ++i) {
    ThisSectClick(static_cast<int>(i));
    const std::string& name = sections[i].name;
    EXPECT_EQ(editor.TextRange(editor.SelStart(), 9), i == 0 ? lf.substr(0, 9) : name.substr(0, 9));
    SectionsClick("");
  }
}

// Real files: the names and starts the rules find in them.
TEST_F(SectionsTest, RealFilesOfEachType) {
  const std::string abcDir = "/usr/share/doc/abcmidi/examples/";
  const std::string abcm2ps = "/usr/share/doc/abcm2ps/examples/";
  {
    const std::string text = WithCrLf(test::ReadFile(abcDir + "demo.abc"));
    Doc("demo.abc", text);
    const auto s = Built();
    ASSERT_GE(s.size(), 3u);
    EXPECT_EQ(s[0], (Section{"[Global commands]", 0}));
    EXPECT_EQ(s[1], (Section{"Horses Branle", text.find("X: 1")}));
    EXPECT_EQ(s[2], (Section{"Trumpet Hornpipe", text.find("X: 2")}));
  }
  {
    const std::string text = WithCrLf(test::ReadFile(abcDir + "coleraine.abc"));
    Doc("coleraine.abc", text);
    const auto s = Built();
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(s[0].offset, 0u);
    EXPECT_NE(s[0].name, "[Global commands]");
  }
  {
    Doc("bravura.abc", WithCrLf(test::ReadFile(abcm2ps + "bravura.abc")));
    EXPECT_TRUE(Built().empty());
  }
  {
    const std::string text = WithCrLf(test::ReadFile(abcm2ps + "sample2.abc"));
    Doc("sample2.abc", text);
    const auto s = Built();
    ASSERT_EQ(s.size(), 12u) << "the header and 11 tunes";
    EXPECT_EQ(s[1], (Section{"All clefs", text.find("X:1")}));
    EXPECT_EQ(s[2], (Section{"Key signature change", text.find("X:2")}));
  }
  {
    const std::string text = WithCrLf(test::ReadFile("/usr/share/doc/python3/_static/basic.css"));
    Doc("basic.css", text);
    const auto s = Built();
    const size_t media = text.find("@media print");
    ASSERT_NE(media, std::string::npos);
    auto it = std::find(s.begin(), s.end(), Section{MediaSeparator, media});
    ASSERT_NE(it, s.end());
    EXPECT_EQ(*(it + 1), (Section{"@media print", media}));
    const size_t inner = text.find_first_not_of(" \r\n", text.find('{', media) + 1);
    const size_t innerLine = text.rfind('\n', inner) + 1;
    EXPECT_EQ((it + 2)->offset, innerLine) << "the rules inside the block follow";
  }
  {
    // A licence line with an @import, then every rule on one long line: they all
    // start where that line does.
    const std::string text =
        WithCrLf(test::ReadFile("/usr/share/doc/libexpat1-dev/expat.html/ok.min.css"));
    Doc("ok.min.css", text);
    const auto s = Built();
    ASSERT_GT(s.size(), 10u);
    const size_t longLine = text.find('\n') + 1;
    ASSERT_GT(text.size() - longLine, 10000u);
    EXPECT_EQ(s[0].offset, 0u) << s[0].name;
    for (size_t i = 1; i < s.size(); ++i) EXPECT_EQ(s[i].offset, longLine) << s[i].name;
  }
  {
    const std::string text =
        WithCrLf(test::ReadFile("/usr/share/javascript/underscore/underscore.js"));
    Doc("underscore.js", text);
    const auto s = Built();
    ASSERT_GT(s.size(), 50u);
    EXPECT_EQ(s[0], (Section{"[Open code]", 0}));
    for (size_t i = 1; i < s.size(); ++i) {
      const size_t lineEnd = text.find('\n', s[i].offset);
      const std::string line = text.substr(s[i].offset, lineEnd - s[i].offset);
      EXPECT_NE(line.find("function " + s[i].name), std::string::npos) << line;
    }
  }
  {
    const std::string text = test::ReadFile("/usr/share/doc/python3/python-policy.html");
    Doc("python-policy.html", text);
    const auto s = Built();
    ASSERT_GE(s.size(), 3u);
    // The page begins with an empty line: a start on a line end moves past it.
    EXPECT_EQ(s[0], (Section{"HTML", 1}));
    EXPECT_EQ(s[1], (Section{"Script", text.find("    <script")}));
  }
  {
    // node-gyp's C# helper: Debian's node-gyp package, or the copy a Node.js from
    // elsewhere carries in its npm.
    std::string cs = "/usr/lib/node_modules/npm/node_modules/node-gyp/lib/Find-VisualStudio.cs";
    if (!std::filesystem::exists(cs)) cs = "/usr/share/nodejs/node-gyp/lib/Find-VisualStudio.cs";
    const std::string text = WithCrLf(test::InstalledFile(cs, "node-gyp"));
    ASSERT_FALSE(text.empty());
    Doc("Find-VisualStudio.cs", text);
    const auto s = Built();
    std::vector<std::string> names;
    for (const Section& section : s) names.push_back(section.name);
    EXPECT_EQ(names, std::vector<std::string>({"PrintJson", "JsonString", "InstanceJson"}));
    EXPECT_EQ(s[0].offset, text.find("        public static void PrintJson"));
  }
  {
    // PHP's own settings file: a section for each "[" line, starting after the "[".
    std::string ini;
    for (const auto& entry : std::filesystem::directory_iterator("/etc/php")) {
      if (std::filesystem::exists(entry.path() / "cli/php.ini")) ini = entry.path() / "cli/php.ini";
    }
    const std::string text = WithCrLf(test::InstalledFile(ini, "php-cli"));
    Doc("php.ini", text);
    const auto s = Built();
    std::vector<size_t> brackets;
    for (size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
      if (text[at] == '[') brackets.push_back(at + 1);
      if (text.find('\n', at) == std::string::npos) break;
    }
    ASSERT_GT(brackets.size(), 5u);
    ASSERT_EQ(s.size(), brackets.size());
    EXPECT_EQ(s[0], (Section{"PHP", text.find("[PHP]") + 1}));
    for (size_t i = 0; i < s.size(); ++i) EXPECT_EQ(s[i].offset, brackets[i]) << s[i].name;
  }
}

// Large documents get their whole list; bench/ui_sections times it.
TEST_F(SectionsTest, LargeDocumentsGetTheirList) {
  const std::string jquery = WithCrLf(test::ReadFile("/usr/share/javascript/jquery/jquery.js"));
  ASSERT_GT(jquery.size(), 200000u);
  std::string css;
  while (css.size() < 1000000) css += ".rule-" + std::to_string(css.size()) + " a { x: 1 }\r\n";
  for (const auto& [name, text] : {std::pair{"jquery.js", jquery}, std::pair{"big.css", css}}) {
    Doc(name, text);
    SectionsClick("");
    EXPECT_FALSE(SectionLines.empty()) << name;
  }
}

// What the idle pass shows of the section at the caret.
TEST(IdleStatus, TheSectionHoldingAnOffset) {
  SectionLines = {"0", "120", "400", "x"};
  struct Case {
    size_t offset;
    int index;
    size_t start, next;
  } cases[] = {
      {0, 0, 0, 120},
      {119, 0, 0, 120},
      {120, 1, 120, 400},
      {5000, 2, 400, std::string::npos},  // a broken entry counts for nothing
  };
  for (const auto& c : cases) {
    TSectionAt at = SectionAt(c.offset);
    EXPECT_EQ(at.index, c.index) << c.offset;
    EXPECT_EQ(at.start, c.start) << c.offset;
    EXPECT_EQ(at.next, c.next) << c.offset;
  }
  SectionLines = {"50"};
  TSectionAt before = SectionAt(10);
  EXPECT_EQ(before.index, -1);
  EXPECT_EQ(before.next, 50u);
  EXPECT_EQ(SectionPanelText(-1), "Section: [None]");
}

}  // namespace
}  // namespace quorrel
