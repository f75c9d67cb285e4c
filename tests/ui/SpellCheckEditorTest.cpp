// The spell checker on the real editor control of a tab, with its hidden copy made
// by the main window and the real en_GB speller.
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>

#include "platform/Registry.h"
#include "shell/MainWindow.h"
#include "spell/SpellChecker.h"
#include "spell/SpellerRegistry.h"
#include "ui/shell/WebForm.h"

namespace quorrel {
namespace {

class ScriptedSpellDialog : public TSpellDialog {
 public:
  explicit ScriptedSpellDialog(std::vector<std::string>& words) : words_(words) {}
  void ShowFinding(const TSpellFinding& finding) override { words_.push_back(finding.word); }
  void Hide() override {}

 private:
  std::vector<std::string>& words_;
};

TEST(SpellCheckEditor, FindingsAreSelectedAndChangedInTheTabsEditor) {
  std::filesystem::remove(RegistryFileName());
  ASSERT_GE(RegisterHunspellDictionaries(), 1) << "hunspell-en-gb";
  TWebForm window;
  SetMainWindow(&window);
  std::vector<std::string> words;
  SetSpellDialogFactory(
      [&](TSpellChecker&) { return std::make_unique<ScriptedSpellDialog>(words); });
  TMyRich* editor = window.NewTab();
  editor->SetText("A fine day\r\nthe wrold and its tezt");
  const QWidgetList before = QApplication::topLevelWidgets();

  TSpellChecker checker;
  checker.Language = 2057;
  ASSERT_TRUE(checker.Check(*editor));
  ASSERT_EQ(words, std::vector<std::string>{"wrold"});
  EXPECT_EQ(editor->SelText(), "wrold");
  checker.ChangeOnce("wide world");
  ASSERT_EQ(words, (std::vector<std::string>{"wrold", "tezt"}));
  EXPECT_EQ(editor->SelText(), "tezt");
  checker.ChangeOnce("text");
  EXPECT_FALSE(checker.Checking());
  EXPECT_EQ(editor->GetText(), "A fine day\r\nthe wide world and its text");
  // The hidden copy never showed and is gone with the check.
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    EXPECT_TRUE(before.contains(widget) || !widget->isVisible());
  }
  SetMainWindow(nullptr);
}

}  // namespace
}  // namespace quorrel
