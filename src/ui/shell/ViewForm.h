#pragma once
// The report viewer "Errors/Warnings": the messages of ReadList beside the editor,
// not modal. A click on a message that names a line of the document puts the
// caret there. At most one exists; it frees itself when closed.
#include <QDialog>
#include <QRect>

class QPlainTextEdit;
class QPushButton;

namespace quorrel {

class TViewForm : public QDialog {
  Q_OBJECT

 public:
  // Takes its text from ReadList and sizes itself against the main form (the
  // screen's work area when there is none), standing at the screen's right edge.
  explicit TViewForm(QWidget* mainForm = nullptr);
  ~TViewForm() override;

  QPlainTextEdit* ViewText;
  QWidget* BPanel;
  QPushButton* OKBtn;
  QPushButton* CopyBtn;
  QPushButton* HelpBtn;

  // A click on the message in this line of the memo (0-based).
  void ViewTextClick(int line);
  void OKBtnClick();
  void CopyBtnClick();
  void HelpBtnClick();

  // Moves the window (its frame included) to the right edge of the screen.
  void PlaceAtRightEdge();

 public Q_SLOTS:
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void SizeAndPlace(QWidget* mainForm, int lineCount);

  QRect workArea_;
  int top_ = 0;
};

// The viewer while one is open.
extern TViewForm* ViewForm;

// Opens the viewer on ReadList, closing one already open, and returns it.
TViewForm* ShowViewForm(QWidget* mainForm);

// Start-up: the viewer becomes the program's report viewer, sized against the main
// form.
void InstallViewForm(QWidget* mainForm);

}  // namespace quorrel
