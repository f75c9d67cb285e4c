// What an upload sends of a page or style sheet: condensed stretches, scripts as
// they are, tight style-sheet rules and short colours; on small cases and on real
// pages and style sheets that Debian ships.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "platform/Abort.h"
#include "platform/Paths.h"
#include "publish/Condense.h"
#include "shell/FastStrings.h"
#include "shell/Hooks.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using ::testing::HasSubstr;

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Files(const std::string& folder, const std::string& ext) {
  std::vector<std::string> paths;
  if (!fs::is_directory(folder)) return paths;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ext) paths.push_back(entry.path().string());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

// The page as a reader meets it: tags (blanks inside made single) and the words
// between them, whatever the line breaks.
std::vector<std::string> Tokens(const std::string& text) {
  std::vector<std::string> tokens;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      ++i;
    } else if (c == '<') {
      size_t end = text.find('>', i);
      end = end == std::string::npos ? text.size() : end + 1;
      std::string tag;
      for (size_t k = i; k < end; ++k) {
        const bool blank = text[k] == ' ' || text[k] == '\n' || text[k] == '\r' || text[k] == '\t';
        if (!blank) {
          tag += text[k];
        } else if (tag.back() != ' ') {
          tag += ' ';
        }
      }
      tokens.push_back(tag);
      i = end;
    } else {
      size_t end = text.find_first_of(" \n\r\t<", i);
      if (end == std::string::npos) end = text.size();
      tokens.push_back(text.substr(i, end - i));
      i = end;
    }
  }
  return tokens;
}

// The script elements with content of their own, each with its next character.
std::vector<std::string> Scripts(const std::string& text) {
  std::vector<std::string> scripts;
  for (size_t at = PosNoCase("<script", text); at != 0; at = PosNoCase("<script", text, at + 1)) {
    const size_t tagEnd = text.find('>', at - 1);
    if (text.compare(tagEnd + 1, 2, "</") == 0) continue;
    const size_t close = PosNoCase("</script>", text, at) - 1;
    scripts.push_back(text.substr(at - 1, close + 10 - (at - 1)));
    at = close + 1;
  }
  return scripts;
}

TEST(CondenseTest, AStretchLosesItsLineBreaksButNeverJoinsTwoWords) {
  struct Case {
    std::string text;
    std::string condensed;
  } cases[] = {
      {"the quick\nbrown", "the quick brown"},
      {"the quick  \n   brown", "the quick brown"},
      {"<p>\n  Hello</p>\n<p>World\n</p>", "<p>Hello</p><p>World</p>"},
      {"a   b", "a b"},
      {"  \n\t padded \r\n ", "padded"},
      {"tab\tinside", "tab\tinside"},
      // Quote marks at the ends are the page's text, not padding.
      {"<p>\"Hello\"\n", "<p>\"Hello\""},
      {"\"quoted\"", "\"quoted\""},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CondenseStretch(c.text), c.condensed) << c.text;
  }
}

