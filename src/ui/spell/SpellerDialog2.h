#pragma once
// The spelling dialog: one finding of the spell checker at a time, with the line
// that holds it, a message, the suggestions and the buttons that decide what
// happens to it. Every button calls back into the checker, which goes on.
#include <QDialog>
#include <QPointer>
#include <functional>

#include "spell/SpellDialogSeam.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace quorrel {

class TMisspellingView;

class TSpellerDialog2 : public QDialog, public TSpellDialog {
  Q_OBJECT

 public:
  explicit TSpellerDialog2(TSpellChecker& checker, QWidget* parent = nullptr);

  // TSpellDialog
  void ShowFinding(const TSpellFinding& finding) override;
  void Hide() override;

  // The window becoming active or inactive. The window system calls them through
  // changeEvent; tests call them directly, as activation is unreliable without a
  // window manager.
  void Activation();
  void Deactivation();

  QLabel* InfoMsg;
  TMisspellingView* Misspelling;
  QLabel* Label2;
  QListWidget* Variants;
  QPushButton* ChangeButton;
  QPushButton* ChangeAllButton;
  QPushButton* SkipButton;
  QPushButton* SkipAllButton;
  QPushButton* AddButton;
  QPushButton* CancelButton;
  QPushButton* CancelEdit;
  QPushButton* DelButton;
  QPushButton* StartButton;

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Esc and the window's close box cancel the check.
  void reject() override;

 private:
  void ApplyTexts();
  void FillView();
  void FillVariants();
  // The finding's row of the button table.
  void ShowStates();
  // Change, Change All, the list and its label follow the selected suggestion.
  void SuggestionStates();
  void EditStarted();
  // The selected suggestion (Windows-1252); false when none is.
  bool Suggestion(std::string& text) const;

  void ChangeClick();
  void ChangeAllClick();
  void UndoEditClick();
  void StartClick();
  // Runs a button's answer to the checker. An editor that has gone meanwhile
  // ends the check instead; a modal dialog closes so that the check goes on.
  void Answer(const std::function<void()>& body);

  TSpellChecker& checker_;
  TSpellFinding finding_;
  bool editing_ = false;  // the user changed the flagged text in the view
  bool modal_ = false;    // shown modally, waiting in exec
  // The checked editor, found again by name on its window for Start.
  QString editorName_;
  QPointer<QWidget> editorForm_;
  QPointer<QWidget> editor_;
  bool editorIsWidget_ = false;
};

// Start-up: the spell checker shows its findings in this dialog.
void InstallSpellerDialog();

}  // namespace quorrel
