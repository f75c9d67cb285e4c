// Saving: line ends and trailing characters by type, the back-up, RTF source,
// scrambled documents, validation on the way, the shrink warning, and the old file
// left whole whenever the new one cannot be written.
#include "platform/Abort.h"
#include "platform/Paths.h"
#include "platform/RtfCompose.h"
#include "platform/RtfParse.h"
#include "shell/ClassifyDocument.h"
#include "shell/Commands.h"
#include "shell/Documents.h"
#include "shell/SaveTestKit.h"
#include "shell/SaveText.h"
#include "shell/Saving.h"
#include "shell/Scrambled.h"
#include "support/ReadOnlyFolder.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;
using test::MTime;
using test::Slurp;

class SaveTest : public test::SaveFixture {};

std::string RtfOf(const std::string& text) {
  TRtfCharFormat format;
  format.font = "Calibri";
  return ComposeRtf(RtfDocumentOfText(text, format));
}

// n lines of 98 characters and CR LF: 100 bytes each.
std::string Lines(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += std::string(98, 'x') + "\r\n";
  return text;
}

const DialogCall* TimedBox() {
  for (const DialogCall& call : Dialogs().Calls()) {
    if (call.kind == DialogKind::TimedMessage) return &call;
  }
  return nullptr;
}

using test::ReadOnlyFolder;

TEST(TextForDiskTest, LineEndsAndTrailingCharactersByType) {
  struct Case {
    const char* what;
    std::string text;
    bool lfOnly;
    bool rtf;
    std::string disk;
  } cases[] = {
      {"plain text loses trailing blanks, CRs and VTs, keeps tabs", "a  \r\nb\t\v \r\n", false,
       false, "a\r\nb\t\r\n"},
      {"an HTML working copy gets LF", "<p>a</p> \r\n<p>b</p>\n", true, false,
       "<p>a</p>\n<p>b</p>\n"},
      {"a final line end is added", "last", false, false, "last\r\n"},
      {"inner empty lines stay", "a\r\n\r\n\r\nb\r\n", false, false, "a\r\n\r\n\r\nb\r\n"},
      {"an empty document stays empty", "", false, false, ""},
      {"RTF keeps its blanks and ends with one zero byte", "{\\rtf1 a \r\n\\par }\r\n", false, true,
       std::string("{\\rtf1 a \r\n\\par }\r\n") + '\0'},
      {"RTF loses CRs and VTs at line ends", "x\v\r\r\n}", false, true,
       std::string("x\r\n}\r\n") + '\0'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextForDisk(c.text, c.lfOnly, c.rtf), c.disk) << c.what;
  }
}

TEST(SaveRulesTest, ShrinkingCountsOnlyBeyondFiveHundredBytes) {
  EXPECT_TRUE(SaveShrankFile(10000, 9400));
  EXPECT_TRUE(SaveShrankFile(10000, 9499));
  EXPECT_FALSE(SaveShrankFile(10000, 9500));
  EXPECT_FALSE(SaveShrankFile(10000, 9600));
  EXPECT_FALSE(SaveShrankFile(0, 100));
  EXPECT_EQ(ShrinkWarning(10000, 9400), "Warning: Old size was 10000; New size is 9400");
  EXPECT_EQ(TightenRtfLineBreaks("a \\line b  \\line"), "a\\line b \\line");
  EXPECT_EQ(RtfZeroByte(std::string("ab\0c", 4)), 2u);
  EXPECT_EQ(RtfZeroByte("abc"), std::string::npos);
}

