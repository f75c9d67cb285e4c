#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "commands/OpenDocs.h"
#include "commands/OpenSteps.h"
#include "commands/StartUp.h"
#include "platform/Abort.h"
#include "platform/IniFile.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "shell/Backups.h"
#include "shell/Closing.h"
#include "shell/Documents.h"
#include "shell/DocumentsOpen.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/Scrambled.h"
#include "shell/ShellState.h"
#include "support/Installed.h"
#include "support/MemoryMainWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "validate/ValUnit.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every line end as CR LF, as a document's working copy has them.
std::string WithCrLf(const std::string& bytes) {
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    out += bytes[i] == '\r' || bytes[i] == '\n' ? std::string("\r\n") : std::string(1, bytes[i]);
  }
  return out;
}

// A page whose head begins a line, so that opening it does not re-format it.
std::string Page(const std::string& body) {
  return "<html>\r\n<head>\r\n</head>\r\n<body>" + body + "</body>\r\n</html>\r\n";
}
std::string PageLf(const std::string& body) {
  return "<html>\n<head>\n</head>\n<body>" + body + "</body>\n</html>\n";
}

class OpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMainWindow(&window);
    // Outside the temporary folders, so that the documents count as a site's.
    char pattern[] = "/dev/shm/quorrel-site-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    site = made ? std::string(made) + "/"
                : (fs::current_path() / ("open-site-" + std::to_string(::getpid()))).string() + "/";
    fs::create_directories(site);
    SettingsIni = std::make_unique<TIniFile>(test::TestHome() + "open-settings.ini");
    SetShellOpener([this](const std::string& target) {
      launched.push_back(target);
      return true;
    });
    InstallOpenCommands();
  }
  void TearDown() override {
    SetMainWindow(nullptr);
    SettingsIni.reset();
    fs::remove(test::TestHome() + "open-settings.ini");
    fs::remove_all(site);
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    fs::create_directories(fs::path(site + name).parent_path());
    std::ofstream(site + name, std::ios::binary) << bytes;
    return site + name;
  }
  std::vector<std::string> Texts() const { return Dialogs().Texts(); }
  bool Shown(const std::string& text) const {
    for (const auto& t : Texts()) {
      if (t == text) return true;
    }
    return false;
  }

  test::MemoryMainWindow window;
  std::string site;
  std::vector<std::string> launched;
};

TEST_F(OpenTest, NewItemsOpenTheirKindOfDocumentInANewTab) {
  bool tuneAsked = false;
  MainMenu().SetHandler("NewTune", [&](const TMenuItem&) { tuneAsked = true; });
  ASSERT_TRUE(MainMenu().Click("NewHTM"));
  EXPECT_EQ(CurrentFileName, "Untitled.htm");
  EXPECT_TRUE(IsHtml);
  EXPECT_EQ(CurrentText,
            "<HTML>\n<Head>\n  <Title>Untitled page</Title>\n</Head>\n<Body>\n</Body>\n</HTML>\n");
  EXPECT_EQ(CurrentEditor->SelStart(), 0u);
  EXPECT_FALSE(CurrentEditor->Modified());

  SettingsIni->WriteString("Text", "RTFFont", "Verdana");
  struct Case {
    const char* item;
    const char* path;
    bool plain;
    const char* font;
  } cases[] = {
      {"NewTXT", "Untitled.txt", true, ""},
      {"NewRTF", "Untitled.rtf", false, "Verdana"},
      {"NewSCR", "Untitled.scr", false, "MS Sans Serif"},
      {"NewABC", "Untitled.abc", true, ""},
  };
  int tabs = 1;
  for (const auto& c : cases) {
    ASSERT_TRUE(MainMenu().Click(c.item)) << c.item;
    EXPECT_EQ(window.TabCount(), ++tabs) << c.item;
    EXPECT_EQ(CurrentFileName, c.path);
    EXPECT_EQ(CurrentEditor->PlainText(), c.plain) << c.item;
    if (*c.font) {
      EXPECT_EQ(window.Editor(tabs - 1).FontName(), c.font) << c.item;
    }
  }
  EXPECT_TRUE(tuneAsked) << "a new tune document runs the new-tune command";
  window.ActivateTab(3);
  CurrentEditor = window.TabEditor(3);
  EXPECT_NE(CurrentEditor->GetText().find("A play for radio by"), std::string::npos);
  EXPECT_NE(CurrentEditor->GetText().find("CHAR:\tDescription..."), std::string::npos);
}

