#include "ui/shell/SetForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/CodePage.h"
#include "shell/Commands.h"
#include "shell/DBoxUnit.h"
#include "shell/FileSets.h"
#include "shell/MainWindow.h"
#include "ui/shell/HelpViewer.h"
#include "ui/shell/WebForm.h"

namespace quorrel {

namespace {

constexpr int SetFormHelp = 40000;

}  // namespace

TSetForm::TSetForm(QWidget* parent) : QDialog(parent) {
  setObjectName("SetForm");
  setWindowTitle("Sets of files");
  setModal(true);
  SetHelpContext(this, SetFormHelp);

  SetList = new QListWidget(this);
  SetList->setObjectName("SetList");
  NewNameLabel = new QLabel("&New name:", this);
  NewName = new QLineEdit(this);
  NewName->setObjectName("NewName");
  NewNameLabel->setBuddy(NewName);
  SelectBtn = new QPushButton("&Select", this);
  SelectBtn->setObjectName("SelectBtn");
  SortBtn = new QPushButton("Sort", this);
  SortBtn->setObjectName("SortBtn");
  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");

  auto* name = new QHBoxLayout;
  name->addWidget(NewNameLabel);
  name->addWidget(NewName);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(SelectBtn);
  buttons->addWidget(SortBtn);
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(SetList);
  layout->addLayout(name);
  layout->addLayout(buttons);

  connect(OKBtn, &QPushButton::clicked, this, [this] {
    if (saveAs_) {
      TakeName(NewName->text());
    } else if (QListWidgetItem* item = SetList->currentItem()) {
      TakeName(item->text());
    }
  });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(SelectBtn, &QPushButton::clicked, this, [this] {
    if (QListWidgetItem* item = SetList->currentItem()) TakeName(item->text());
  });
  connect(SortBtn, &QPushButton::clicked, this, [this] { SortClick(); });
  connect(SetList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (saveAs_) TakeName(item->text());
  });
  connect(SetList, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { TakeName(item->text()); });
}

bool TSetForm::Choose(bool saveAs, std::string& name) {
  saveAs_ = saveAs;
  chosen_.clear();
  NewNameLabel->setVisible(saveAs);
  NewName->setVisible(saveAs);
  NewName->clear();
  SelectBtn->setVisible(saveAs);
  Fill();
  if (saveAs) {
    NewName->setFocus();
  } else {
    SetList->setFocus();
  }
  if (exec() != QDialog::Accepted) return false;
  name = QStringToAnsi(chosen_);
  return true;
}

void TSetForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FitList();
  // Large fonts: the form grows with them.
  if (FontScale == LargeFontScale) {
    resize(width() * LargeFontScale / NormalFontScale, height() * LargeFontScale / NormalFontScale);
  }
}

void TSetForm::Fill() {
  SetList->clear();
  for (const std::string& set : SetNames()) SetList->addItem(AnsiToQString(set));
  if (SetList->count() > 0) SetList->setCurrentRow(0);
  FitList();
}

// The list is one row taller than its items; the form 120 pixels taller than the list.
void TSetForm::FitList() {
  const int row = SetList->sizeHintForRow(0) > 0 ? SetList->sizeHintForRow(0)
                                                 : SetList->fontMetrics().height() + 2;
  const int listHeight = row * (SetList->count() + 1) + 2 * SetList->frameWidth();
  SetList->setFixedHeight(listHeight);
  setFixedHeight(listHeight + 120);
}

void TSetForm::SortClick() {
  std::vector<std::string> names;
  for (int i = 0; i < SetList->count(); ++i)
    names.push_back(QStringToAnsi(SetList->item(i)->text()));
  SortSets(names);
  const QString current = SetList->currentItem() ? SetList->currentItem()->text() : QString();
  Fill();
  const auto found = SetList->findItems(current, Qt::MatchExactly);
  if (!found.isEmpty()) SetList->setCurrentItem(found.first());
}

void TSetForm::TakeName(const QString& name) {
  chosen_ = name;
  accept();
}

void InstallSetForm() {
  FileSetHost().chooseSet = [](bool saveAs, std::string& name) {
    static QPointer<TSetForm> form;
    if (!form) form = new TSetForm;
    return form->Choose(saveAs, name);
  };
  // The Set menu names the current set as it opens; with no document open it
  // gives way to the Open command at once.
  auto* webForm = dynamic_cast<TWebForm*>(MainWindow());
  QMenu* menu = webForm ? webForm->Menu("SetMenu") : nullptr;
  if (!menu) return;
  QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] {
    bool docs = true;
    RunGuarded([&] { docs = UpdateSetMenu(); });
    if (docs) return;
    QTimer::singleShot(0, menu, [menu] {
      menu->hide();
      RunCommand("SetOpen", SetOpenClick);
    });
  });
}

}  // namespace quorrel
