#include "ui/shell/MarkForm.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>

#include "edit/Markers.h"
#include "platform/CodePage.h"
#include "shell/Commands.h"
#include "shell/MainWindow.h"
#include "ui/shell/HelpViewer.h"

namespace quorrel {

namespace {

constexpr int RowHeight = 17;
constexpr int TextLeft = 190;
constexpr int TextWidth = 572;

QFrame* Rule(QWidget* parent, int left) {
  auto* line = new QFrame(parent);
  line->setGeometry(left, 0, 1, 200);
  line->setAutoFillBackground(true);
  QPalette palette = line->palette();
  palette.setColor(QPalette::Window, Qt::black);
  line->setPalette(palette);
  return line;
}

}  // namespace

TMarkForm::TMarkForm(bool setMode, QWidget* parent) : QDialog(parent), setMode_(setMode) {
  setObjectName("MarkForm");
  setWindowTitle(setMode ? "Set marker..." : "Goto marker...");
  setModal(true);
  SetHelpContext(this, MarkersHelp);
  setFixedSize(TextLeft + TextWidth + 8, RowHeight * 10 + 30);
  move(180, 40);
  Rule(this, 17);
  Rule(this, 186);
  const std::vector<TMarkRow> rows = MarkFormRows();
  for (int digit = 0; digit < 10; ++digit) {
    const TMarkRow& row = rows.at(digit);
    auto* label = new QLabel(AnsiToQString(row.caption), this);
    label->setObjectName(QString("Digit%1").arg(digit));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(4, RowHeight * digit, TextLeft - 8, RowHeight);
    label->installEventFilter(this);
    digits_[digit] = label;
    auto* text = new QLabel(AnsiToQString(row.text), this);
    text->setObjectName(QString("Text%1").arg(digit));
    // Shown as typed: no accelerator, no markup.
    text->setTextFormat(Qt::PlainText);
    text->setGeometry(TextLeft, RowHeight * digit, TextWidth, RowHeight);
    text->installEventFilter(this);
    texts_[digit] = text;
  }
}

void TMarkForm::keyPressEvent(QKeyEvent* event) {
  const QString typed = event->text();
  if (typed.size() == 1 && typed[0] >= '0' && typed[0] <= '9') {
    Press(typed[0].unicode() - '0');
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TMarkForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    for (int digit = 0; digit < 10; ++digit) {
      if (watched == digits_[digit] || watched == texts_[digit]) {
        Press(digit);
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TMarkForm::Press(int digit) {
  RunGuarded([&] { MarkerDigit(digit, setMode_); });
  accept();
}

void InstallMarkForm() {
  SetMarkForm([](bool setMode) {
    TMarkForm form(setMode, dynamic_cast<QWidget*>(MainWindow()));
    form.exec();
  });
}

}  // namespace quorrel
