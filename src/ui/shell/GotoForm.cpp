#include "ui/shell/GotoForm.h"

#include <QEvent>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include "platform/CodePage.h"
#include "shell/MainWindow.h"

namespace quorrel {

TGotoForm::TGotoForm(QWidget* parent) : QDialog(parent) {
  setObjectName("GotoForm");
  setWindowTitle("Go To");
  setModal(true);
  LineNo = new QLineEdit(this);
  LineNo->setObjectName("LineNo");
  Offset = new QLineEdit(this);
  Offset->setObjectName("Offset");
  GoLine = new QPushButton("Line number", this);
  GoLine->setObjectName("GoLine");
  GoOff = new QPushButton("Offset (decimal)", this);
  GoOff->setObjectName("GoOff");
  auto* layout = new QGridLayout(this);
  layout->addWidget(LineNo, 0, 0);
  layout->addWidget(GoLine, 0, 1);
  layout->addWidget(Offset, 1, 0);
  layout->addWidget(GoOff, 1, 1);
  LineNo->installEventFilter(this);
  Offset->installEventFilter(this);
  connect(GoLine, &QPushButton::clicked, this, [this] {
    choice_ = TGotoChoice::Line;
    accept();
  });
  connect(GoOff, &QPushButton::clicked, this, [this] {
    choice_ = TGotoChoice::Offset;
    accept();
  });
}

bool TGotoForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    const bool line = watched == LineNo;
    GoLine->setDefault(line);
    GoOff->setDefault(!line);
  }
  return QDialog::eventFilter(watched, event);
}

TGotoChoice TGotoForm::Choose(TGotoFields& fields) {
  choice_ = TGotoChoice::Cancel;
  LineNo->setText(AnsiToQString(fields.lineNo));
  Offset->setText(AnsiToQString(fields.offset));
  LineNo->selectAll();
  LineNo->setFocus();
  GoLine->setDefault(true);
  exec();
  fields.lineNo = QStringToAnsi(LineNo->text());
  fields.offset = QStringToAnsi(Offset->text());
  return choice_;
}

void InstallGotoForm() {
  SetGotoForm([](TGotoFields& fields) {
    TGotoForm form(dynamic_cast<QWidget*>(MainWindow()));
    return form.Choose(fields);
  });
}

}  // namespace quorrel
