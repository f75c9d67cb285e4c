#include "ui/shell/WhereForm.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <unistd.h>

#include "platform/CodePage.h"
#include "platform/Help.h"
#include "platform/Paths.h"
#include "shell/DBoxUnit.h"
#include "shell/MainWindow.h"
#include "shell/SmallForms.h"
#include "shell/TextFiles.h"
#include "ui/platform/FormButtons.h"
#include "ui/shell/HelpViewer.h"

namespace quorrel {

TWhereForm::TWhereForm(QWidget* parent) : QDialog(parent), helpContext_(WhereHelpContext) {
  setObjectName("WhereForm");
  setWindowTitle("Where is the program?");
  setModal(true);
  FName = new QLineEdit(this);
  FName->setObjectName("FName");
  FName->setMinimumWidth(360);
  BrowseBtn = new QToolButton(this);
  BrowseBtn->setObjectName("BrowseBtn");
  BrowseBtn->setText("...");
  BrowseBtn->setToolTip("Browse");
  auto* layout = new QVBoxLayout(this);
  auto* path = new QHBoxLayout;
  path->addWidget(FName);
  path->addWidget(BrowseBtn);
  layout->addLayout(path);
  auto* row = new QHBoxLayout;
  row->addStretch();
  OKBtn = AddButton(row, "OK", "OKBtn", this);
  CancelBtn = AddButton(row, "Cancel", "CancelBtn", this);
  HelpBtn = AddButton(row, "Help", "HelpBtn", this);
  OKBtn->setDefault(true);
  layout->addLayout(row);
  SetHelp(WhereHelpContext);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpBtn, &QPushButton::clicked, this, [this] { ShowHelpContext(helpContext_); });
  connect(BrowseBtn, &QToolButton::clicked, this, [this] { BrowseBtnClick(); });
}

void TWhereForm::SetHelp(int helpContext) {
  helpContext_ = helpContext;
  SetHelpContext(this, helpContext);
}

void TWhereForm::BrowseBtnClick() {
  std::string path = QStringToAnsi(FName->text());
  const std::string folder = path.substr(0, path.rfind('/') + 1);
  if (!ShowFileDialog("Programs|*|All files|*.*", folder, false, path, "Browse")) return;
  // Programs on this system have no extension of their own: any file this user
  // may run is one.
  if (access(NativePath(path).c_str(), X_OK) != 0) {
    ShowMsg(path + " is not a program.");
    return;
  }
  FName->setText(AnsiToQString(path));
}

void InstallWhereForm() {
  SetWhereForm([](std::string& path, int helpContext) {
    TWhereForm form(dynamic_cast<QWidget*>(MainWindow()));
    form.SetHelp(helpContext);
    form.FName->setText(AnsiToQString(path));
    if (form.exec() != QDialog::Accepted) return false;
    path = QStringToAnsi(form.FName->text());
    return true;
  });
}

}  // namespace quorrel