TEST(CondenseTest, APageIsCondensedOutsideItsScripts) {
  struct Case {
    const char* what;
    std::string page;
    std::string sent;
  } cases[] = {
      {"no script", "<html>\n<body>\n<p>one\ntwo</p>\n</body>\n</html>\n",
       "<html><body><p>one two</p></body></html>\n"},
      {"inline script kept as it is",
       "<p>a\nb</p>\n<script>\n  if (a  <  b)\n    go();\n</script>\n<p>c\n d</p>\n",
       "<p>a b</p>\n<script>\n  if (a  <  b)\n    go();\n</script>\n<p>c d</p>\n"},
      {"external script stays in the outside stretch",
       "<head>\n<script src=\"a.js\"></script>\n<title>T</title>\n</head>\n",
       "<head><script src=\"a.js\"></script><title>T</title></head>\n"},
      {"script in capitals, last in the page", "<p>x</p>\n<SCRIPT>go()</SCRIPT>",
       "<p>x</p>\n<SCRIPT>go()</SCRIPT>\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CondensePage(c.page), c.sent);
  }
}

TEST(CondenseTest, AScriptThatIsNeverClosedStopsTheUpload) {
  EXPECT_THROW(CondensePage("<p>a</p>\n<script>\nvar a = 1;\n"), EAbort);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_THAT(Dialogs().Last().text, HasSubstr("</script>\rwas not found in\r<script>"));
}

TEST(CondenseTest, StyleSheetRulesAreWrittenTightlyWithShortColours) {
  struct Case {
    std::string sheet;
    std::string sent;
  } cases[] = {
      {"a {color: #FFCC00;}", "a{color:#FC0}"},
      {"a { color: #ffcc00; }", "a{ color:#fc0; }"},  // a blank after "{" stays
      {"a {color: #FfcC00;}", "a{color:#Fc0}"},       // kept digits keep their case
      {"h1, h2 {\n  margin: 0\n  auto;\n  border: 1px solid #aabbcc;\n}\n",
       "h1,h2{margin:0 auto;border:1px solid #abc}"},
      {"p {color: #123456;}", "p{color:#123456}"},                // not three pairs
      {"p {background: #aabbccdd;}", "p{background:#aabbccdd}"},  // not six digits
      {"#aabbcc > p {color: red;}", "#aabbcc > p{color:red}"},    // an id, not a colour
      {"div\np {color: #000000}", "div p{color:#000}"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CondenseStyleSheet(c.sheet), c.sent) << c.sheet;
  }
}

TEST(CondenseTest, AspNetSourcesAreRootedUnlessTheyAreAlready) {
  struct Case {
    std::string page;
    std::string sent;
    bool changed;
  } cases[] = {
      {"<img src=\"images/a.gif\">", "<img src=\"/images/a.gif\">", true},
      {"<img Src=\"a.gif\" />", "<img Src=\"/a.gif\" />", true},
      {"<img src=\"a.gif\">", "<img src=\"a.gif\">", false},  // no "/" before ">"
      {"<img src=\"/images/a.gif\">", "<img src=\"/images/a.gif\">", false},
      {"<script src=\"https://cdn.example.org/x.js\">",
       "<script src=\"https://cdn.example.org/x.js\">", false},
      {"<img src=a/b.gif>", "<img src=a/b.gif>", false},  // no quote mark
  };
  for (const Case& c : cases) {
    bool changed = true;
    EXPECT_EQ(FixAspxText(c.page, changed), c.sent) << c.page;
    EXPECT_EQ(changed, c.changed) << c.page;
  }
}

class CondenseForUploadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = test::TestHome() + "condense/";
    fs::create_directories(folder_);
    MainMenu().SetChecked("Condense", true);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Write(const std::string& name, const std::string& bytes) {
    test::WriteFile(folder_ + name, bytes);
    return folder_ + name;
  }
  std::string folder_;
};

