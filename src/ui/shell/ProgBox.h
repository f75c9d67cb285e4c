#pragma once
// The progress box of long runs: the lines of the run, the error count, Cancel
// (OK at the end) and Print. Created once at start; core's TProgress fills it.
#include <QDialog>
#include <QMargins>
#include <functional>

#include "shell/ProgUnit.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QCloseEvent;
class QKeyEvent;

namespace quorrel {

class TProgBox : public QDialog, public TProgressView {
  Q_OBJECT

 public:
  explicit TProgBox(QWidget* parent = nullptr);
  ~TProgBox() override;

  // Prints the box's text: through the main form's print command, unless another
  // command is given here.
  void SetPrintCommand(std::function<void(const QString& text)> command);

  QPlainTextEdit* ProgText() const { return progText_; }
  QLabel* ELabel() const { return eLabel_; }
  QPushButton* CancelBtn() const { return cancelBtn_; }
  QPushButton* PrintBtn() const { return printBtn_; }

  // TProgressView
  void RunPrepared() override;
  void LineAdded(const std::string& line) override;
  void StateChanged() override;
  void ShowBox() override;
  void HideBox() override;
  void ShowModalBox() override;
  void ProcessMessages() override;
  void PrintLines(const std::vector<std::string>& lines) override;

  void CancelBtnClick();
  void PrintBtnClick();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;
  void keyPressEvent(QKeyEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void Print(const QString& text);
  void CloseBox();
  // Top left of the screen's work area, as high as it allows with the frame.
  void FitToScreen();

  QPlainTextEdit* progText_;
  QLabel* eLabel_;
  QPushButton* cancelBtn_;
  QPushButton* printBtn_;
  std::function<void(const QString&)> printCommand_;
  bool modal_ = false;
  QMargins fittedFrame_;  // the frame the box was last fitted with
};

// The box of the running program, created by CreateProgBox and installed as the
// progress view.
extern TProgBox* ProgBox;
TProgBox* CreateProgBox(QWidget* parent = nullptr);

}  // namespace quorrel
