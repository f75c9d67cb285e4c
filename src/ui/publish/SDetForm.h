#pragma once
// The "Server Details" dialog: the FTP address, user, password, web address and
// web root of the current site, in one of nine sets of details.
#include <QDialog>
#include <array>

#include "publish/SiteDetailsDialog.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quorrel {

class TSDetForm : public QDialog {
  Q_OBJECT

 public:
  explicit TSDetForm(QWidget* parent = nullptr);

  // The set of details the dialog shows (1 to 9).
  int Set() const { return set_; }

  QLabel* InfoLab;
  QLineEdit* FtpAddr;
  QLineEdit* UserName;
  QLineEdit* Password;
  QLineEdit* WebSite;
  QLineEdit* WebRoot;
  QPushButton* BrowseBtn;
  QGroupBox* SetGroup;
  std::array<QRadioButton*, ServerSetCount> SetButtons{};
  QPushButton* OkBtn;
  QPushButton* CancelBtn;
  QPushButton* DeleteBtn;
  QPushButton* HelpBtn;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TServerFields Fields() const;
  void ShowFields(const TServerFields& fields);
  void MaskPassword();
  void SetClick(int n);
  void BrowseClick();
  void DeleteClick();
  void OkClick();
  void CancelClick();

  QButtonGroup* setGroup_;
  int set_ = 1;
};

// Shows the dialog modally: QDialog::Accepted when the details were saved.
int ShowServerDetailsDialog(QWidget* parent = nullptr);

// The Server Details command shows this dialog over the main window.
void InstallServerDetailsForm();

}  // namespace quorrel
