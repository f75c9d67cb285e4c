#pragma once
// The marker list: one row per marker (0 to 9) with the section and the text of
// each set one. A digit, typed or clicked, sets, removes or goes to that marker
// and closes the list.
#include <QDialog>
#include <array>

class QLabel;

namespace quorrel {

class TMarkForm : public QDialog {
  Q_OBJECT

 public:
  TMarkForm(bool setMode, QWidget* parent = nullptr);

  QLabel* DigitLabel(int digit) const { return digits_[digit]; }
  QLabel* TextLabel(int digit) const { return texts_[digit]; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Press(int digit);

  bool setMode_;
  std::array<QLabel*, 10> digits_{};
  std::array<QLabel*, 10> texts_{};
};

// Start-up: the Set and Goto commands show this list.
void InstallMarkForm();

}  // namespace quorrel
