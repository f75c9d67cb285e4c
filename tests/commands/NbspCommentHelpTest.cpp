// Add nbsp, Comment out, Colour syntax, Validate all's mask, the php.ini lookup, the
// MIDI controller list and Login, on real pages and programs.
#include <alsa/asoundef.h>

#include <QProcess>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "commands/HelpMenuCommands.h"
#include "edit/NbspAndComments.h"
#include "music/MidiControllers.h"
#include "platform/Help.h"
#include "shell/Hooks.h"
#include "shell/SaveTestKit.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Every stretch of the text from an opening to a closing mark (ignoring case).
std::vector<std::string> Blocks(const std::string& text, const std::string& open,
                                const std::string& close) {
  std::vector<std::string> blocks;
  const std::regex pattern(open + "[\\s\\S]*?" + close, std::regex::icase);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
       it != std::sregex_iterator(); ++it) {
    blocks.push_back(it->str());
  }
  return blocks;
}

class NbspCommentHelpTest : public test::SaveFixture {
 protected:
  void SetUp() override {
    SaveFixture::SetUp();
    MainMenu().SetHandler("AddNbsp", [](const TMenuItem&) { AddNbspClick(); });
    MainMenu().SetHandler("ConvCom", [](const TMenuItem&) { ConvComClick(); });
    InstallHelpMenuCommands();
  }
  void TearDown() override {
    GoBrowserHook.Set(nullptr);
    SaveFixture::TearDown();
  }
  void Choose(const std::string& item) { MainMenu().Click(item); }
  std::string Text() const { return CurrentEditor->GetText(); }
};

TEST(AddNbspToTextTest, SentenceEndsInTextOnly) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"<p>First. Two! Three? Four.</p>", "<p>First.&nbsp; Two!&nbsp; Three?&nbsp; Four.</p>"},
      {"<p>See St. Paul, No. 5, etc. Then.", "<p>See St. Paul, No. 5, etc. Then."},
      {"<p>Done.&nbsp; Next. &nbsp;x", "<p>Done.&nbsp; Next. &nbsp;x"},
      {"<p>End. </p> <span>a</span>. b. </span>", "<p>End. </p> <span>a</span>. b. </span>"},
      {"<p>Mail MX target. Here", "<p>Mail MX target. Here"},
      {"<p>Fine\xA0"
       "text. c",
       "<p>Fine text.&nbsp; c"},
      // Code keeps its bytes: tags, comments, scripts, styles, PRE, server script.
      {"<p title=\"A. B\">x. y", "<p title=\"A. B\">x.&nbsp; y"},
      {"<p>x <!-- a. b --> <script>q = a ? b : c; // Done. Next\n</script> z. w",
       "<p>x <!-- a. b --> <script>q = a ? b : c; // Done. Next\n</script> z.&nbsp; w"},
      {"<p><style>a. b{}</style><PRE>x. \xA0y</PRE><?php echo 'a. b'; ?><% x. y %>",
       "<p><style>a. b{}</style><PRE>x. \xA0y</PRE><?php echo 'a. b'; ?><% x. y %>"},
      {"<p>Unclosed <script>a. b", "<p>Unclosed <script>a. b"},
      // The first seven characters stay.
      {"A. B. C. D", "A. B. C.&nbsp; D"},
  };
  for (const Case& c : cases) EXPECT_EQ(AddNbspToText(c.in), c.out) << c.in;
}