TEST_F(CondenseForUploadTest, OnlyPagesAndStyleSheetsAreCondensedAndOnlyWhenAsked) {
  const std::string page = "<p>one\ntwo</p>\n";
  struct Case {
    const char* what;
    std::string name;
    std::string bytes;
    bool condense;
    std::string command;
    std::string sentName;  // "" = the file itself
  } cases[] = {
      {"a preload link is no pre", "index.htm", "<preload>\n", true, "", "Temp.HTM"},
      {"page", "index.htm", page, true, "", "Temp.HTM"},
      {"long extension", "index.HTML", page, true, "", "Temp.HTML"},
      {"style sheet", "site.css", "a {color: red;}\n", true, "", "Temp.CSS"},
      {"option off", "index.htm", page, false, "", ""},
      {"script file", "code.js", "var a;\nvar b;\n", true, "", ""},
      {"preformatted page", "pre.htm", "<PRE>\n  kept\n</PRE>\n", true, "", ""},
      {"preformatted with a class", "pre.htm", "<pre class=\"code\">\n  kept\n</pre>\n", true, "",
       ""},
      {"on-line validation", "index.htm", page, true, "OnlineValAll", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MainMenu().SetChecked("Condense", c.condense);
    CurrentCommand = c.command;
    const std::string path = Write(c.name, c.bytes);
    const std::string sent = CondenseForUpload(path);
    if (c.sentName.empty()) {
      EXPECT_EQ(sent, path);
      EXPECT_EQ(Bytes(path), c.bytes);
    } else {
      EXPECT_EQ(sent, TempFolder() + c.sentName);
    }
  }
  CurrentCommand.clear();
  EXPECT_EQ(Bytes(TempFolder() + "Temp.HTM"), "<p>one two</p>\n");
  EXPECT_EQ(Bytes(TempFolder() + "Temp.CSS"), "a{color:red}");
}

TEST_F(CondenseForUploadTest, DebugOpensTheCondensedSheetInATab) {
  MainMenu().SetChecked("Debug", true);
  std::vector<std::string> opened;
  OpenThisHook.Set([&](const std::string& path) { opened.push_back(path); });
  CondenseForUpload(Write("site.css", "p {\n  color: #ffffff;\n}\n"));
  EXPECT_EQ(opened, std::vector<std::string>{TempFolder() + "Temp.txt"});
  EXPECT_EQ(Bytes(TempFolder() + "Temp.txt"), "p{color:#fff}");
  OpenThisHook.Set(nullptr);
  MainMenu().SetChecked("Debug", false);
}

TEST_F(CondenseForUploadTest, PagesFromADocumentationGeneratorKeepEveryWordAndScript) {
  const std::vector<std::string> pages = Files("/usr/share/doc/libjack-dev/HTML", ".html");
  ASSERT_GT(pages.size(), 20u) << "libjack-dev is installed by scripts/install-deps";
  size_t scriptsSeen = 0, externalSeen = 0;
  for (const std::string& path : pages) {
    SCOPED_TRACE(path);
    const std::string original = ReplaceAll(Bytes(path), "\r\n", "\n", true);
    if (PosNoCase("<pre", original) != 0) continue;  // sent as they are
    const std::string sentPath = CondenseForUpload(path);
    ASSERT_EQ(sentPath, TempFolder() + "Temp.HTML");
    const std::string sent = Bytes(sentPath);
    EXPECT_EQ(Tokens(sent), Tokens(original));
    const std::vector<std::string> scripts = Scripts(original);
    EXPECT_EQ(Scripts(sent), scripts);
    scriptsSeen += scripts.size();
    externalSeen += PosNoCase("\"></script>", original) != 0;
    // Outside the scripts only the stretch ends break lines.
    std::string outside = sent;
    for (const std::string& script : scripts) outside = ReplaceAll(outside, script, "", true);
    for (size_t lf = outside.find('\n'); lf != std::string::npos; lf = outside.find('\n', lf + 1)) {
      EXPECT_TRUE(lf + 1 == outside.size() || outside[lf - 1] != '\n')
          << "line break inside a stretch at " << lf;
    }
    EXPECT_LT(sent.size(), original.size());
  }
  EXPECT_GT(scriptsSeen, 0u);
  EXPECT_GT(externalSeen, 0u);
}

TEST_F(CondenseForUploadTest, PagesWithPreformattedTextAreSentAsTheyAre) {
  const std::vector<std::string> pages = Files("/usr/share/doc/valgrind/html", ".html");
  size_t preformatted = 0;
  for (const std::string& path : pages) {
    if (PosNoCase("<pre", Bytes(path)) == 0) continue;
    ++preformatted;
    EXPECT_EQ(CondenseForUpload(path), path);
  }
  EXPECT_GT(preformatted, 5u) << "valgrind is installed by scripts/install-deps";
}

// The rules of a sheet as selector and declarations, blanks and colour spellings
// made alike, so that two sheets compare by what they say.
std::vector<std::string> Rules(std::string sheet) {
  sheet = std::regex_replace(sheet, std::regex(R"(/\*[\s\S]*?\*/)"), "");
  sheet = std::regex_replace(sheet, std::regex(R"(\s+)"), " ");
  sheet = std::regex_replace(sheet, std::regex(R"( ?([{};:,>]) ?)"), "$1");
  sheet = std::regex_replace(sheet, std::regex(R"(;\})"), "}");
  // #abc as #aabbcc.
  sheet = std::regex_replace(sheet, std::regex(R"(#([0-9a-fA-F])([0-9a-fA-F])([0-9a-fA-F])\b)"),
                             "#$1$1$2$2$3$3");
  std::vector<std::string> rules;
  size_t from = 0;
  for (size_t end = sheet.find('}'); end != std::string::npos; end = sheet.find('}', from)) {
    std::string rule = sheet.substr(from, end + 1 - from);
    for (char& c : rule) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    rules.push_back(rule);
    from = end + 1;
  }
  return rules;
}

TEST_F(CondenseForUploadTest, RealStyleSheetsKeepEveryRule) {
  for (const char* name : {"basic.css", "nature.css"}) {
    SCOPED_TRACE(name);
    const std::string path = std::string("/usr/share/doc/python3/_static/") + name;
    ASSERT_TRUE(fs::exists(path)) << "python3-doc is installed by scripts/install-deps";
    const std::string original = Bytes(path);
    const std::string sent = Bytes(CondenseForUpload(path));
    EXPECT_EQ(sent.find('\n'), std::string::npos);
    const std::vector<std::string> rules = Rules(original);
    EXPECT_GT(rules.size(), 10u);
    EXPECT_EQ(Rules(sent), rules);
    EXPECT_LT(sent.size(), original.size() * 9 / 10);
  }
}

}  // namespace
}  // namespace quorrel
