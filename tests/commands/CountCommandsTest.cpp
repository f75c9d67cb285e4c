// Word count, the section reports, the pop-up box and double spacing: the rules on
// their own, real files from the system, and the commands chosen from their menu
// items on documents opened from files.
#include <gtest/gtest.h>

#include <QLocale>
#include <cstdio>
#include <ctime>
#include <regex>
#include <sstream>

#include "commands/CountCommands.h"
#include "shell/SaveTestKit.h"
#include "shell/SmallForms.h"
#include "shell/StatusBar.h"
#include "support/Installed.h"
#include "support/RtfConformance.h"

namespace quorrel {
namespace {

using test::Dialogs;

// A count of our own: a run of other characters ends a word where a separator
// follows it that is not followed by "-", and at the end of the text.
size_t IndependentCount(const std::string& text) {
  static const std::regex ending("[^ \\t\\r\\n=][ \\t\\r\\n=](?!-)");
  size_t count =
      std::distance(std::sregex_iterator(text.begin(), text.end(), ending), std::sregex_iterator());
  if (!text.empty() && std::string(" \t\r\n=").find(text.back()) == std::string::npos) ++count;
  return count;
}

TEST(WordCountTest, AgreesWithAnIndependentCount) {
  const std::string cases[] = {
      "one two three",
      "one  two\r\nthree\r\n",
      "a -b c - d",
      "x=1 y = 2 z==3",
      "well-known e-mail",
      "\ttabbed\tline\t",
      "",
      " ",
      "one",
      "a=-b",
  };
  for (const std::string& text : cases) {
    EXPECT_EQ(CountWords(text), IndependentCount(text)) << "[" << text << "]";
  }
  EXPECT_EQ(CountWords("one two three"), 3u);
  EXPECT_EQ(CountWords("a -b c - d"), 3u);  // "-b" joins "a"; "c" joins "-"
  EXPECT_EQ(CountWords("x=1 y = 2"), 4u);
}

// What `wc -w` counts.
size_t WcWords(const std::string& path) {
  FILE* pipe = ::popen(("wc -w < " + path).c_str(), "r");
  if (!pipe) return 0;
  unsigned long words = 0;
  if (std::fscanf(pipe, "%lu", &words) != 1) words = 0;
  ::pclose(pipe);
  return words;
}

TEST(WordCountTest, RealLicencesAgainstWc) {
  for (const std::string name : {"GPL-3", "Apache-2.0"}) {
    SCOPED_TRACE(name);
    const std::string path = "/usr/share/common-licenses/" + name;
    const std::string text = test::InstalledFile(path, "base-files");
    const size_t wc = WcWords(path);
    ASSERT_GT(wc, 1000u);
    // wc's words split again on "=", less the words a blank and "-" join.
    size_t pieces = 0;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
      std::istringstream parts(word);
      for (std::string part; std::getline(parts, part, '=');) pieces += part.empty() ? 0 : 1;
    }
    static const std::regex joined("[^ \\t\\r\\n=][ \\t\\r\\n=]-");
    const size_t joins = std::distance(std::sregex_iterator(text.begin(), text.end(), joined),
                                       std::sregex_iterator());
    const size_t ours = CountWords(text);
    EXPECT_EQ(static_cast<long>(ours) - static_cast<long>(wc),
              static_cast<long>(pieces - joins) - static_cast<long>(wc));
    EXPECT_EQ(ours, IndependentCount(text));
  }
}

TEST(WordCountTest, DatedLineIsEnglishWhateverTheLocale) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int month = 0; month < 12; ++month) {
    struct tm day {};
    day.tm_year = 126;
    day.tm_mon = month;
    day.tm_mday = 5;
    day.tm_hour = 12;
    day.tm_isdst = -1;
    EXPECT_EQ(WordCountLine(42, static_cast<int64_t>(std::mktime(&day))),
              std::string("05-") + months[month] + "-26:  42");
  }
  QLocale::setDefault(QLocale::c());
}

TEST(PopUpTest, TextAfterThePuLine) {
  struct Case {
    std::string text;
    bool found;
    std::string popUp;
  } cases[] = {
      {"Title\r\n.PU A note\r\nsecond line\r\n", true, "A note\r\nsecond line\r\n"},
      {".PU First\r\n", true, "First\r\n"},
      {"Title\r\n.PU\r\nnext\r\n", true, "\nnext\r\n"},
      {"Title\r\n .PU not at the start\r\n", false, ""},
      {"No note here\r\n", false, ""},
  };
  for (const Case& c : cases) {
    std::string popUp;
    EXPECT_EQ(PopUpText(c.text, popUp), c.found) << c.text;
    if (c.found) {
      EXPECT_EQ(popUp, c.popUp);
    }
  }
}

