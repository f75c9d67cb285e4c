#include "ui/publish/ServForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/CodePage.h"
#include "platform/Help.h"
#include "publish/Connection.h"
#include "publish/FtpErrors.h"
#include "publish/ServerWindow.h"
#include "publish/UpDown.h"
#include "shell/Commands.h"
#include "shell/Hooks.h"
#include "shell/MainWindow.h"
#include "ui/publish/TransferGauge.h"

namespace quorrel {

namespace {

TServForm* form = nullptr;

// Legend captions and colours of the six comparison icons: white, green, yellow,
// red, black, and grey for "date ignored".
struct TLegend {
  const char* caption;
  QColor colour;
};
const std::array<TLegend, 6> kLegends = {{
    {"Not on server", QColor(255, 255, 255)},
    {"Same date", QColor(0, 176, 0)},
    {"Local newer", QColor(255, 230, 0)},
    {"Server newer", QColor(224, 0, 0)},
    {"Not on local", QColor(0, 0, 0)},
    {"Ignore date", QColor(150, 150, 150)},
}};
const QColor kLegendBackground(208, 208, 235);

QPixmap Square(const QColor& fill, bool folder) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(QColor(64, 64, 64));
  painter.setBrush(fill);
  if (folder) {
    painter.drawRect(1, 4, 14, 10);
    painter.drawRect(1, 2, 6, 2);
  } else {
    painter.drawRect(2, 2, 11, 11);
  }
  return pixmap;
}

// The names below "[Root]" of a tree item.
std::vector<std::string> NodePath(QTreeWidgetItem* item) {
  std::vector<std::string> names;
  for (; item && item->parent(); item = item->parent())
    names.insert(names.begin(), QStringToAnsi(item->text(0)));
  return names;
}

void AddNodes(QTreeWidgetItem* parent, const TServerNode& node) {
  for (const TServerNode& child : node.children) {
    auto* item = new QTreeWidgetItem(parent, {AnsiToQString(child.name)});
    item->setIcon(0, TServForm::NodeIcon(child.state));
    item->setData(0, Qt::UserRole, child.state);
    AddNodes(item, child);
  }
}

}  // namespace

