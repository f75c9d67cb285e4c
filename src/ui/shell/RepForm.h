#pragma once
// The one-line replace prompt ("RepForm"): laid over the main window just above
// its status bar, it waits for Y, N, A or C (Enter or blank for Yes, Esc for
// Cancel) and answers with the modal result.
#include <QFrame>

class QEventLoop;
class QLabel;
class QMainWindow;

namespace quorrel {

class TRepForm : public QFrame {
  Q_OBJECT

 public:
  explicit TRepForm(QMainWindow* owner);

  // Shows the prompt and waits: mrYes, mrNo, mrAll or mrCancel.
  int Ask();

  QLabel* Label;

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // Just above the status bar, 392 pixels from its left edge, inside the window.
  void Place();
  bool eventFilter(QObject* watched, QEvent* event) override;

  QMainWindow* owner_;
  QEventLoop* loop_ = nullptr;
  int answer_ = 0;
};

// The prompt over the program's main window, made when first needed.
int AskReplacePrompt();

}  // namespace quorrel
