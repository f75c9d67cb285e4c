// The help system's handling of requests and results, and the check that every
// help context the program uses has a help page.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "platform/Help.h"
#include "shell/HelpSystem.h"
#include "shell/MenuModel.h"
#include "support/ScriptedDialogs.h"

namespace quorrel {
namespace {

using test::Dialogs;

// ---- the help system ------------------------------------------------------------

// Records what the help window was asked to show.
class RecordingHelpWindow : public THelpWindow {
 public:
  bool ShowTopic(const std::string& helpFile, int helpContext) override {
    shown.emplace_back(helpFile, helpContext);
    return true;
  }
  void CloseAll() override { ++closed; }

  std::vector<std::pair<std::string, int>> shown;
  int closed = 0;
};

class HelpSystemTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ResetHelpSystem();
    SetHelpWindow(nullptr);
    SetHelpViewer(nullptr);
  }
  RecordingHelpWindow window;
};

TEST_F(HelpSystemTest, AHelpRequestOpensTheTopicInTheHelpWindow) {
  SetHelpWindow(&window);
  HookHelpSystem();
  ShowHelpContext(31700);
  ASSERT_EQ(window.shown.size(), 1u);
  EXPECT_EQ(window.shown[0].first, HelpFile);
  EXPECT_EQ(window.shown[0].second, 31700);
  EXPECT_TRUE(Dialogs().Calls().empty());

  // Context 0 opens nothing.
  ShowHelpContext(0);
  EXPECT_EQ(window.shown.size(), 1u);
}

TEST_F(HelpSystemTest, TheHookKeepsThePreviousHandlerAndGivesItBack) {
  std::vector<int> before;
  SetHelpViewer([&](int helpContext) { before.push_back(helpContext); });
  SetHelpWindow(&window);
  {
    THookHelpSystem hook(HelpFile, "", htHHAPI);
    ShowHelpContext(12000);
    EXPECT_TRUE(before.empty());  // not chained
    EXPECT_EQ(window.shown.size(), 1u);
  }
  // Released: the help windows are closed and the old handler is back.
  EXPECT_EQ(window.closed, 1);
  ShowHelpContext(10200);
  EXPECT_EQ(before, std::vector<int>{10200});
  EXPECT_EQ(window.shown.size(), 1u);
}

TEST_F(HelpSystemTest, ChainingCallsThePreviousHandlerFirst) {
  std::vector<int> before;
  SetHelpViewer([&](int helpContext) { before.push_back(helpContext); });
  SetHelpWindow(&window);
  THookHelpSystem hook(HelpFile, "", htHHAPI);
  hook.ChainHandler = true;
  ShowHelpContext(20200);
  EXPECT_EQ(before, std::vector<int>{20200});
  EXPECT_EQ(window.shown.size(), 1u);
}

TEST_F(HelpSystemTest, CommandsOfTheHelpHook) {
  SetHelpWindow(&window);
  THookHelpSystem hook(HelpFile, "", htHHAPI);

  // A pop-up topic without a pop-up handler shows the topic.
  EXPECT_TRUE(hook.HelpHook(HELP_CONTEXTPOPUP, 40000));
  ASSERT_EQ(window.shown.size(), 1u);
  EXPECT_EQ(window.shown[0].second, 40000);

  // The pop-up position comes packed: x in the low word, y in the high one, signed.
  EXPECT_TRUE(hook.HelpHook(HELP_SETPOPUP_POS, (static_cast<intptr_t>(300) << 16) | 0xFFF6));
  EXPECT_EQ(hook.PopupX(), -10);
  EXPECT_EQ(hook.PopupY(), 300);

  // Handlers of our own replace showing the topic; the pop-up one gets the position.
  std::vector<std::tuple<int, int, int>> popups;
  std::vector<int> contexts;
  hook.OnContext = [&](int helpContext) { contexts.push_back(helpContext); };
  hook.OnPopupContext = [&](int c, int x, int y) { popups.emplace_back(c, x, y); };
  EXPECT_TRUE(hook.HelpHook(HELP_CONTEXT, 21500));
  EXPECT_TRUE(hook.HelpHook(HELP_CONTEXTPOPUP, 21300));
  EXPECT_EQ(contexts, std::vector<int>{21500});
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0], std::make_tuple(21300, -10, 300));
  EXPECT_EQ(window.shown.size(), 1u);

  // Any other command is left to the default handling.
  EXPECT_FALSE(hook.HelpHook(3, 0));
}