TEST_F(OpenTest, CopyFromTakesTheSitesTemplateIntoTheCurrentTab) {
  OpenThis(Write("index.htm", Page("home")));
  HighestFolder = site;
  MainMenu().Click("CopyFrom");
  EXPECT_TRUE(Shown(site + "Template.htm\rdoes not exist."));
  EXPECT_EQ(window.TabCount(), 1);

  Write("template.HTM", Page("from the template"));
  ASSERT_TRUE(MainMenu().Click("CopyFrom"));
  EXPECT_EQ(window.TabCount(), 1) << "Copy from... replaces the current document";
  EXPECT_EQ(CurrentFileName, "Untitled.htm");
  EXPECT_EQ(CurrentText, PageLf("from the template"));
}

TEST_F(OpenTest, AnOpenDocumentIsShownNotOpenedTwice) {
  const std::string a = Write("a.txt", "a\r\n");
  OpenThis(a);
  OpenThis(Write("b.txt", "b\r\n"));
  window.HideSplash();
  OpenThis(a);
  EXPECT_EQ(window.TabCount(), 2);
  EXPECT_EQ(window.ActiveTab(), 0);
  EXPECT_EQ(CurrentFileName, a);
  EXPECT_EQ(window.StatusText(MessagePanel), "  File already open");
}

TEST_F(OpenTest, TheFortyFirstTabIsRefusedUntilCloseAll) {
  for (int i = 0; i < MaxTabs; ++i) OpenThis(Write("t" + std::to_string(i) + ".txt", "x\r\n"));
  ASSERT_TRUE(CloseClick("CloseTab"));
  EXPECT_EQ(window.TabCount(), MaxTabs - 1);
  EXPECT_THROW(OpenThis(Write("one-more.txt", "y\r\n")), EAbort);
  EXPECT_EQ(Dialogs().Last().text,
            "Too many tabs have been opened!\rClose some if there are still many open, come out "
            "of Quorrel and try again.");
  EXPECT_EQ(window.TabCount(), MaxTabs - 1);
  ASSERT_TRUE(CloseAllClick("CloseAll"));
  OpenThis(site + "one-more.txt");
  EXPECT_EQ(window.TabCount(), 1);
  EXPECT_EQ(OpenFiles(), std::vector<std::string>{site + "one-more.txt"});
}

TEST_F(OpenTest, EachTabKeepsItsOwnRecordAndAnotherDocumentStartsAFreshOne) {
  const std::string a = Write("a.htm", Page("a"));
  const std::string b = Write("b.htm", Page("b"));
  OpenThis(a);
  OpenThis(b);
  ASSERT_EQ(OpenFiles(), (std::vector<std::string>{a, b}));
  EXPECT_EQ(Documents[0].FileAge, FileAge(a));
  EXPECT_EQ(Documents[1].Type.ext, ".HTM");

  // The current document's names are its tab's record.
  window.ActivateTab(0);
  PCChange();
  EXPECT_EQ(CurrentSlot(), 0);
  EXPECT_EQ(CurrentFileName, a);
  Documents[0].ServerFileDate = 46000;  // as the server listed it

  // Another file in the same tab: nothing of a's record carries over, so its own
  // server copy is looked for instead of a's being shown.
  const std::string c = Write("c.txt", "c\r\n");
  Dialogs().AnswerPath(c);
  ASSERT_TRUE(MainMenu().Click("Open"));
  ASSERT_EQ(OpenFiles(), (std::vector<std::string>{c, b}));
  EXPECT_EQ(Documents[0].ServerFileDate, ServerDateUnknown);
  EXPECT_EQ(Documents[0].Type.ext, ".TXT");
  EXPECT_EQ(Documents[1].FileAge, FileAge(b)) << "the other tab's record stands";

  // The same file again keeps what is known of it.
  Documents[0].ServerFileDate = 46001;
  ASSERT_TRUE(MainMenu().Click("Reload"));
  EXPECT_EQ(Documents[0].ServerFileDate, 46001);

  // Close others: the kept document's record, server date and all, is slot 0.
  window.ActivateTab(1);
  PCChange();
  Documents[1].ServerFileDate = 46002;
  ASSERT_TRUE(CloseAllClick("CloseOthers"));
  ASSERT_EQ(OpenFiles(), std::vector<std::string>{b});
  EXPECT_EQ(Documents[0].ServerFileDate, 46002);
  EXPECT_EQ(Documents[0].FileAge, FileAge(b));
  EXPECT_EQ(CurrentFileName, b);

  // After Close all the first new tab takes slot 0 with a record of its own.
  ASSERT_TRUE(CloseAllClick("CloseAll"));
  OpenThis(a);
  ASSERT_EQ(OpenFiles(), std::vector<std::string>{a});
  EXPECT_EQ(Documents[0].ServerFileDate, ServerDateUnknown);
}

