// Validation > Spell-check on the real program: a real Debian text opened in a
// tab, the real en_GB dictionary, the spelling dialog answered finding by finding,
// and the status line saying the check is over only once it is.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "commands/SpellCheck.h"
#include "commands/StartUp.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/UserDialogs.h"
#include "platform/UserFolders.h"
#include "shell/DBoxUnit.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "spell/CSAPISpeller.h"
#include "spell/ISpeller.h"
#include "spell/SpellChecker.h"
#include "spell/SpellerRegistry.h"
#include "support/Installed.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "ui/shell/WebForm.h"
#include "ui/spell/MisspellingView.h"
#include "ui/spell/SpellerDialog2.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

const char kReadme[] = "/usr/share/doc/base-files/README";
const char kCompleted[] = "Spell-check completed.";

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The real speller, failing on the check after its first.
class FailingSpeller : public TCSAPISpeller {
 public:
  using TCSAPISpeller::TCSAPISpeller;
  TSpellReturnCode CheckSentenceStart(std::string_view text, size_t& length,
                                      size_t& position) override {
    if (++checks_ > 1) throw ESpellError("Spelling error No 3");
    return TCSAPISpeller::CheckSentenceStart(text, length, position);
  }
  TSpellReturnCode CheckText(std::string_view text, size_t& length, size_t& position) override {
    if (++checks_ > 1) throw ESpellError("Spelling error No 3");
    return TCSAPISpeller::CheckText(text, length, position);
  }

 private:
  int checks_ = 0;
};

class SpellCheckCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site = test::SiteTestFolder() + "spelling/";
    fs::create_directories(site);
    fs::remove(RegistryFileName());
    fs::remove(DefaultCustomDictionary());
    form = std::make_unique<TWebForm>();
    SetMainWindow(form.get());
    InstallSpellerDialog();
  }
  void TearDown() override {
    FreeSpellChecker();
    form.reset();
    SetMainWindow(nullptr);
    CurrentEditor = nullptr;
    fs::remove_all(test::SiteTestFolder());
    fs::remove(DocumentsFolder() + "Quorrel.Ini");
  }
  // Starts the program on a document holding text.
  void Start(const std::string& name, const std::string& text) {
    const std::string path = site + name;
    std::ofstream(path, std::ios::binary) << text;
    StartParameters = {path};
    FormActivate();
    ASSERT_EQ(CurrentFileName, path);
    ASSERT_NE(SpellChecker, nullptr) << "made at start";
    // The dictionary the test's words are spelt against, whatever the locale.
    SpellChecker->Language = 2057;
    form->show();
    ShowStatus("");
  }
  // Validation > Spell-check.
  void SpellCheck() {
    form->Action("SpellCheck")->trigger();
    QApplication::processEvents();
  }
  TSpellerDialog2* Dialog() const { return form->findChild<TSpellerDialog2*>(); }
  bool DialogShowing() const { return Dialog() && Dialog()->isVisible(); }
  std::string Status() const { return form->StatusPanel(MessagePanel)->text().toStdString(); }
  bool Completed() const { return Status().find(kCompleted) != std::string::npos; }
  std::string Flagged() const { return Dialog()->Misspelling->FlaggedText().toStdString(); }
  // Selects a suggestion of the dialog; false when it offers none such.
  bool ChooseVariant(const char* word) const {
    const auto found = Dialog()->Variants->findItems(word, Qt::MatchExactly);
    if (found.empty()) return false;
    Dialog()->Variants->setCurrentItem(found[0]);
    return true;
  }

  std::string site;
  std::unique_ptr<TWebForm> form;
};

