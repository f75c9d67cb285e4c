#include "ui/shell/AssForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "platform/CodePage.h"
#include "platform/Help.h"
#include "shell/Commands.h"
#include "shell/DBoxUnit.h"
#include "shell/FileAssociations.h"
#include "shell/MainWindow.h"
#include "shell/StatusBar.h"
#include "ui/platform/FormButtons.h"
#include "ui/shell/HelpViewer.h"

namespace quorrel {

TAssForm::TAssForm(QWidget* parent) : QDialog(parent) {
  setObjectName("AssForm");
  setWindowTitle("Associate Quorrel with file types");
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  for (const TAssType& type : AssTypes) {
    auto* box = new QCheckBox(type.extension, this);
    box->setObjectName(QString("Ass") + QString(type.extension).mid(1));
    box->setToolTip(type.description);
    layout->addWidget(box);
    Boxes.push_back(box);
  }
  UserBox = new QCheckBox("User-defined file", this);
  UserBox->setObjectName("UserBox");
  UserBox->setChecked(true);
  UserBox->hide();
  auto* user = new QGridLayout;
  user->addWidget(new QLabel("Your choice", this), 0, 0);
  user->addWidget(new QLabel("Description", this), 0, 1);
  UserExt = new QLineEdit(this);
  UserExt->setObjectName("UserExt");
  UserDesc = new QLineEdit(this);
  UserDesc->setObjectName("UserDesc");
  user->addWidget(UserExt, 1, 0);
  user->addWidget(UserDesc, 1, 1);
  layout->addLayout(user);
  auto* row = new QHBoxLayout;
  row->addStretch();
  OKBtn = AddButton(row, "&OK", "OKBtn", this);
  CancelBtn = AddButton(row, "Cancel", "CancelBtn", this);
  HelpBtn = AddButton(row, "&Help", "HelpBtn", this);
  OKBtn->setDefault(true);
  layout->addLayout(row);
  SetHelpContext(this, AssHelpContext);
  connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpBtn, &QPushButton::clicked, this, [] { ShowHelpContext(AssHelpContext); });
}

void TAssForm::showEvent(QShowEvent* event) {
  if (!shown_) FormShow();
  shown_ = true;
  QDialog::showEvent(event);
}

void TAssForm::FormShow() {
  for (QCheckBox* box : Boxes) Process(box, false);
}

void TAssForm::Process(QCheckBox* box, bool write) {
  const std::string extension = AssExtension(QStringToAnsi(box->text()));
  if (write) {
    if (!box->isChecked()) return;
    std::string description = QStringToAnsi(box->toolTip());
    if (box == UserBox && !UserDesc->text().isEmpty()) description = QStringToAnsi(UserDesc->text());
    Associate(extension, description);
  } else if (IsAssociated(extension)) {
    box->setText(box->text() + AssociatedMark);
  }
}

void TAssForm::OKBtnClick() {
  const std::string typed = QStringToAnsi(UserExt->text().trimmed());
  if (!typed.empty() && AssExtension(typed).empty()) {
    ShowMsg("\"" + typed + "\" is not a file extension: use letters, digits, \"_\", \"+\" and \"-\".");
    UserExt->setFocus();
    return;
  }
  const bool done = RunGuarded([&] {
    for (QCheckBox* box : Boxes) Process(box, true);
    if (!typed.empty()) {
      UserBox->setText(AnsiToQString(AssExtension(typed)));
      UserBox->setToolTip("User-defined file");
      Process(UserBox, true);
    }
    AssociationsChanged();
    ShowStatus("File associations updated.");
  });
  if (done) {
    accept();
  } else {
    reject();
  }
}

void InstallAssForm() {
  SetAssForm([] {
    TAssForm form(dynamic_cast<QWidget*>(MainWindow()));
    form.exec();
  });
}

}  // namespace quorrel
