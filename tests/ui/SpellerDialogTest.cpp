// The spelling dialog on the real checker and the real en_GB speller: its form,
// the buttons of each kind of finding, editing the flagged word in the view, and
// going back to the text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "shell/MainWindow.h"
#include "spell/ForwardingSpeller.h"
#include "spell/SpellTestKit.h"
#include "support/MemoryMainWindow.h"
#include "support/MemoryRich.h"
#include "support/TypeInto.h"
#include "ui/platform/RichEdit.h"
#include "ui/spell/MisspellingView.h"
#include "ui/spell/SpellerDialog2.h"

namespace quorrel {
namespace {

// Flags the texts it is given with the codes it is given, wherever they come
// before what the real speller finds; the real speller checks the rest and makes
// the suggestions.
class CodeSpeller : public test::ForwardingSpeller {
 public:
  CodeSpeller(std::unique_ptr<TAbstractSpeller> inner,
              std::map<std::string, TSpellReturnCode> codes)
      : ForwardingSpeller(std::move(inner)), codes_(std::move(codes)) {}

  TSpellReturnCode CheckSentenceStart(std::string_view text, size_t& length,
                                      size_t& position) override {
    return CheckText(text, length, position);
  }
  TSpellReturnCode CheckText(std::string_view text, size_t& length, size_t& position) override {
    size_t innerLength = 0, innerPosition = 0;
    const TSpellReturnCode inner = Inner().CheckText(text, innerLength, innerPosition);
    size_t best = inner == srNoErrors ? text.size() : innerPosition;
    TSpellReturnCode code = inner;
    length = innerLength;
    position = innerPosition;
    for (const auto& [flagged, flaggedCode] : codes_) {
      const size_t at = text.find(flagged);
      if (at != std::string_view::npos && at <= best) {
        best = position = at;
        length = flagged.size();
        code = flaggedCode;
      }
    }
    return code;
  }
  std::string GetReplacement() override { return "the"; }

 private:
  std::map<std::string, TSpellReturnCode> codes_;
};

class SpellerDialogTest : public test::SpellerFixture {
 protected:
  void SetUp() override {
    SpellerFixture::SetUp();
    SetMainWindow(&window);
    checker.Language = test::kEnglishUK;
    checker.OnFinished = [this](TSpellChecker&) { ++finished; };
    SetSpellDialogFactory([this](TSpellChecker& c) {
      auto made = std::make_unique<TSpellerDialog2>(c);
      dialog = made.get();
      return made;
    });
  }
  void TearDown() override {
    if (checker.Checking()) checker.Cancel();
    SetMainWindow(nullptr);
  }

  // The speller flags these texts with these codes before anything else.
  void FlagWith(std::map<std::string, TSpellReturnCode> codes) {
    checker.SpellerFactory = [codes](TSpellChecker& c, TLanguage language,
                                     TSpellerType) -> std::unique_ptr<TAbstractSpeller> {
      return std::make_unique<CodeSpeller>(std::make_unique<TCSAPISpeller>(language, c.Options, &c),
                                           codes);
    };
  }
  // Checks a text in the in-memory editor; the dialog shows the first finding.
  void Check(const std::string& text) {
    editor.SetText(text);
    ASSERT_TRUE(checker.Check(editor)) << text;
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(checker.Checking()) << "no finding in " << text;
  }
  bool Shown(QWidget* widget) const { return widget->isVisibleTo(dialog); }
  QString Line() const { return dialog->Misspelling->toPlainText(); }
  std::vector<std::string> Suggestions() const {
    std::vector<std::string> list;
    for (int i = 0; i < dialog->Variants->count(); ++i)
      list.push_back(dialog->Variants->item(i)->text().toStdString());
    return list;
  }
  // Places the view's cursor: a caret, or a selection from anchor to position.
  void PlaceCursor(int anchor, int position) {
    QTextCursor cursor = dialog->Misspelling->textCursor();
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    dialog->Misspelling->setTextCursor(cursor);
  }