TEST_F(OpenTest, OpenReusesTheCurrentTabButNeverLosesEdits) {
  OpenThis(Write("a.txt", "a\r\n"));
  const std::string b = Write("b.txt", "bee\r\n");
  Dialogs().AnswerPath(b);
  ASSERT_TRUE(MainMenu().Click("Open"));
  EXPECT_EQ(Dialogs().PathCalls().at(0).call.title, "File to be opened");
  EXPECT_EQ(window.TabCount(), 1);
  EXPECT_EQ(OpenFiles(), std::vector<std::string>{b});
  EXPECT_EQ(CurrentText, "bee\r\n");

  CurrentEditor->SetSelText("edited ");
  Dialogs().AnswerPath(Write("c.txt", "c\r\n"));
  Dialogs().Answer(mrCancel);
  MainMenu().Click("Open");
  EXPECT_EQ(Dialogs().Last().text, "Save changes to " + b + "?");
  EXPECT_EQ(CurrentFileName, b);
  EXPECT_EQ(CurrentEditor->GetText(), "edited bee\r\n");

  Dialogs().CancelPath();
  MainMenu().Click("OpenTab");
  EXPECT_EQ(window.TabCount(), 1);
}

TEST_F(OpenTest, AMissingFileMayComeBackFromItsBackUp) {
  const std::string path = site + "gone.htm";
  Write("gone.htm.Bak", Page("kept"));
  Dialogs().Answer(mrYes);
  OpenThis(path);
  EXPECT_EQ(Texts().at(0), path + " not found.  Restore from back-up file?");
  EXPECT_EQ(Slurp(path), Page("kept"));
  EXPECT_EQ(CurrentText, PageLf("kept"));

  const std::string never = site + "never.txt";
  OpenThis(never);
  EXPECT_EQ(Dialogs().Last().text, "File not found:\r" + never);
  EXPECT_EQ(window.TabCount(), 2) << "the new document stays, empty";
  EXPECT_EQ(CurrentEditor->GetText(), "");
  EXPECT_FALSE(fs::exists(never));
}

TEST_F(OpenTest, AZeroByteOffersTheSlowRead) {
  const std::string path = Write("zero.txt", std::string("ab\0cd\r\nef\r\n", 11));
  Dialogs().Answer(mrYes);
  OpenThis(path);
  ASSERT_GE(Dialogs().Calls().size(), 2u);
  EXPECT_EQ(Dialogs().Calls()[0].text, "File size discrepancy.  Use slow read?");
  EXPECT_EQ(Dialogs().Calls()[0].helpContext, 20210);
  EXPECT_EQ(Dialogs().Calls()[1].text, "X'00' byte(s) in input file.\r\rDO NOT SAVE!");
  EXPECT_EQ(CurrentText,
            "ab\x01"
            "cd\r\nef\r\n");

  // A real message catalogue, declined: the text ends at the zero byte.
  Dialogs().Clear();
  Dialogs().Answer(mrNo);
  ASSERT_TRUE(test::Installed("/usr/share/locale/de/LC_MESSAGES/apt.mo", "apt"));
  OpenThis("/usr/share/locale/de/LC_MESSAGES/apt.mo");
  EXPECT_EQ(Dialogs().Last().text, "File size discrepancy.  Use slow read?");
  EXPECT_EQ(CurrentText.find('\x01'), std::string::npos);
}

