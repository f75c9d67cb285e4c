#include "ui/publish/OpenForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "commands/FindState.h"
#include "commands/TransferCommands.h"
#include "platform/CodePage.h"
#include "publish/OpenChoices.h"
#include "publish/SiteFileList.h"
#include "shell/CommandNames.h"
#include "shell/Commands.h"
#include "shell/MenuModel.h"
#include "shell/ShellState.h"
#include "ui/platform/Colours.h"
#include "ui/shell/HelpViewer.h"

namespace quorrel {

namespace {

constexpr int kOpenHelpContext = 20200;
// The one tick that lists after the form has shown.
constexpr int kTimerMs = 5;
// The form stands 4 pixels below the main window's top and is 12 pixels shorter.
constexpr int kTopGap = 4;
constexpr int kHeightLess = 12;
// Colours (0x00BBGGRR): the mask box while it holds a mask; the counter's green.
constexpr int kMaskColour = 0x8CFFFF;
constexpr int kCounterGreen = 0x008000;
constexpr char kSubDirsItem[] = "SubDirs";
// The screen follows a scan this often at most, in milliseconds.
constexpr int kRefreshMs = 40;

void PaintBase(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(role, colour);
  widget->setPalette(palette);
}

bool IsNavigationKey(int key) {
  switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
      return true;
    default:
      return false;
  }
}

}  // namespace

