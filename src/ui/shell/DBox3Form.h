#pragma once
// The program's own three-button box behind AskCustom: created once, reused.
#include <QDialog>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;

namespace quorrel {

class TDBox3Form : public QDialog {
  Q_OBJECT

 public:
  explicit TDBox3Form(QWidget* parent = nullptr);

  // Shows the message with the three captions and returns 6, 7 or 2 (2 also when
  // the box is closed otherwise). An empty second caption hides that button. While
  // the box is already showing it is left alone and its result as it stands returned.
  int Ask(const std::string& message, const std::string& caption1, const std::string& caption2,
          int helpContext, const std::string& caption3);

  bool Showing() const { return showing_; }
  // The help topic of the box while it is shown, 0 otherwise.
  int HelpContext() const { return helpContext_; }

  QLabel* Msg;
  QLabel* HelpImg;  // holds the glyph of a Help button
  QPushButton* Button1;
  QPushButton* Button2;
  QPushButton* CancelBtn;
  QCheckBox* DontAsk;

 public Q_SLOTS:
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Button2Click();
  void FormActivate();
  void CentreOnScreen();

  int helpContext_ = 0;
  bool showing_ = false;
};

// The one box of the program, created on first use.
TDBox3Form& DBox3Form();

}  // namespace quorrel