TEST_F(HelpSystemTest, ResultsAndTheirMessages) {
  struct Case {
    bool window;
    int hostType;
    int result;
    const char* message;
  } cases[] = {
      {true, htHHAPI, 0, ""},
      {false, htHHAPI, 1, "Cannot find hhctrl.ocx"},
      {true, htKeyHHexe, 2, "KeyHH.EXE not found in the Windows folder."},
      {true, htHHexe, 3, "HH.EXE not found in the Windows folder."},
      {true, 7, 4, "Unknown error returned by HHelpContext"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hostType);
    Dialogs().Clear();
    window.shown.clear();
    SetHelpWindow(c.window ? &window : nullptr);
    THookHelpSystem hook(HelpFile, "", c.hostType);
    EXPECT_EQ(hook.ShowContext(55020), c.result);
    EXPECT_EQ(HelpResultMessage(c.result), c.message);
    EXPECT_EQ(window.shown.size(), c.result == 0 ? 1u : 0u);
    if (c.result == 0) {
      EXPECT_TRUE(Dialogs().Calls().empty());
    } else {
      ASSERT_EQ(Dialogs().Calls().size(), 1u);
      EXPECT_EQ(Dialogs().Last().kind, DialogKind::Message);
      EXPECT_NE(Dialogs().Last().text.find(c.message), std::string::npos);
    }
  }
}

TEST_F(HelpSystemTest, AWindowDefinitionFollowsTheFileName) {
  SetHelpWindow(&window);
  THookHelpSystem hook("/x/Quorrel.map", "Main", htHHAPI);
  hook.ShowContext(10000);
  ASSERT_EQ(window.shown.size(), 1u);
  EXPECT_EQ(window.shown[0].first, "/x/Quorrel.map>Main");
}

TEST_F(HelpSystemTest, CloseAllHelpClosesTheWindowsWhenThereAreAny) {
  CloseAllHelp();  // no help window: nothing to do
  SetHelpWindow(&window);
  CloseAllHelp();
  EXPECT_EQ(window.closed, 1);
}

// ---- every help context in the code has a page --------------------------------------
//
// The program names a help context in one of these ways, and each is found here:
// - an argument of a function or constructor whose parameter is named "helpContext"
//   (declared anywhere in src/), given as a number or as an int constant;
// - a number assigned to a field or variable whose name ends in "helpContext"
//   ("call.helpContext = 40100;", ".helpContext = 40100", "helpContext(40100)");
// - setProperty("helpContext", 40100) on a widget or action;
// - the help context of a main-menu item (read from the menu model itself).

struct Token {
  enum Kind { Identifier, Number, String, Punct } kind;
  std::string text;
  int line;
};