TOpenForm::TOpenForm(QWidget* parent) : QDialog(parent) {
  setObjectName("OpenForm");
  setWindowTitle("Open");
  setModal(true);
  SetHelpContext(this, kOpenHelpContext);

  auto* rootLabel = new QLabel("Root", this);
  RootDir = new QComboBox(this);
  RootDir->setObjectName("RootDir");
  RootDir->setEditable(true);
  RootDir->setInsertPolicy(QComboBox::NoInsert);
  RootDir->setContextMenuPolicy(Qt::CustomContextMenu);
  RootDir->setMinimumWidth(360);
  rootLabel->setBuddy(RootDir);
  auto* maskLabel = new QLabel("Mask", this);
  FileMask = new QLineEdit(this);
  FileMask->setObjectName("FileMask");
  FileMask->setAutoFillBackground(true);
  maskLabel->setBuddy(FileMask);
  SubDirs = new QCheckBox("&Sub-dirs", this);
  SubDirs->setObjectName("SubDirs");
  WinOpen = new QToolButton(this);
  WinOpen->setObjectName("WinOpen");
  WinOpen->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
  WinOpen->setToolTip("Standard Windows Open Dialogue");
  UpLevel = new QToolButton(this);
  UpLevel->setObjectName("UpLevel");
  UpLevel->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
  UpLevel->setToolTip("Up One Level");
  WebRef = new QLineEdit(EmptyWebAddress, this);
  WebRef->setObjectName("WebRef");

  FileList = new QListWidget(this);
  FileList->setObjectName("FileList");
  FileList->setUniformItemSizes(true);
  FileList->setContextMenuPolicy(Qt::CustomContextMenu);
  FileMsg = new QLabel(this);
  FileMsg->setObjectName("FileMsg");
  FileMsg->setAutoFillBackground(true);

  OpenBtn = new QPushButton("&Open", this);
  OpenBtn->setObjectName("OpenBtn");
  ListBtn = new QPushButton("&List", this);
  ListBtn->setObjectName("ListBtn");
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");
  GrabBtn = new QPushButton("&Grab", this);
  GrabBtn->setObjectName("GrabBtn");

  OTimer = new QTimer(this);
  OTimer->setObjectName("OTimer");
  OTimer->setSingleShot(true);
  OTimer->setInterval(kTimerMs);

  // Deleting and renaming files from the list are still to come: no handler yet.
  ListMenu = new QMenu(this);
  ListMenu->setObjectName("ListMenu");
  QAction* delItem = ListMenu->addAction("&Delete");
  delItem->setObjectName("DelItem");
  delItem->setEnabled(false);
  QAction* renItem = ListMenu->addAction("&Rename");
  renItem->setObjectName("RenItem");
  renItem->setEnabled(false);
  UploadItem = ListMenu->addAction("&Upload");
  UploadItem->setObjectName("UploadItem");
  RootMenu = new QMenu(this);
  RootMenu->setObjectName("RootMenu");
  QAction* delRoot = RootMenu->addAction("&Delete");
  delRoot->setObjectName("DelRoot");
  delRoot->setEnabled(false);

  auto* top = new QGridLayout;
  top->addWidget(rootLabel, 0, 0);
  top->addWidget(RootDir, 0, 1);
  top->addWidget(UpLevel, 0, 2);
  top->addWidget(WinOpen, 0, 3);
  top->addWidget(maskLabel, 1, 0);
  top->addWidget(FileMask, 1, 1);
  top->addWidget(SubDirs, 1, 2, 1, 2);
  top->addWidget(WebRef, 2, 1);
  top->setColumnStretch(1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(FileMsg, 1);
  buttons->addWidget(OpenBtn);
  buttons->addWidget(ListBtn);
  buttons->addWidget(GrabBtn);
  buttons->addWidget(CancelBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(FileList, 1);
  layout->addLayout(buttons);
  resize(560, 480);

  connect(OTimer, &QTimer::timeout, this, [this] { OnTimer(); });
  connect(ListBtn, &QPushButton::clicked, this, [this] { ListClick(); });
  connect(OpenBtn, &QPushButton::clicked, this, [this] { OpenBtnClick(); });
  connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
  connect(GrabBtn, &QPushButton::clicked, this, [this] { GrabBtnClick(); });
  connect(WinOpen, &QToolButton::clicked, this, [this] { WinOpenClick(); });
  connect(UpLevel, &QToolButton::clicked, this, [this] { UpLevelClick(); });
  connect(SubDirs, &QCheckBox::clicked, this, [this] { SubDirsClick(); });
  connect(FileMask, &QLineEdit::textChanged, this, [this] { FileMaskChange(); });
  connect(WebRef, &QLineEdit::textEdited, this, [this] { WhichClick(true); });
  connect(FileList, &QListWidget::itemClicked, this, [this] { WhichClick(false); });
  connect(FileList, &QListWidget::itemDoubleClicked, this, [this] { OpenBtnClick(); });
  connect(FileList, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!filling_) SiteFileList.selected = row;
  });
  connect(FileList, &QListWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { ListMenu->popup(FileList->viewport()->mapToGlobal(at)); });
  connect(RootDir, &QComboBox::customContextMenuRequested, this,
          [this](const QPoint& at) { RootMenu->popup(RootDir->mapToGlobal(at)); });
  connect(UploadItem, &QAction::triggered, this, [this] { UploadClick(); });
  // Choosing a root from the drop-down lists it; moving through the entries with
  // the keys does not list each one.
  connect(RootDir, &QComboBox::activated, this, [this] {
    if (IsNavigationKey(lastKey_)) return;
    ListClick();
  });
  for (QWidget* watched :
       std::initializer_list<QWidget*>{RootDir, RootDir->lineEdit(), FileMask, WebRef, FileList}) {
    watched->installEventFilter(this);
  }
}

TOpenForm::~TOpenForm() {
  // The commands never reach a form that is gone.
  if (OpenFormObserver() == this) SetOpenForm(nullptr);
}

bool TOpenForm::ShowModal() {
  return exec() == QDialog::Accepted;
}

void TOpenForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

bool TOpenForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    // A key pressed while the tree is scanned stops the scan, as Cancel does.
    if (scanning_) cancel_ = true;
    if (watched == RootDir || watched == RootDir->lineEdit()) {
      lastKey_ = static_cast<QKeyEvent*>(event)->key();
    }
  } else if (event->type() == QEvent::MouseButtonPress && watched == RootDir) {
    lastKey_ = 0;
  }
  return QDialog::eventFilter(watched, event);
}

