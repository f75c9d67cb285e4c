// Table row, Image, Link, Email and Website, chosen from their menu items on pages
// of a real site folder, with the parts they are built from.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "commands/InsertCommands.h"
#include "commands/LinkCommand.h"
#include "commands/TextInserts.h"
#include "platform/Desktop.h"
#include "publish/OpenUnit.h"
#include "shell/LinkPick.h"
#include "shell/SaveTestKit.h"
#include "shell/SiteState.h"
#include "support/RtfConformance.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using test::OurRtf;

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RtfConformance);

class InsertCommandsTest : public test::SaveFixture {
 protected:
  void SetUp() override {
    SaveFixture::SetUp();
    InstallInsertCommands();
    SetLinkForm(
        [this](const std::string& caption, const std::vector<std::string>& entries, int help) {
          picks.push_back({caption, entries, help});
          if (pickAnswer < 0) return false;
          ChosenLink = entries.at(static_cast<size_t>(pickAnswer));
          return true;
        });
  }
  void TearDown() override {
    SetLinkForm(nullptr);
    SaveFixture::TearDown();
  }
  // Opens a document with the caret at the place of its text marked "|", or at
  // its end; a second "|" ends a selection.
  void OpenAt(const std::string& name, const std::string& bytes) {
    std::string text = bytes;
    const size_t from = text.find('|');
    size_t to = std::string::npos;
    if (from != std::string::npos) {
      text.erase(from, 1);
      to = text.find('|', from);
      if (to != std::string::npos) text.erase(to, 1);
    }
    Open(name, text);
    InSite();
    if (from == std::string::npos) {
      CurrentEditor->Select(CurrentEditor->TextLength(), 0);
      return;
    }
    const size_t start = PositionsOf(text.substr(0, from));
    const size_t end = to == std::string::npos ? start : PositionsOf(text.substr(0, to));
    CurrentEditor->Select(start, end - start);
  }
  // The site's details were found in its top folder.
  void InSite() { SiteFolder = site; }
  void Choose(const std::string& item) { MainMenu().Click(item); }
  std::string Text() const { return CurrentEditor->GetText(); }
  // The text with "|" at the caret.
  std::string TextAndCaret() const {
    std::string text = Text();
    text.insert(CurrentEditor->PosToOffset(CurrentEditor->SelStart()), "|");
    return text;
  }
  std::string Folder(const std::string& name) {
    fs::create_directories(site + name);
    return site + name + "/";
  }

  struct Pick {
    std::string caption;
    std::vector<std::string> entries;
    int help;
  };
  std::vector<Pick> picks;
  int pickAnswer = -1;  // the entry the user clicks; -1 closes the list
};

// ---- Table row --------------------------------------------------------------------

TEST(TableRowPlaceTest, RowOfTheFirstRowsCellsBeforeTheNextRow) {
  const std::string table =
      "<Table>\n<TR><TH>a</TH><TH>b</TH></TR>\n<TR><TD>1</TD><TD>2</TD><TD>3</TD></TR>\n"
      "<TR><TD>4</TD><TD>5</TD><TD>6</TD></TR>\n</Table>\n";
  struct Case {
    const char* text;
    const char* caretAfter;  // the caret just after this text's first occurrence
    const char* row;
    const char* insertedBefore;  // the text that follows the new row
    const char* error;
  } cases[] = {
      // The three-cell row: three empty cells after it; the header's cells are not counted.
      {table.c_str(), "<TD>2", "<TR><TD></TD><TD></TD><TD></TD></TR>\n", "<TR><TD>4", ""},
      // In the last row: before the table's end.
      {table.c_str(), "<TD>5", "<TR><TD></TD><TD></TD><TD></TD></TR>\n", "</Table>", ""},
      {"<table><tr><td>x</td><td>y</td></tr></table>", "x", "<TR><TD></TD><TD></TD></TR>\n",
       "</table>", ""},
      {"<p>text</p>\n<Table><TR><TD>1</TD></TR></Table>", "text", "", "",
       "Cursor not within table"},
      // After one table and before the next is not within a table.
      {"<Table><TR><TD>1</TD></TR></Table>\n<p>between</p>\n<Table><TR><TD>2</TD></TR></Table>",
       "between", "", "", "Cursor not within table"},
      {"<Table><TR><TH>only heads</TH></TR></Table>", "only", "", "", "No <TD> found"},
      // A cell of the next table does not count for this one.
      {"<Table><TR><TH>h|</TH></TR></Table><Table><TR><TD>1</TD></TR></Table>", "h|", "", "",
       "No <TD> found"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caretAfter);
    const std::string text = c.text;
    const size_t caret = text.find(c.caretAfter) + std::strlen(c.caretAfter);
    const TTableRowPlace place = TableRowPlace(text, caret);
    EXPECT_EQ(place.error, c.error);
    EXPECT_EQ(place.row, c.row);
    if (*c.insertedBefore) {
      EXPECT_EQ(place.offset, text.find(c.insertedBefore, caret));
    }
  }
}

