#pragma once
// The Find dialog ("FindForm"): the text to find and its replacement with their
// histories, the search options and the panel for searching the files of a folder.
// It only gathers the answers; the find engine reads them from FindAnswers.
#include <QDialog>

#include "commands/FindState.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace quorrel {

class TFindForm : public QDialog, public TFindDialog {
  Q_OBJECT

 public:
  explicit TFindForm(QWidget* parent = nullptr);

  // TFindDialog: shows the fields of FindAnswers for the command, and on OK takes
  // them back.
  bool Execute(const TFindRequest& request) override;

  QComboBox* FText;
  QLabel* RepLabel;
  QComboBox* RepText;
  QCheckBox* FindCase;
  QCheckBox* FindWord;
  QCheckBox* Prompt;
  QCheckBox* Hex;
  QCheckBox* BlockRep;
  QCheckBox* InSection;
  QFrame* FilePanel;
  QCheckBox* SF;
  QLineEdit* Root;
  QLabel* FMLabel;
  QLineEdit* FM;
  QCheckBox* SD;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QPushButton* HelpBtn;
  QMenu* ListMenu;
  QLabel* Hint;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormShow(const TFindRequest& request);
  void CheckBoxClick(QCheckBox* box);
  void SFClick();
  void TextChange(QComboBox* box);
  void FTextExit();
  void RepTextExit();
  void DelItemClick();
  // Ctrl+Tab, Ctrl+Enter and Ctrl+S in either box; true when the key was taken.
  bool AnyKeyDown(QComboBox* box, int key, Qt::KeyboardModifiers modifiers);
  void HelpBtnClick();
  void Paint(QWidget* widget, bool on);
  void TakeAnswers();
  void FillHistory(QComboBox* box, const std::vector<std::string>& history);

  QComboBox* menuBox_ = nullptr;  // the box whose pop-up menu is open
  int helpContext_ = FindHelpContext;
  bool changing_ = false;
};

// Start-up: the permanent Find dialog, which the find commands show.
TFindForm* CreateFindForm(QWidget* owner);

}  // namespace quorrel
