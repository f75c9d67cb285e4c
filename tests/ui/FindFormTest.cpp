// The Find dialog and the replace prompt as real widgets on the offscreen
// platform: the marks of pasted text, the keys of the text boxes, hex entry,
// histories and options kept, the prompt's keys and place, and a replace run from
// Ctrl+R to the file saved.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

#include "commands/FindState.h"
#include "commands/OpenDocs.h"
#include "commands/StartUp.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "shell/BlinkJob.h"
#include "shell/Documents.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "shell/Timer.h"
#include "support/Installed.h"
#include "support/ScriptedDialogs.h"
#include "support/SiteFolder.h"
#include "support/TestEnvironment.h"
#include "ui/platform/Colours.h"
#include "ui/shell/FindForm.h"
#include "ui/shell/RepForm.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;
using test::Dialogs;

// A key typed on a widget as Qt delivers it: the shortcut check, the press, the
// release.
void Type(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QString text;
  if (key >= Qt::Key_A && key <= Qt::Key_Z && !(modifiers & Qt::ControlModifier)) {
    text = QChar(static_cast<char>(key - Qt::Key_A + ((modifiers & Qt::ShiftModifier) ? 'A' : 'a')));
  }
  QKeyEvent shortcut(QEvent::ShortcutOverride, key, modifiers, text);
  QApplication::sendEvent(widget, &shortcut);
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(widget, &release);
}

QString Ansi(const char* text) {
  return AnsiToQString(text);
}

// The user's answers to the prompt go to the real prompt; every other box to the
// scripted dialogs.
class PromptOnScreen : public TUserDialogs {
 public:
  int ShowBox(const DialogCall& call) override {
    if (call.kind == DialogKind::ReplacePrompt) return AskReplacePrompt();
    return Dialogs().ShowBox(call);
  }
};

class FindFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site = test::SiteTestFolder() + "find-form/";
    fs::create_directories(site);
    form = std::make_unique<TWebForm>();
    SetMainWindow(form.get());
    find = CreateFindForm(form.get());
  }
  void TearDown() override {
    driver.stop();
    SetUserDialogs(&Dialogs());
    SetFindDialog(nullptr);
    form.reset();
    SetMainWindow(nullptr);
    CurrentEditor = nullptr;
    fs::remove_all(test::SiteTestFolder());
    fs::remove(DocumentsFolder() + "Quorrel.Ini");
  }
  void OpenDocument(const std::string& name, const std::string& bytes) {
    const std::string path = site + name;
    std::ofstream(path, std::ios::binary) << bytes;
    StartParameters = {path};
    FormActivate();
    ASSERT_EQ(CurrentFileName, path);
  }
  // While a command runs, acts on the dialog whenever it shows.
  void WhileFindShows(std::function<void(TFindForm&)> act) {
    driver.setInterval(5);
    QObject::connect(&driver, &QTimer::timeout, [this, act] {
      if (find->isVisible()) act(*find);
    });
    driver.start();
  }
  static void Ok(TFindForm& f) { f.OKBtn->click(); }

  std::string site;
  std::unique_ptr<TWebForm> form;
  TFindForm* find = nullptr;
  QTimer driver;
};

TEST_F(FindFormTest, PastedLineFeedsAndTabsShowAsTheirMarks) {
  find->FText->lineEdit()->insert("one\ntwo\tthree\r\nfour");
  EXPECT_EQ(find->FText->currentText(), Ansi("one\xB6two\xBBthree\xB6" "four"));
  find->RepText->lineEdit()->insert("a\tb");
  EXPECT_EQ(find->RepText->currentText(), Ansi("a\xBB" "b"));
  // The caret stays after the text put in.
  EXPECT_EQ(find->RepText->lineEdit()->cursorPosition(), 3);
}

