#pragma once
// The checker on the in-memory editor and main window, the real en_GB speller,
// and a spelling dialog whose buttons the test presses.
#include <memory>
#include <string>
#include <vector>

#include "shell/MainWindow.h"
#include "spell/SpellChecker.h"
#include "spell/SpellTestKit.h"
#include "support/MemoryMainWindow.h"
#include "support/MemoryRich.h"

namespace quorrel::test {

class CheckerFixture : public SpellerFixture {
 protected:
  // Records what the checker shows; the test answers through the checker.
  class RecordingDialog : public TSpellDialog {
   public:
    explicit RecordingDialog(CheckerFixture& fixture) : fixture_(fixture) {}
    void ShowFinding(const TSpellFinding& finding) override {
      fixture_.findings.push_back(finding);
      fixture_.dialogShown = true;
    }
    void Hide() override { fixture_.dialogShown = false; }

   private:
    CheckerFixture& fixture_;
  };

  void SetUp() override {
    SpellerFixture::SetUp();
    SetMainWindow(&window);
    SetSpellDialogFactory(
        [this](TSpellChecker&) { return std::make_unique<RecordingDialog>(*this); });
    checker.Language = kEnglishUK;
    checker.OnFinished = [this](TSpellChecker&) { ++finished; };
  }
  void TearDown() override { SetMainWindow(nullptr); }

  // An editor holding text, with [selStart, selStart + selLength) selected.
  MemoryRich& Editor(const std::string& text, size_t selStart = 0, size_t selLength = 0) {
    editor.SetText(text);
    editor.Select(selStart, selLength);
    return editor;
  }
  // The words the checker has shown so far.
  std::vector<std::string> Words() const {
    std::vector<std::string> words;
    for (const TSpellFinding& f : findings) words.push_back(f.word);
    return words;
  }
  // Skips every finding to the end; returns the words shown.
  std::vector<std::string> SkipAll() {
    while (checker.Checking() && dialogShown) checker.Continue();
    return Words();
  }

  MemoryMainWindow window;
  MemoryRich editor;
  std::vector<TSpellFinding> findings;
  bool dialogShown = false;
  int finished = 0;
};

}  // namespace quorrel::test