TEST_F(SaveTest, SavingTwiceLeavesOneBackUpHoldingTheVersionBeforeTheLastSave) {
  const std::string path = Open("notes.txt", "one\r\n");
  Type("two\r\n");
  ASSERT_TRUE(MainMenu().Click("Save"));
  EXPECT_EQ(Slurp(path), "two\r\n");
  EXPECT_EQ(Slurp(path + ".Bak"), "one\r\n");

  Type("three\r\n");
  ASSERT_TRUE(MainMenu().Click("Save"));
  EXPECT_EQ(Slurp(path), "three\r\n");
  EXPECT_EQ(Slurp(path + ".Bak"), "two\r\n");
  EXPECT_EQ(SiteFiles(), (std::vector<std::string>{"notes.txt", "notes.txt.Bak"}))
      << "no work file is left behind";
  EXPECT_FALSE(CurrentEditor->Modified());
  EXPECT_EQ(Documents[CurrentEditor->Tag()].FileAge, MTime(path));
  EXPECT_EQ(Status(), "  Saved");
  EXPECT_TRUE(CurrentCommand.empty());
}

TEST_F(SaveTest, WorkFilesThatKilledSavesLeftGoWhenTheDocumentIsOpenedOrSaved) {
  // One left long ago, and one newer than the document (a save killed just now,
  // before its work file took the name: it may hold newer text, so opening keeps
  // it; the next save supersedes it).
  const std::string path = Write("notes.txt", "one\r\n");
  test::SetMTime(path, 1700000000);
  Write(".notes.txt.save-Old123", "older text\r\n");
  Write(".notes.txt.save-New456", "newer text\r\n");
  test::SetMTime(site + ".notes.txt.save-Old123", 1600000000);
  OpenInNewTab(path);
  EXPECT_EQ(SiteFiles(), (std::vector<std::string>{".notes.txt.save-New456", "notes.txt"}));

  Type("two\r\n");
  ASSERT_TRUE(MainMenu().Click("Save"));
  EXPECT_EQ(SiteFiles(), (std::vector<std::string>{"notes.txt", "notes.txt.Bak"}));
}

TEST_F(SaveTest, AnHtmlPageEditedWithCrLfIsStoredWithLfAndNoTrailingBlanks) {
  const std::string path =
      Open("page.htm", "<html>\n<Head>\n<title>t</title>\n</Head>\n<body>\n</body>\n</html>\n");
  Type(
      "<html>  \r\n<Head>\r\n<title>t</title> \r\n</Head>\r\n<body>\t\r\n<p>new</p>   \r\n"
      "</body>\r\n</html>");
  ASSERT_TRUE(MainMenu().Click("Save"));
  EXPECT_EQ(Slurp(path),
            "<html>\n<Head>\n<title>t</title>\n</Head>\n<body>\t\n<p>new</p>\n</body>\n</html>\n");
}