TEST_F(InsertCommandsTest, TableRowGoesAfterTheCaretsRowWithTheCaretInIt) {
  Desktop().SetClipboardText("old");
  OpenAt("rows.htm",
         "<Table>\n<TR><TD>1</TD><TD>2|</TD><TD>3</TD></TR>\n<TR><TD>4</TD><TD>5</TD><TD>6</TD>"
         "</TR>\n</Table>\n");
  Choose("InsRow");
  EXPECT_EQ(TextAndCaret(),
            "<Table>\r\n<TR><TD>1</TD><TD>2</TD><TD>3</TD></TR>\r\n<TR><TD|></TD><TD></TD>"
            "<TD></TD></TR>\r\n<TR><TD>4</TD><TD>5</TD><TD>6</TD></TR>\r\n</Table>\r\n");
  EXPECT_EQ(Desktop().ClipboardText(), "<TR><TD></TD><TD></TD><TD></TD></TR>\n");
}

TEST_F(InsertCommandsTest, TableRowOutsideATableSaysWhy) {
  OpenAt("none.htm", "<p>no table|</p>\n");
  Choose("InsRow");
  EXPECT_EQ(Dialogs().Last().text, MessageText("Cursor not within table"));
  EXPECT_EQ(Text(), "<p>no table</p>\r\n");
}

// ---- Image ------------------------------------------------------------------------

TEST(ImageTagTest, NamesCannotBreakTheTag) {
  struct Case {
    const char* path;
    const char* alt;
    const char* tag;
  } cases[] = {
      {"Images/red_rose.png", "red rose", "<Img Src=\"Images/red_rose.png\" Alt=\"red rose\">"},
      {"say \"hi\" & bye.png", "say \"hi\" & bye",
       "<Img Src=\"say%20%22hi%22%20%26%20bye.png\" Alt=\"say &quot;hi&quot; &amp; bye\">"},
      {"a#1?.png", "<b>", "<Img Src=\"a%231%3F.png\" Alt=\"&lt;b>\">"},
      {"50%.png", "caf\xE9", "<Img Src=\"50%25.png\" Alt=\"caf\xE9\">"},
  };
  for (const Case& c : cases) EXPECT_EQ(ImageTag(c.path, c.alt), c.tag);
}

TEST(DefaultAltTextTest, NameWithoutExtensionUnderscoresAsBlanks) {
  EXPECT_EQ(DefaultAltText("/site/pics/red_rose_2.png"), "red rose 2");
  EXPECT_EQ(DefaultAltText("/site/my.photo.jpeg"), "my.photo");
  EXPECT_EQ(DefaultAltText("/site/README"), "README");
}

TEST_F(InsertCommandsTest, ImageDialogStartsInThePicturesFolderOfAnyCase) {
  EXPECT_EQ(FirstImageFolder(site), site);
  for (const char* name : {"graphics", "Image", "IMAGES"}) {
    const std::string folder = Folder(name);
    EXPECT_EQ(FirstImageFolder(site), folder) << name;
  }
}

