// Validate all over real folder trees, with a scripted validator in place of the
// real ones: which files, in which order, each saved when changed; Cancel half-way;
// the folder's questions and errors; the state the run leaves.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "commands/Exit.h"
#include "platform/Abort.h"
#include "publish/Connection.h"
#include "shell/DBoxUnit.h"
#include "shell/MenuModel.h"
#include "shell/ProgUnit.h"
#include "support/ScriptedDialogs.h"
#include "validate/ValTestKit.h"

namespace quorrel::test {
namespace {

class ValidateFolderTest : public ValidationTest {
 protected:
  void SetUp() override {
    ValidationTest::SetUp();
    AppPhase = 1;
    AskServerImages = false;  // the first run's question has its own test
  }
  // A small site: pages, scripts and style sheets in and below its folder, and
  // files Validate all leaves alone.
  void MakeSite() {
    Write("index.htm", Page("<p>index</p>"));
    Write("About.HTML", Page("<p>about</p>"));
    Write("style.css", "p { }\r\n");
    Write("notes.txt", "not validated\r\n");
    Write("news/item.php", "<?php echo 1; ?>\n");
    Write("news/Archive/old.asp", "<% x %>\n");
    Write("news/page.htm.Bak", "<p>back-up</p>\n");
    Write("shop/App.cs", "class A {}\r\n");
    Write(".git/hook.htm", Page("<p>hidden</p>"));
  }
  // A page whose head begins a line: opening it does not re-format it at once.
  static std::string Page(const std::string& body) {
    return "<HTML>\n<Head>\n</Head>\n<Body>\n" + body + "\n</Body>\n</HTML>\n";
  }
  std::vector<std::string> ValidatedFiles() const {
    std::vector<std::string> files;
    for (const auto& call : calls) files.push_back(call.file.substr(site.size()));
    return files;
  }
  static int64_t ModTime(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_mtime) : -1;
  }
};

TEST_F(ValidateFolderTest, EveryMatchingFileInAndBelowTheFolderOnceInOrder) {
  MakeSite();
  Dialogs().AnswerPath(site);
  ValidateFolder(ValidateAllPatterns);
  EXPECT_EQ(ValidatedFiles(),
            (std::vector<std::string>{"About.HTML", "index.htm", "news/Archive/old.asp",
                                      "news/item.php", "shop/App.cs", "style.css"}));
  for (const auto& call : calls) EXPECT_EQ(call.sender, "Validate") << call.file;
  EXPECT_EQ(Status(), "  6 files validated");
  EXPECT_EQ(BatchState, 0);
  EXPECT_EQ(CurrentCommand, "");
  EXPECT_TRUE(window.TabsVisible());
  EXPECT_EQ(RecolourRequest, 1);
  EXPECT_TRUE(MainMenu().Checked("SubDirs"));
  // The folder question, where it started and what it said.
  ASSERT_EQ(Dialogs().PathCalls().size(), 1u);
  EXPECT_TRUE(Dialogs().PathCalls()[0].folderChooser);
  EXPECT_EQ(Dialogs().PathCalls()[0].call.title, "Validate files in and below...");
  // The progress box listed the files and ended its run.
  EXPECT_EQ(ProgBoxState().caption, "");
}

// Style sheets and server pages are not checked until their validators exist: the
// run does not count them as validated.
TEST_F(ValidateFolderTest, FilesOfKindsNotCheckedYetAreCountedApart) {
  MakeSite();
  SetPageValidatorStandIn([](TValidatorKind kind, const TPage&) -> std::optional<TValidation> {
    if (kind != TValidatorKind::Html) return std::nullopt;  // the real entry: not checked yet
    TValidation v;
    v.status = ValidatedStatus;
    return v;
  });
  Dialogs().AnswerPath(site);
  ValidateFolder(ValidateAllPatterns);
  // The pages, the PHP page, the C# file and the ASP page are checked; CSS not yet.
  EXPECT_EQ(Status(), "  5 files validated, 1 not checked yet");
}

TEST_F(ValidateFolderTest, OnlyTheFolderChosenAndOnlyTheMasksGiven) {
  MakeSite();
  ValidateFolderRoot = site + "news";  // preset by a site tool, without its "/"
  ValidateFolder("*.PHP");
  EXPECT_EQ(ValidatedFiles(), (std::vector<std::string>{"news/item.php"}));
  EXPECT_TRUE(Dialogs().PathCalls().empty());
  EXPECT_EQ(ValidateFolderRoot, "");  // used once
  EXPECT_EQ(CurrentFolder, site + "news/");
}

TEST_F(ValidateFolderTest, ChangedFilesAreSavedAndCancelStopsBeforeTheNextFile) {
  for (int i = 1; i <= 5; ++i) Write("page" + std::to_string(i) + ".htm", Page("<P>old</P>"));
  const std::string untouched = Read(site + "page4.htm");
  const int64_t timeOfLast = ModTime(site + "page5.htm");
  // Each page is re-formatted; during the third the user presses Cancel.
  onCall = [&](const TValidatorCall&) {
    std::string text = CurrentText;
    for (char& c : text) {
      if (c == 'P') c = 'p';
    }
    if (text != CurrentText) Rewrite(text);
    if (calls.size() == 3) {
      Dialogs().Answer(mrYes);
      EXPECT_FALSE(ProgBoxCancelClick());
    }
  };
  ValidateFolderRoot = site;
  ValidateFolder(ValidateAllPatterns);

  EXPECT_EQ(ValidatedFiles(), (std::vector<std::string>{"page1.htm", "page2.htm", "page3.htm"}));
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(Read(site + "page" + std::to_string(i) + ".htm"), Page("<p>old</p>")) << i;
    EXPECT_TRUE(FileExists(site + "page" + std::to_string(i) + ".htm.Bak")) << i;
  }
  EXPECT_EQ(Read(site + "page4.htm"), untouched);
  EXPECT_EQ(Read(site + "page5.htm"), untouched);
  EXPECT_EQ(ModTime(site + "page5.htm"), timeOfLast);
  EXPECT_FALSE(FileExists(site + "page4.htm.Bak"));
  EXPECT_EQ(Dialogs().Texts(), (std::vector<std::string>{"Cancel the run?"}));
  EXPECT_EQ(Status(), "  3 files validated");
  EXPECT_EQ(BatchState, 0);
  EXPECT_TRUE(window.TabsVisible());
}