TEST_F(FindFormTest, TheTextBoxesTakeCtrlTabCtrlEnterButHtmlRefusesTabs) {
  struct Case {
    const char* ext;
    int key;
    const char* text;
    const char* message;
  } cases[] = {
      {".TXT", Qt::Key_Tab, "x\xBB", ""},
      {".JS", Qt::Key_Return, "x\xB6", ""},
      {".HTML", Qt::Key_Tab, "x",
       "Quorrel doesn't accept tabs in HTML files.\rIt converts them to spaces."},
      {".HTM", Qt::Key_Enter, "x\xB6", ""},
  };
  find->show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ext);
    CurrentExt = c.ext;
    Dialogs().Clear();
    for (QComboBox* box : {find->FText, find->RepText}) {
      // Typed keys come to the box, which passes them to its line edit itself.
      for (QWidget* target : {static_cast<QWidget*>(box), static_cast<QWidget*>(box->lineEdit())}) {
        box->setEditText("x");
        Type(target, static_cast<Qt::Key>(c.key), Qt::ControlModifier);
        EXPECT_EQ(box->currentText(), Ansi(c.text));
      }
    }
    EXPECT_EQ(Dialogs().Texts().empty() ? "" : Dialogs().Last().text, c.message);
  }
  find->hide();
  CurrentExt.clear();
}

TEST_F(FindFormTest, HexIsShownDecodedAndUntickedAtTheNextShow) {
  OpenDocument("h.txt", "xxABCxx\r\n");
  int shown = 0;
  WhileFindShows([&](TFindForm& f) {
    if (++shown == 1) {
      f.FText->setEditText("414243");
      f.Hex->setChecked(true);
    } else {
      EXPECT_EQ(f.FText->currentText(), "ABC");
      EXPECT_FALSE(f.Hex->isChecked());
    }
    Ok(f);
  });
  MainMenu().Click("Find");
  EXPECT_EQ(CurrentEditor->SelText(), "ABC");
  MainMenu().Click("Find");
  EXPECT_EQ(shown, 2);
}

TEST_F(FindFormTest, HistoriesKeepTwentyNewestFirstAndDeleteRemovesOne) {
  OpenDocument("h.txt", "text\r\n");
  int run = 0;
  WhileFindShows([&](TFindForm& f) {
    f.FText->setEditText(QString("word%1").arg(++run));
    Ok(f);
  });
  for (int i = 0; i < 22; ++i) MainMenu().Click("Find");
  driver.stop();
  ASSERT_EQ(FindHistory.size(), 20u);
  EXPECT_EQ(FindHistory.front(), "word22");
  EXPECT_EQ(FindHistory.back(), "word3");
  EXPECT_EQ(find->FText->count(), 20);
  EXPECT_EQ(find->FText->itemText(0), "word22");
  // An old entry chosen again moves to the top, once.
  find->FText->setEditText("word10");
  find->OKBtn->click();
  EXPECT_EQ(FindHistory.front(), "word10");
  EXPECT_EQ(std::count(FindHistory.begin(), FindHistory.end(), "word10"), 1);
  // The pop-up's Delete removes the entry shown.
  find->FText->setEditText("word15");
  Q_EMIT find->FText->customContextMenuRequested(QPoint(1, 1));
  find->ListMenu->hide();
  find->ListMenu->findChild<QAction*>("DelItem")->trigger();
  EXPECT_EQ(std::count(FindHistory.begin(), FindHistory.end(), "word15"), 0);
  EXPECT_EQ(find->FText->findText("word15"), -1);
  EXPECT_EQ(FindHistory.size(), 19u);
}

TEST_F(FindFormTest, OptionsSurviveClosingAndReopeningAndTickedBoxesArePaleYellow) {
  OpenDocument("o.txt", "Word word\r\n");
  int shown = 0;
  WhileFindShows([&](TFindForm& f) {
    if (++shown == 1) {
      f.FText->setEditText("word");
      f.FindCase->setChecked(true);
      f.FindWord->setChecked(true);
    } else {
      EXPECT_TRUE(f.FindCase->isChecked());
      EXPECT_TRUE(f.FindWord->isChecked());
      EXPECT_EQ(f.FindCase->palette().color(QPalette::Window), ColourFromBgr(0x8CFFFF));
      EXPECT_NE(f.Hex->palette().color(QPalette::Window), ColourFromBgr(0x8CFFFF));
    }
    Ok(f);
  });
  MainMenu().Click("Find");
  EXPECT_EQ(CurrentEditor->SelStart(), 5u);  // the case-sensitive whole word
  MainMenu().Click("Find");
  EXPECT_EQ(shown, 2);
}

