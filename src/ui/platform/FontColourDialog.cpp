// The colour dialog, and the font dialog with a colour: Qt's font dialog offers no colour, so the dialog
// holds one beside it, as a button showing the colour that opens the colour dialog.
#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/CodePage.h"
#include "ui/platform/Colours.h"
#include "ui/platform/QtDialogs.h"

namespace quorrel {

namespace {

class TFontColourDialog : public QDialog {
 public:
  explicit TFontColourDialog(const TFontChoice& start) : colour_(ColourFromBgr(start.colour)) {
    setObjectName("FontDialog");
    setWindowTitle(QStringLiteral("Font"));
    QFont font(AnsiToQString(start.name));
    font.setPointSize(start.size > 0 ? start.size : 12);
    font.setBold(start.bold);
    font.setItalic(start.italic);
    font.setUnderline(start.underline);
    font.setStrikeOut(start.strike);
    fonts_ = new QFontDialog(font, this);
    fonts_->setOption(QFontDialog::NoButtons);
    fonts_->setWindowFlags(Qt::Widget);
    colourButton_ = new QPushButton(QStringLiteral("&Colour..."), this);
    colourButton_->setObjectName("Colour");
    ShowColour();
    connect(colourButton_, &QPushButton::clicked, this, [this] {
      const QColor chosen = QColorDialog::getColor(colour_, this);
      if (chosen.isValid()) colour_ = chosen;
      ShowColour();
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(new QLabel(QStringLiteral("Colour:"), this));
    colourRow->addWidget(colourButton_);
    colourRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fonts_);
    layout->addLayout(colourRow);
    layout->addWidget(buttons);
  }

  TFontChoice Choice() const {
    const QFont font = fonts_->currentFont();
    TFontChoice choice;
    choice.name = QStringToAnsi(font.family());
    choice.size = font.pointSize();
    choice.bold = font.bold();
    choice.italic = font.italic();
    choice.underline = font.underline();
    choice.strike = font.strikeOut();
    choice.colour = (colour_.blue() << 16) | (colour_.green() << 8) | colour_.red();
    return choice;
  }

 private:
  void ShowColour() {
    colourButton_->setStyleSheet(QStringLiteral("background-color: %1").arg(colour_.name()));
  }

  QFontDialog* fonts_;
  QPushButton* colourButton_;
  QColor colour_;
};

}  // namespace

bool TQtDialogs::FontDialog(TFontChoice& font) {
  TFontColourDialog dialog(font);
  if (dialog.exec() != QDialog::Accepted) return false;
  font = dialog.Choice();
  return true;
}

bool TQtDialogs::ColourDialog(int& colour) {
  const QColor chosen = QColorDialog::getColor(ColourFromBgr(colour), QApplication::activeWindow());
  if (!chosen.isValid()) return false;
  colour = BgrOf(chosen);
  return true;
}

}  // namespace quorrel
