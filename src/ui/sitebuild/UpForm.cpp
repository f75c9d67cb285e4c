#include "ui/sitebuild/UpForm.h"

#include <QListWidget>
#include <QVBoxLayout>

#include "commands/LibraryCommands.h"
#include "platform/CodePage.h"
#include "ui/shell/HelpViewer.h"
#include "shell/Commands.h"
#include "shell/MainWindow.h"
#include "sitebuild/Templates.h"
#include "ui/platform/FormButtons.h"

namespace quorrel {

TUpForm::TUpForm(const std::vector<std::string>& items,
                 std::function<void(const std::string&)> update, QWidget* parent)
    : QDialog(parent), update_(std::move(update)) {
  setObjectName("UpForm");
  setWindowTitle("Update item");
  setModal(true);
  SetHelpContext(this, UpdateLibHelp);
  ItemList = new QListWidget(this);
  ItemList->setObjectName("ItemList");
  for (const std::string& item : items) ItemList->addItem(AnsiToQString(item));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ItemList);
  auto* row = new QHBoxLayout;
  row->addStretch();
  OKBtn = AddButton(row, "OK", "OKBtn", this);
  CancelBtn = AddButton(row, "Cancel", "CancelBtn", this);
  layout->addLayout(row);
  if (items.empty()) {
    // Nothing to update: the note stands in the list, and there is nothing to confirm.
    ItemList->addItem(NoLibraryItemsUsed);
    ItemList->setEnabled(false);
    OKBtn->setVisible(false);
  } else {
    OKBtn->setDefault(true);
  }
  connect(ItemList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    const std::string path = QStringToAnsi(item->text());
    RunGuarded([&] { update_(path); });
  });
  connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TUpForm::OKBtnClick() {
  if (QListWidgetItem* item = ItemList->currentItem(); item && item->isSelected()) {
    const std::string path = QStringToAnsi(item->text());
    // A failed update keeps the dialog open: the pages must not be refreshed from
    // an item file that was not written.
    if (!RunGuarded([&] { update_(path); })) return;
  }
  accept();
}

void InstallUpForm() {
  SetUpForm([](const std::vector<std::string>& items,
               const std::function<void(const std::string&)>& update) {
    TUpForm form(items, update, dynamic_cast<QWidget*>(MainWindow()));
    return form.exec() == QDialog::Accepted;
  });
}

}  // namespace quorrel
