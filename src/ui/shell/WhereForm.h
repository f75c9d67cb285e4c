#pragma once
// "Where is the program?": a path to a program, typed or found with Browse, which
// offers executable files of any name.
#include <QDialog>

class QLineEdit;
class QPushButton;
class QToolButton;

namespace quorrel {

class TWhereForm : public QDialog {
  Q_OBJECT

 public:
  explicit TWhereForm(QWidget* parent = nullptr);

  void SetHelp(int helpContext);

  QLineEdit* FName;
  QToolButton* BrowseBtn;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QPushButton* HelpBtn;

 private:
  void BrowseBtnClick();

  int helpContext_;
};

// Start-up: AskWhere shows this dialog.
void InstallWhereForm();

}  // namespace quorrel