std::vector<Token> Tokenize(const std::string& text) {
  std::vector<Token> tokens;
  int line = 1;
  size_t i = 0;
  bool lineStart = true;
  auto isIdent = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\n') {
      ++line, ++i, lineStart = true;
      continue;
    }
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (lineStart && c == '#') {  // a preprocessor line, with its continuations
      while (i < text.size() && text[i] != '\n') {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\n') ++line, ++i;
        ++i;
      }
      continue;
    }
    lineStart = false;
    if (text.compare(i, 2, "//") == 0) {
      while (i < text.size() && text[i] != '\n') ++i;
      continue;
    }
    if (text.compare(i, 2, "/*") == 0) {
      const size_t end = text.find("*/", i + 2);
      const size_t stop = end == std::string::npos ? text.size() : end + 2;
      line += static_cast<int>(std::count(text.begin() + i, text.begin() + stop, '\n'));
      i = stop;
      continue;
    }
    if (c == 'R' && i + 1 < text.size() && text[i + 1] == '"') {  // raw string
      const size_t open = text.find('(', i);
      const std::string close = ")" + text.substr(i + 2, open - i - 2) + "\"";
      const size_t end = text.find(close, open);
      const size_t stop = end == std::string::npos ? text.size() : end + close.size();
      tokens.push_back({Token::String, text.substr(open + 1, end - open - 1), line});
      line += static_cast<int>(std::count(text.begin() + i, text.begin() + stop, '\n'));
      i = stop;
      continue;
    }
    if (c == '"' || c == '\'') {
      std::string value;
      size_t j = i + 1;
      while (j < text.size() && text[j] != c && text[j] != '\n') {
        if (text[j] == '\\' && j + 1 < text.size()) value += text[j++];
        value += text[j++];
      }
      tokens.push_back({c == '"' ? Token::String : Token::Number, value, line});
      i = j + 1;
      continue;
    }
    if (std::isdigit(static_cast<unsigned char>(c))) {
      size_t j = i;
      while (j < text.size() && (isIdent(text[j]) || text[j] == '\'' || text[j] == '.')) ++j;
      std::string number = text.substr(i, j - i);
      std::erase(number, '\'');
      tokens.push_back({Token::Number, number, line});
      i = j;
      continue;
    }
    if (isIdent(c)) {
      size_t j = i;
      while (j < text.size() && isIdent(text[j])) ++j;
      tokens.push_back({Token::Identifier, text.substr(i, j - i), line});
      i = j;
      continue;
    }
    tokens.push_back({Token::Punct, std::string(1, c), line});
    ++i;
  }
  return tokens;
}

bool Is(const std::vector<Token>& t, size_t i, const char* text) {
  return i < t.size() && t[i].text == text && t[i].kind != Token::String;
}

bool IsKeyword(const std::string& word) {
  static const std::set<std::string> keywords = {"void", "int",    "bool",   "if",     "while",
                                                 "for",  "switch", "return", "sizeof", "decltype"};
  return keywords.count(word) > 0;
}

bool EndsWithHelpContext(const std::string& name) {
  static const std::string tail = "helpcontext";
  if (name.size() < tail.size()) return false;
  std::string end = name.substr(name.size() - tail.size());
  for (char& ch : end) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return end == tail;
}

// The arguments (or parameters) of the parentheses opening at t[open], each as a
// token range, and the index just past the closing parenthesis.
std::vector<std::pair<size_t, size_t>> SplitArguments(const std::vector<Token>& t, size_t open,
                                                      size_t& after, bool angles) {
  std::vector<std::pair<size_t, size_t>> args;
  int depth = 0, angle = 0;
  size_t start = open + 1;
  size_t i = open;
  for (; i < t.size(); ++i) {
    const std::string& x = t[i].kind == Token::String ? std::string() : t[i].text;
    if (x == "(" || x == "[" || x == "{") {
      ++depth;
    } else if (x == ")" || x == "]" || x == "}") {
      if (--depth == 0) break;
    } else if (angles && depth == 1 && x == "<" && i > 0 && t[i - 1].kind == Token::Identifier &&
               i + 1 < t.size() && (t[i + 1].kind == Token::Identifier || Is(t, i + 1, ":"))) {
      ++angle;
    } else if (angles && depth == 1 && x == ">" && angle > 0) {
      --angle;
    } else if (depth == 1 && angle == 0 && x == ",") {
      args.emplace_back(start, i);
      start = i + 1;
    }
  }
  after = i + 1;
  if (angles && angle != 0) return SplitArguments(t, open, after, false);  // a comparison
  if (i > start || !args.empty()) args.emplace_back(start, i);
  return args;
}

