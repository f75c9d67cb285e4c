#include "ui/platform/QtDialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/CodePage.h"
#include "platform/Help.h"
#include "ui/shell/DBox3Form.h"
#include "ui/shell/RepForm.h"

namespace quorrel {

namespace {

// Yes/No questions, with Cancel and Help where asked. Help opens the topic and
// leaves the question open.
class TQuestionBox : public QDialog {
 public:
  TQuestionBox(const DialogCall& call, bool withCancel, bool withHelp)
      : helpContext_(call.helpContext), withCancel_(withCancel) {
    setObjectName("QuestionBox");
    setWindowTitle(AnsiToQString(call.caption));
    auto* text = new QLabel(BoxText(call.text), this);
    text->setObjectName("Text");
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setMinimumWidth(260);
    QDialogButtonBox::StandardButtons standard = QDialogButtonBox::Yes | QDialogButtonBox::No;
    if (withCancel) standard |= QDialogButtonBox::Cancel;
    if (withHelp) standard |= QDialogButtonBox::Help;
    buttons_ = new QDialogButtonBox(standard, this);
    buttons_->button(QDialogButtonBox::Yes)->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(buttons_, &QDialogButtonBox::clicked, this, [this](QAbstractButton* button) {
      switch (buttons_->standardButton(button)) {
        case QDialogButtonBox::Yes:
          done(mrYes);
          break;
        case QDialogButtonBox::No:
          done(mrNo);
          break;
        case QDialogButtonBox::Cancel:
          done(mrCancel);
          break;
        case QDialogButtonBox::Help:
          ShowHelpContext(helpContext_);
          break;
        default:
          break;
      }
    });
  }

  // Closing the window answers Cancel, or No where there is no Cancel.
  void reject() override { done(withCancel_ ? mrCancel : mrNo); }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_F1 && helpContext_ > 0) {
      ShowHelpContext(helpContext_);
      return;
    }
    QDialog::keyPressEvent(event);
  }

 private:
  QDialogButtonBox* buttons_;
  int helpContext_;
  bool withCancel_;
};

// Parentless, so that the box is centred on the screen even while no window shows.
int ShowMessage(const DialogCall& call) {
  QMessageBox box;
  box.setObjectName(call.kind == DialogKind::TimedMessage ? "TimedMessage" : "Message");
  box.setWindowTitle(AnsiToQString(call.caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(BoxText(call.text));
  box.setIcon(QMessageBox::NoIcon);
  box.setStandardButtons(QMessageBox::Ok);
  if (call.kind == DialogKind::TimedMessage && call.timeoutMs > 0) {
    QTimer::singleShot(call.timeoutMs, &box, [&box] { box.done(QMessageBox::Ok); });
  }
  box.exec();
  return mrOk;
}

}  // namespace

QString BoxText(const std::string& text) {
  QString shown = AnsiToQString(text);
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

int TQtDialogs::ShowBox(const DialogCall& call) {
  switch (call.kind) {
    case DialogKind::Message:
    case DialogKind::TimedMessage:
      return ShowMessage(call);
    case DialogKind::YesNo:
    case DialogKind::YesNoHelp:
    case DialogKind::YesNoCancel:
    case DialogKind::YesNoCancelHelp: {
      bool withCancel =
          call.kind == DialogKind::YesNoCancel || call.kind == DialogKind::YesNoCancelHelp;
      bool withHelp =
          call.kind == DialogKind::YesNoHelp || call.kind == DialogKind::YesNoCancelHelp;
      TQuestionBox box(call, withCancel, withHelp);
      return box.exec();
    }
    case DialogKind::Custom: {
      auto caption = [&call](size_t i) { return i < call.buttons.size() ? call.buttons[i] : ""; };
      return DBox3Form().Ask(call.text, caption(0), caption(1), call.helpContext, caption(2));
    }
    case DialogKind::ReplacePrompt:
      return AskReplacePrompt();
  }
  return mrCancel;
}

void TQtDialogs::ProcessMessages() {
  QCoreApplication::processEvents();
}

bool TQtDialogs::InputQuery(const std::string& caption, const std::string& prompt,
                            std::string& value, bool password) {
  QInputDialog box;
  box.setObjectName("InputQuery");
  box.setInputMode(QInputDialog::TextInput);
  box.setWindowTitle(AnsiToQString(caption));
  box.setLabelText(BoxText(prompt));
  box.setTextEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
  box.setTextValue(AnsiToQString(value));
  if (box.exec() != QDialog::Accepted) return false;
  value = QStringToAnsi(box.textValue());
  return true;
}

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = AnsiToQString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList masks = parts[i + 1].split(';', Qt::SkipEmptyParts);
    for (QString& mask : masks) {
      if (mask == "*.*") mask = "*";  // every file, with or without a dot
    }
    filters << parts[i] + " (" + masks.join(' ') + ")";
  }
  return filters.join(";;");
}

bool TQtDialogs::FileDialog(const FileDialogCall& call, std::string& path) {
  QFileDialog box(nullptr, AnsiToQString(call.title), AnsiToQString(call.folder),
                  QtFileFilter(call.filter));
  box.setObjectName(call.save ? "SaveDialog" : "OpenDialog");
  box.setAcceptMode(call.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  box.setFileMode(call.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  const QFileInfo proposed(AnsiToQString(path));
  if (!proposed.suffix().isEmpty()) box.setDefaultSuffix(proposed.suffix());
  if (!path.empty()) box.selectFile(AnsiToQString(path));
  if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) return false;
  path = QStringToAnsi(box.selectedFiles().first());
  return true;
}

bool TQtDialogs::SelectFolder(const std::string& caption, const std::string& startFolder,
                              std::string& folder) {
  const QString chosen = QFileDialog::getExistingDirectory(nullptr, AnsiToQString(caption),
                                                           AnsiToQString(startFolder));
  if (chosen.isEmpty()) return false;
  folder = QStringToAnsi(chosen);
  return true;
}

void InstallQtDialogs() {
  static TQtDialogs dialogs;
  DBox3Form();
  SetUserDialogs(&dialogs);
}

}  // namespace quorrel
