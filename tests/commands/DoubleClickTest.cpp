// A double click in the editor: the word it takes, and what becomes of it, on
// documents opened from real files.
#include "commands/DoubleClick.h"
#include "platform/Desktop.h"
#include "shell/Documents.h"
#include "shell/SaveTestKit.h"

namespace quorrel {
namespace {

using test::Dialogs;

TEST(ClickedWordTest, TheWordUnderTheCaret) {
  struct Case {
    const char* text;  // "|" marks the caret
    bool abc;
    const char* word;
    const char* selected;  // what the editor selects
  } cases[] = {
      {"<a href=\"file:///srv/my site/a|.htm\">", false, "/srv/my site/a.htm",
       "file:///srv/my site/a.htm"},
      {"<a href=\"fi|le:///srv/my site/a.htm\">", false, "/srv/my site/a.htm",
       "file:///srv/my site/a.htm"},
      {"background: url(images/a|.png);", false, "images/a.png", "images/a.png"},
      {"background: u|rl(images/a.png);", false, "images/a.png", "images/a.png"},
      {"(see ind|ex.html)", false, "index.html", "index.html"},
      {"at the end.htm|, then", false, "end.htm", "end.htm"},
      {"Read notes.txt|.", false, "notes.txt", "notes.txt"},
      {"x = 'pa|ge.htm';", false, "page.htm", "page.htm"},
      {"<img src=pic|.gif alt=x>", false, "pic.gif", "pic.gif"},
      {"http://host/p.php?a=|1&b=2 next", false, "http://host/p.php?a=1&b=2",
       "http://host/p.php?a=1&b=2"},
      {"N:http://abc.sf|.net/ is the site", true, "http://abc.sf.net/", "http://abc.sf.net/"},
      {"N:http://abc.sf|.net/", false, "N:http://abc.sf.net/", "N:http://abc.sf.net/"},
      {"Go to ww|w.example.org now", false, "www.example.org", "www.example.org"},
      {"\"m|y favourite page.htm\"", false, "my favourite page.htm", "my favourite page.htm"},
      // Inside quotes that are no attribute's value, a later word stands alone.
      {"\"my fa|vourite page.htm\"", false, "favourite", "favourite"},
      {"one\ntw|o\nthree", false, "two", "two"},
      {"|", false, "", ""},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    const size_t caret = text.find('|');
    text.erase(caret, 1);
    const TClickedWord w = ClickedWord(text, caret, c.abc);
    EXPECT_EQ(w.word, c.word) << c.text;
    EXPECT_EQ(text.substr(w.start, w.length), c.selected) << c.text;
  }
}

// A desktop that records what the file manager was asked to show.
class RecordingDesktop : public TDesktop {
 public:
  void SetClipboardText(const std::string&) override {}
  std::string ClipboardText() override { return {}; }
  bool PrinterSetup() override { return false; }
  bool ShowInFileManager(const std::string& path) override {
    shown.push_back(path);
    return true;
  }
  std::vector<std::string> shown;
};

class DoubleClickTest : public test::SaveFixture {
 protected:
  void SetUp() override {
    SaveFixture::SetUp();
    SetBrowserWait([this](int ms) { waits.push_back(ms); });
    SetDesktop(&desktop);
  }
  void TearDown() override {
    SetBrowserWait(nullptr);
    SetDesktop(nullptr);
    SaveFixture::TearDown();
  }
  // A double click on the first occurrence of a text (the caret at its start, as
  // the control leaves it after selecting the word).
  void DoubleClickOn(const std::string& what, size_t into = 0) {
    const std::string text = CurrentEditor->GetText();
    const size_t at = text.find(what);
    ASSERT_NE(at, std::string::npos) << what;
    CurrentEditor->Select(CurrentEditor->OffsetToPos(at + into), 0);
    RichDblClick();
  }

  RecordingDesktop desktop;
  std::vector<int> waits;
};

TEST_F(DoubleClickTest, AddressesGoToTheBrowser) {
  Open("links.htm", "<p>See www.example.org or ftp://ftp.example.org/pub.</p>\r\n");
  DoubleClickOn("www.example.org", 4);
  EXPECT_EQ(launched, std::vector<std::string>{"http://www.example.org"});
  EXPECT_EQ(waits, std::vector<int>{BrowserStartMs});
  EXPECT_NE(window.StatusText(MessagePanel).find("Running browser..."), std::string::npos);
  EXPECT_EQ(CurrentEditor->SelText(), "www.example.org");
  DoubleClickOn("ftp://");
  EXPECT_EQ(launched.back(), "ftp://ftp.example.org/pub");
}

TEST_F(DoubleClickTest, FilesOpenInTabsOrWithTheirProgram) {
  Write("my notes.txt", "notes\r\n");
  Write("Guide.PDF", "%PDF-1.4\r\n");
  Write("logo.png", "png");
  Open("index.htm",
       "<a href=\"my notes.txt\">n</a> <a href=\"guide.pdf\">g</a> <img src=\"logo.png\">\r\n"
       "<a href=\"gone.htm\">x</a> <a href=\"mailto:me@example.org\">m</a>\r\n");
  DoubleClickOn("my notes");
  EXPECT_EQ(CurrentFileName, site + "my notes.txt");
  EXPECT_EQ(window.TabCount(), 2);

  window.ActivateTab(0);
  PCChange();
  DoubleClickOn("guide.pdf");
  EXPECT_EQ(launched, std::vector<std::string>{site + "Guide.PDF"}) << "found in any case";
  EXPECT_NE(window.StatusText(MessagePanel).find("Running external application..."),
            std::string::npos);
  DoubleClickOn("logo.png");
  EXPECT_EQ(launched.back(), site + "logo.png");

  DoubleClickOn("gone.htm");
  EXPECT_EQ(Dialogs().Last().text, site + "gone.htm\rFile not found.");
  // An e-mail address is no file.
  Dialogs().Clear();
  DoubleClickOn("me@example.org");
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_EQ(window.TabCount(), 2);
}

TEST_F(DoubleClickTest, NetworkPathsGoToTheFileManager) {
  Open("shares.txt", "\\\\server\\share\\report.doc and //nas/music/a.mp3\r\n");
  DoubleClickOn("\\\\server");
  DoubleClickOn("//nas", 3);
  EXPECT_EQ(desktop.shown,
            (std::vector<std::string>{"smb://server/share/report.doc", "smb://nas/music/a.mp3"}));
  EXPECT_TRUE(launched.empty()) << "nothing is run";
}

TEST_F(DoubleClickTest, AColourValueRunsTheColourCommand) {
  MainMenu().SetHandler("ColourD", [](const TMenuItem&) {});
  Open("style.css", "p { color: #abc; }\r\n");
  Dialogs().AnswerColour(0x0000FF);
  DoubleClickOn("abc");
  EXPECT_EQ(Dialogs().ColourCalls().size(), 1u);
  EXPECT_NE(CurrentEditor->GetText().find("p { color: #FF0000; }"), std::string::npos);
  EXPECT_TRUE(launched.empty());
}

}  // namespace
}  // namespace quorrel