TEST_F(NbspCommentHelpTest, AddNbspOnRealPagesLeavesCodeAlone) {
  const std::string opencl = FileText("/usr/share/doc/ocl-icd-libopencl1/html/libOpenCL.html");
  const std::string doctools = FileText("/usr/share/javascript/sphinxdoc/1.0/doctools.js");
  ASSERT_FALSE(opencl.empty());
  ASSERT_FALSE(doctools.empty());
  const std::string sphinx = "<html><body><p>It works. It is fast! Is it? Yes.</p>\n<script>\n" +
                             doctools + "\n</script>\n<p>St. Ives. No. 3. etc. and&nbsp;so.</p>\n";
  int n = 0;
  for (std::string page : {opencl, sphinx}) {
    Open("page" + std::to_string(++n) + ".htm", page);
    // The editor reads the text out with CR LF.
    page = std::regex_replace(page, std::regex("\r?\n"), "\r\n");
    Choose("AddNbsp");
    const std::string after = Text();
    ASSERT_NE(after, page);
    EXPECT_TRUE(CurrentEditor->Modified());
    for (const auto& [open, close] : std::vector<std::pair<std::string, std::string>>{
             {"<script", "</script>"}, {"<style", "</style>"}, {"<", ">"}}) {
      EXPECT_EQ(Blocks(after, open, close), Blocks(page, open, close)) << open;
    }
    EXPECT_EQ(after.find("? b") == std::string::npos, page.find("? b") == std::string::npos);
    Choose("Save");
  }
  EXPECT_NE(Text().find("It works.&nbsp; It is fast!&nbsp; Is it?&nbsp; Yes."), std::string::npos);
  EXPECT_NE(Text().find("St. Ives.&nbsp; No. 3.&nbsp; etc. and&nbsp;so."), std::string::npos);

  Open("notes.txt", "One. Two.");
  Choose("AddNbsp");
  EXPECT_EQ(Text(), "One. Two.");
}

TEST(CommentOutTest, EachLanguageItsOwnComment) {
  struct Case {
    TCommentKind kind;
    std::string block, out;
  } cases[] = {
      {TCommentKind::CSharp, "x = 1;\r\ny = 2;", "/*\r\nx = 1;\r\ny = 2;\r\n*/"},
      {TCommentKind::Html, "<p>a</p>", "<!--\r\n<p>a</p>\r\n-->"},
      {TCommentKind::LineSlashes, "$a = 1;\r\n$b = 2;", "// $a = 1;\r\n// $b = 2;"},
      {TCommentKind::LineSlashes, "$a = 1;\n$b = 2;", "// $a = 1;\n// $b = 2;"},
  };
  for (const Case& c : cases) EXPECT_EQ(CommentOut(c.block, c.kind), c.out) << c.block;
}

TEST_F(NbspCommentHelpTest, CommentOutFromTheMenuKeepsTheFinalLineEndOutside) {
  struct Case {
    const char* name;
    std::string text;
    int answer;  // to "Is this HTML?", 0 when not asked
    bool finalLineEnd;
    std::string out;
  } cases[] = {
      {"prog.cs", "x = 1;\r\ny = 2;\r\nz", 0, true, "/*\r\nx = 1;\r\ny = 2;\r\n*/\r\nz"},
      {"prog2.cs", "x = 1;\r\ny = 2;\r\nz", 0, false, "/*\r\nx = 1;\r\ny = 2;\r\n*/\r\nz"},
      {"page.php", "$a = 1;\r\n$b = 2;\r\nz", mrNo, true, "// $a = 1;\r\n// $b = 2;\r\nz"},
      {"page2.php", "<p>a</p>\r\nz", mrYes, true, "<!--\r\n<p>a</p>\r\n-->\r\nz"},
      {"page.htm", "<p>a</p>\r\n<p>b</p>\r\nz", 0, false,
       "<!--\r\n<p>a</p>\r\n<p>b</p>\r\n-->\r\nz"},
  };
  for (const Case& c : cases) {
    Open(c.name, c.text);
    const size_t z = CurrentEditor->GetText().rfind('z');
    // The lines before "z", with or without the line end before it.
    CurrentEditor->Select(0, CurrentEditor->OffsetToPos(z) - (c.finalLineEnd ? 0 : 1));
    Dialogs().Clear();
    if (c.answer) Dialogs().Answer(c.answer);
    Choose("ConvCom");
    EXPECT_EQ(Text(), c.out) << c.name;
    EXPECT_EQ(Dialogs().Calls().size(), c.answer ? 1u : 0u) << c.name;
  }
  CurrentEditor->Select(0, 0);
  Choose("ConvCom");
  EXPECT_EQ(Dialogs().Last().text, MessageText("You must highlight a block first."));
}

