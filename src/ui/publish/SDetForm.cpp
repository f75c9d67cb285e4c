#include "ui/publish/SDetForm.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/CodePage.h"
#include "platform/Help.h"
#include "publish/SiteDetails.h"
#include "shell/Commands.h"
#include "shell/MainWindow.h"
#include "ui/platform/FormButtons.h"

namespace quorrel {

namespace {

QLineEdit* AddField(QGridLayout* grid, int row, const char* caption, const char* name,
                    QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  label->setBuddy(edit);
  grid->addWidget(label, row, 0);
  grid->addWidget(edit, row, 1);
  return edit;
}

}  // namespace

TSDetForm::TSDetForm(QWidget* parent) : QDialog(parent) {
  setObjectName("SDetForm");
  setWindowTitle(AnsiToQString(ServerDetailsCaption()));

  InfoLab = new QLabel(
      "To access files on the web server you need to give the following information.  This "
      "information is stored in a file called Data.FTP on your local drive, and needs to be in "
      "the top-level directory of the website on that drive.",
      this);
  InfoLab->setObjectName("InfoLab");
  InfoLab->setWordWrap(true);

  auto* grid = new QGridLayout;
  FtpAddr = AddField(grid, 0, "FTP address", "FtpAddr", this);
  UserName = AddField(grid, 1, "User-name", "UserName", this);
  Password = AddField(grid, 2, "Password", "Password", this);
  WebSite = AddField(grid, 3, "Website", "WebSite", this);
  WebRoot = AddField(grid, 4, "Web root", "WebRoot", this);
  BrowseBtn = new QPushButton("Browse", this);
  BrowseBtn->setObjectName("BrowseBtn");
  BrowseBtn->setAutoDefault(false);
  grid->addWidget(BrowseBtn, 4, 2);
  Password->setEchoMode(QLineEdit::Password);
  Password->installEventFilter(this);

  // The set buttons stand one above the other, 24 pixels apart.
  SetGroup = new QGroupBox(" Set ", this);
  SetGroup->setObjectName("SetGroup");
  setGroup_ = new QButtonGroup(this);
  for (int i = 0; i < ServerSetCount; ++i) {
    auto* button = new QRadioButton(QString::number(i + 1), SetGroup);
    button->setObjectName(QString("Set%1").arg(i + 1));
    button->setGeometry(12, 22 + 24 * i, 40, 20);
    setGroup_->addButton(button, i + 1);
    SetButtons[static_cast<size_t>(i)] = button;
  }
  SetGroup->setFixedSize(64, 30 + 24 * ServerSetCount);
  set_ = CurrentServerSetNumber();
  SetButtons[static_cast<size_t>(set_ - 1)]->setChecked(true);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  OkBtn = AddButton(buttons, "&OK", "OkBtn", this);
  OkBtn->setDefault(true);
  CancelBtn = AddButton(buttons, "Cancel", "CancelBtn", this);
  DeleteBtn = AddButton(buttons, "Delete", "DeleteBtn", this);
  HelpBtn = AddButton(buttons, "&Help", "HelpBtn", this);
  HelpBtn->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));

  auto* fields = new QVBoxLayout;
  fields->addWidget(InfoLab);
  fields->addLayout(grid);
  fields->addStretch();
  auto* body = new QHBoxLayout;
  body->addLayout(fields, 1);
  body->addWidget(SetGroup);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body);
  layout->addLayout(buttons);
  resize(560, 330);

  ShowFields(CurrentServerFields());

  connect(setGroup_, &QButtonGroup::idClicked, this, [this](int n) { SetClick(n); });
  connect(BrowseBtn, &QPushButton::clicked, this, [this] { BrowseClick(); });
  connect(DeleteBtn, &QPushButton::clicked, this, [this] { DeleteClick(); });
  connect(OkBtn, &QPushButton::clicked, this, [this] { OkClick(); });
  connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelClick(); });
  connect(HelpBtn, &QPushButton::clicked, this, [] { ShowHelpContext(ServerDetailsHelp); });
}

TServerFields TSDetForm::Fields() const {
  return {QStringToAnsi(FtpAddr->text()), QStringToAnsi(UserName->text()),
          QStringToAnsi(Password->text()), QStringToAnsi(WebSite->text()),
          QStringToAnsi(WebRoot->text())};
}

void TSDetForm::ShowFields(const TServerFields& fields) {
  FtpAddr->setText(AnsiToQString(fields.ftpAddress));
  UserName->setText(AnsiToQString(fields.user));
  Password->setText(AnsiToQString(fields.password));
  WebSite->setText(AnsiToQString(fields.website));
  WebRoot->setText(AnsiToQString(fields.webRoot));
}

// The password shows in plain text while the user is in its field.
bool TSDetForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Password && event->type() == QEvent::FocusIn) {
    Password->setEchoMode(QLineEdit::Normal);
  }
  return QDialog::eventFilter(watched, event);
}

void TSDetForm::MaskPassword() {
  Password->setEchoMode(QLineEdit::Password);
}

void TSDetForm::SetClick(int n) {
  if (n == set_) return;
  TServerFields fields = Fields();
  int chosen = set_;
  RunGuarded([&] { chosen = ChooseServerSet(n, set_, fields); });
  set_ = chosen;
  ShowFields(fields);
  SetButtons[static_cast<size_t>(set_ - 1)]->setChecked(true);
}

void TSDetForm::BrowseClick() {
  std::string webRoot = QStringToAnsi(WebRoot->text());
  if (BrowseWebRoot(webRoot)) WebRoot->setText(AnsiToQString(webRoot));
}

void TSDetForm::DeleteClick() {
  bool removed = false;
  if (!RunGuarded([&] { removed = RemoveServerDetails(); })) {
    reject();
    return;
  }
  if (!removed) return;
  ShowFields({});
  reject();
}

void TSDetForm::OkClick() {
  MaskPassword();
  TServerFields fields = Fields();
  bool saved = false;
  const bool finished = RunGuarded([&] { saved = AcceptServerDetails(fields, set_); });
  WebRoot->setText(AnsiToQString(fields.webRoot));
  if (!finished) {  // the command ended
    reject();
  } else if (saved) {
    accept();
  }
}

void TSDetForm::CancelClick() {
  MaskPassword();
  reject();
}

int ShowServerDetailsDialog(QWidget* parent) {
  TSDetForm form(parent);
  return form.exec();
}

void InstallServerDetailsForm() {
  SetServerDetailsForm([] {
    return ShowServerDetailsDialog(dynamic_cast<QWidget*>(MainWindow())) == QDialog::Accepted;
  });
}

}  // namespace quorrel