TEST(DoubleSpaceTest, TogglesOnlyWholeControlWords) {
  struct Case {
    std::string rtf, toggled;
  } cases[] = {
      {"\\pard\\f0 a\r\n\\par \\pard b", "\\pard\\sl480\\f0 a\r\n\\par \\pard\\sl480 b"},
      {"\\pard\\sl480\\f0 a\r\n\\par \\pard\\sl480 b", "\\pard\\f0 a\r\n\\par \\pard b"},
      // Other words that begin alike stay as they are.
      {"\\pardeftab720\\pard x", "\\pardeftab720\\pard\\sl480 x"},
      {"\\pard\\sl4800 x", "\\pard\\sl480\\sl4800 x"},
  };
  for (const Case& c : cases) EXPECT_EQ(ToggleDoubleSpacing(c.rtf), c.toggled) << c.rtf;
}

TEST(SectionReportTest, ColumnsAndTotals) {
  const std::vector<TSectionText> sections = {
      {"body", "body { margin: 0 }\r\n"},
      {"a\tlinks", "a { color: red }\r\n"},
  };
  EXPECT_EQ(SectionCountReport(sections, false),
            std::string(SectionCountHeader) + "\r\n\r\n" +
                "body                                         5         5\r\n"
                "a               links                        5        10\r\n");
  std::string words;
  for (int i = 0; i < 310; ++i) words += "word ";
  const std::vector<TSectionText> play = {{"Title etc.", "My Play by Me\r\n"},
                                          {"1: The Garden", words + "\r\n"},
                                          {"Kitchen", "Short scene.\r\n"}};
  EXPECT_EQ(
      SectionCountReport(play, true),
      std::string(SceneCountHeader) + "\r\n\r\n" +
          "Scene  0:  Title etc.                                   0         0     0         0\r\n"
          "Scene  1:  The Garden                                 310       310     2         2\r\n"
          "Scene  2:  Kitchen                                      2       312     0         "
          "2\r\n");
  EXPECT_EQ(ScriptPagesLines(29),
            "Lines (from \"Scene:\")                       29\r\n"
            "Pages (equals minutes)                       2\r\n");
}

class CountCommandsTest : public test::SaveFixture {
 protected:
  void SetUp() override {
    SaveFixture::SetUp();
    InstallCountCommands();
    SetPopForm([this](const std::string& text) { popUps.push_back(text); });
  }
  void TearDown() override {
    SetPopForm(nullptr);
    SaveFixture::TearDown();
  }
  std::string Text() const { return CurrentEditor->GetText(); }
  // The report tab's text after a section command on a file opened in the site.
  std::string ReportOf(const std::string& name, const std::string& source, const char* item) {
    Open(name, source);
    MainMenu().Click(item);
    EXPECT_EQ(CurrentFileName.compare(0, 8, "Untitled"), 0) << CurrentFileName;
    EXPECT_FALSE(CurrentEditor->Modified());
    return CurrentEditor->GetText();
  }
  std::vector<std::string> popUps;
};

TEST_F(CountCommandsTest, WordCountLogsItInAPlainDocument) {
  Open("log.txt", "one two three\r\n");
  CurrentEditor->Select(4, 0);
  MainMenu().Click("WordCount");
  const std::string line = WordCountLine(3, static_cast<int64_t>(std::time(nullptr)));
  EXPECT_EQ(Text(), "one two three\r\n" + line + "\r\n");
  EXPECT_EQ(CurrentEditor->SelStart(), 4u);
  EXPECT_EQ(Status(), "  3 words, 15 bytes  Modified");

  // A selection, and a web page: counted, nothing added.
  CurrentEditor->Select(0, 7);
  MainMenu().Click("WordCount");
  EXPECT_EQ(Status(), "  2 words, 7 bytes  Modified");
  Open("page.htm", "<p>Some words</p>\n");
  MainMenu().Click("WordCount");
  EXPECT_EQ(Text(), "<p>Some words</p>\r\n");
  EXPECT_EQ(Status(), "  2 words, 18 bytes");
}