TEST_F(FindFormTest, TheReplaceBoxShowsOnlyForReplacingWithTheCommandsCaption) {
  OpenDocument("c.txt", "abc\r\n");
  std::vector<std::pair<QString, bool>> seen;
  WhileFindShows([&](TFindForm& f) {
    seen.push_back({f.windowTitle(), !f.RepText->isHidden()});
    f.FText->setEditText("b");
    f.CancelBtn->click();
  });
  MainMenu().Click("Find");
  MainMenu().Click("ReplaceM");
  MainMenu().Click("Extract");
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], std::make_pair(QString("Find"), false));
  EXPECT_EQ(seen[1], std::make_pair(QString("Replace"), true));
  EXPECT_EQ(seen[2], std::make_pair(QString("Extract lines"), false));
}

TEST_F(FindFormTest, ThePromptAnswersItsKeysInEitherCaseAndIgnoresOthers) {
  form->resize(900, 500);
  form->show();
  struct Case {
    std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
    int answer;
  } cases[] = {
      {{{Qt::Key_Y, Qt::NoModifier}}, mrYes},
      {{{Qt::Key_Y, Qt::ShiftModifier}}, mrYes},
      {{{Qt::Key_Return, Qt::NoModifier}}, mrYes},
      {{{Qt::Key_Space, Qt::NoModifier}}, mrYes},
      {{{Qt::Key_N, Qt::NoModifier}}, mrNo},
      {{{Qt::Key_A, Qt::ShiftModifier}}, mrAll},
      {{{Qt::Key_C, Qt::NoModifier}}, mrCancel},
      {{{Qt::Key_Escape, Qt::NoModifier}}, mrCancel},
      {{{Qt::Key_X, Qt::NoModifier}, {Qt::Key_Q, Qt::NoModifier}, {Qt::Key_N, Qt::NoModifier}},
       mrNo},
  };
  for (const Case& c : cases) {
    size_t next = 0;
    QTimer keys;
    keys.setInterval(2);
    QObject::connect(&keys, &QTimer::timeout, [&] {
      auto* prompt = form->findChild<TRepForm*>("RepForm");
      if (!prompt || !prompt->isVisible() || next >= c.keys.size()) return;
      Type(prompt, c.keys[next].first, c.keys[next].second);
      ++next;
    });
    keys.start();
    EXPECT_EQ(AskReplacePrompt(), c.answer);
    EXPECT_EQ(next, c.keys.size());
  }
  auto* prompt = form->findChild<TRepForm*>("RepForm");
  ASSERT_NE(prompt, nullptr);
  EXPECT_FALSE(prompt->isVisible());
  EXPECT_EQ(prompt->Label->text(), " Replace?  Yes / No / All / Cancel ");
}

TEST_F(FindFormTest, ThePromptSitsInsideTheMainWindowAboveTheStatusBarAtEverySize) {
  form->show();
  for (QSize size : {QSize(1200, 700), QSize(500, 300), QSize(300, 120), QSize(150, 90)}) {
    SCOPED_TRACE(size.width());
    form->resize(size);
    QApplication::processEvents();
    QTimer::singleShot(0, [&] {
      auto* prompt = form->findChild<TRepForm*>("RepForm");
      ASSERT_TRUE(prompt && prompt->isVisible());
      const QRect r = prompt->geometry();
      EXPECT_EQ(r.height(), 19);
      EXPECT_TRUE(form->rect().contains(r)) << r.x() << "," << r.y() << " " << r.width();
      if (size.width() >= 1200) {
        EXPECT_EQ(r.x(), form->statusBar()->x() + 392);
        EXPECT_EQ(r.bottom() + 1, form->statusBar()->y());
      }
      Type(prompt, Qt::Key_Escape);
    });
    EXPECT_EQ(AskReplacePrompt(), mrCancel);
  }
}