TEST(MidiControllersTest, NamesAgreeWithAlsa) {
  struct Case {
    int number;
    const char* word;
  } cases[] = {
      {MIDI_CTL_MSB_BANK, "Bank Select"},
      {MIDI_CTL_MSB_MODWHEEL, "Modulation"},
      {MIDI_CTL_MSB_BREATH, "Breath"},
      {MIDI_CTL_MSB_FOOT, "Foot"},
      {MIDI_CTL_MSB_PORTAMENTO_TIME, "Portamento Time"},
      {MIDI_CTL_MSB_DATA_ENTRY, "Data Entry"},
      {MIDI_CTL_MSB_MAIN_VOLUME, "Volume"},
      {MIDI_CTL_MSB_BALANCE, "Balance"},
      {MIDI_CTL_MSB_PAN, "Pan"},
      {MIDI_CTL_MSB_EXPRESSION, "Expression"},
      {MIDI_CTL_MSB_EFFECT1, "Effect Control 1"},
      {MIDI_CTL_MSB_EFFECT2, "Effect Control 2"},
      {MIDI_CTL_MSB_GENERAL_PURPOSE1, "General Purpose Controller 1"},
      {MIDI_CTL_MSB_GENERAL_PURPOSE4, "General Purpose Controller 4"},
      {MIDI_CTL_LSB_BANK, "LSB for Control 0"},
      {MIDI_CTL_LSB_MAIN_VOLUME, "LSB for Control 7"},
      {MIDI_CTL_LSB_GENERAL_PURPOSE4, "LSB for Control 19"},
      {MIDI_CTL_SUSTAIN, "Sustain"},
      {MIDI_CTL_PORTAMENTO, "Portamento on/off"},
      {MIDI_CTL_SOSTENUTO, "Sostenuto"},
      {MIDI_CTL_SOFT_PEDAL, "Soft Pedal"},
      {MIDI_CTL_LEGATO_FOOTSWITCH, "Legato"},
      {MIDI_CTL_HOLD2, "Hold 2"},
      {MIDI_CTL_SC1_SOUND_VARIATION, "Sound Variation"},
      {MIDI_CTL_SC2_TIMBRE, "Timbre"},
      {MIDI_CTL_SC3_RELEASE_TIME, "Release Time"},
      {MIDI_CTL_SC4_ATTACK_TIME, "Attack Time"},
      {MIDI_CTL_SC5_BRIGHTNESS, "Brightness"},
      {MIDI_CTL_SC6, "Sound Controller 6"},
      {MIDI_CTL_SC10, "Sound Controller 10"},
      {MIDI_CTL_GENERAL_PURPOSE5, "General Purpose Controller 5"},
      {MIDI_CTL_GENERAL_PURPOSE8, "General Purpose Controller 8"},
      {MIDI_CTL_PORTAMENTO_CONTROL, "Portamento Control"},
      {MIDI_CTL_E1_REVERB_DEPTH, "Reverb"},
      {MIDI_CTL_E2_TREMOLO_DEPTH, "Tremolo"},
      {MIDI_CTL_E3_CHORUS_DEPTH, "Chorus"},
      {MIDI_CTL_E4_DETUNE_DEPTH, "Detune"},
      {MIDI_CTL_E5_PHASER_DEPTH, "Phaser"},
      {MIDI_CTL_DATA_INCREMENT, "Data Increment"},
      {MIDI_CTL_DATA_DECREMENT, "Data Decrement"},
      {MIDI_CTL_NONREG_PARM_NUM_LSB, "Non-Registered Parameter Number (LSB)"},
      {MIDI_CTL_NONREG_PARM_NUM_MSB, "Non-Registered Parameter Number (MSB)"},
      {MIDI_CTL_REGIST_PARM_NUM_LSB, "Registered Parameter Number (LSB)"},
      {MIDI_CTL_REGIST_PARM_NUM_MSB, "Registered Parameter Number (MSB)"},
      {MIDI_CTL_ALL_SOUNDS_OFF, "All Sound Off"},
      {MIDI_CTL_RESET_CONTROLLERS, "Reset All"},
      {MIDI_CTL_LOCAL_CONTROL_SWITCH, "Local Control"},
      {MIDI_CTL_ALL_NOTES_OFF, "All Notes Off"},
      {MIDI_CTL_OMNI_OFF, "Omni Mode Off"},
      {MIDI_CTL_OMNI_ON, "Omni Mode On"},
      {MIDI_CTL_MONO1, "Mono Mode On"},
      {MIDI_CTL_MONO2, "Poly Mode On"},
  };
  for (const Case& c : cases) {
    EXPECT_NE(MidiControllerName(c.number).find(c.word), std::string::npos)
        << c.number << ": " << MidiControllerName(c.number);
  }
  for (int undefined : {3, 9, 14, 15, 20, 31, 85, 87, 89, 90, 102, 119}) {
    EXPECT_EQ(MidiControllerName(undefined), "Undefined") << undefined;
  }
}