// The zero byte the program writes after an RTF file's closing brace is its end,
// and a binary file is read as it is: neither meets the slow read's question.
TEST_F(OpenTest, RtfEndMarkAndBinaryFilesTakeNoSlowRead) {
  const std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}}\r\n"
      "\\viewkind4\\uc1\\pard\\f0\\fs24 Saved \\b text\\b0\r\n\\par }\r\n";
  struct Case {
    const char* name;
    std::string bytes;
    std::string text;  // CurrentText once open
  };
  const std::vector<Case> cases = {
      {"saved.rtf", rtf + std::string(1, '\0'), "Saved text\r\n"},
      {"old.RTF", rtf + std::string(2, '\0'), "Saved text\r\n"},
      {"pic.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Dialogs().Clear();
    OpenThis(Write(c.name, c.bytes));
    EXPECT_TRUE(Texts().empty()) << Texts().front();
    if (!c.text.empty()) {
      EXPECT_EQ(CurrentText, c.text);
    }
    EXPECT_FALSE(CurrentEditor->Modified());
  }
}

TEST_F(OpenTest, LinuxTextFilesLoadUnchanged) {
  // LF line ends, far more than 127 lines: no size question.
  const std::string gpl = test::InstalledFile("/usr/share/common-licenses/GPL-3", "base-files");
  OpenThis(Write("gpl-3.txt", gpl));
  EXPECT_EQ(CurrentText, WithCrLf(gpl));
  // UTF-8 letters whose second byte is A0 ("à") are no pseudo-blanks.
  const std::string copyright =
      test::InstalledFile("/usr/share/doc/adwaita-icon-theme/copyright", "adwaita-icon-theme");
  ASSERT_NE(copyright.find("\xC3\xA0"), std::string::npos);
  OpenThis(Write("copyright.cfg", copyright));
  EXPECT_EQ(CurrentText, WithCrLf(copyright));
  // An empty first line is a line too, and a text without a final line end gets one.
  OpenThis(Write("blank-first.txt", "\r\nBugs\r\n\r\n"));
  EXPECT_EQ(CurrentText, "\r\nBugs\r\n\r\n");
  OpenThis(Write("no-end.txt", "a\nb"));
  EXPECT_EQ(CurrentText, "a\r\nb\r\n");
  EXPECT_TRUE(Dialogs().Calls().empty()) << Dialogs().Last().text;
}

TEST_F(OpenTest, Utf8PunctuationOfTextFilesAndPagesIsMadePlain) {
  const std::string triggers = "/usr/share/doc/dpkg/spec/triggers.txt";
  ASSERT_NE(test::InstalledFile(triggers, "dpkg-dev").find("\xE2\x80"), std::string::npos);
  OpenThis(triggers);
  EXPECT_EQ(CurrentText.find("\xE2\x80"), std::string::npos);
  EXPECT_FALSE(CurrentEditor->Modified());
  OpenThis(Write("quote.htm", Page("it\xE2\x80\x99s \xE2\x80\x94 so")));
  EXPECT_EQ(CurrentText, PageLf("it&rsquo;s &mdash; so"));
  OpenRawClick();
  EXPECT_EQ(CurrentText, PageLf("it\xE2\x80\x99s \xE2\x80\x94 so")) << "Open Raw converts nothing";
}

TEST_F(OpenTest, PseudoBlanksInASiteAreAskedAbout) {
  Dialogs().Answer({mrNo, mrYes});
  OpenThis(Write("nbsp.htm", Page("a\xA0"
                                  "b")));
  EXPECT_EQ(Texts().at(0),
            "Replace \"\xC2\" (hex C2), or hex A0 pseudo-blanks by real blanks,\rstarting at "
            "offset 30?");
  EXPECT_EQ(CurrentText, PageLf("a&nbsp;b"));
  EXPECT_EQ(Slurp(site + "nbsp.htm"), Page("a\xA0"
                                           "b"))
      << "the file is untouched";
}

TEST_F(OpenTest, Utf16InEitherByteOrderBecomesText) {
  const std::string le("\xFF\xFEh\0i\0\r\0\n\0\xAC\x20\r\0\n\0", 16);
  const std::string be("\xFE\xFF\0h\0i\0\r\0\n\x20\xAC\0\r\0\n", 16);
  for (const std::string& bytes : {le, be}) {
    Dialogs().Clear();
    OpenThis(Write(bytes == le ? "le.txt" : "be.txt", bytes));
    EXPECT_EQ(Dialogs().Last().text,
              "Quorrel does not support Double-byte character set (Unicode).\rConverting to "
              "normal text.");
    EXPECT_EQ(CurrentText, "hi\r\n\x80\r\n");
    EXPECT_FALSE(CurrentEditor->Modified());
  }
}