void TOpenForm::FormShow() {
  if (QWidget* main = parentWidget(); main && main->isVisible()) {
    const QRect frame = main->geometry();
    if (height() != frame.height() - kHeightLess) {
      setGeometry(x(), frame.top() + kTopGap, width(), frame.height() - kHeightLess);
    }
  }
  const bool findFiles = CurrentCommand == FindCommand && FindAnswers.searchFiles;
  bool rescan = false;
  RunGuarded([&] { rescan = OpenFormShowRescan(findFiles); });
  cancel_ = false;
  filling_ = true;
  RootDir->setEditText(AnsiToQString(SiteFileList.root));
  FileMask->setText(AnsiToQString(SiteFileList.fileMask));
  filling_ = false;
  SubDirs->setChecked(MainMenu().Checked(kSubDirsItem));
  PaintMask();
  FileMsg->setText(AnsiToQString(SiteFileList.counter));
  PaintCounter(false);
  // The list is where the user works; the root box only when it is typed into.
  FileList->setFocus();
  ShowList();
  if (rescan) OTimer->start();
}

void TOpenForm::OnTimer() {
  OTimer->stop();
  ListClick();
}

void TOpenForm::ClearList() {
  filling_ = true;
  FileList->clear();
  filling_ = false;
  OpenBtn->setEnabled(false);
  OpenBtn->setDefault(false);
  ListBtn->setDefault(true);
}

void TOpenForm::FillList(const std::vector<std::string>& entries) {
  QStringList lines;
  lines.reserve(static_cast<qsizetype>(entries.size()));
  for (const std::string& entry : entries) lines.push_back(AnsiToQString(entry));
  filling_ = true;
  FileList->clear();
  FileList->addItems(lines);
  filling_ = false;
}

void TOpenForm::SelectEntry(int index) {
  filling_ = true;
  FileList->setCurrentRow(index);
  filling_ = false;
  SiteFileList.selected = index;
}

void TOpenForm::ShowList(bool takeFocus) {
  FillList(SiteFileList.entries);
  if (SiteFileList.entries.empty()) {
    OpenBtn->setEnabled(false);
    OpenBtn->setDefault(false);
    ListBtn->setDefault(true);
    return;
  }
  if (takeFocus) FileList->setFocus();
  SelectEntry(CurrentFileEntry());
  if (SiteFileList.selected >= 0) FileList->scrollToItem(FileList->item(SiteFileList.selected));
  OpenBtn->setEnabled(true);
  ListBtn->setDefault(false);
  OpenBtn->setDefault(true);
}

void TOpenForm::ListClick() {
  if (scanning_) {
    // The running scan stops first; the list is made once it has.
    cancel_ = true;
    OTimer->start();
    return;
  }
  OTimer->stop();
  std::string root = QStringToAnsi(RootDir->currentText());
  if (root.empty()) root = CurrentFolder;
  if (!RunGuarded([&] { root = CheckOpenRoot(root); })) {
    RootDir->setFocus();
    ClearList();
    return;
  }
  SiteFileList.root = root;
  SiteFileList.fileMask = QStringToAnsi(FileMask->text());
  SiteFileList.subFolders = SubDirs->isChecked();
  RootDir->setEditText(AnsiToQString(root));
  cancel_ = false;
  FileMsg->setText("Scanning...");
  PaintCounter(false);
  ClearList();
  scanning_ = true;
  shown_.invalidate();
  bool completed = false;
  RunGuarded([&] { completed = ScanSiteFileList(); });
  scanning_ = false;
  FileMsg->setText(AnsiToQString(SiteFileList.counter));
  PaintCounter(false);
  if (RootDir->hasFocus() || !completed) {
    FillList(SiteFileList.entries);
    return;
  }
  // A mask being typed keeps its box: the next key belongs to it.
  ShowList(!FileMask->hasFocus());
}