struct HelpParameter {
  size_t index;
  size_t minArgs;
  size_t maxArgs;
};

struct HelpUse {
  std::string where;  // "file:line"
  int helpContext;
};

class HelpContextScan {
 public:
  void AddFile(const std::string& name, const std::string& text) {
    files_.emplace_back(name, Tokenize(text));
  }

  std::vector<HelpUse> Uses() {
    for (const auto& [name, t] : files_) FindDeclarations(t);
    std::vector<HelpUse> uses;
    for (const auto& [name, t] : files_) FindUses(name, t, uses);
    // A call that matches two declarations is one use.
    std::vector<HelpUse> unique;
    for (const HelpUse& use : uses) {
      if (std::none_of(unique.begin(), unique.end(), [&](const HelpUse& u) {
            return u.where == use.where && u.helpContext == use.helpContext;
          })) {
        unique.push_back(use);
      }
    }
    return unique;
  }

 private:
  // A parameter list declares a help context when one parameter is a type followed
  // by a name ending in "helpContext".
  void FindDeclarations(const std::vector<Token>& t) {
    for (size_t i = 0; i + 1 < t.size(); ++i) {
      if (t[i].kind == Token::Identifier && Is(t, i + 1, "(") && !IsKeyword(t[i].text)) {
        size_t after = 0;
        const auto params = SplitArguments(t, i + 1, after, true);
        size_t minArgs = 0;
        bool hasDefault = false;
        std::optional<size_t> helpIndex;
        for (size_t p = 0; p < params.size(); ++p) {
          auto [from, to] = params[p];
          size_t end = from;
          while (end < to && !Is(t, end, "=")) ++end;
          if (end < to) hasDefault = true;
          if (!hasDefault) minArgs = p + 1;
          if (end - from >= 2 && t[end - 1].kind == Token::Identifier &&
              EndsWithHelpContext(t[end - 1].text) && t[end - 2].kind == Token::Identifier) {
            helpIndex = p;
          }
        }
        if (helpIndex) {
          // A function is often declared twice (header and source): keep one.
          const HelpParameter param{*helpIndex, minArgs, params.size()};
          std::vector<HelpParameter>& known = parameters_[t[i].text];
          if (std::none_of(known.begin(), known.end(), [&](const HelpParameter& k) {
                return k.index == param.index && k.minArgs == param.minArgs &&
                       k.maxArgs == param.maxArgs;
              })) {
            known.push_back(param);
          }
        }
      }
      // int constants: "constexpr int Name = 40100", "const int Name = 40100".
      if (Is(t, i, "int") && i + 3 < t.size() && t[i + 1].kind == Token::Identifier &&
          Is(t, i + 2, "=") && t[i + 3].kind == Token::Number && i >= 1 &&
          (Is(t, i - 1, "constexpr") || Is(t, i - 1, "const"))) {
        constants_[t[i + 1].text] = std::stoi(t[i + 3].text, nullptr, 0);
      }
    }
  }

  // The value of an argument: a number, or an int constant (qualified or not).
  std::optional<int> ValueOf(const std::vector<Token>& t, size_t from, size_t to) {
    if (to == from + 1 && t[from].kind == Token::Number &&
        std::isdigit(static_cast<unsigned char>(t[from].text[0]))) {
      return std::stoi(t[from].text, nullptr, 0);
    }
    if (to > from && t[to - 1].kind == Token::Identifier) {
      for (size_t k = from; k + 1 < to; ++k) {
        if (t[k].kind != Token::Identifier && !Is(t, k, ":")) return std::nullopt;
      }
      auto it = constants_.find(t[to - 1].text);
      if (it != constants_.end()) return it->second;
    }
    return std::nullopt;
  }