TEST_F(SpellCheckCommandTest, ADebianReadmeCheckedToTheEnd) {
  ASSERT_TRUE(test::Installed(kReadme, "base-files"));
  std::string readme = Slurp(kReadme);
  const std::string heading = "Frequently Asked Questions about base-files";
  ASSERT_EQ(readme.find(heading), 0u);
  readme.replace(0, heading.size(), "Frequentyl Askd Qeustions about base-files");
  Start("README", readme);

  SpellCheck();
  ASSERT_TRUE(DialogShowing());
  EXPECT_EQ(Flagged(), "Frequentyl");
  // The dialog is up and waits for the user: the check is not over.
  EXPECT_FALSE(Completed()) << Status();
  ASSERT_TRUE(ChooseVariant("Frequently"));
  Dialog()->ChangeButton->click();

  ASSERT_TRUE(DialogShowing());
  EXPECT_EQ(Flagged(), "Askd");
  EXPECT_FALSE(Completed());
  Dialog()->SkipButton->click();

  ASSERT_TRUE(DialogShowing());
  EXPECT_EQ(Flagged(), "Qeustions");
  EXPECT_FALSE(Completed());
  ASSERT_TRUE(Dialog()->AddButton->isEnabled());
  Dialog()->AddButton->click();

  // The rest of the text has names and paths the dictionary does not know:
  // each is skipped, and until the last the check is not over.
  int findings = 3;
  while (DialogShowing() && findings < 400) {
    ASSERT_FALSE(Completed()) << "after " << findings << " findings, at " << Flagged();
    ASSERT_TRUE(Dialog()->SkipButton->isEnabled()) << Flagged();
    Dialog()->SkipButton->click();
    ++findings;
  }
  EXPECT_FALSE(DialogShowing());
  EXPECT_GT(findings, 10);
  EXPECT_TRUE(Completed()) << Status();
  EXPECT_FALSE(SpellChecker->Checking());

  const std::string text = CurrentEditor->GetText();
  EXPECT_EQ(text.find("Frequently Askd Qeustions about base-files\r\n"), 0u);
  // Nothing else changed.
  std::string expected = readme;
  expected.replace(0, 10, "Frequently");
  std::string crlf;
  for (char c : expected) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  while (crlf.size() >= 2 && crlf.compare(crlf.size() - 2, 2, "\r\n") == 0)
    crlf.resize(crlf.size() - 2);
  EXPECT_EQ(text.substr(0, 2000), crlf.substr(0, 2000));
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_NE(Slurp(DefaultCustomDictionary()).find("Qeustions"), std::string::npos);
  EXPECT_TRUE(Dialogs().Calls().empty()) << Dialogs().Texts()[0];
}

TEST_F(SpellCheckCommandTest, ACheckThatIsStoppedOrFailsIsNotCompleted) {
  struct Case {
    const char* name;
    std::function<void(TSpellerDialog2*)> stop;
    const char* message;  // the box the user sees, if any
  };
  const Case cases[] = {
      {"Cancel", [](TSpellerDialog2* d) { d->CancelButton->click(); }, nullptr},
      {"the window's close box", [](TSpellerDialog2* d) { d->close(); }, nullptr},
      {"an engine error on Skip", [](TSpellerDialog2* d) { d->SkipButton->click(); },
       "Spelling error No 3"},
  };
  Start("notes.txt", "A wrold of tezt\r\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Dialogs().Clear();
    // A fresh checker for each case, on a speller that fails after one check.
    FreeSpellChecker();
    CreateSpellChecker();
    SpellChecker->Language = 2057;
    SpellChecker->SpellerFactory = [](TSpellChecker& checker, TLanguage language,
                                      TSpellerType) -> std::unique_ptr<TAbstractSpeller> {
      return std::make_unique<FailingSpeller>(language, checker.Options, &checker);
    };
    ShowStatus("");
    CurrentEditor->Select(0, 0);
    SpellCheck();
    ASSERT_TRUE(DialogShowing());
    EXPECT_EQ(Flagged(), "wrold");
    c.stop(Dialog());
    QApplication::processEvents();
    EXPECT_FALSE(Completed()) << Status();
    if (c.message) {
      ASSERT_FALSE(Dialogs().Calls().empty());
      EXPECT_EQ(Dialogs().Last().text.rfind(c.message, 0), 0u) << Dialogs().Last().text;
    } else {
      EXPECT_FALSE(DialogShowing());
      EXPECT_TRUE(Dialogs().Calls().empty());
    }
    EXPECT_EQ(CurrentEditor->GetText(), "A wrold of tezt\r\n");
  }
}