TEST_F(FindFormTest, ReplaceWithPromptFromCtrlRToTheFileSaved) {
  const char kPage[] = "/usr/share/doc/libxslt1-dev/html/extensions.html";
  ASSERT_TRUE(test::Installed(kPage, "libxslt1-dev"));
  std::ifstream in(kPage, std::ios::binary);
  std::string original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // Its head on a line of its own, so that opening it does not re-lay the page.
  original.replace(original.find("<head>"), 6, "\n<head>");
  OpenDocument("extensions.html", original);
  form->resize(1000, 700);
  form->show();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->isActiveWindow(); }, 2000));
  const std::string before = CurrentEditor->GetText();
  const std::string word = "xsltTransformContextPtr";
  size_t count = 0;
  for (size_t at = before.find(word); at != std::string::npos; at = before.find(word, at + 1)) {
    ++count;
  }
  ASSERT_GE(count, 4u);
  PromptOnScreen prompts;
  SetUserDialogs(&prompts);

  // N, Y, then A, as keys typed at the prompt; the highlight never changes the text.
  const std::vector<Qt::Key> answers = {Qt::Key_N, Qt::Key_Y, Qt::Key_A};
  size_t next = 0;
  bool modifiedAtFirstPrompt = true;
  WhileFindShows([&](TFindForm& f) {
    f.FText->setEditText(QString::fromStdString(word));
    f.RepText->setEditText("xsltContext");
    f.FindCase->setChecked(true);
    f.Prompt->setChecked(true);
    Ok(f);
  });
  QTimer keys;
  keys.setInterval(2);
  QObject::connect(&keys, &QTimer::timeout, [&] {
    auto* prompt = form->findChild<TRepForm*>("RepForm");
    if (!prompt || !prompt->isVisible() || next >= answers.size()) return;
    if (next == 0) modifiedAtFirstPrompt = CurrentEditor->Modified();
    Type(prompt, answers[next++]);
  });
  keys.start();
  QWidget* editor = form->PC()->currentWidget();
  editor->setFocus();
  Type(editor, Qt::Key_R, Qt::ControlModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return next == answers.size() && !find->isVisible(); }, 5000));
  QApplication::processEvents();
  EXPECT_FALSE(modifiedAtFirstPrompt);

  // The first occurrence kept, every later one replaced.
  std::string expected = before;
  size_t at = expected.find(word);
  at = expected.find(word, at + 1);
  size_t lastEnd = 0;
  for (; at != std::string::npos; at = expected.find(word, at)) {
    expected.replace(at, word.size(), "xsltContext");
    at += std::string("xsltContext").size();
    lastEnd = at;
  }
  EXPECT_EQ(CurrentEditor->GetText(), expected);
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(CurrentEditor->Highlight(), TColourRun{});
  // The caret after the last replacement (editor positions: one per line end).
  size_t lineEnds = 0;
  for (size_t i = 0; i < lastEnd; ++i) lineEnds += expected[i] == '\n';
  EXPECT_EQ(CurrentEditor->SelStart(), lastEnd - lineEnds);

  // One undo takes back the whole command.
  auto* rich = dynamic_cast<QTextEdit*>(editor);
  ASSERT_NE(rich, nullptr);
  rich->undo();
  EXPECT_EQ(CurrentEditor->GetText(), before);
  rich->redo();
  EXPECT_EQ(CurrentEditor->GetText(), expected);

  // Saved, the file holds the replacements.
  MainMenu().SetChecked("ValSave", false);
  MainMenu().Click("Save");
  std::ifstream saved(site + "extensions.html", std::ios::binary);
  const std::string disk((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
  EXPECT_NE(disk.find("xsltContext"), std::string::npos);
  size_t kept = 0;
  for (size_t i = disk.find(word); i != std::string::npos; i = disk.find(word, i + 1)) ++kept;
  EXPECT_EQ(kept, 1u);
}

// Replace without the prompt over a long real text: every occurrence in one step
// the user can undo, the loop question asked once, the view left where the user
// was reading and the caret after the last replacement.
TEST_F(FindFormTest, ReplaceAllOfALongTextFromTheMenuKeepsTheViewAndUndoesInOneStep) {
  std::string text;
  for (const char* name : {"GPL-3", "Apache-2.0", "MPL-2.0", "GFDL-1.3"}) {
    std::ifstream in(std::string("/usr/share/common-licenses/") + name, std::ios::binary);
    ASSERT_TRUE(in) << name;
    text.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  OpenDocument("licences.txt", text);
  form->resize(1000, 700);
  form->show();
  QApplication::processEvents();
  const std::string before = CurrentEditor->GetText();
  ASSERT_GT(CurrentEditor->LineCount(), 1500u);
  CurrentEditor->Select(CurrentEditor->LineIndex(1200), 0);
  CurrentEditor->ScrollLines(1200 - static_cast<long>(CurrentEditor->FirstVisibleLine()));
  const size_t firstLine = CurrentEditor->FirstVisibleLine();
  WhileFindShows([&](TFindForm& f) {
    f.FText->setEditText("the");
    f.RepText->setEditText("THE");
    f.FindCase->setChecked(true);
    f.Prompt->setChecked(false);
    Ok(f);
  });
  Dialogs().Answer(mrNo);  // not in a loop
  MainMenu().Click("ReplaceM");
  QApplication::processEvents();

  std::string expected = before;
  size_t lastEnd = 0;
  for (size_t at = expected.find("the"); at != std::string::npos; at = expected.find("the", at)) {
    expected.replace(at, 3, "THE");
    at += 3;
    lastEnd = at;
  }
  EXPECT_EQ(CurrentEditor->GetText(), expected);
  EXPECT_TRUE(CurrentEditor->Modified());
  EXPECT_EQ(CurrentEditor->FirstVisibleLine(), firstLine);
  size_t lineEnds = 0;
  for (size_t i = 0; i < lastEnd; ++i) lineEnds += expected[i] == '\n';
  EXPECT_EQ(CurrentEditor->SelStart(), lastEnd - lineEnds);
  auto* rich = dynamic_cast<QTextEdit*>(form->PC()->currentWidget());
  ASSERT_NE(rich, nullptr);
  rich->undo();
  EXPECT_EQ(CurrentEditor->GetText(), before);
}

TEST_F(FindFormTest, WordsTypedInTheCorrectionColourAreFoundInTurn) {
  OpenDocument("typed.rtf",
               "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\r\n"
               "\\viewkind4\\uc1\\pard\\f0\\fs24 first line\r\n\\par second line\r\n\\par }\r\n");
  ASSERT_TRUE(IsRtf);
  form->show();
  QWidget* editor = form->PC()->currentWidget();
  editor->setFocus();
  // Typing in the correction colour, as "Correcting" has the editor type.
  auto* rich = dynamic_cast<QTextEdit*>(editor);
  ASSERT_NE(rich, nullptr);
  auto typeCorrected = [&](size_t at, const char* word) {
    CurrentEditor->Select(at, 0);
    rich->setTextColor(ColourFromBgr(0x0100FF));
    CurrentEditor->SetSelText(word);
    rich->setTextColor(Qt::black);
  };
  // "xy" typed after "first", "zz" after "second".
  typeCorrected(5, "xy");
  const size_t second = CurrentEditor->GetText().find("second") + 6 - 1;  // one position per line end
  typeCorrected(second, "zz");
  ASSERT_EQ(CurrentEditor->GetText().substr(0, 7), "firstxy");
  CurrentEditor->Select(0, 0);
  MainMenu().Click("FindCorr");
  EXPECT_EQ(CurrentEditor->SelStart(), 5u);
  MainMenu().Click("FRNext");
  EXPECT_EQ(CurrentEditor->SelStart(), second);
  MainMenu().Click("FRNext");
  EXPECT_FALSE(FindState.found);
}

// Next goes on from the end of the match found, whatever the blink did to the
// selection meanwhile: its ticks collapse it, and so does a key pressed during it.
TEST_F(FindFormTest, NextFindsTheFollowingMatchAfterTheBlinkOrAKeyDuringIt) {
  const char kGpl[] = "/usr/share/common-licenses/GPL-3";
  std::ifstream in(kGpl, std::ios::binary);
  const std::string gpl((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(gpl.size(), 10000u);
  OpenDocument("gpl.txt", gpl);
  form->resize(1000, 700);
  form->show();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->isActiveWindow(); }, 2000));
  // Where "license" stands, in any case, in editor positions (one per line end).
  std::string text = CurrentEditor->GetText();
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  std::vector<size_t> matches;
  for (size_t at = text.find("license"); at != std::string::npos && matches.size() < 4;
       at = text.find("license", at + 1)) {
    matches.push_back(at);
  }
  ASSERT_EQ(matches.size(), 4u);

  QWidget* editor = form->PC()->currentWidget();
  editor->setFocus();
  WhileFindShows([](TFindForm& f) {
    f.FText->setEditText("license");
    Ok(f);
  });
  Type(editor, Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !find->isVisible() && FindState.found; }, 5000));
  driver.stop();
  EXPECT_EQ(CurrentEditor->SelStart(), matches[0]);
  ASSERT_TRUE(Blinking());
  // The window has the keyboard again once the dialog is gone (the window manager
  // gives it back; the offscreen platform has none).
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->isActiveWindow(); }, 2000));
  ASSERT_EQ(QApplication::focusWidget(), editor);

  // The blink runs its course: at its end nothing is selected.
  for (int tick = 0; tick < 10 && Blinking(); ++tick) Timer().Tick();
  ASSERT_FALSE(Blinking());
  EXPECT_EQ(CurrentEditor->SelLength(), 0u);
  Type(QApplication::focusWidget(), Qt::Key_F3);
  EXPECT_EQ(CurrentEditor->SelStart(), matches[1]);
  EXPECT_EQ(CurrentEditor->SelLength(), 7u);

  // A key during the blink ends it and leaves the caret at the match's start.
  ASSERT_TRUE(Blinking());
  Type(QApplication::focusWidget(), Qt::Key_Left);
  ASSERT_FALSE(Blinking());
  EXPECT_EQ(CurrentEditor->SelLength(), 0u);
  Type(QApplication::focusWidget(), Qt::Key_F3);
  EXPECT_EQ(CurrentEditor->SelStart(), matches[2]);
  Type(QApplication::focusWidget(), Qt::Key_F3);
  EXPECT_EQ(CurrentEditor->SelStart(), matches[3]);
}