  void FindUses(const std::string& name, const std::vector<Token>& t, std::vector<HelpUse>& uses) {
    auto add = [&](size_t at, int helpContext) {
      if (helpContext > 0) uses.push_back({name + ":" + std::to_string(t[at].line), helpContext});
    };
    for (size_t i = 0; i + 1 < t.size(); ++i) {
      // Calls and constructions: F(...), Type var(...), Type var{...}, make_unique<Type>(...).
      if (t[i].kind == Token::Identifier && (Is(t, i + 1, "(") || Is(t, i + 1, "{"))) {
        const std::string* callee = nullptr;
        if (parameters_.count(t[i].text) && Is(t, i + 1, "(")) callee = &t[i].text;
        if (!callee && i >= 1 && t[i - 1].kind == Token::Identifier &&
            parameters_.count(t[i - 1].text)) {
          callee = &t[i - 1].text;
        }
        if (callee) CheckCall(t, *callee, i + 1, add);
      }
      if (Is(t, i, ">") && Is(t, i + 1, "(") && i >= 2 && t[i - 1].kind == Token::Identifier &&
          parameters_.count(t[i - 1].text) && Is(t, i - 2, "<")) {
        CheckCall(t, t[i - 1].text, i + 1, add);
      }
      // Fields and variables named ...helpContext given a number.
      if (t[i].kind == Token::Identifier && EndsWithHelpContext(t[i].text)) {
        if (Is(t, i + 1, "=") && !Is(t, i + 2, "=") && i + 3 < t.size() &&
            (Is(t, i + 3, ";") || Is(t, i + 3, ",") || Is(t, i + 3, "}") || Is(t, i + 3, ")"))) {
          if (auto value = ValueOf(t, i + 2, i + 3)) add(i, *value);
        } else if ((Is(t, i + 1, "(") || Is(t, i + 1, "{")) && i + 3 < t.size() &&
                   (Is(t, i + 3, ")") || Is(t, i + 3, "}"))) {
          if (auto value = ValueOf(t, i + 2, i + 3)) add(i, *value);
        }
      }
      // setProperty("helpContext", 40100)
      if (t[i].kind == Token::String && EndsWithHelpContext(t[i].text) && Is(t, i + 1, ",") &&
          i + 3 < t.size() && Is(t, i + 3, ")")) {
        if (auto value = ValueOf(t, i + 2, i + 3)) add(i, *value);
      }
    }
  }

  template <typename Add>
  void CheckCall(const std::vector<Token>& t, const std::string& callee, size_t open, Add& add) {
    size_t after = 0;
    const auto args = SplitArguments(t, open, after, true);
    for (const HelpParameter& param : parameters_[callee]) {
      if (args.size() < param.minArgs || args.size() > param.maxArgs) continue;
      if (param.index >= args.size()) continue;
      auto [from, to] = args[param.index];
      if (auto value = ValueOf(t, from, to)) add(from, *value);
    }
  }

  std::vector<std::pair<std::string, std::vector<Token>>> files_;
  std::map<std::string, std::vector<HelpParameter>> parameters_;
  std::map<std::string, int> constants_;
};

std::vector<int> ContextsOf(std::vector<HelpUse> uses) {
  std::vector<int> contexts;
  for (const HelpUse& use : uses) contexts.push_back(use.helpContext);
  return contexts;
}

