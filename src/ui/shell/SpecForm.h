#pragma once
// "Special characters": a grid of the 256 Windows-1252 codes, 16 by 16, each on a
// button in the current editor's font with its code as the hint. A click hands
// the code to the character handler; the grid stays open until closed.
#include <QDialog>
#include <functional>
#include <string>

class QLineEdit;
class QPushButton;

namespace quorrel {

class TSpecForm : public QDialog {
  Q_OBJECT

 public:
  // findField: the Find dialog's box that takes the characters; nullptr for the
  // document.
  explicit TSpecForm(QLineEdit* findField = nullptr, QWidget* parent = nullptr);

  // The button of a code, once the form has been shown.
  QPushButton* Button(unsigned char code) const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();

  QLineEdit* findField_;
  QPushButton* buttons_[256] = {};
};

// The text a grid button shows for a code: the character as Windows-1252 decodes
// it; a placeholder for codes that stand for no visible character; nothing for 0.
QString SpecialGlyph(unsigned char code);

// Start-up: the Special command and the Find dialog's Ctrl+S show this grid.
void InstallSpecForm();

}  // namespace quorrel
