#include "ui/shell/PopForm.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/CodePage.h"
#include "shell/MainWindow.h"
#include "shell/SmallForms.h"
#include "ui/shell/HelpViewer.h"

namespace quorrel {

namespace {
constexpr int LineHeight = 40;
constexpr int FormWidth = 500;
constexpr int ExitSize = 20;
}  // namespace

TPopForm::TPopForm(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName("PopForm");
  setWindowTitle("Pop-up");
  setModal(true);
  Content = new QPlainTextEdit(this);
  Content->setObjectName("Content");
  Content->setReadOnly(true);
  Content->installEventFilter(this);
  ExitBtn = new QPushButton("X", this);
  ExitBtn->setObjectName("ExitBtn");
  ExitBtn->setAutoDefault(false);
  ExitBtn->installEventFilter(this);
  SetHelpContext(this, PopUpHelpContext);
  connect(ExitBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void TPopForm::SetText(const QString& text) {
  QString plain = text;
  plain.replace("\r\n", "\n").replace('\r', '\n');
  Content->setPlainText(plain);
  const int lines = std::max(1, Content->document()->blockCount());
  const int height = LineHeight * lines;
  Content->setGeometry(0, 0, FormWidth - ExitSize, height);
  ExitBtn->setGeometry(FormWidth - ExitSize, 0, ExitSize, ExitSize);
  setFixedSize(FormWidth, height);
}

bool TPopForm::FormShortCut(const QKeyEvent* key) {
  switch (key->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
      return false;
    default:
      accept();
      return true;
  }
}

bool TPopForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && FormShortCut(static_cast<QKeyEvent*>(event))) {
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TPopForm::keyPressEvent(QKeyEvent* event) {
  if (!FormShortCut(event)) QDialog::keyPressEvent(event);
}

void InstallPopForm() {
  SetPopForm([](const std::string& text) {
    TPopForm form(dynamic_cast<QWidget*>(MainWindow()));
    form.SetText(AnsiToQString(text));
    form.exec();
  });
}

}  // namespace quorrel