TEST_F(InsertCommandsTest, ImageFromASubFolderNamedImages) {
  const std::string images = Folder("Images");
  test::WriteFile(images + "red_rose.png", "png");
  OpenAt("page.htm", "<p>|</p>\n");
  Dialogs().AnswerPath(images + "red_rose.png");
  Dialogs().AnswerText("A red rose");
  Choose("InsImage");
  ASSERT_EQ(Dialogs().PathCalls().size(), 1u);
  const FileDialogCall& dialog = Dialogs().PathCalls()[0].call;
  EXPECT_EQ(dialog.title, "Image to be inserted");
  EXPECT_EQ(dialog.filter,
            "All images|*jpg;*.jpeg;*.gif;*.png|JPEG images|*.jpg;*.jpeg|GIF images|*.gif|PNG "
            "images|*.png|All files|*.*");
  EXPECT_EQ(dialog.folder, images);
  ASSERT_EQ(Dialogs().Inputs().size(), 1u);
  EXPECT_EQ(Dialogs().Inputs()[0].caption, "Quorrel");
  EXPECT_EQ(Dialogs().Inputs()[0].prompt, "Alt Text");
  EXPECT_EQ(Dialogs().Inputs()[0].value, "red rose");
  EXPECT_EQ(Text(), "<p><Img Src=\"Images/red_rose.png\" Alt=\"A red rose\"></p>\r\n");

  // The next image starts where the last was chosen; Cancel in either box inserts nothing.
  const std::string other = Folder("other");
  test::WriteFile(other + "x.gif", "gif");
  Dialogs().AnswerPath(other + "x.gif");
  Dialogs().CancelText();
  Choose("InsImage");
  EXPECT_EQ(Dialogs().PathCalls()[1].call.folder, images);
  Dialogs().CancelPath();
  Choose("InsImage");
  EXPECT_EQ(Dialogs().PathCalls()[2].call.folder, other);
  EXPECT_EQ(Text(), "<p><Img Src=\"Images/red_rose.png\" Alt=\"A red rose\"></p>\r\n");
}

TEST_F(InsertCommandsTest, ImageFromTwoLevelsUpAndWithAQuoteAndAmpersand) {
  const std::string pics = Folder("pics");
  const std::string deep = Folder("a/b");
  const std::string odd = pics + "say \"hi\" & bye.png";
  test::WriteFile(odd, "png");
  test::WriteFile(deep + "page.htm", "<p></p>\n");
  OpenInNewTab(deep + "page.htm");
  InSite();
  CurrentEditor->Select(3, 0);
  Dialogs().AnswerPath(odd);
  Dialogs().AnswerText("");
  Choose("InsImage");
  ASSERT_EQ(Dialogs().Inputs().size(), 1u) << ::testing::PrintToString(Dialogs().Texts());
  EXPECT_EQ(Dialogs().Inputs()[0].value, "say \"hi\" & bye");
  Dialogs().AnswerPath(odd);
  Dialogs().AnswerText("say \"hi\" & bye");
  Choose("InsImage");
  EXPECT_EQ(Text(),
            "<p><Img Src=\"../../pics/say%20%22hi%22%20%26%20bye.png\" Alt=\"\">"
            "<Img Src=\"../../pics/say%20%22hi%22%20%26%20bye.png\" "
            "Alt=\"say &quot;hi&quot; &amp; bye\"></p>\r\n");
}