// Whatever the answer at the replace prompt, the keys typed next go into the text:
// the prompt hands the keyboard back to the editor when it closes.
TEST_F(FindFormTest, TheKeysGoBackToTheEditorAfterEachAnswerOfThePrompt) {
  PromptOnScreen prompts;
  SetUserDialogs(&prompts);
  form->resize(1000, 700);
  struct Case {
    Qt::Key answer;
    const char* result;
  } cases[] = {
      {Qt::Key_Y, "a dog.x"}, {Qt::Key_N, "a cat.x"}, {Qt::Key_A, "a dog.x"},
      {Qt::Key_C, "a cat.x"}, {Qt::Key_Escape, "a cat.x"},
  };
  OpenDocument("pet.txt", "a cat.");
  form->show();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->isActiveWindow(); }, 2000));
  QWidget* editor = form->PC()->currentWidget();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.result + std::string(" after key ") + std::to_string(c.answer));
    CurrentEditor->SetText("a cat.");
    CurrentEditor->SetModified(false);
    DocModified = true;
    GetEditorText();
    CurrentEditor->Select(0, 0);
    editor->setFocus();
    WhileFindShows([](TFindForm& f) {
      f.FText->setEditText("cat");
      f.RepText->setEditText("dog");
      f.Prompt->setChecked(true);
      Ok(f);
    });
    bool answered = false;
    QTimer keys;
    keys.setInterval(2);
    QObject::connect(&keys, &QTimer::timeout, [&] {
      auto* prompt = form->findChild<TRepForm*>("RepForm");
      if (answered || !prompt || !prompt->isVisible()) return;
      // The window manager gives the window back its keyboard once the dialog has
      // gone; the offscreen platform has none.
      if (!form->isActiveWindow()) {
        form->activateWindow();
        return;
      }
      if (QApplication::focusWidget() != prompt) return;
      answered = true;
      Type(prompt, c.answer);
    });
    keys.start();
    Type(editor, Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered && CurrentCommand.empty(); }, 5000));
    keys.stop();
    driver.stop();
    QObject::disconnect(&driver, nullptr, nullptr, nullptr);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), editor);
    CurrentEditor->Select(CurrentEditor->TextLength(), 0);
    Type(QApplication::focusWidget(), Qt::Key_X);
    EXPECT_EQ(CurrentEditor->GetText(), c.result);
    CurrentEditor->SetModified(false);
  }
}

}  // namespace
}  // namespace quorrel
