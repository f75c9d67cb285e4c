#include "ui/shell/SpecForm.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "edit/SpecialChars.h"
#include "platform/CodePage.h"
#include "shell/MainWindow.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "ui/shell/HelpViewer.h"

namespace quorrel {

namespace {

constexpr int GridSize = 16;
constexpr int ButtonSize = 32;
constexpr int ButtonStep = 36;
constexpr int ClientSize = 580;
const QChar Placeholder(0x25A1);  // white square

// Codes Windows-1252 leaves undefined; they still stand for their byte.
bool Undefined(unsigned char code) {
  return code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
}

}  // namespace

QString SpecialGlyph(unsigned char code) {
  if (code == 0) return {};
  if (code < 0x20 || code == 0x7F || Undefined(code)) return Placeholder;
  const QString glyph = AnsiToQString(std::string(1, static_cast<char>(code)));
  // A button would take "&" for its accelerator.
  return glyph == "&" ? QString("&&") : glyph;
}

TSpecForm::TSpecForm(QLineEdit* findField, QWidget* parent)
    : QDialog(parent, Qt::Tool), findField_(findField) {
  setObjectName("SpecForm");
  setWindowTitle("Special characters");
  setModal(true);
  SetHelpContext(this, SpecialHelpContext);
}

QPushButton* TSpecForm::Button(unsigned char code) const { return buttons_[code]; }

void TSpecForm::showEvent(QShowEvent* event) {
  if (!buttons_[0]) FormShow();
  QDialog::showEvent(event);
}

void TSpecForm::FormShow() {
  setFixedSize(ClientSize, ClientSize);
  QFont font = this->font();
  if (CurrentEditor && !CurrentEditor->EditorFontName().empty()) {
    font = QFont(AnsiToQString(CurrentEditor->EditorFontName()));
  }
  font.setBold(false);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  for (int r = 0; r < GridSize; ++r) {
    for (int c = 0; c < GridSize; ++c) {
      const auto code = static_cast<unsigned char>(GridSize * r + c);
      auto* button = new QPushButton(SpecialGlyph(code), this);
      button->setObjectName(QString("SB%1").arg(code));
      button->setAutoDefault(false);
      button->setFont(font);
      button->setGeometry(4 + ButtonStep * c, 4 + ButtonStep * r, ButtonSize, ButtonSize);
      button->setToolTip(QString::fromLatin1(SpecialHint(code)));
      connect(button, &QPushButton::clicked, this, [this, code] {
        QLineEdit* field = findField_;
        if (!field) {
          SBClick(code);
          return;
        }
        SBClick(code, [field](const std::string& character) {
          field->end(false);
          field->insert(AnsiToQString(character));
        });
      });
      button->show();
      buttons_[code] = button;
    }
  }
}

void InstallSpecForm() {
  SetSpecForm([](bool findField) {
    // Ctrl+S came from one of the Find dialog's boxes, which still has the focus.
    QLineEdit* field = nullptr;
    if (findField) {
      QWidget* focus = QApplication::focusWidget();
      field = qobject_cast<QLineEdit*>(focus);
      if (auto* box = qobject_cast<QComboBox*>(focus)) field = box->lineEdit();
    }
    TSpecForm form(field, field ? field->window() : dynamic_cast<QWidget*>(MainWindow()));
    form.exec();
  });
}

}  // namespace quorrel