TEST(HelpContextScanTest, FindsTheWaysTheProgramNamesAHelpContext) {
  struct Case {
    const char* source;
    std::vector<int> contexts;
  } cases[] = {
      // A call of a function declared with a help-context parameter.
      {"bool AskYesNoHelp(const std::string& question, int helpContext);\n"
       "void f() { AskYesNoHelp(\"Sure, really?\", 100600); }",
       {100600}},
      // Arguments that span lines, hold commas in strings and calls, and a constant.
      {"int AskCustom(const std::string& m, const std::string& a, const std::string& b,\n"
       "  int helpContext, const std::string& c);\n"
       "namespace { constexpr int NoSetsHelp = 40100; }\n"
       "void f() { AskCustom(Text(\"a, b\", 2),\n \"&OK\", \"&Help\",\n NoSetsHelp, \"Cancel\"); }",
       {40100}},
      // Default arguments: calls with and without the help context.
      {"bool RunHidden(const std::string& program, const std::vector<std::string>& args = {},\n"
       "  int helpContext = 0, const TRunOptions& options = {});\n"
       "void f() { RunHidden(\"abc2midi\", {\"a\", \"b\"}, 55020); RunHidden(\"x\"); }",
       {55020}},
      // Template arguments with commas in a declaration.
      {"void Show(const std::map<int, std::string>& m, int helpContext);\n"
       "void f() { Show(m, 31550); }",
       {31550}},
      // A constructor, directly and through make_unique.
      {"class TProgress { public: TProgress(const std::string& caption, int helpContext,\n"
       "  bool showTimes, bool toReportFile); };\n"
       "void f() { TProgress progress(\"Validate all\", 20800, true, true);\n"
       "  auto p = std::make_unique<TProgress>(\"Build\", 30700, false, true); }",
       {20800, 30700}},
      // Fields, designated initialisers and widget properties.
      {"void f() { call.helpContext = 40100; DialogCall c{.helpContext = 21500};\n"
       "  form->setProperty(\"helpContext\", 31700); int helpContext = 0; }",
       {40100, 21500, 31700}},
      // Not help contexts: other parameters, variables passed on, comparisons,
      // comments and strings.
      {"void SetTabHelpContext(int index, int context);\n"
       "bool AskYesNoHelp(const std::string& question, int helpContext);\n"
       "void f(int helpContext) { SetTabHelpContext(3, 1); AskYesNoHelp(q, helpContext);\n"
       "  if (helpContext == 20500) {} // AskYesNoHelp(\"x\", 99999);\n"
       "  ShowMsg(\"AskYesNoHelp(x, 88888)\"); }",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    HelpContextScan scan;
    scan.AddFile("test.cpp", c.source);
    EXPECT_EQ(ContextsOf(scan.Uses()), c.contexts);
  }
}

const std::string& SourceFolder() {
  static const std::string folder = std::string(QUORREL_FIXTURES) + "/../../src/";
  return folder;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The help map of the program's help pages: context -> page.
std::map<int, std::string> HelpMap() {
  std::map<int, std::string> map;
  std::istringstream in(ReadText(SourceFolder() + "resources/help/map.txt"));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    map[std::stoi(line.substr(0, eq))] = line.substr(eq + 1);
  }
  return map;
}

void CollectMenuContexts(const TMenuItem& item, std::vector<HelpUse>& uses) {
  for (const auto& child : item.items) {
    if (child->helpContext > 0) uses.push_back({"menu item " + child->name, child->helpContext});
    CollectMenuContexts(*child, uses);
  }
}

TEST(HelpPagesTest, EveryHelpContextOfTheProgramHasAPage) {
  HelpContextScan scan;
  QDirIterator it(QString::fromStdString(SourceFolder()), {"*.h", "*.cpp"}, QDir::Files,
                  QDirIterator::Subdirectories);
  int files = 0;
  while (it.hasNext()) {
    const std::string path = it.next().toStdString();
    scan.AddFile(path.substr(SourceFolder().size()), ReadText(path));
    ++files;
  }
  ASSERT_GT(files, 20);
  std::vector<HelpUse> uses = scan.Uses();
  MainMenu().Reset();
  CollectMenuContexts(MainMenu().Root(), uses);
  ASSERT_GT(uses.size(), 50u);

  const std::map<int, std::string> map = HelpMap();
  std::set<int> missing;
  for (const HelpUse& use : uses) {
    if (!map.count(use.helpContext)) {
      ADD_FAILURE() << "help context " << use.helpContext << " (" << use.where
                    << ") has no page in src/resources/help/map.txt";
    }
  }
}

TEST(HelpPagesTest, EveryPageOfTheMapIsThereAndInTheResources) {
  const std::map<int, std::string> map = HelpMap();
  ASSERT_FALSE(map.empty());
  const std::string qrc = ReadText(SourceFolder() + "resources/help/help.qrc");
  std::set<std::string> pages;
  for (const auto& [helpContext, page] : map) {
    SCOPED_TRACE(helpContext);
    EXPECT_TRUE(pages.insert(page).second) << page << " serves two contexts";
    const std::string text = ReadText(SourceFolder() + "resources/help/" + page);
    EXPECT_NE(text.find("<title>"), std::string::npos) << page;
    EXPECT_NE(qrc.find("<file>" + page + "</file>"), std::string::npos) << page;
  }
}

// Every help context the validators name opens the page about its own message,
// as the page's title tells; a context the validators name anew needs a row here.
TEST(HelpPagesTest, EachValidatorsHelpContextOpensThePageOfItsMessage) {
  struct Case {
    int helpContext;
    const char* message;  // what the validator says
    const char* title;    // the title of the page it opens
  } cases[] = {
      {100700, "</TD> missing after ... Did you really mean this?", "End tag missing"},
      {100770, "Table has no rows.", "Table has no rows"},
      {100710, "H2 should not be first header.", "Title and headings"},
      {20770, "--> in wrong place.", "Comment end in the wrong place"},
      {20774, "\"<A Name=...\" replaced by \"<A Id=...\".", "A Name replaced by A Id"},
      {20776, "Nested Form tags.", "Nested Form tags"},
      {50401, "Change all \xC2 to non-breaking spaces?", "\xC3\x82 in a page"},
      {101500, "Delete blank lines?", "Delete blank lines"},
      {20766, "Remove Polish language markers on validation?", "Polish language markers"},
      {20778, "Bold or italic closed in wrong place.  Correct this?",
       "Bold or italic closed in the wrong place"},
      {56100, "Unknown name: ", "Unknown name in a play script"},
      {55950, "No value for information field.", "No value for an information field"},
      {55940, "Voice 1 has 4 bar lines but voice 2 has 3", "Voices with different numbers of bars"},
      {55930, "(the help topic alone)", "Order of the header fields"},
      {55720, "Square brackets not closed at end of line.", "Square brackets in ABC"},
      {55710, "Notes not in ascending sequence in chord [EC]", "Notes of a chord in order"},
      {20790, "The following names are referenced only once,", "Names referenced only once"},
      {100750, "Missing semicolon, or \"&\" should be \"&amp;\" in ...", "Check \"&amp;amp;\""},
  };
  HelpContextScan scan;
  QDirIterator it(QString::fromStdString(SourceFolder()), {"*.h", "*.cpp"}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const std::string path = it.next().toStdString();
    scan.AddFile(path.substr(SourceFolder().size()), ReadText(path));
  }
  std::set<int> named, listed;
  for (const HelpUse& use : scan.Uses()) {
    if (use.where.starts_with("validate/") && use.helpContext > 0) named.insert(use.helpContext);
  }
  for (const Case& c : cases) listed.insert(c.helpContext);
  EXPECT_EQ(named, listed);

  const std::map<int, std::string> map = HelpMap();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    ASSERT_TRUE(map.count(c.helpContext)) << c.helpContext;
    const std::string page = ReadText(SourceFolder() + "resources/help/" + map.at(c.helpContext));
    const size_t open = page.find("<title>");
    ASSERT_NE(open, std::string::npos) << map.at(c.helpContext);
    const size_t end = page.find("</title>", open);
    EXPECT_EQ(page.substr(open + 7, end - open - 7), c.title) << map.at(c.helpContext);
  }
}

}  // namespace
}  // namespace quorrel