// A file read with LF-only line ends keeps them (a script saved with CR LF breaks);
// one read with CR LF keeps the line ends of its type. Saved unedited, a file keeps
// its bytes.
TEST_F(SaveTest, LineEndsAreKeptAsTheFileWasRead) {
  struct Case {
    const char* name;
    const char* bytes;
    const char* afterEdit;
  };
  const Case cases[] = {
      {"run.sh", "#!/bin/sh\necho a\n", "x#!/bin/sh\necho a\n"},
      {"style.css", "body {\n  color: red;\n}\n", "xbody {\n  color: red;\n}\n"},
      {"notes.txt", "one\ntwo\n", "xone\ntwo\n"},
      {"dos.txt", "one\r\ntwo\r\n", "xone\r\ntwo\r\n"},
      {"dos.css", "body {\r\n}\r\n", "xbody {\r\n}\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Open(c.name, c.bytes);
    ASSERT_TRUE(MainMenu().Click("Save"));
    EXPECT_EQ(Slurp(path), c.bytes);
    CurrentEditor->Select(0, 0);
    CurrentEditor->SetSelText("x");
    ASSERT_TRUE(MainMenu().Click("Save"));
    EXPECT_EQ(Slurp(path), c.afterEdit);
  }
}

TEST_F(SaveTest, ShrinkingByMoreThan500BytesIsWarnedInABoxThatClosesItself) {
  struct Case {
    int lines;  // of 100 bytes, after the save; 100 before
    bool validateOnSave;
    bool warned;
  } cases[] = {{94, true, true}, {96, true, false}, {94, false, false}, {100, true, false}};
  int n = 0;
  for (const Case& c : cases) {
    Dialogs().Clear();
    MainMenu().SetChecked("ValSave", c.validateOnSave);
    const std::string path = Open("big" + std::to_string(n++) + ".txt", Lines(100));
    Type(Lines(c.lines));
    ASSERT_TRUE(MainMenu().Click("Save"));
    ASSERT_EQ(fs::file_size(path), static_cast<uintmax_t>(c.lines * 100));
    const DialogCall* box = TimedBox();
    EXPECT_EQ(box != nullptr, c.warned) << c.lines << " lines";
    if (!box) continue;
    EXPECT_EQ(box->text,
              "  Warning: Old size was 10000; New size is " + std::to_string(c.lines * 100) + "  ");
    EXPECT_EQ(box->timeoutMs, 4000);
  }
}

TEST_F(SaveTest, WorkFilesAndTeiDocumentsShrinkWithoutAWord) {
  MainMenu().SetChecked("ValSave", true);
  const std::string work = TempFolder() + "shrinking.txt";
  std::ofstream(work, std::ios::binary) << Lines(100);
  OpenInNewTab(work);
  Type(Lines(50));
  ASSERT_TRUE(MainMenu().Click("Save"));
  EXPECT_EQ(fs::file_size(work), 5000u);
  fs::remove(work);
  fs::remove(work + ".Bak");

  Open("play.xml", "<!doctype tei2>\r\n" + Lines(100));
  Type("<!doctype tei2>\r\n" + Lines(50));
  ASSERT_TRUE(IsTei);
  ASSERT_TRUE(MainMenu().Click("Save"));
  EXPECT_EQ(TimedBox(), nullptr);
}

TEST_F(SaveTest, ValidationComesFirstAndAnErrorStopsTheSaveBeforeAnythingIsWritten) {
  const std::string page = "<html>\n<Head>\n</Head>\n<body>\n</body>\n</html>\n";
  const std::string path = Open("valid.htm", page);
  MainMenu().SetChecked("ValSave", true);
  Type("<html>\r\n<Head>\r\n</Head>\r\n<body><p>\r\n</body>\r\n</html>\r\n");
  validationError = "Missing </p>";
  EXPECT_FALSE(MainMenu().Click("Save"));
  EXPECT_EQ(validations, std::vector<std::string>{"Validate"});
  EXPECT_EQ(Slurp(path), page);
  EXPECT_FALSE(fs::exists(path + ".Bak"));
  EXPECT_TRUE(CurrentEditor->Modified());

  validationError.clear();
  validations.clear();
  ASSERT_TRUE(MainMenu().Click("Save"));
  EXPECT_EQ(validations, std::vector<std::string>{"Validate"});
  EXPECT_EQ(Slurp(path), "<html>\n<Head>\n</Head>\n<body><p>\n</body>\n</html>\n");

  // Saves asked for by a validation, and saves with the option off, do not validate;
  // a build does whatever the option says.
  validations.clear();
  SaveClick("NoValidate");
  SaveClick("Validate");
  MainMenu().SetChecked("ValSave", false);
  ASSERT_TRUE(MainMenu().Click("Save"));
  EXPECT_TRUE(validations.empty());
  EXPECT_TRUE(RunCommand("BuildAll", [] { SaveClick(""); }));
  EXPECT_EQ(validations, std::vector<std::string>{"Validate"});
}

TEST_F(SaveTest, AFormattedRtfDocumentIsStoredAsItsSourceEndingWithAZeroByte) {
  const std::string path = Open("letter.rtf", RtfOf("the old letter\r\n"));
  ASSERT_FALSE(CurrentEditor->PlainText());
  Type("Dear  \r\nSir \vor Madam\r\n");
  ASSERT_TRUE(MainMenu().Click("Save"));
  const std::string disk = Slurp(path);
  ASSERT_FALSE(disk.empty());
  EXPECT_EQ(disk.back(), '\0');
  EXPECT_EQ(disk.compare(0, 6, "{\\rtf1"), 0);
  EXPECT_EQ(disk.find(" \\line"), std::string::npos);
  EXPECT_EQ(disk.find('\0'), disk.size() - 1);
  EXPECT_EQ(RtfPlainText(ParseRtf(disk.substr(0, disk.size() - 1))), "Dear\r\nSir\vor Madam\r\n");
  EXPECT_EQ(CurrentEditor->GetText(), "Dear\r\nSir\vor Madam\r\n")
      << "the blanks before line ends go from the editor too";
  EXPECT_FALSE(CurrentEditor->Modified());
}

TEST_F(SaveTest, RtfHoldingAZeroByteIsNotSavedAndThePreviousFileStays) {
  const std::string before = RtfOf("the old letter\r\n");
  const std::string path = Open("broken.rtf", before);
  Write("broken.rtf.Bak", "older\r\n");
  // A font name the writer copies as it stands brings a zero byte into the source.
  CurrentEditor->SetEditorFont(std::string("Bad\0Font", 8), 12, false);
  CurrentEditor->SetText("new text");
  CurrentEditor->SetModified(true);
  const size_t zero = CurrentEditor->GetRtfSource().find('\0');
  ASSERT_NE(zero, std::string::npos);
  EXPECT_FALSE(MainMenu().Click("Save"));
  EXPECT_EQ(Dialogs().Last().text, "RTF contains X'00' at offset " + std::to_string(zero) +
                                       ".  If you save this you will lose stuff.");
  EXPECT_EQ(Slurp(path), before);
  EXPECT_EQ(Slurp(path + ".Bak"), "older\r\n");
  EXPECT_EQ(SiteFiles(), (std::vector<std::string>{"broken.rtf", "broken.rtf.Bak"}));
  EXPECT_TRUE(CurrentEditor->Modified());
}

TEST_F(SaveTest, AFolderThatBecameReadOnlyLeavesThePreviousFileAndBackUp) {
  const std::string path = Open("kept.txt", "previous\r\n");
  Write("kept.txt.Bak", "older\r\n");
  Type("lost?\r\n");
  {
    ReadOnlyFolder readOnly(site);
    if (!readOnly.Holds()) GTEST_SKIP() << "the folder cannot be made read-only here";
    EXPECT_FALSE(MainMenu().Click("Save"));
  }
  EXPECT_EQ(Dialogs().Last().text, "Unable to create\r" + path);
  EXPECT_EQ(Slurp(path), "previous\r\n");
  EXPECT_EQ(Slurp(path + ".Bak"), "older\r\n");
  EXPECT_EQ(SiteFiles(), (std::vector<std::string>{"kept.txt", "kept.txt.Bak"}));
  EXPECT_TRUE(CurrentEditor->Modified());

  ASSERT_TRUE(MainMenu().Click("Save")) << "writable again, the same document saves";
  EXPECT_EQ(Slurp(path), "lost?\r\n");
  EXPECT_EQ(Slurp(path + ".Bak"), "previous\r\n");
}

TEST_F(SaveTest, TheFileKeepsItsModeAndALinkKeepsPointingAtItsTarget) {
  const std::string path = Write("private.txt", "old\r\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  OpenInNewTab(path);
  Type("new\r\n");
  ASSERT_TRUE(MainMenu().Click("Save"));
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  fs::create_directories(site + "real");
  const std::string target = site + "real/page.txt";
  std::ofstream(target, std::ios::binary) << "before\r\n";
  fs::create_symlink("real/page.txt", site + "link.txt");
  OpenInNewTab(site + "link.txt");
  Type("after\r\n");
  ASSERT_TRUE(MainMenu().Click("Save"));
  EXPECT_TRUE(fs::is_symlink(site + "link.txt"));
  EXPECT_EQ(Slurp(target), "after\r\n");
  EXPECT_EQ(Slurp(site + "link.txt.Bak"), "before\r\n");
  EXPECT_FALSE(fs::is_symlink(site + "link.txt.Bak"));
}

TEST_F(SaveTest, TickingEncryptedScramblesTheFileAndLeavesNoPlainBackUp) {
  const std::string path = Open("diary.txt", "dear diary\r\n");
  Dialogs().AnswerText("pw");
  ASSERT_TRUE(MainMenu().Click("Encrypted"));
  const TScrambleKey key = DeriveScrambleKey("pw");
  EXPECT_EQ(Slurp(path), ScrambleDocumentBytes("dear diary\r\n", key));
  EXPECT_TRUE(IsScrambledData(Slurp(path + ".Bak")));
  EXPECT_EQ(UnscrambleDocumentBytes(Slurp(path + ".Bak"), key), "dear diary\r\n");

  Type("second page\r\n");
  ASSERT_TRUE(MainMenu().Click("Save"));
  EXPECT_EQ(Slurp(path), ScrambleDocumentBytes("second page\r\n", key));
  EXPECT_EQ(Slurp(path + ".Bak"), ScrambleDocumentBytes("dear diary\r\n", key));
}

TEST_F(SaveTest, AnUntitledDocumentIsSavedUnderTheNameChosen) {
  ASSERT_TRUE(MainMenu().Click("NewTXT"));
  Type("fresh\r\n");
  Dialogs().AnswerPath(site + "fresh.txt");
  ASSERT_TRUE(MainMenu().Click("Save"));
  ASSERT_EQ(Dialogs().PathCalls().size(), 1u);
  EXPECT_EQ(Dialogs().PathCalls()[0].call.title, "Save as...");
  EXPECT_TRUE(Dialogs().PathCalls()[0].call.save);
  EXPECT_EQ(Slurp(site + "fresh.txt"), "fresh\r\n");
  EXPECT_EQ(CurrentFileName, site + "fresh.txt");
  EXPECT_EQ(Documents[CurrentEditor->Tag()].FileName, site + "fresh.txt");
  EXPECT_EQ(window.TabCaption(window.ActiveTab()), "fresh.txt");
  EXPECT_EQ(window.Caption(), MainCaption());
  EXPECT_FALSE(CurrentEditor->Modified());
}

TEST_F(SaveTest, PlainTextSavedAsRtfIsConvertedOnlyWhenTheUserAgrees) {
  Open("memo.txt", "Dear Sir\r\n");
  Dialogs().AnswerPath(site + "memo.rtf");
  Dialogs().Answer(mrNo);
  EXPECT_FALSE(MainMenu().Click("SaveAs"));
  EXPECT_EQ(Dialogs().Last().text, "Convert plain text file to Rich Text Format?");
  EXPECT_FALSE(fs::exists(site + "memo.rtf"));

  Dialogs().Answer(mrYes);
  ASSERT_TRUE(MainMenu().Click("Save"));
  const std::string disk = Slurp(site + "memo.rtf");
  EXPECT_NE(disk.find("\\fcharset0 Arial;"), std::string::npos) << disk;
  EXPECT_NE(disk.find("\\fs24"), std::string::npos);
  EXPECT_EQ(disk.back(), '\0');
  EXPECT_NE(RtfPlainText(ParseRtf(disk)).find("Dear Sir"), std::string::npos);
  EXPECT_FALSE(CurrentEditor->PlainText());
}

TEST_F(SaveTest, ALongDotPageWithoutBoldIsSavedOnlyWhenTheUserInsists) {
  const std::string text = ".PG index\r\n" + Lines(40);
  const std::string path = Open("index.rtf", RtfOf(text));
  ASSERT_TRUE(IsDotPage);
  MainMenu().SetChecked("ValSave", true);
  CurrentEditor->SetModified(true);
  Dialogs().Answer(mrNo);
  EXPECT_FALSE(MainMenu().Click("Save"));
  EXPECT_EQ(Dialogs().Last().text,
            "THERE IS NO BOLD TEXT IN THIS FILE.\rYOU DON'T REALLY WANT TO SAVE IT, DO YOU?");
  EXPECT_FALSE(fs::exists(path + ".Bak"));

  Dialogs().Answer(mrYes);
  ASSERT_TRUE(MainMenu().Click("Save"));
  EXPECT_TRUE(fs::exists(path + ".Bak"));
  EXPECT_TRUE(validations.empty()) << "dot pages are not validated on save";
}

TEST(SaveAsFilterTest, FollowsTheDocumentsExtension) {
  struct Case {
    const char* ext;
    const char* filter;
  } cases[] = {
      {".HTM", "Web pages|*.htm;*.html|All files|*.*"},
      {".HTML", "Web pages|*.htm;*.html|All files|*.*"},
      {".TXT", "All files|*.*"},
      {".CSS", ".CSS files|*.CSS|All files|*.*"},
      {"", " files|*|All files|*.*"},
  };
  for (const Case& c : cases) {
    CurrentExt = c.ext;
    EXPECT_EQ(SaveAsFilter(), c.filter) << c.ext;
  }
}

TEST_F(SaveTest, SaveCopyAsWritesACopyAndTheDocumentStaysAsItWas) {
  const std::string page = "<html>\n<Head>\n<meta name=Keywords content=\"x\">\n</Head>\n</html>\n";
  const std::string path = Open("page.htm", page);
  Type("<html>\r\n<Head>\r\n<meta name=Keywords content=\"y\">\r\n</Head>\r\n</html>\r\n");
  Dialogs().AnswerPath(site + "copy.htm");
  ASSERT_TRUE(MainMenu().Click("SaveCopyAs"));
  EXPECT_EQ(Dialogs().Texts().at(0),
            "Warnimg: File contains \"meta name=Keywords\"\rwhich you might not have meant.");
  const auto& dialog = Dialogs().PathCalls().at(0);
  EXPECT_EQ(dialog.call.title, "Save a copy as...");
  EXPECT_EQ(dialog.call.filter, "Web pages|*.htm;*.html|All files|*.*");
  EXPECT_EQ(dialog.path, path);
  EXPECT_EQ(Slurp(site + "copy.htm"),
            "<html>\n<Head>\n<meta name=Keywords content=\"y\">\n</Head>\n</html>\n");
  EXPECT_EQ(Slurp(path), page);
  EXPECT_EQ(CurrentFileName, path);
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(Status(), "  Saved as " + site + "copy.htm  Modified");
}

TEST_F(SaveTest, SaveAsGivesTheDocumentItsNewNameWithoutValidatingAgain) {
  const std::string path = Open("first.txt", "text\r\n");
  MainMenu().SetChecked("ValSave", true);
  Type("changed\r\n");
  Dialogs().CancelPath();
  EXPECT_FALSE(MainMenu().Click("SaveAs"));
  EXPECT_EQ(CurrentFileName, path);

  Dialogs().AnswerPath(site + "second.txt");
  ASSERT_TRUE(MainMenu().Click("SaveAs"));
  EXPECT_EQ(Slurp(site + "second.txt"), "changed\r\n");
  EXPECT_EQ(Slurp(path), "text\r\n");
  EXPECT_EQ(CurrentFileName, site + "second.txt");
  const int slot = CurrentEditor->Tag();
  EXPECT_EQ(Documents[slot].FileName, site + "second.txt");
  EXPECT_EQ(Documents[slot].FileAge, MTime(site + "second.txt"));
  EXPECT_EQ(window.TabCaption(window.ActiveTab()), "second.txt");
  EXPECT_TRUE(validations.empty());
}

TEST_F(SaveTest, AMidiDocumentIsCopiedAndKeepsItsTab) {
  const std::string tune = Write("tune.mid", std::string("MThd\0\0\0\6\0\0\0\1\0\x60", 14));
  NewDocumentTab(tune);
  CurrentEditor = window.TabEditor(window.ActiveTab());
  CurrentFileName = tune;
  ClassifyDocument();
  Dialogs().AnswerPath(site + "copy.mid");
  SaveAsClick("SaveAs");
  EXPECT_EQ(Slurp(site + "copy.mid"), Slurp(tune));
  EXPECT_EQ(CurrentFileName, tune);
  EXPECT_EQ(Status(), "  Saved as " + site + "copy.mid");
}

}  // namespace
}  // namespace quorrel