void TOpenForm::Counter(const std::string& text, bool green) {
  // A search of files lists while the form is hidden: it shows the list when it
  // next shows.
  if (!isVisible()) return;
  FileMsg->setText(AnsiToQString(text));
  PaintCounter(green);
  // The counter shows, and Cancel and the keys are heard, while the scan runs; a
  // screen refreshed more often than this would only slow the scan.
  if (shown_.isValid() && shown_.elapsed() < kRefreshMs) return;
  shown_.start();
  QCoreApplication::processEvents();
}

void TOpenForm::Entries(const std::vector<std::string>& entries) {
  if (!isVisible()) return;
  // The lines shown so far stay where they are, and the new ones go in between:
  // the list only grows while the tree is scanned.
  filling_ = true;
  int row = 0;
  for (const std::string& entry : entries) {
    const QString line = AnsiToQString(entry);
    if (row < FileList->count() && FileList->item(row)->text() == line) {
      ++row;
      continue;
    }
    FileList->insertItem(row++, line);
  }
  filling_ = false;
}

bool TOpenForm::TakeCancel() {
  const bool cancelled = cancel_;
  cancel_ = false;
  return cancelled;
}

void TOpenForm::WhichClick(bool webAddress) {
  OpenBtn->setEnabled(true);
  webAddressUsedLast_ = webAddress;
}

void TOpenForm::OpenBtnClick() {
  TOpenChoice choice = TOpenChoice::Stay;
  RunGuarded(
      [&] { choice = quorrel::OpenBtnClick(webAddressUsedLast_, QStringToAnsi(WebRef->text())); });
  if (choice == TOpenChoice::Chosen) accept();
  if (choice == TOpenChoice::Cancelled) reject();
}

void TOpenForm::WinOpenClick() {
  bool chosen = false;
  RunGuarded([&] { chosen = quorrel::WinOpenClick(QStringToAnsi(FileMask->text())); });
  if (!chosen) return;
  RootDir->setEditText(AnsiToQString(SiteFileList.root));
  ClearList();
  accept();
}

void TOpenForm::UpLevelClick() {
  const std::string root = QStringToAnsi(RootDir->currentText());
  const std::string up = UpOneLevel(root);
  if (up == root) return;
  RootDir->setEditText(AnsiToQString(up));
  ListClick();
}

void TOpenForm::GrabBtnClick() {
  RunGuarded([] { quorrel::GrabBtnClick(); });
  reject();
}

void TOpenForm::FileMaskChange() {
  PaintMask();
  if (filling_) return;
  if (scanning_) cancel_ = true;
  ClearList();
  // The keys of one mask typed in a row make one listing.
  OTimer->start();
}

void TOpenForm::CancelBtnClick() {
  cancel_ = true;
  reject();
}

void TOpenForm::SubDirsClick() {
  MainMenu().SetChecked(kSubDirsItem, SubDirs->isChecked());
  ListClick();
}

void TOpenForm::UploadClick() {
  const std::string path = SelectedEntryPath();
  if (path.empty()) return;
  RunGuarded([&] { quorrel::UploadClick(path); });
}

void TOpenForm::PaintMask() {
  PaintBase(FileMask, QPalette::Base,
            FileMask->text().isEmpty() ? QColor(Qt::white) : ColourFromBgr(kMaskColour));
}

void TOpenForm::PaintCounter(bool green) {
  PaintBase(FileMsg, QPalette::Window,
            green ? ColourFromBgr(kCounterGreen) : palette().color(QPalette::Button));
}

TOpenForm* CreateOpenForm(QWidget* owner) {
  auto* form = new TOpenForm(owner);
  SetOpenForm(form);
  return form;
}

}  // namespace quorrel
