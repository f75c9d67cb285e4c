// The Text menu's colour commands: the colour word under the caret, the colours
// and saved styles of a formatted selection, and the phone-number script, chosen
// from their menu items on documents opened from real files.
#include "commands/ColourCommands.h"
#include "commands/StartUp.h"
#include "platform/RtfModel.h"
#include "shell/SaveTestKit.h"
#include "support/Installed.h"
#include "support/MemoryRich.h"

namespace quorrel {
namespace {

using test::Dialogs;

TEST(ColourWordTest, TheWordRunsBetweenSeparators) {
  struct Case {
    const char* line;
    size_t at;
    const char* word;
  } cases[] = {
      {"color: #abc;", 9, "#abc"},
      {"color:#ff0000}", 7, "#ff0000"},
      {"<Font Color=\"#00FF00\">", 15, "#00FF00"},
      {"<td bgcolor='#fff'>", 14, "#fff"},
      {"  Font.Color := $00FF00;", 18, "$00FF00"},
      {"Brush.Color:=clRed)", 15, "clRed"},
      {"background: url(x.png) #ddd", 24, "#ddd"},
      {"#abc", 0, "#abc"},
      {"a ; b", 2, ""},
  };
  for (const Case& c : cases) {
    const TColourWord w = ColourWordAt(c.line, c.at);
    EXPECT_EQ(std::string(c.line).substr(w.start, w.end - w.start), c.word) << c.line;
  }
}

TEST(ColourWordTest, ValuesOfColourWords) {
  struct Case {
    const char* word;
    int bgr;  // -1: no colour value
    bool pascal;
  } cases[] = {
      {"#abc", 0xCCBBAA, false},    {"#ABC", 0xCCBBAA, false},   {"#ff0000", 0x0000FF, false},
      {"#00ff80", 0x80FF00, false}, {"$ff0000", 0xFF0000, true}, {"$0a0", 0x00AA00, true},
      {"#12", -1, false},           {"#12345", -1, false},       {"#xyzxyz", -1, false},
      {"clRed", -1, true},          {"red", -1, false},          {"#ff00000", -1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    const std::optional<int> value = ColourOfWord(c.word);
    EXPECT_EQ(value.value_or(-1), c.bgr);
    EXPECT_EQ(IsPascalColourWord(c.word), c.pascal);
    if (value) {
      EXPECT_EQ(ColourOfWord(ColourWordFor(*value, c.pascal)), value) << "round trip";
    }
  }
  EXPECT_EQ(ColourWordFor(0xCCBBAA, false), "#AABBCC");
  EXPECT_EQ(ColourWordFor(0xCCBBAA, true), "$CCBBAA");
}

TEST(ColourWordTest, OnlyWholeTokensCount) {
  struct Case {
    const char* text;
    const char* word;
    std::vector<size_t> at;
  } cases[] = {
      {"#fff #ffffff #FFF; #FFF000", "#fff", {0, 13}},
      {"a{color:#fff}b{color:#fffa}", "#fff", {8}},
      {"clRed clRedish (clRed) myclRed", "clRed", {0, 16}},
      {"$FF00 $FF0000", "$ff00", {0}},
      {"nothing here", "#abc", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ColourTokens(c.text, c.word), c.at) << c.text << " / " << c.word;
  }
}

TEST(PhoneCodeTest, AVectorWorkedByHandAndItsInverse) {
  // "01632 960123" reversed is "321069 23610"; digit i (from 1) goes 16 + i codes on.
  EXPECT_EQ(PhoneCode("01632 960123"), "DDDDKOWJLPLL");
  EXPECT_EQ(PhoneNumberOf("DDDDKOWJLPLL"), "01632 960123");
  for (const char* number : {"01234 567890", "99999 999999", "00000 000000", "0 2 4 6 8 10"}) {
    if (std::string(number).size() != 12 || number[5] != ' ') continue;
    const std::optional<std::string> code = PhoneCode(number);
    ASSERT_TRUE(code) << number;
    EXPECT_EQ(PhoneNumberOf(*code), number);
  }
  for (const char* refused : {"0163 960123", "01632960123", "016329 60123", "01632 9601234", ""}) {
    EXPECT_FALSE(PhoneCode(refused)) << refused;
  }
}

class ColourCommandsTest : public test::SaveFixture {
 protected:
  void SetUp() override {
    SaveFixture::SetUp();
    InstallColourCommands();
    AddStyleItems();
  }
  bool Choose(const std::string& item) { return MainMenu().Click(item); }
  std::string Text() const { return CurrentEditor->GetText(); }
  // The caret inside the n-th occurrence (from 0) of a text.
  void CaretIn(const std::string& what, int n = 0, size_t into = 1) {
    size_t at = Text().find(what);
    while (n-- > 0 && at != std::string::npos) at = Text().find(what, at + 1);
    ASSERT_NE(at, std::string::npos) << what;
    CurrentEditor->Select(CurrentEditor->OffsetToPos(at + into), 0);
  }
  void SelectText(const std::string& what) {
    const size_t at = Text().find(what);
    ASSERT_NE(at, std::string::npos) << what;
    const size_t start = CurrentEditor->OffsetToPos(at);
    CurrentEditor->Select(start, CurrentEditor->OffsetToPos(at + what.size()) - start);
  }
  // A formatted RTF letter of three words.
  void OpenLetter() {
    Open("letter.rtf",
         "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n"
         "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
         "\\viewkind4\\uc1\\pard\\f0\\fs24 Plain \\cf1\\b\\ul Red\\cf0\\b0\\ulnone  "
         "words\\par\r\n}\r\n");
    ASSERT_FALSE(CurrentEditor->PlainText());
  }
};

TEST_F(ColourCommandsTest, AShortColourWordOpensDoubledAndIsWrittenInFull) {
  Open("style.css", "p { color: #abc; }\r\nh1 { color: #ABC; background: #abcdef; }\r\n");
  CaretIn("#abc", 0, 2);
  Dialogs().AnswerColour(0x563412);
  Dialogs().Answer(mrYes);
  ASSERT_TRUE(Choose("ColourD"));
  EXPECT_EQ(Dialogs().ColourCalls().back(), 0xCCBBAA);
  EXPECT_EQ(Dialogs().Last().text, "Replace all other occurrences of #abc?");
  // The other "#ABC" follows; "#abcdef" is another colour and stays.
  EXPECT_EQ(Text(), "p { color: #123456; }\r\nh1 { color: #123456; background: #abcdef; }\r\n");
}

TEST_F(ColourCommandsTest, OtherWordsAskFirst) {
  struct Case {
    const char* text;
    const char* word;
    int answer;
    const char* after;
  } cases[] = {
      {"Font.Color := clRed; X := clRedish;\r\n", "clRed", mrNo,
       "Font.Color := clRed; X := clRedish;\r\n"},
      {"Font.Color := clRed; X := clRedish;\r\n", "clRed", mrYes,
       "Font.Color := $0000FF; X := clRedish;\r\n"},
      {"<font color=red>x</font>\r\n", "red", mrYes, "<font color=#FF0000>x</font>\r\n"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.after);
    Open("unit" + std::to_string(n++) + ".pas", c.text);
    CaretIn(c.word);
    Dialogs().Clear();
    Dialogs().Answer(c.answer);
    if (c.answer == mrYes) Dialogs().AnswerColour(0x0000FF);
    Choose("ColourD");
    EXPECT_EQ(Dialogs().Calls().front().text,
              "Replace " + std::string(c.word) + " by some other colour?");
    EXPECT_EQ(Text(), c.after);
  }
}

TEST_F(ColourCommandsTest, ReplaceAllOnARealStyleSheetChangesOnlyThatColour) {
  const std::string css =
      test::InstalledFile("/usr/share/doc/python3/_static/basic.css", "python3-dev");
  ASSERT_FALSE(css.empty());
  Open("basic.css", css);
  const std::string before = Text();
  CaretIn("#ddd", 0, 3);
  Dialogs().AnswerColour(0x00FF00);
  Dialogs().Answer(mrYes);
  ASSERT_TRUE(Choose("ColourD"));
  std::string expected = before;
  const std::vector<size_t> places = ColourTokens(before, "#ddd");
  ASSERT_EQ(places.size(), 4u);
  for (auto it = places.rbegin(); it != places.rend(); ++it) expected.replace(*it, 4, "#00FF00");
  EXPECT_EQ(Text(), expected);
  EXPECT_NE(Text().find("#ddb"), std::string::npos);
}

TEST_F(ColourCommandsTest, BackgroundAndTextColourOfTheSelection) {
  OpenLetter();
  SelectText("Plain");
  Dialogs().AnswerColour(0x00FFFF);
  ASSERT_TRUE(Choose("BgColour"));
  EXPECT_EQ(Dialogs().ColourCalls().back(), 0xFFFFFF) << "no background yet: white";
  SelectText("Plain");
  Dialogs().AnswerColour(0x0000FF);
  ASSERT_TRUE(Choose("FgColour"));
  const TRtfCharFormat f = CurrentEditor->CharFormatAt(CurrentEditor->SelStart());
  EXPECT_EQ(f.highlight, RgbOfBgr(0x00FFFF));
  EXPECT_EQ(f.color, RgbOfBgr(0x0000FF));
}

TEST_F(ColourCommandsTest, StylesAreSavedOverwrittenRemovedAndCopied) {
  OpenLetter();
  SelectText("Red");
  Dialogs().AnswerText("Warning");
  ASSERT_TRUE(Choose("SaveStyle3"));
  EXPECT_EQ(Dialogs().Inputs().back().prompt, "Enter style name");
  EXPECT_EQ(Dialogs().Last().text, MessageText("Style saved"));
  EXPECT_EQ(SettingsIni->ReadString("Style3", "Name", ""), "Warning");
  EXPECT_EQ(SettingsIni->ReadInteger("Style3", "Text", 0), 0x0000FF);
  EXPECT_TRUE(SettingsIni->ReadBool("Style3", "Bold", false));
  EXPECT_FALSE(SettingsIni->ReadBool("Style3", "Italic", true));

  // Opening the menus names the saved style; Copy style shows only it.
  ASSERT_TRUE(MainMenu().Open("SaveStyle"));
  EXPECT_EQ(MainMenu().Item("SaveStyle3").caption, "Warning");
  EXPECT_EQ(MainMenu().Item("SaveStyle4").caption, "4");
  ASSERT_TRUE(MainMenu().Open("CopyStyle"));
  for (int n = 0; n < StyleCount; ++n) {
    EXPECT_EQ(MainMenu().Item("CopyStyle" + std::to_string(n)).visible, n == 3) << n;
  }
  EXPECT_EQ(MainMenu().Item("CopyStyle3").caption, "Warning");

  // Copy style: nothing selected is refused; "Plain" gets red and bold, nothing else.
  CurrentEditor->Select(0, 0);
  Dialogs().Answer(mrYes);
  ASSERT_TRUE(Choose("CopyStyle3"));
  EXPECT_EQ(Dialogs().Last().text, "You must first highlight the text to be formatted.");
  EXPECT_EQ(Dialogs().Last().helpContext, StyleHelp);
  SelectText("Plain");
  ASSERT_TRUE(Choose("CopyStyle3"));
  const TRtfCharFormat plain = CurrentEditor->CharFormatAt(CurrentEditor->SelStart());
  const TRtfCharFormat red =
      CurrentEditor->CharFormatAt(CurrentEditor->OffsetToPos(Text().find("Red")));
  EXPECT_EQ(plain.color, red.color);
  EXPECT_TRUE(plain.bold);
  EXPECT_FALSE(plain.underline) << "the saved style's effects are not copied";
  EXPECT_EQ(plain.font, "Arial");

  struct Case {
    int answer;
    bool kept;
  } cases[] = {{mrCancel, true}, {mrYes, true}, {mrNo, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    Dialogs().Clear();
    SelectText("words");
    Dialogs().Answer(c.answer);
    ASSERT_TRUE(Choose("SaveStyle3"));
    EXPECT_EQ(Dialogs().Calls().front().text, "Overwrite existing style: Warning?");
    EXPECT_EQ(Dialogs().Calls().front().buttons,
              (std::vector<std::string>{"&Overwrite", "&Remove style", "Cancel"}));
    EXPECT_EQ(SettingsIni->SectionExists("Style3"), c.kept);
    EXPECT_EQ(MainMenu().Item("SaveStyle3").caption, c.kept ? "Warning" : "3");
  }
}

TEST_F(ColourCommandsTest, APhoneNumberBecomesItsScript) {
  Open("contact.htm", "<p>Call 01632 960123 today</p>\r\n");
  struct Case {
    const char* selected;
    const char* message;
  } refused[] = {
      {"", "First highlight the phone number to be encrypted."},
      {"1632 960123", "Phone number must be 12 characters with a space in position 6."},
      {"01632 96012", "Phone number must be 12 characters with a space in position 6."},
      {"Call 01632 9", "Phone number must be 12 characters with a space in position 6."},
  };
  const std::string before = Text();
  for (const Case& c : refused) {
    SCOPED_TRACE(c.selected);
    if (*c.selected) {
      SelectText(c.selected);
    } else {
      CurrentEditor->Select(3, 0);
    }
    Choose("EncPhone");
    EXPECT_EQ(Dialogs().Last().text, MessageText(c.message));
    EXPECT_EQ(Text(), before);
  }
  SelectText("01632 960123");
  ASSERT_TRUE(Choose("EncPhone"));
  EXPECT_EQ(Text(), "<p>Call <Script>EP('DDDDKOWJLPLL')</Script> today</p>\r\n");
}

}  // namespace
}  // namespace quorrel