TServForm::TServForm(QWidget* parent) : QDialog(parent) {
  setObjectName("ServForm");
  setWindowTitle("Files");
  setProperty("helpContext", ServerFilesHelp);
  resize(900, 600);

  TopPnl = new QWidget(this);
  TopPnl->setObjectName("TopPnl");
  auto* top = new QHBoxLayout(TopPnl);
  top->setContentsMargins(4, 2, 4, 2);
  DispLab = new QLabel(TopPnl);
  DispLab->setObjectName("DispLab");
  DispLab->setMinimumWidth(140);
  top->addWidget(DispLab);
  Flat = new QCheckBox("Flat", TopPnl);
  Flat->setObjectName("Flat");
  top->addWidget(Flat);
  for (size_t i = 0; i < Legends.size(); ++i) {
    auto* panel = new QFrame(TopPnl);
    panel->setObjectName(QString("Legend%1").arg(i));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, kLegendBackground);
    panel->setPalette(palette);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(3, 1, 3, 1);
    auto* picture = new QLabel(panel);
    picture->setPixmap(Square(kLegends[i].colour, false));
    auto* caption = new QLabel(kLegends[i].caption, panel);
    caption->setObjectName(QString("LegendLab%1").arg(i));
    row->addWidget(picture);
    row->addWidget(caption);
    top->addWidget(panel);
    Legends[i] = panel;
  }
  top->addStretch();
  gauge_ = new TTransferGaugeWidget(TopPnl);
  Gauge = gauge_->Gauge;
  Filler = gauge_->Filler;
  NowBtn = gauge_->NowBtn;
  top->addWidget(gauge_);

  // Runs over the whole site hide the top panel; their stop stays within reach.
  StopBtn = new QPushButton("Stop after this one", this);
  StopBtn->setObjectName("StopBtn");
  StopBtn->setAutoDefault(false);
  StopBtn->hide();

  FileInfo = new QLabel(this);
  FileInfo->setObjectName("FileInfo");
  FileInfo->hide();

  Tree = new QTreeWidget(this);
  Tree->setObjectName("Tree");
  Tree->setHeaderHidden(true);
  Tree->setContextMenuPolicy(Qt::CustomContextMenu);
  ListView = new QTreeWidget(this);
  ListView->setObjectName("ListView");
  ListView->setHeaderLabels({"Name"});
  ListView->setRootIsDecorated(false);
  ListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ListView->setContextMenuPolicy(Qt::CustomContextMenu);
  auto* splitter = new QSplitter(this);
  splitter->addWidget(Tree);
  splitter->addWidget(ListView);
  splitter->setStretchFactor(1, 3);

  PopImage = new QLabel(ListView);
  PopImage->setObjectName("PopImage");
  PopImage->hide();

  Popup = new QMenu(this);
  Popup->setObjectName("Popup");
  Popup->setProperty("helpContext", ServerPopupHelp);
  Upload = AddTransferItem("Upload", ServerUploadCommand);
  Download = AddTransferItem("Download", ServerDownloadCommand);
  DownloadTo = AddTransferItem("Download to", DownloadToCommand);
  Unarchive = AddTransferItem("Unarchive", UnarchiveCommand);
  Popup->addSeparator();
  Wider = Popup->addAction("Wider columns");
  Wider->setObjectName("Wider");
  Wider->setCheckable(true);
  connect(Wider, &QAction::triggered, this, [this] { WiderClick(); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(TopPnl);
  layout->addWidget(StopBtn, 0, Qt::AlignRight);
  layout->addWidget(FileInfo);
  layout->addWidget(splitter, 1);

  connect(Flat, &QCheckBox::clicked, this, [this] { FlatClick(); });
  connect(StopBtn, &QPushButton::clicked, this, [] { RunGuarded(StopAfterThisClick); });
  connect(ListView, &QTreeWidget::itemSelectionChanged, this, [this] { SelectionToRows(); });
  Tree->viewport()->installEventFilter(this);
  ListView->viewport()->installEventFilter(this);
  connect(Tree, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item, int) { TreeNodeClicked(item); });
  connect(Tree, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { ShowPopup(at, Tree); });
  connect(ListView, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { ShowPopup(at, ListView); });
}

TServForm::~TServForm() {
  if (ServerView() == this) SetServerView(nullptr);
  if (ServerWindowView() == this) SetServerWindowView(nullptr);
  if (form == this) form = nullptr;
}

QIcon TServForm::RowIcon(int icon) {
  if (icon < 0 || icon >= static_cast<int>(kLegends.size())) return QIcon();
  return QIcon(Square(kLegends[icon].colour, false));
}

QIcon TServForm::NodeIcon(int state) {
  switch (state) {
    case FolderOnBoth:
      return QIcon(Square(QColor(240, 200, 80), true));
    case FolderServerOnly:
      return QIcon(Square(kLegends[4].colour, true));
    case FolderLocalOnly:
      return QIcon(Square(kLegends[0].colour, true));
    default:
      return QIcon();
  }
}

void TServForm::ListingChanged() {
  const TServerListing& list = ServerList;
  FillTree();
  FillRows();
  ListView->setVisible(list.listVisible);
  Tree->setVisible(list.treeVisible);
  TopPnl->setVisible(list.topVisible);
  DispLab->setText(AnsiToQString(list.counterText));
  if (list.columnWidth > 0) ListView->setColumnWidth(0, list.columnWidth);
  Wider->setChecked(list.wider);
  if (!list.caption.empty()) setWindowTitle(AnsiToQString(list.caption));
  StopBtn->setVisible(list.stopButton);
}