TEST_F(OpenTest, AScrambledDocumentAsksItsPasswordOrIsNotOpened) {
  const std::string path =
      Write("secret.txt", ScrambleDocumentBytes("the plan\r\n", DeriveScrambleKey("pw")));
  Dialogs().AnswerText("pw");
  OpenThis(path);
  EXPECT_EQ(CurrentText, "the plan\r\n");
  EXPECT_EQ(window.TabHelpContext(0), 1);

  ResetScrambled();
  Dialogs().CancelText();
  fs::copy_file(path, site + "secret2.txt");
  EXPECT_THROW(OpenInNewTab(site + "secret2.txt"), EAbort);
  EXPECT_EQ(window.TabCount(), 1) << "the failed load's tab is freed";
  EXPECT_EQ(OpenFiles().back(), "") << "and its slot blanked";
}

TEST_F(OpenTest, PagesWhoseHeadDoesNotBeginALineAreReformatted) {
  const std::string vorbisPage = "/usr/share/doc/libvorbis-dev/html/stereo.html";
  ASSERT_TRUE(test::Installed(vorbisPage, "libvorbis-dev"));
  struct Case {
    std::string path;
    bool reformatted;
  } cases[] = {
      {Write("one-line.htm",
             "<html><head><title>t</title></head><body><h1>t</h1></body></html>\r\n"),
       true},
      {Write("upper.HTML", "<HTML>\r\n<HEAD>\r\n</HEAD>\r\n</HTML>\r\n"), false},
      {vorbisPage, false},
      {Write("one-line.css", "a{color:red}\r\n"), true},
      {Write("spaced.css", "a {color:red}\r\n"), false},
      {Write("kept.css", "/* NoReformat */a{color:red}\r\n"), false},
  };
  for (const auto& c : cases) {
    ValidationPass = 0;
    OpenThis(c.path);
    EXPECT_EQ(ValidationPass > 0, c.reformatted) << c.path;
    EXPECT_FALSE(CurrentEditor->Modified()) << c.path;
  }
  ValidationPass = 0;
  CurrentFileName = site + "one-line.htm";
  OpenRawClick();
  EXPECT_EQ(ValidationPass, 0) << "Open Raw does not re-format";
}