TEST_F(SpellCheckCommandTest, NoSpellerForTheLanguageAndNothingToCheck) {
  Start("notes.txt", "");
  // An empty document has nothing to check, and no speller is asked about.
  SpellCheck();
  EXPECT_TRUE(Completed()) << Status();
  EXPECT_TRUE(Dialogs().Calls().empty());
  EXPECT_EQ(SpellChecker->SpellerCount(), 0u);

  CurrentEditor->SetText("Guten Tag");
  SpellChecker->Language = 1031;  // no German dictionary is installed
  ShowStatus("");
  Dialogs().Answer(mrCancel);
  SpellCheck();
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  const DialogCall& box = Dialogs().Last();
  EXPECT_EQ(box.text, "ISpell is not installed.");
  EXPECT_EQ(box.helpContext, 20740);
  EXPECT_EQ(box.buttons, (std::vector<std::string>{"&OK", "&Help", "Cancel"}));
  EXPECT_FALSE(Completed()) << Status();
  EXPECT_FALSE(DialogShowing());
}

TEST_F(SpellCheckCommandTest, AWellSpeltTextIsCompletedAtOnce) {
  Start("notes.txt", "A fine day\r\nfor a walk");
  SpellCheck();
  EXPECT_FALSE(DialogShowing());
  EXPECT_TRUE(Completed()) << Status();
  EXPECT_EQ(CurrentEditor->GetText(), "A fine day\r\nfor a walk");
}

TEST_F(SpellCheckCommandTest, StartFindsTheTabsEditorByItsName) {
  Start("notes.txt", "A wrold of tezt");
  SpellCheck();
  ASSERT_TRUE(DialogShowing());
  Dialog()->SkipButton->click();
  ASSERT_EQ(Flagged(), "tezt");
  // Back in the text, the caret at its start; Start checks it all again.
  Dialog()->Deactivation();
  CurrentEditor->Select(0, 0);
  Dialog()->StartButton->click();
  ASSERT_TRUE(DialogShowing());
  EXPECT_EQ(Flagged(), "wrold");
  // Each tab's editor has a name of its own.
  auto* first = dynamic_cast<QWidget*>(CurrentEditor);
  auto* second = dynamic_cast<QWidget*>(form->NewTab());
  ASSERT_TRUE(first && second);
  EXPECT_FALSE(first->objectName().isEmpty());
  EXPECT_NE(first->objectName(), second->objectName());
}

// The checker on the ispell back end: the first start configures Debian's ispell,
// and Validation > Spell-check talks to it through the real dialog.
TEST_F(SpellCheckCommandTest, TheIspellBackEndChecksThroughTheDialog) {
  ASSERT_TRUE(test::Installed("/usr/lib/ispell/british.hash", "ibritish"));
  fs::remove_all(UserDataFolder() + "ispell");
  Start("notes.txt", "A wrold of colour\r\nteh sea and teh sky");
  SpellChecker->SpellerType = TSpellerType::sptISpell;

  SpellCheck();
  ASSERT_TRUE(DialogShowing());
  EXPECT_EQ(Flagged(), "wrold");
  ASSERT_TRUE(ChooseVariant("world"));
  Dialog()->ChangeButton->click();

  // "colour" is British; the first "teh" is changed everywhere.
  ASSERT_TRUE(DialogShowing());
  EXPECT_EQ(Flagged(), "teh");
  EXPECT_FALSE(Completed());
  ASSERT_TRUE(ChooseVariant("the"));
  ASSERT_TRUE(Dialog()->ChangeAllButton->isEnabled());
  Dialog()->ChangeAllButton->click();

  EXPECT_FALSE(DialogShowing());
  EXPECT_TRUE(Completed()) << Status();
  EXPECT_EQ(CurrentEditor->GetText(), "A world of colour\r\nthe sea and the sky");
  EXPECT_TRUE(Dialogs().Calls().empty());
  // It was ispell that answered, and the office speller was never made.
  EXPECT_EQ(SpellChecker->SpellerCount(), 1u);
  EXPECT_NE(dynamic_cast<TISpeller*>(SpellChecker->GetSpeller(2057, TSpellerType::sptISpell)),
            nullptr);

  // A language the ispell folder has no section for has no speller.
  SpellChecker->Language = 1031;
  ShowStatus("");
  Dialogs().Answer(mrCancel);
  SpellCheck();
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_EQ(Dialogs().Last().text, "ISpell is not installed.");
  EXPECT_FALSE(Completed());
  fs::remove_all(UserDataFolder() + "ispell");
}

}  // namespace
}  // namespace quorrel
