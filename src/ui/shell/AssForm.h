#pragma once
// "Associate Quorrel with file types": a box per offered type, marked when the
// program already opens it, and a type of the user's own with its description.
// OK makes the program the default for every checked type.
#include <QDialog>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quorrel {

class TAssForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAssForm(QWidget* parent = nullptr);

  std::vector<QCheckBox*> Boxes;  // the offered types, in their order
  QCheckBox* UserBox;             // hidden, always checked: the user's own type
  QLineEdit* UserExt;             // "Your choice"
  QLineEdit* UserDesc;            // "Description"
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QPushButton* HelpBtn;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void OKBtnClick();
  // The work for one box: with write, associates its type when it is checked;
  // without, marks its caption when the type is already associated.
  void Process(QCheckBox* box, bool write);

  bool shown_ = false;
};

// Start-up: "File associations" shows this dialog.
void InstallAssForm();

}  // namespace quorrel