TEST_F(ValidateFolderTest, UnchangedFilesAreNotWritten) {
  Write("a.htm", Page("<p>a</p>"));
  const int64_t before = ModTime(site + "a.htm");
  ValidateFolderRoot = site;
  ValidateFolder(ValidateAllPatterns);
  EXPECT_EQ(calls.size(), 1u);
  EXPECT_EQ(ModTime(site + "a.htm"), before);
  EXPECT_FALSE(FileExists(site + "a.htm.Bak"));
}

TEST_F(ValidateFolderTest, TheFirstErrorStopsTheRunAtThatFile) {
  Write("a.htm", Page("<p>a</p>"));
  Write("b.htm", Page("<p>b\n<b>bad"));
  Write("c.htm", Page("<p>c</p>"));
  onCall = [&](const TValidatorCall& call) {
    if (call.file == site + "b.htm") RaiseErrorAt("Unclosed <B>", 7);
  };
  ValidateFolderRoot = site;
  EXPECT_THROW(ValidateFolder(ValidateAllPatterns), EAbort);
  EXPECT_EQ(ValidatedFiles(), (std::vector<std::string>{"a.htm", "b.htm"}));
  EXPECT_EQ(CurrentFileName, site + "b.htm");
  EXPECT_EQ(CurrentEditor->SelStart(), 7u);
  // The message names the page, as messages of a batch run do.
  EXPECT_EQ(Dialogs().Last().text, "Unclosed <B>\rat offset 7\rb.htm");
  EXPECT_EQ(BatchState, 0);
  EXPECT_TRUE(window.TabsVisible());
  EXPECT_EQ(ProgBoxState().caption, "");
}

TEST_F(ValidateFolderTest, StartFromTheCurrentFileOrFromTheFirst) {
  Write("a.htm", Page("<p>a</p>"));
  Write("b.htm", Page("<p>b</p>"));
  Write("c.htm", Page("<p>c</p>"));
  for (int answer : {mrYes, mrNo}) {
    OpenInNewTab(site + "b.htm");
    PCChange();
    calls.clear();
    Dialogs().Clear();
    Dialogs().Answer(answer);
    ValidateFolderRoot = site;
    ValidateFolder("*.htm");
    EXPECT_EQ(Dialogs().Texts(), (std::vector<std::string>{"Start from current file?"}));
    EXPECT_EQ(ValidatedFiles(), answer == mrYes
                                    ? (std::vector<std::string>{"b.htm", "c.htm"})
                                    : (std::vector<std::string>{"a.htm", "b.htm", "c.htm"}));
  }
}