TEST_F(InsertCommandsTest, ImageOutsideTheSiteIsRefusedOnItsRealPath) {
  const std::string outside = test::TestHome() + "elsewhere/";
  fs::create_directories(outside);
  test::WriteFile(outside + "x.png", "png");
  // A link in the site to a folder outside it is still outside.
  fs::create_directory_symlink(outside, site + "linked");
  OpenAt("page.htm", "<p>|</p>\n");
  for (const std::string& chosen : {outside + "x.png", site + "linked/x.png"}) {
    SCOPED_TRACE(chosen);
    Dialogs().AnswerPath(chosen);
    Choose("InsImage");
    EXPECT_EQ(Dialogs().Last().text,
              MessageText("Image path " + chosen + "\ris not within " + site));
  }
  EXPECT_TRUE(Dialogs().Inputs().empty());
  EXPECT_EQ(Text(), "<p></p>\r\n");
  fs::remove_all(outside);
}

TEST_F(InsertCommandsTest, ImageInADotCommandPageIsRelativeToItsPagesFolder) {
  const std::string images = Folder("public_html/images");
  test::WriteFile(images + "logo.png", "png");
  Folder("pages");
  Open("master.rtf", OurRtf(".PG Home|Home\r\n\\par "));
  InSite();
  ASSERT_TRUE(IsDotPage);
  struct Case {
    std::string baseFolder;  // the folder a site tool names for the pages
    std::string webRoot;
    const char* src;
  } cases[] = {
      {site + "pages/", "", "../public_html/images/logo.png"},
      // Otherwise the pages go to the master's folder inside the web root.
      {"", "public_html/", "images/logo.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.src);
    SiteBaseFolder = c.baseFolder;
    WebRootPath = c.webRoot;
    CurrentEditor->Select(CurrentEditor->TextLength(), 0);
    Dialogs().AnswerPath(images + "logo.png");
    Dialogs().AnswerText("Logo");
    Choose("InsImage");
    EXPECT_NE(Text().find("<Img Src=\"" + std::string(c.src) + "\" Alt=\"Logo\">"),
              std::string::npos)
        << Text();
  }
}

// ---- Website and Email ----------------------------------------------------------

TEST(WebsiteLinkTest, KeepsAGivenSchemeAndAddsHttpOtherwise) {
  struct Case {
    const char* address;
    const char* link;
  } cases[] = {
      {"www.example.org", "<A Href=\"http://www.example.org\">www.example.org</A>"},
      {"http://www.example.org", "<A Href=\"http://www.example.org\">www.example.org</A>"},
      {"https://example.org", "<A Href=\"https://example.org\">example.org</A>"},
      {"HTTPS://example.org/a", "<A Href=\"https://example.org/a\">example.org/a</A>"},
      {"example.org/?a=1&b=2",
       "<A Href=\"http://example.org/?a=1&amp;b=2\">example.org/?a=1&b=2</A>"},
  };
  for (const Case& c : cases) EXPECT_EQ(WebsiteLink(c.address), c.link) << c.address;
}

TEST_F(InsertCommandsTest, WebsiteAndEmailFromTheSelection) {
  OpenAt("contact.htm", "<p>See| https://example.org |now.</p>\n");
  Choose("Website");
  // The blanks round the address stay outside the link.
  EXPECT_EQ(Text(), "<p>See <A Href=\"https://example.org\">example.org</A> now.</p>\r\n");
  OpenAt("mail.htm", "<p>Write to |me@example.org|</p>\n");
  Choose("Email");
  EXPECT_EQ(Text(), "<p>Write to <A Href=\"mailto:me@example.org\">me@example.org</A></p>\r\n");
  OpenAt("empty.htm", "<p>|</p>\n");
  Choose("Website");
  EXPECT_EQ(Dialogs().Last().text, MessageText("First select the web address."));
  EXPECT_EQ(Text(), "<p></p>\r\n");
}

// ---- Link -------------------------------------------------------------------------

TEST(AddLinkCandidatesTest, AnchorsBeforeTheTextAndTheTitle) {
  struct Case {
    std::string page;
    const char* text;
    std::vector<std::string> entries;
  } cases[] = {
      {"<h2><a name=\"intro\">Introduction</a></h2>",
       "Introduction",
       {"p.htm:  name=\"intro\">Introduction"}},
      {"<h2 id=intro>Intro&nbsp;and more</h2>", "intro and", {}},
      {"<h2 id=intro>Intro&nbsp;and more</h2>", "Intro", {"p.htm:  id=intro>Intro"}},
      // The nearest of two anchors; the same entry is offered once.
      {"<a name=a></a><a id=\"b\">Both</a> Both", "Both", {"p.htm:  id=\"b\">Both"}},
      // "grid=" is no anchor, nor is one more than 60 characters away.
      {"<div grid=x>Cell</div>", "Cell", {}},
      {"<a name=far></a>" + std::string(57, '.') + "Far", "Far", {}},
      {"<a name=near></a>" + std::string(40, '.') + "Near", "Near", {"p.htm:  name=near>"}},
      // The text as an attribute's value is not link text.
      {"<a href=Intro name=x>Other</a>", "Intro", {}},
      {"<html><title>All about\r\n  Roses &amp; more</title><p>Roses</p>",
       "roses",
       {"p.htm:  All about    Roses & more"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    std::vector<std::string> entries;
    AddLinkCandidates("p.htm", c.page, c.text, entries);
    EXPECT_EQ(entries, c.entries);
  }
}

TEST(LinkOfEntryTest, FileAndAnchorOfTheChosenEntry) {
  struct Case {
    const char* entry;
    const char* selfPage;
    const char* link;
  } cases[] = {
      {"xslt.html:  name=\"XSLT\">The XSLT processing steps", "",
       "<A Href=\"xslt.html#XSLT\">T</A>"},
      {"a.htm:  id=top class=x>Top", "", "<A Href=\"a.htm#top\">T</A>"},
      {"a b.htm:  All about roses", "", "<A Href=\"a%20b.htm\">T</A>"},
      {"Home.htm:  name=\"s1\">One", "home", "<A Href=\"#s1\">T</A>"},
      {"Other.htm:  name=\"s1\">One", "Home", "<A Href=\"Other.htm#s1\">T</A>"},
  };
  for (const Case& c : cases) EXPECT_EQ(LinkOfEntry(c.entry, "T", c.selfPage), c.link);
}

TEST(DotPageNameAtTest, TheSectionsPageName) {
  const std::string text = ".PG Home|Home page\r\ntext\r\n.pg  News |News\r\nmore .PG x\r\n";
  EXPECT_EQ(DotPageNameAt(text, text.find("text")), "Home");
  EXPECT_EQ(DotPageNameAt(text, text.find("more") + 7), "News");
  EXPECT_EQ(DotPageNameAt("no pages", 3), "");
}

TEST_F(InsertCommandsTest, LinkToTheOnlyPageOfTheFolderThatHoldsTheText) {
  Write("roses.html", "<html><title>Roses</title><h2><a name=\"care\">Caring for roses</a></h2>");
  Write("old.htmbak", "<h2><a name=\"care\">Caring for roses</a></h2>");
  Write("notes.txt", "<a name=\"care\">Caring for roses</a>");
  OpenAt("index.htm", "<p>|Caring for roses\r\n|</p>\n");
  Choose("Link");
  EXPECT_TRUE(picks.empty());
  // The line end after the selected text stays where it was.
  EXPECT_EQ(Text(), "<p><A Href=\"roses.html#care\">Caring for roses</A>\r\n</p>\r\n");
}

TEST_F(InsertCommandsTest, LinkOffersEveryPlaceWhenSeveralHoldTheText) {
  Write("a.htm", "<a name=\"one\">Pruning</a> and <h3 id=two>Pruning</h3>");
  Write("B.PHP", "<?php ?><a name=p>Pruning <Small>tips</Small></a>");
  OpenAt("index.htm", "<p>|Pruning tips|</p>\n");
  pickAnswer = 0;
  Choose("Link");
  ASSERT_EQ(picks.size(), 0u) << "only the page without <Small> tags holds the whole text";
  EXPECT_EQ(Text(), "<p><A Href=\"B.PHP#p\">Pruning tips</A></p>\r\n");

  OpenAt("two.htm", "<p>|Pruning|</p>\n");
  pickAnswer = 1;
  Choose("Link");
  ASSERT_EQ(picks.size(), 1u);
  EXPECT_EQ(picks[0].caption, "Links with Pruning");
  EXPECT_EQ(picks[0].help, 50660);
  EXPECT_EQ(picks[0].entries,
            (std::vector<std::string>{"a.htm:  name=\"one\">Pruning", "a.htm:  id=two>Pruning",
                                      "B.PHP:  name=p>Pruning tips"}));
  EXPECT_EQ(Text(), "<p><A Href=\"a.htm#two\">Pruning</A></p>\r\n");
  // Closing the list links nothing.
  OpenAt("three.htm", "<p>|Pruning|</p>\n");
  pickAnswer = -1;
  Choose("Link");
  EXPECT_EQ(Text(), "<p>Pruning</p>\r\n");
}

TEST_F(InsertCommandsTest, LinkFindsTheTextInTheDocumentBeforeTheFolder) {
  Write("other.htm", "<a name=\"top\">Top</a>");
  OpenAt("self.htm", "<a name=\"top\">Top</a>\n<p>|Top|</p>\n");
  Choose("Link");
  EXPECT_EQ(Text(), "<a name=\"top\">Top</a>\r\n<p><A Href=\"self.htm#top\">Top</A></p>\r\n");
}

TEST_F(InsertCommandsTest, LinkInADotCommandPageToItsOwnPageKeepsTheAnchor) {
  Write("Home.htm", "<h2><a name=\"s1\">Spring</a></h2>");
  Open("master.rtf", OurRtf(".PG Home|Home\r\n\\par <a name=\"s1\">Spring</a> see Spring"));
  InSite();
  ASSERT_TRUE(IsDotPage);
  const std::string text = Text();
  const size_t at = text.rfind("Spring");
  CurrentEditor->Select(CurrentEditor->OffsetToPos(at), 6);
  Choose("Link");
  EXPECT_NE(Text().find("see <A Href=\"#s1\">Spring</A>"), std::string::npos) << Text();
}

TEST_F(InsertCommandsTest, LinkTextNotFoundSaysWhere) {
  OpenAt("lonely.htm", "<p>|\"Nowhere\" |</p>\n");
  Choose("Link");
  EXPECT_EQ(Dialogs().Last().text, MessageText("Link text Nowhere\rnot found in " + site));
  EXPECT_EQ(Text(), "<p>\"Nowhere\" </p>\r\n");
}

// The file-list form as a user would answer it: the file they choose.
class ChoosingOpenForm : public TOpenFormHost {
 public:
  explicit ChoosingOpenForm(std::string path) : path_(std::move(path)) {}
  bool ShowModal() override {
    ++shown;
    ChosenPath = path_;
    return !path_.empty();
  }
  int shown = 0;

 private:
  std::string path_;
};

TEST_F(InsertCommandsTest, LinkWithoutASelectionLinksTheFileChosenInTheFileList) {
  const std::string sub = Folder("sub");
  test::WriteFile(sub + "page.htm", "<title>Roses &amp; <Small>more</Small></title>");
  OpenAt("index.htm", "<p>|</p>\n");

  ChoosingOpenForm cancelled("");
  SetOpenForm(&cancelled);
  Choose("Link");
  SetOpenForm(nullptr);
  EXPECT_EQ(cancelled.shown, 1);
  EXPECT_EQ(Text(), "<p></p>\r\n");

  ChoosingOpenForm form(sub + "page.htm");
  SetOpenForm(&form);
  Choose("Link");
  SetOpenForm(nullptr);
  EXPECT_EQ(form.shown, 1);
  EXPECT_EQ(Text(), "<p><A Href=\"sub/page.htm\">Roses &amp; more</A></p>\r\n");
}

}  // namespace
}  // namespace quorrel