  test::MemoryMainWindow window;
  test::MemoryRich editor;
  TSpellerDialog2* dialog = nullptr;
  int finished = 0;
};

TEST_F(SpellerDialogTest, TheFormItsControlsAndTheirTexts) {
  Check("the wrold turns");
  EXPECT_EQ(dialog->objectName(), "SpellerDialog2");
  EXPECT_EQ(dialog->size(), QSize(310, 262));
  EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(dialog->font().family(), "Arial");
  EXPECT_TRUE(dialog->isVisible());
  // The checker leaves its caption empty.
  EXPECT_EQ(dialog->windowTitle(), "");
  const struct {
    const char* name;
    const char* text;
  } controls[] = {
      {"InfoMsg", "Unknown word"},  {"Label2", "&Variants"},
      {"ChangeButton", "&Change"},  {"ChangeAllButton", "Change A&ll"},
      {"SkipButton", "&Skip"},      {"SkipAllButton", "S&kip All"},
      {"AddButton", "&Add"},        {"CancelButton", "Ca&ncel"},
      {"CancelEdit", "&Undo Edit"}, {"DelButton", "&Delete"},
      {"StartButton", "Start"},
  };
  for (const auto& c : controls) {
    QWidget* widget = dialog->findChild<QWidget*>(c.name);
    ASSERT_NE(widget, nullptr) << c.name;
    const QString text = qobject_cast<QLabel*>(widget) ? qobject_cast<QLabel*>(widget)->text()
                                                       : qobject_cast<QPushButton*>(widget)->text();
    EXPECT_EQ(text.toStdString(), c.text) << c.name;
    EXPECT_TRUE(dialog->rect().contains(widget->geometry())) << c.name;
  }
  EXPECT_NE(dialog->findChild<QWidget*>("Misspelling"), nullptr);
  EXPECT_TRUE(dialog->ChangeButton->isDefault());
  // Delete and Start stand where Change does.
  EXPECT_EQ(dialog->DelButton->geometry(), dialog->ChangeButton->geometry());
  EXPECT_EQ(dialog->StartButton->geometry(), dialog->ChangeButton->geometry());
  ASSERT_GT(dialog->Variants->count(), 0);
  EXPECT_EQ(dialog->Variants->visualItemRect(dialog->Variants->item(0)).height(), 15);
}

TEST_F(SpellerDialogTest, EachKindOfFindingHasItsButtons) {
  FlagWith({{"teh", srReturningChangeOnce},
            {"hyph-en", srInvalidHyphenation},
            {"monday", srErrorCapitalization},
            {"sentence", srNoSentenceStartCap},
            {"  x", srExtraSpaces},
            {"etc", srWordConsideredAbbreviation},
            {"end.Next", srMissingSpace},
            {"3rd", srInitialNumeral},
            {"Bob", srRepeatWord}});
  struct Case {
    const char* text;
    const char* message;
    bool changeShown, changeEnabled, changeAll, skipAll, add, deleteShown, variants;
  };
  const Case cases[] = {
      {"Here is wrold today", "Unknown word", true, true, true, true, true, false, true},
      {"Here is teh today", "Unknown word", true, true, true, false, false, false, true},
      {"Here is hyph-en today", "Illegal hyphenations", true, true, false, false, false, false,
       true},
      {"Here is monday today", "Capitalization error", true, true, false, false, false, false,
       true},
      {"Here is sentence today", "Sentence capitalization error", true, true, false, false, false,
       false, true},
      {"Here is  x today", "Extra spaces", true, true, false, false, false, false, true},
      {"Here is etc today", "Possible abbreviation", true, false, false, false, false, false,
       false},
      {"Here is end.Next today", "Missing space", true, false, false, false, false, false, false},
      {"Here is 3rd today", "Numerals in start of word", true, false, false, false, false, false,
       false},
      {"Here is Bob today", "Repeated word", false, false, false, false, false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Check(c.text);
    EXPECT_EQ(dialog->InfoMsg->text().toStdString(), c.message);
    EXPECT_EQ(Shown(dialog->ChangeButton), c.changeShown);
    if (c.changeShown) {
      EXPECT_EQ(dialog->ChangeButton->isEnabled(), c.changeEnabled);
    }
    EXPECT_EQ(dialog->ChangeAllButton->isEnabled(), c.changeAll);
    EXPECT_TRUE(Shown(dialog->SkipButton));
    EXPECT_TRUE(dialog->SkipButton->isEnabled());
    EXPECT_EQ(dialog->SkipAllButton->isEnabled(), c.skipAll);
    EXPECT_EQ(dialog->AddButton->isEnabled(), c.add);
    EXPECT_EQ(Shown(dialog->DelButton), c.deleteShown);
    if (c.deleteShown) {
      EXPECT_TRUE(dialog->DelButton->isEnabled());
    }
    EXPECT_EQ(dialog->Variants->isEnabled(), c.variants);
    EXPECT_EQ(dialog->Label2->isEnabled(), c.variants);
    EXPECT_EQ(dialog->Variants->count() > 0, c.variants);
    if (c.variants) {
      EXPECT_EQ(dialog->Variants->currentRow(), 0);
    }
    EXPECT_FALSE(Shown(dialog->StartButton));
    EXPECT_FALSE(Shown(dialog->CancelEdit));
    checker.Cancel();
  }
}

TEST_F(SpellerDialogTest, TheSuggestionsOfEachKindOfFinding) {
  FlagWith(
      {{"teh", srReturningChangeOnce}, {"monday", srErrorCapitalization}, {"  x", srExtraSpaces}});
  Check("Here is teh today");
  // The speller's replacement comes first.
  ASSERT_FALSE(Suggestions().empty());
  EXPECT_EQ(Suggestions()[0], "the");
  checker.Cancel();
  Check("Here is monday today");
  EXPECT_EQ(Suggestions(), std::vector<std::string>{"Monday"});
  dialog->ChangeButton->click();
  EXPECT_EQ(editor.GetText(), "Here is Monday today");
  Check("Here is  x today");
  EXPECT_EQ(Suggestions(), std::vector<std::string>{"x"});
  checker.Cancel();
}

TEST_F(SpellerDialogTest, AWordTooLongForTheDictionaryCanBeSkippedButNotAdded) {
  const std::string longest(64, 'q'), tooLong(65, 'q');
  struct Case {
    const std::string& word;
    bool dictionary;
  };
  for (const Case& c : {Case{longest, true}, Case{tooLong, false}}) {
    SCOPED_TRACE(c.word.size());
    finished = 0;
    Check("a " + c.word + " here");
    EXPECT_EQ(dialog->InfoMsg->text(), "Unknown word");
    EXPECT_TRUE(dialog->SkipButton->isEnabled());
    EXPECT_EQ(dialog->SkipAllButton->isEnabled(), c.dictionary);
    EXPECT_EQ(dialog->AddButton->isEnabled(), c.dictionary);
    dialog->SkipButton->click();
    EXPECT_FALSE(checker.Checking());
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(editor.GetText(), "a " + c.word + " here");
  }
}

TEST_F(SpellerDialogTest, AnEditedWordIsWrittenByChangeAndUndoEditBringsBackTheSuggestions) {
  Check("the wrold turns\r\nand turns");
  EXPECT_EQ(Line(), "the wrold turns");
  ASSERT_TRUE(dialog->ChangeAllButton->isEnabled());
  const std::vector<std::string> suggestions = Suggestions();

  PlaceCursor(4, 9);
  test::TypeText(dialog->Misspelling, "whorl");
  EXPECT_EQ(Line(), "the whorl turns");
  EXPECT_TRUE(Shown(dialog->CancelEdit));
  EXPECT_TRUE(Shown(dialog->ChangeButton));
  EXPECT_TRUE(dialog->ChangeButton->isEnabled());
  EXPECT_FALSE(dialog->ChangeAllButton->isEnabled());
  EXPECT_FALSE(dialog->SkipAllButton->isEnabled());
  EXPECT_FALSE(dialog->AddButton->isEnabled());
  EXPECT_FALSE(Shown(dialog->DelButton));
  EXPECT_FALSE(dialog->Variants->isEnabled());

  dialog->CancelEdit->click();
  EXPECT_EQ(Line(), "the wrold turns");
  EXPECT_FALSE(Shown(dialog->CancelEdit));
  EXPECT_TRUE(dialog->ChangeAllButton->isEnabled());
  EXPECT_TRUE(dialog->SkipAllButton->isEnabled());
  EXPECT_TRUE(dialog->AddButton->isEnabled());
  EXPECT_TRUE(dialog->Variants->isEnabled());
  EXPECT_EQ(Suggestions(), suggestions);
  EXPECT_EQ(dialog->Variants->currentRow(), 0);
  EXPECT_EQ(editor.GetText(), "the wrold turns\r\nand turns");

  // Edited again, and written.
  PlaceCursor(9, 4);
  test::TypeText(dialog->Misspelling, "whirled");
  dialog->ChangeButton->click();
  EXPECT_EQ(editor.GetText(), "the whirled turns\r\nand turns");
  EXPECT_FALSE(checker.Checking());
  EXPECT_EQ(finished, 1);
}

TEST_F(SpellerDialogTest, APossibleAbbreviationOffersNoSuggestionOfTheWordBefore) {
  FlagWith({{"etc", srWordConsideredAbbreviation}});
  Check("the wrold and etc here");
  ASSERT_EQ(dialog->Misspelling->FlaggedText(), "wrold");
  ASSERT_GT(dialog->Variants->count(), 0);
  dialog->SkipButton->click();
  ASSERT_TRUE(checker.Checking());
  EXPECT_EQ(dialog->Misspelling->FlaggedText(), "etc");
  EXPECT_EQ(dialog->Variants->count(), 0);
  EXPECT_FALSE(dialog->ChangeButton->isEnabled());
  EXPECT_FALSE(dialog->ChangeAllButton->isEnabled());
  // Return presses the default button, which does nothing now.
  test::PressKey(dialog->Misspelling, Qt::Key_Return);
  EXPECT_EQ(editor.GetText(), "the wrold and etc here");
}

TEST_F(SpellerDialogTest, EachButtonAnswersTheChecker) {
  struct Case {
    const char* name;
    QPushButton* TSpellerDialog2::*button;
    const char* text;
    const char* after;  // the text once the check is over
    const char* added;  // the word the user dictionary holds then, if any
  };
  const Case cases[] = {
      {"Change", &TSpellerDialog2::ChangeButton, "a wrold apart", "a world apart", nullptr},
      {"Skip", &TSpellerDialog2::SkipButton, "a tezt apart", "a tezt apart", nullptr},
      {"Add", &TSpellerDialog2::AddButton, "a zorblax apart", "a zorblax apart", "zorblax"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    finished = 0;
    Check(c.text);
    (dialog->*c.button)->click();
    EXPECT_EQ(editor.GetText(), c.after);
    EXPECT_FALSE(checker.Checking());
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(dialog->isVisible());
    std::ifstream dictionary(DefaultCustomDictionary());
    const std::string words((std::istreambuf_iterator<char>(dictionary)), {});
    EXPECT_EQ(words.find("zorblax") != std::string::npos, c.added != nullptr) << words;
  }
}

TEST_F(SpellerDialogTest, ADoubleClickedSuggestionIsChangeAndSkipAllHoldsForTheSession) {
  Check("a tezt apart");
  auto found = dialog->Variants->findItems("text", Qt::MatchExactly);
  ASSERT_FALSE(found.empty());
  dialog->Variants->setCurrentItem(found[0]);
  Q_EMIT dialog->Variants->itemDoubleClicked(found[0]);
  EXPECT_EQ(editor.GetText(), "a text apart");
  EXPECT_FALSE(checker.Checking());

  Check("a zorbl and a zorbl");
  dialog->SkipAllButton->click();
  EXPECT_FALSE(checker.Checking());
  Check("zorbl and wrold");
  EXPECT_EQ(dialog->Misspelling->FlaggedText(), "wrold");
  checker.Cancel();
}

TEST_F(SpellerDialogTest, CancelAndEscEndTheCheckAsCancelled) {
  for (bool esc : {false, true}) {
    SCOPED_TRACE(esc ? "Esc" : "Cancel");
    finished = 0;
    Check("a wrold and a tezt");
    if (esc) {
      test::PressKey(dialog->Misspelling, Qt::Key_Escape);
    } else {
      dialog->CancelButton->click();
    }
    EXPECT_FALSE(checker.Checking());
    EXPECT_TRUE(checker.Cancelled());
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(editor.GetText(), "a wrold and a tezt");
  }
}

TEST_F(SpellerDialogTest, RepeatedWordIsDeleted) {
  FlagWith({{"Bob", srRepeatWord}});
  Check("Say Bob Bob now");
  // The code speller flags the first one; Delete takes the blank before it.
  dialog->DelButton->click();
  EXPECT_EQ(editor.GetText(), "Say Bob now");
}

TEST_F(SpellerDialogTest, OnlyTheFlaggedWordCanBeEdited) {
  // The view shows "the wrold and more" with "wrold" at 4 to 9.
  const QString line = "the wrold and more";
  struct Case {
    const char* name;
    int anchor, position;
    std::function<void(TMisspellingView*)> edit;
    const char* after;  // nullptr: unchanged
  };
  auto type = [](const char* text) {
    return [text](TMisspellingView* view) { test::TypeText(view, text); };
  };
  auto key = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return [key, modifiers](TMisspellingView* view) { test::PressKey(view, key, modifiers); };
  };
  auto paste = [](const char* text) {
    return [text](TMisspellingView* view) {
      QApplication::clipboard()->setText(text);
      test::PressKey(view, Qt::Key_V, Qt::ControlModifier);
    };
  };
  auto drop = [](int at, const char* text) {
    return [at, text](TMisspellingView* view) {
      QTextCursor cursor(view->document());
      cursor.setPosition(at);
      const QPoint point = view->cursorRect(cursor).center();
      QMimeData data;
      data.setText(text);
      // A drag comes in first: the drop goes where it was taken in.
      QDragEnterEvent enter(point, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                            Qt::NoModifier);
      QApplication::sendEvent(view->viewport(), &enter);
      QDropEvent event(point, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                       Qt::NoModifier);
      QApplication::sendEvent(view->viewport(), &event);
    };
  };
  auto compose = [](const char* text) {
    return [text](TMisspellingView* view) {
      QInputMethodEvent event;
      event.setCommitString(text);
      QApplication::sendEvent(view, &event);
    };
  };
  const Case cases[] = {
      {"typing before the word", 0, 0, type("zz"), nullptr},
      {"typing after the word", 12, 12, type("zz"), nullptr},
      {"typing over a selection reaching out of it", 2, 6, type("z"), nullptr},
      {"typing inside", 6, 6, type("zz"), "the wrzzold and more"},
      {"typing at its start", 4, 4, type("x"), "the xwrold and more"},
      {"typing at its end", 9, 9, type("x"), "the wroldx and more"},
      {"typing over all of it", 4, 9, type("world"), "the world and more"},
      {"Backspace at its start", 4, 4, key(Qt::Key_Backspace), nullptr},
      {"Backspace at its end", 9, 9, key(Qt::Key_Backspace), "the wrol and more"},
      {"Delete at its end", 9, 9, key(Qt::Key_Delete), nullptr},
      {"Delete at its start", 4, 4, key(Qt::Key_Delete), "the rold and more"},
      {"a word deleted backwards stops at its start", 7, 7,
       key(Qt::Key_Backspace, Qt::ControlModifier), "the ld and more"},
      {"a word deleted forwards stops at its end", 6, 6, key(Qt::Key_Delete, Qt::ControlModifier),
       "the wr and more"},
      {"Cut across its start", 2, 6, key(Qt::Key_X, Qt::ControlModifier), nullptr},
      {"Cut inside", 5, 7, key(Qt::Key_X, Qt::ControlModifier), "the wld and more"},
      {"pasting before it", 0, 0, paste("PASTE"), nullptr},
      {"pasting inside", 5, 5, paste("PASTE"), "the wPASTErold and more"},
      {"pasting a copied line over it", 4, 9, paste("world\n"), "the world and more"},
      {"dropping before it", 0, 0, drop(1, "DROP"), nullptr},
      {"dropping inside", 0, 0, drop(6, "DROP"), "the wrDROPold and more"},
      {"composing before it", 1, 1, compose("IM"), nullptr},
      {"composing inside", 6, 6, compose("IM"), "the wrIMold and more"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Check("the wrold and more");
    ASSERT_EQ(Line(), line);
    PlaceCursor(c.anchor, c.position);
    c.edit(dialog->Misspelling);
    const QString expected = c.after ? QString(c.after) : line;
    EXPECT_EQ(Line(), expected);
    // What changed is the flagged word, and the dialog is in edit mode then.
    EXPECT_EQ(Shown(dialog->CancelEdit), c.after != nullptr);
    const int start = dialog->Misspelling->FlaggedStart();
    EXPECT_EQ(start, 4);
    EXPECT_EQ(line.left(4) + dialog->Misspelling->FlaggedText() + line.mid(9), expected);
    checker.Cancel();
  }
}

TEST_F(SpellerDialogTest, TheViewShowsTheWordInTheMisspellingFontAndSelectsNothing) {
  checker.MisspellFont.MspColor = 0x00FF00;  // green, as Windows keeps it
  checker.MisspellFont.MspName = "Courier New";
  checker.MisspellFont.MspBold = true;
  Check("the wrold and more");
  TMisspellingView* view = dialog->Misspelling;
  EXPECT_FALSE(view->textCursor().hasSelection());
  auto formatAt = [&](int position) {
    QTextCursor cursor(view->document());
    cursor.setPosition(position + 1);  // the format of the character before
    return cursor.charFormat();
  };
  for (int at : {4, 8}) {
    EXPECT_EQ(formatAt(at).foreground().color(), QColor(0, 255, 0)) << at;
    EXPECT_EQ(formatAt(at).fontFamilies().toStringList().value(0), "Courier New");
    EXPECT_EQ(formatAt(at).fontWeight(), QFont::Bold);
  }
  for (int at : {0, 3, 9, 12}) {
    EXPECT_NE(formatAt(at).foreground().color(), QColor(0, 255, 0)) << at;
    EXPECT_NE(formatAt(at).fontWeight(), QFont::Bold) << at;
  }
  // Typed at the word's start, a character takes the word's look.
  PlaceCursor(4, 4);
  test::TypeText(view, "x");
  EXPECT_EQ(formatAt(4).foreground().color(), QColor(0, 255, 0));
  checker.Cancel();
}

TEST_F(SpellerDialogTest, GoingBackToTheTextOffersStartWhichChecksTheEditorAgain) {
  QWidget form;
  auto* rich = new TRichEdit(&form);
  rich->setObjectName("RichEdit7");
  rich->SetText("a wrold here");
  ASSERT_TRUE(checker.Check(*rich));
  ASSERT_NE(dialog, nullptr);

  dialog->Deactivation();
  EXPECT_TRUE(Shown(dialog->StartButton));
  for (QWidget* off : std::initializer_list<QWidget*>{
           dialog->DelButton, dialog->ChangeButton, dialog->ChangeAllButton, dialog->SkipButton,
           dialog->SkipAllButton, dialog->AddButton, dialog->Misspelling, dialog->Variants,
           dialog->InfoMsg, dialog->Label2}) {
    EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
  }
  EXPECT_EQ(dialog->Variants->count(), 0);
  EXPECT_EQ(Line(), "");
  dialog->Activation();
  EXPECT_TRUE(dialog->InfoMsg->isEnabled());
  EXPECT_TRUE(dialog->CancelButton->isEnabled());

  // The user changed the text meanwhile; Start checks it as it is now.
  rich->SetText("the tezt now");
  dialog->StartButton->click();
  EXPECT_FALSE(Shown(dialog->StartButton));
  ASSERT_TRUE(checker.Checking());
  EXPECT_EQ(Line(), "the tezt now");
  EXPECT_EQ(dialog->Misspelling->FlaggedText(), "tezt");
  EXPECT_TRUE(dialog->ChangeButton->isEnabled());
  EXPECT_TRUE(dialog->SkipButton->isEnabled());
  EXPECT_TRUE(dialog->Variants->isEnabled());

  // With the editor gone, an answer ends the check, and Start does nothing.
  delete rich;
  dialog->SkipButton->click();
  EXPECT_FALSE(checker.Checking());
  EXPECT_TRUE(checker.Cancelled());
  dialog->Deactivation();
  dialog->StartButton->click();
  EXPECT_EQ(Line(), "");
  EXPECT_FALSE(checker.Checking());
}

TEST_F(SpellerDialogTest, ALanguageOfAnotherCodePageShowsTheLineThroughItsOwnCharacters) {
  checker.Language = 1049;  // Russian, Windows-1251
  ASSERT_NE(checker.GetSpeller(1049, TSpellerType::sptMSOffice), nullptr) << "hunspell-ru";
  // "\xAB" and "\xBB" are the same quotes in both code pages; "\xE9" is only in
  // Windows-1252 and stays as the document has it.
  editor.SetText("\xABHello\xBB caf\xE9 more");
  ASSERT_TRUE(checker.Check(editor));
  ASSERT_TRUE(checker.Checking());
  EXPECT_EQ(Line(), QString::fromUtf8("\u00ABHello\u00BB caf\u00E9 more"));
  EXPECT_EQ(dialog->Misspelling->FlaggedText(), "Hello");
  // Edited and written back in the document's code page.
  PlaceCursor(1, 6);
  test::TypeText(dialog->Misspelling, "Hi");
  dialog->ChangeButton->click();
  EXPECT_EQ(editor.GetText(), "\xABHi\xBB caf\xE9 more");
  checker.Cancel();
}

}  // namespace
}  // namespace quorrel
