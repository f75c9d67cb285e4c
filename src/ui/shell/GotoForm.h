#pragma once
// "Go To": a line number or a character offset. Entering either field makes its
// button the default one, so that Enter goes by the field last entered.
#include <QDialog>

#include "edit/GoTo.h"

class QLineEdit;
class QPushButton;

namespace quorrel {

class TGotoForm : public QDialog {
  Q_OBJECT

 public:
  explicit TGotoForm(QWidget* parent = nullptr);

  // Shows the fields' values and waits; the fields come back as the user left them.
  TGotoChoice Choose(TGotoFields& fields);

  QLineEdit* LineNo;
  QLineEdit* Offset;
  QPushButton* GoLine;
  QPushButton* GoOff;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TGotoChoice choice_ = TGotoChoice::Cancel;
};

// Start-up: the Go To command asks through this dialog.
void InstallGotoForm();

}  // namespace quorrel