TEST_F(OpenTest, BinaryFilesAskWhetherToRunSaveOrOpenThem) {
  AppPhase = 1;
  const std::string pdf = Write("leaflet.pdf", "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
  Dialogs().Answer(mrYes);
  OpenThis(pdf);
  EXPECT_EQ(Dialogs().Last().kind, DialogKind::Custom);
  EXPECT_EQ(Dialogs().Last().text, "Run this file using its default program?");
  EXPECT_EQ(Dialogs().Last().buttons, (std::vector<std::string>{"&Run", "&Open as text", "&Save"}));
  EXPECT_EQ(launched, std::vector<std::string>{pdf});
  EXPECT_EQ(window.TabCount(), 0);

  Dialogs().Answer(mrCancel);
  Dialogs().AnswerPath(site + "copy.pdf");
  OpenThis(pdf);
  EXPECT_EQ(Dialogs().PathCalls().back().call.filter, ".pdf files|*.pdf|All files|*.*");
  EXPECT_EQ(Dialogs().PathCalls().back().call.title, "Save as");
  EXPECT_EQ(Slurp(site + "copy.pdf"), Slurp(pdf));
  EXPECT_NE(Dialogs().Last().text.find(site + "copy.pdf saved."), std::string::npos);
  EXPECT_EQ(window.TabCount(), 0);

  // Saving it over itself leaves it whole.
  Dialogs().Answer(mrCancel);
  Dialogs().AnswerPath(pdf);
  OpenThis(pdf);
  EXPECT_EQ(Slurp(pdf), "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");

  Dialogs().Answer(mrNo);
  OpenThis(pdf);
  EXPECT_EQ(window.TabCount(), 1);
  EXPECT_EQ(CurrentText.substr(0, 8), "%PDF-1.4");
  const size_t asked = Dialogs().Calls().size();
  OpenRawClick();
  EXPECT_EQ(Dialogs().Calls().size(), asked) << "Open Raw does not ask";
}

TEST_F(OpenTest, RtfOpensFormattedReloadKeepsTheCaretAndOpenRawShowsCodes) {
  const std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fnil\\fcharset0 "
      "Arial;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 First paragraph here\r\n\\par Second\r\n\\par "
      "}\r\n";
  OpenThis(Write("doc.rtf", rtf));
  EXPECT_FALSE(CurrentEditor->PlainText());
  EXPECT_EQ(CurrentText.substr(0, 20), "First paragraph here");
  CurrentEditor->Select(6, 0);
  ASSERT_TRUE(MainMenu().Click("Reload"));
  EXPECT_EQ(CurrentEditor->SelStart(), 6u);
  ASSERT_TRUE(MainMenu().Click("OpenRaw"));
  EXPECT_TRUE(CurrentEditor->PlainText());
  EXPECT_EQ(CurrentText, rtf);
  EXPECT_EQ(window.TabCount(), 1);
}

TEST_F(OpenTest, RecentItemsOpenANewTabWithTheirCaret) {
  const std::string a = Write("a.txt", "a\r\n");
  const std::string b = Write("b.txt", "0123456789\r\n");
  OpenThis(a);
  SettingsIni->WriteString("Closed", "0", b + "|4");
  FillRecentMenu();
  ASSERT_TRUE(MainMenu().Click("Recent0"));
  EXPECT_EQ(window.TabCount(), 2) << "even the item of tag 0 opens a tab";
  EXPECT_EQ(CurrentFileName, b);
  EXPECT_EQ(CurrentEditor->SelStart(), 4u) << "the newest closed entry, key 0, counts";
}

TEST_F(OpenTest, RtfCodesInAnotherDocumentAreOfferedAsRtf) {
  const std::string path = Write("letter.txt", "{\\rtf1\\ansi Hello}\r\n");
  Dialogs().Answer(mrNo);
  OpenThis(path);
  EXPECT_EQ(Dialogs().Last().text, path + "\ris in RTF format.  Save as plain text?");
  EXPECT_EQ(CurrentFileName, site + "letter.RTF");
  EXPECT_EQ(OpenFiles().back(), site + "letter.RTF");
  EXPECT_TRUE(fs::exists(path)) << "renamed in memory only";
}

TEST_F(OpenTest, TheUsersReadOnlyFileInASiteIsMadeWritableWhenAgreed) {
  const std::string path = Write("locked.htm", Page("x"));
  ::chmod(path.c_str(), 0444);
  Dialogs().Answer(mrNo);
  OpenThis(path);
  EXPECT_EQ(Texts().at(0), path + " is read-only.\r\rChange to read-write?");
  struct stat st;
  ::stat(path.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0444u);
  CloseAllClick("");
  Dialogs().Answer(mrYes);
  OpenThis(path);
  ::stat(path.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST_F(OpenTest, OpenTextShowsTheNewestText) {
  OpenText("first\r\n");
  OpenText("second\r\n");
  EXPECT_EQ(window.TabCount(), 1);
  EXPECT_EQ(CurrentText, "second\r\n");
  EXPECT_EQ(ExtractFileName(CurrentFileName), "Quorrel.txt");
}

TEST_F(OpenTest, CompareNeedsTheBackUp) {
  const std::string path = Write("page.htm", Page("x"));
  OpenThis(path);
  FileMenuClick();
  EXPECT_FALSE(MainMenu().Item("Compare").enabled);
  Write("page.htm.Bak", Page("old"));
  FileMenuClick();
  EXPECT_TRUE(MainMenu().Item("Compare").enabled);
}

TEST_F(OpenTest, LoginPagesShowTheLoginItem) {
  EXPECT_FALSE(MainMenu().Item("Login").visible);
  OpenThis(Write("members/Login.php", "<?php ?>\r\n"));
  EXPECT_TRUE(MainMenu().Item("Login").visible);
  EXPECT_EQ(LoginPage, site + "members/Login.php");
}

}  // namespace
}  // namespace quorrel