TEST_F(NbspCommentHelpTest, ControllerNumbersOpenAsATextDocument) {
  Choose("AbcHelp8");
  const std::string text = Text();
  EXPECT_EQ(text.rfind("MIDI Controller Numbers\r\n", 0), 0u);
  EXPECT_NE(text.find("\r\n0\tBank Select (MSB)\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n64\tDamper Pedal on/off (Sustain)\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n127\tPoly Mode On"), std::string::npos);
}

TEST(FindPhpIniTest, TheFileThatPhpReads) {
  QProcess php;
  php.start("php", {"-r", "echo php_ini_loaded_file();"});
  ASSERT_TRUE(php.waitForFinished(10000));
  const std::string loaded = php.readAllStandardOutput().toStdString();
  ASSERT_FALSE(loaded.empty());
  EXPECT_EQ(FindPhpIni(), loaded);
  EXPECT_TRUE(fs::exists(FindPhpIni()));
}

TEST_F(NbspCommentHelpTest, LoginOpensTheRememberedPageLocally) {
  std::vector<std::pair<std::string, bool>> browsed;
  GoBrowserHook.Set([&](const std::string& address, bool internal) {
    browsed.push_back({address, internal});
  });
  EXPECT_FALSE(MainMenu().Item("Login").visible);
  const std::string path = Open("Login.php", "<?php echo 1; ?>");
  EXPECT_TRUE(MainMenu().Item("Login").visible);
  // The item gets its command with the preview browser; until then it is greyed.
  EXPECT_FALSE(MainMenu().Click("Login"));
  EXPECT_TRUE(browsed.empty());
  LoginClick();
  ASSERT_EQ(browsed.size(), 1u);
  EXPECT_EQ(browsed[0].first, path + "?Local=Y");
  EXPECT_TRUE(browsed[0].second);
}

TEST_F(NbspCommentHelpTest, HelpItemsOpenTheirTopics) {
  std::vector<int> topics;
  SetHelpViewer([&](int context) { topics.push_back(context); });
  for (const char* item :
       {"ShowHelp", "Welcome", "WhatsNew", "Overview", "DosCodes", "FtpCodes", "WinInetCodes"}) {
    Choose(item);
  }
  EXPECT_EQ(topics, (std::vector<int>{10000, 10200, 12000, 13000, 10910, 10920, 10930}));
  SetHelpViewer(nullptr);
  launched.clear();
  Choose("GsHelp");
  ASSERT_EQ(launched.size(), 1u);
  EXPECT_EQ(launched[0], fs::exists("/usr/share/doc/ghostscript/Use.htm")
                             ? "/usr/share/doc/ghostscript/Use.htm"
                             : "https://ghostscript.com/releases/");
}

}  // namespace
}  // namespace quorrel