TEST_F(CountCommandsTest, PopUpBoxOfAnRtfDocument) {
  const std::string head =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 "
      "Arial;}}\r\n{\\colortbl ;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 ";
  Open("note.rtf", head + "Letter\r\n\\par .PU Remember\r\n\\par the milk\r\n\\par }\r\n");
  ASSERT_TRUE(IsRtf);
  EXPECT_TRUE(MainMenu().Click("PU"));
  ASSERT_EQ(popUps.size(), 1u);
  EXPECT_EQ(popUps[0], "Remember\r\nthe milk\r\n");

  Open("plain.rtf", head + "There is no note in this letter.\r\n\\par }\r\n");
  Dialogs().Answer(mrOk);
  EXPECT_FALSE(MainMenu().Click("PU"));
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_NE(Dialogs().Calls()[0].text.find(NoPopUpMessage), std::string::npos);
  EXPECT_EQ(Dialogs().Calls()[0].helpContext, NoPopUpHelp);
  EXPECT_EQ(popUps.size(), 1u);
}

TEST_F(CountCommandsTest, DoubleSpaceTogglesAndIsSaved) {
  const std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 "
      "Arial;}}\r\n{\\colortbl ;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 One\r\n\\par Two\r\n\\par "
      "}\r\n";
  const std::string path = Open("letter.rtf", rtf);
  const std::string before = CurrentEditor->GetRtfSource();
  CurrentEditor->Select(5, 0);
  MainMenu().Click("DoubleSpace");
  const std::string doubled = CurrentEditor->GetRtfSource();
  EXPECT_NE(doubled.find("\\sl480"), std::string::npos) << doubled;
  EXPECT_EQ(CurrentEditor->SelStart(), 5u);
  EXPECT_TRUE(CurrentEditor->Modified());
  MainMenu().Click("Save");
  EXPECT_NE(test::Slurp(path).find("\\sl480"), std::string::npos);
  MainMenu().Click("DoubleSpace");
  EXPECT_EQ(CurrentEditor->GetRtfSource(), before);
}

TEST_F(CountCommandsTest, SectionReportsOfRealFiles) {
  struct Case {
    std::string name, source, package;
    const char* item;
    std::string golden;
  } cases[] = {
      {"basic.css", "/usr/share/doc/python3/_static/basic.css", "python3-dev", "SectCount",
       "basic-css-count.txt"},
      {"sample2.abc", "/usr/share/doc/abcm2ps/examples/sample2.abc", "abcm2ps", "SectCount",
       "sample2-abc-count.txt"},
      {"names.abc", "/usr/share/doc/abcm2ps/examples/sample2.abc", "abcm2ps", "SectNames",
       "sample2-abc-names.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string text = test::InstalledFile(c.source, c.package);
    const std::string report = ReportOf(c.name, text, c.item);
    const std::string expected =
        test::Slurp(std::string(QUORREL_FIXTURES) + "/reports/" + c.golden);
    EXPECT_EQ(report, expected) << report;
  }
}

TEST_F(CountCommandsTest, StagePlayReportWithMinutesAndPages) {
  std::string speech;
  for (int i = 0; i < 40; ++i) speech += "JOHN: I say these eight words here and now.\r\n\\par ";
  const std::string play = test::OurRtf(
      "My Play\r\n\\par Characters\r\n\\par JOHN, a man\r\n\\par Scene: Int. Kitchen - Day\r\n"
      "\\par " +
      speech + "Scene: The Garden\r\n\\par MARY: Short.");
  const std::string report = ReportOf("play.scr", play, "SectCount");
  EXPECT_EQ(
      report,
      std::string(SceneCountHeader) + "\r\n\r\n" +
          "Scene  0:  Title etc.                                   0         0     0         0\r\n"
          "Scene  1:  Kitchen                                    364       364     2         2\r\n"
          "Scene  2:  The Garden                                   5       369     0         2\r\n"
          "Lines (from \"Scene:\")                       43\r\n"
          "Pages (equals minutes)                       3\r\n");
  EXPECT_TRUE(Dialogs().Calls().empty());

  // Scenes by number only: no "Scene:" to measure from.
  const std::string numbered =
      test::OurRtf("Title\r\n\\par 12\\tab INT. HOUSE - Night\\tab 12\r\n\\par x y");
  const std::string second = ReportOf("numbered.scr", numbered, "SectCount");
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_NE(Dialogs().Calls()[0].text.find(NoFirstSceneMessage), std::string::npos);
  EXPECT_EQ(second.find("Lines (from"), std::string::npos);
  EXPECT_NE(second.find("Scene  1:  HOUSE"), std::string::npos) << second;
}

}  // namespace
}  // namespace quorrel
