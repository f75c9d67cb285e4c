#pragma once
// "Sets of files": the dialog of the Set menu. Lists the sets in their order;
// for "Save as..." it also has a box for a new name and the Select button.
#include <QDialog>
#include <string>

class QLabel;
class QListWidget;
class QLineEdit;
class QPushButton;

namespace quorrel {

class TSetForm : public QDialog {
  Q_OBJECT

 public:
  explicit TSetForm(QWidget* parent = nullptr);

  // Shows the defined sets (the first selected) and waits. Open: the chosen name
  // (OK or a double click). Save as: Select or a click on a name takes that name,
  // OK the typed one. False when cancelled.
  bool Choose(bool saveAs, std::string& name);

  QListWidget* SetList;
  QLabel* NewNameLabel;
  QLineEdit* NewName;
  QPushButton* SelectBtn;
  QPushButton* SortBtn;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Fill();
  void SortClick();
  void TakeName(const QString& name);
  void FitList();

  bool saveAs_ = false;
  QString chosen_;
};

// Start-up: the set commands ask for names through this dialog.
void InstallSetForm();

}  // namespace quorrel
