#pragma once
// The pop-up note: a borderless box holding a text, 40 pixels high per line, that
// any key closes.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace quorrel {

class TPopForm : public QDialog {
  Q_OBJECT

 public:
  explicit TPopForm(QWidget* parent = nullptr);

  // Puts the text in and sizes the memo and the form to its lines.
  void SetText(const QString& text);

  QPlainTextEdit* Content;
  QPushButton* ExitBtn;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Any key but a lone modifier closes the note; true when it did.
  bool FormShortCut(const QKeyEvent* key);
};

// Start-up: ShowPopUp shows this note.
void InstallPopForm();

}  // namespace quorrel