void TServForm::RowsChanged() {
  const std::vector<TServerRow>& rows = ServerList.rows;
  if (ListView->topLevelItemCount() != static_cast<int>(rows.size())) {
    ListingChanged();
    return;
  }
  {
    const QSignalBlocker quiet(ListView);
    for (int i = 0; i < ListView->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = ListView->topLevelItem(i);
      const TServerRow& row = rows[static_cast<size_t>(i)];
      if (item->data(0, Qt::UserRole).toInt() != row.icon) {
        item->setIcon(0, RowIcon(row.icon));
        item->setData(0, Qt::UserRole, row.icon);
      }
      item->setSelected(row.selected);
    }
  }
  ListView->viewport()->update();
  if (!ServerList.caption.empty()) setWindowTitle(AnsiToQString(ServerList.caption));
  StopBtn->setVisible(ServerList.stopButton);
}

void TServForm::SelectionToRows() {
  std::vector<TServerRow>& rows = ServerList.rows;
  if (ListView->topLevelItemCount() != static_cast<int>(rows.size())) return;
  for (int i = 0; i < ListView->topLevelItemCount(); ++i)
    rows[static_cast<size_t>(i)].selected = ListView->topLevelItem(i)->isSelected();
}

void TServForm::FillTree() {
  Tree->clear();
  auto* root = new QTreeWidgetItem(Tree, {AnsiToQString(ServerList.tree.name)});
  AddNodes(root, ServerList.tree);
  // The chosen folder is shown open and selected.
  QTreeWidgetItem* chosen = root;
  for (const std::string& name : ServerList.chosenNode) {
    QTreeWidgetItem* next = nullptr;
    for (int i = 0; i < chosen->childCount() && !next; ++i)
      if (QStringToAnsi(chosen->child(i)->text(0)) == name) next = chosen->child(i);
    if (!next) break;
    chosen->setExpanded(true);
    chosen = next;
  }
  chosen->setExpanded(true);
  Tree->setCurrentItem(chosen);
}

void TServForm::FillRows() {
  const QSignalBlocker quiet(ListView);
  ListView->clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<int>(ServerList.rows.size()));
  for (const TServerRow& row : ServerList.rows) {
    auto* item = new QTreeWidgetItem({AnsiToQString(row.name)});
    item->setIcon(0, RowIcon(row.icon));
    item->setData(0, Qt::UserRole, row.icon);
    if (row.header)
      item->setBackground(0, QColor(203, 201, 252));
    else if (row.condenseMismatch)
      item->setBackground(0, QColor(255, 192, 192));
    items.push_back(item);
  }
  ListView->addTopLevelItems(items);
  for (size_t i = 0; i < ServerList.rows.size(); ++i)
    if (ServerList.rows[i].selected) items[static_cast<int>(i)]->setSelected(true);
}

void TServForm::ShowCounter(const std::string& text) {
  DispLab->setText(AnsiToQString(text));
  DispLab->repaint();
}

bool TServForm::IsActive() const {
  return isVisible() && (QApplication::activeModalWidget() == this || isActiveWindow());
}

bool TServForm::FlatTicked() const {
  return Flat->isChecked();
}

void TServForm::TickFlat(bool ticked) {
  Flat->setChecked(ticked);
}

void TServForm::ShowWithoutWaiting() {
  show();
  raise();
}

bool TServForm::Active() const {
  return IsActive();
}

void TServForm::ShowGauge(bool visible) {
  gauge_->ShowGauge(visible);
}

int TServForm::GaugeWidth() const {
  return gauge_->GaugeWidth();
}

void TServForm::SetFillerWidth(int width) {
  gauge_->SetFillerWidth(width);
}

int TServForm::SelectedRows() const {
  return static_cast<int>(ListView->selectedItems().size());
}