TEST_F(ValidateFolderTest, UnsavedWorkOfTheCurrentDocumentIsSavedFirst) {
  Write("a.htm", Page("<p>a</p>"));
  Open("draft.txt", "first draft\r\n");
  CurrentEditor->SetText("second draft");
  CurrentEditor->SetModified(true);
  ValidateFolderRoot = site;
  ValidateFolder("*.htm");
  EXPECT_EQ(Read(site + "draft.txt"), "second draft\r\n");
  EXPECT_EQ(ValidatedFiles(), (std::vector<std::string>{"a.htm"}));
}

TEST_F(ValidateFolderTest, UnsavedWorkThatIsNotSavedIsNotReplaced) {
  Write("a.htm", Page("<p>a</p>"));
  UseUntitledTab();
  CurrentEditor->SetSelText("notes worth keeping");
  Dialogs().CancelPath();  // the untitled document's Save as
  ValidateFolderRoot = site;
  EXPECT_THROW(ValidateFolder("*.htm"), EAbort);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(CurrentEditor->GetText(), "notes worth keeping");
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(BatchState, 0);
  EXPECT_TRUE(window.TabsVisible());
}

TEST_F(ValidateFolderTest, OfficePagesAreOpenedButNotValidated) {
  Write("a.htm", Page("<p>a</p>"));
  Write("word.htm", Page("<p>Word<o:p></o:p></p>"));
  ValidateFolderRoot = site;
  ValidateFolder("*.htm");
  EXPECT_EQ(ValidatedFiles(), (std::vector<std::string>{"a.htm"}));
  EXPECT_EQ(Status(), "  2 files validated");
}

TEST_F(ValidateFolderTest, FolderErrors) {
  // Cancelling the folder question ends the command without a word.
  Dialogs().CancelPath();
  EXPECT_NO_THROW(ValidateFolder(ValidateAllPatterns));
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_EQ(BatchState, 0);

  ValidateFolderRoot = site + "missing";
  EXPECT_THROW(ValidateFolder(ValidateAllPatterns), EAbort);
  EXPECT_EQ(Dialogs().Last().text, site + "missing/\rFolder does not exist.");
  EXPECT_EQ(ValidateFolderRoot, "");

  // Nothing to validate: the preset folder is not kept for the next run.
  Write("readme.txt", "x\r\n");
  ValidateFolderRoot = site;
  EXPECT_THROW(ValidateFolder(ValidateAllPatterns), EAbort);
  EXPECT_EQ(Dialogs().Last().text, "No suitable files found in or below folder \r" + site);
  EXPECT_EQ(ValidateFolderRoot, "");
  EXPECT_EQ(BatchState, 0);
  EXPECT_TRUE(calls.empty());
}

TEST_F(ValidateFolderTest, ClosingTheProgramStopsTheRunAtTheNextFile) {
  Write("a.htm", Page("<p>a</p>"));
  Write("b.htm", Page("<p>b</p>"));
  bool closeAllowed = true;
  onCall = [&](const TValidatorCall&) {
    if (calls.size() == 1) closeAllowed = FormCloseQuery();
  };
  ValidateFolderRoot = site;
  EXPECT_THROW(ValidateFolder(ValidateAllPatterns), EAbort);
  EXPECT_FALSE(closeAllowed);  // the window stays while the run stops
  EXPECT_EQ(ValidatedFiles(), (std::vector<std::string>{"a.htm"}));
  // Centred, with the page it stopped after, as messages of a batch run are.
  EXPECT_EQ(Dialogs().Last().text,
            std::string(14, ' ') + "Validation terminated." + std::string(14, ' ') + "\ra.htm");
  EXPECT_EQ(BatchState, 0);
  EXPECT_TRUE(FormCloseQuery());
}

TEST_F(ValidateFolderTest, ImagesQuestionOnTheFirstRunOnly) {
  Write("a.htm", Page("<p>a</p>"));
  AskServerImages = true;
  SetOnline(true);
  Dialogs().Answer(mrNo);
  ValidateFolderRoot = site;
  ValidateFolder("*.htm");
  EXPECT_EQ(Dialogs().Texts(), (std::vector<std::string>{"Check images against server?"}));
  EXPECT_FALSE(OnlineChecked());  // no server checks while validating

  Dialogs().Clear();
  Dialogs().Answer(mrNo);
  ValidateFolderRoot = site;
  ValidateFolder("*.htm");
  EXPECT_EQ(Dialogs().Texts(), (std::vector<std::string>{"Start from current file?"}));
}

}  // namespace
}  // namespace quorrel::test