void TServForm::RefreshClick(bool fromCode) {
  if (!fromCode && ListingRunning()) return;
  std::vector<int> selected;
  for (QTreeWidgetItem* item : ListView->selectedItems())
    selected.push_back(ListView->indexOfTopLevelItem(item));
  ListView->hide();
  Tree->clear();
  ServerList.stopButton = false;
  StopBtn->hide();
  RunGuarded([] {
    EnsureConnected();
    ListServerWindow();
  });
  for (int index : selected) {
    if (QTreeWidgetItem* item = ListView->topLevelItem(index)) item->setSelected(true);
  }
}

void TServForm::FlatClick() {
  // A run under way keeps the list it works through.
  if (ListingRunning()) {
    const QSignalBlocker quiet(Flat);
    Flat->setChecked(FlatListing);
    return;
  }
  ServerList.fileCount = 0;
  FlatListing = Flat->isChecked();
  if (TMainWindow* w = MainWindow()) w->SetBusyCursor(false);
  ListView->clearSelection();
  RefreshClick(false);
}

void TServForm::WiderClick() {
  ListView->setColumnWidth(0, Wider->isChecked() ? 240 : 120);
}

void TServForm::ShowModal() {
  exec();
}

void TServForm::Close() {
  reject();
}

void TServForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  PopImage->hide();
  StopBtn->hide();
  WiderClick();
  ServerList.rememberedWidth = ListView->columnWidth(0);
  if (!RunGuarded(ServerFormShow)) return;
  if (parentWidget() && parentWidget()->isMinimized()) showMinimized();
  // The first listing runs once the window is on the screen.
  QTimer::singleShot(0, this, [] { RunGuarded(ServerFormTimer); });
}

void TServForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    ShowHelpContext(ServerFilesHelp);
    return;
  }
  QDialog::keyPressEvent(event);
}

void TServForm::TreeNodeClicked(QTreeWidgetItem* item) {
  if (!item || ListingRunning()) return;
  const std::vector<std::string> path = NodePath(item);
  RunGuarded([path] { ShowDir(path); });
}

bool TServForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    if (watched == Tree->viewport()) TreeClick();
    if (watched == ListView->viewport()) ListViewClick();
  }
  return QDialog::eventFilter(watched, event);
}

void TServForm::ShowPopup(const QPoint& position, QWidget* over) {
  // The menu works on what it was opened over: a folder of the tree, or the rows.
  const bool onTree = over == Tree;
  if (onTree) {
    TreeClick();
  } else {
    ListViewClick();
  }
  const bool chosen = onTree ? Tree->currentItem() != nullptr : SelectedRows() > 0;
  for (QAction* item : {Upload, Download, DownloadTo, Unarchive}) item->setEnabled(chosen);
  Popup->popup(over->mapToGlobal(position));
}

QAction* TServForm::AddTransferItem(const char* caption, const char* command) {
  QAction* item = Popup->addAction(caption);
  item->setObjectName(command);
  connect(item, &QAction::triggered, this, [this, command] { UpDown(command); });
  return item;
}

void TServForm::UpDown(const char* command) {
  SelectionToRows();
  std::optional<std::vector<std::string>> folder;
  if (ServerList.treeChosen && Tree->isVisible() && Tree->currentItem())
    folder = NodePath(Tree->currentItem());
  RunCommand(command, [command, folder] { UpDownClick(command, folder); });
}

TServForm* ServForm() {
  return form;
}

TServForm* CreateServForm(QWidget* owner) {
  form = new TServForm(owner);
  SetServerView(form);
  SetServerWindowView(form);
  // The error box lists the window again when it is the one showing.
  SetServerWindowRefresh([] {
    if (form && form->isVisible()) RefreshAfterError([] { form->RefreshClick(true); });
  });
  // So do the program's return to the front and any other error, while this is the
  // active window. The browser's part of the hooks stays as the browser set it.
  TActivationWindows windows = ActivationWindows();
  windows.serverWindowActive = [] { return form && form->IsActive(); };
  windows.refreshServerWindow = [] {
    if (form) RefreshAfterError([] { form->RefreshClick(true); });
  };
  SetActivationWindows(std::move(windows));
  return form;
}

}  // namespace quorrel
