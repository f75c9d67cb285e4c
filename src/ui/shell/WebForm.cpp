#include "ui/shell/WebForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>
#include <stdexcept>

#include "commands/Activation.h"
#include "commands/DoubleClick.h"
#include "commands/Exit.h"
#include "commands/IdleLoop.h"
#include "commands/KeyHooks.h"
#include "platform/CodePage.h"
#include "platform/Instances.h"
#include "shell/Commands.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/Hooks.h"
#include "shell/ShellState.h"
#include "ui/platform/Colours.h"
#include "ui/music/PlayerBarForm.h"
#include "ui/platform/QtPrinting.h"
#include "ui/platform/RichEdit.h"
#include "ui/publish/TransferGauge.h"
#include "ui/shell/Marker.h"
#include "ui/shell/ParagraphViewer.h"
#include "ui/shell/SplashForm.h"
#include "ui/shell/TabBar.h"

namespace quorrel {

TWebForm* WebForm = nullptr;

namespace {

const char kCaption[] = "caption";  // tab properties: the caption as core gave it
const char kHint[] = "hint";
const char kHelpContext[] = "helpContext";

void Guarded(const std::function<void()>& body) {
  RunGuarded(body);
}

}  // namespace

TWebForm::TWebForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName("WebForm");
  setWindowTitle("Quorrel");
  WebForm = this;

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* pc = new TPageControl(central);
  pc_ = pc;
  pc_->setObjectName("PC");
  pc_->setDocumentMode(true);
  TTabBar* bar = pc->Bar();
  bar->modified = [this](int index) {
    TMyRich* editor = TabEditor(index);
    return editor && editor->Modified();
  };
  // The document's whole path, whatever the caption shows of it.
  bar->hint = [this](int index) {
    TMyRich* editor = TabEditor(index);
    const int slot = editor ? editor->Tag() : -1;
    return slot >= 0 && slot < static_cast<int>(OpenFiles.size()) ? OpenFiles[slot] : TabHint(index);
  };
  bar->moveTab = [this](int from, int to) { MoveTab(from, to); };
  bar->playerDragging = [this] {
    auto* player = findChild<TPlayerBar*>("PlayPnl");
    return player && player->Dragging();
  };
  paraView_ = new TParagraphViewer(central);
  layout->addWidget(paraView_);
  KeyHooks().hideParagraphPanel = [viewer = QPointer<TParagraphViewer>(paraView_)] {
    return viewer && viewer->Clear();
  };
  layout->addWidget(pc_, 1);
  // The message bar under the page control.
  panels_[MessagePanel] = new QLabel(central);
  panels_[MessagePanel]->setObjectName("SBar2");
  panels_[MessagePanel]->setTextFormat(Qt::PlainText);
  panels_[MessagePanel]->setMinimumHeight(panels_[MessagePanel]->fontMetrics().height() + 4);
  layout->addWidget(panels_[MessagePanel]);
  // A large transfer's gauge under the message bar; hidden, it takes no room.
  transferGauge_ = new TTransferGaugeWidget(central);
  layout->addWidget(transferGauge_, 0, Qt::AlignLeft);
  SetMainWindowGauge(transferGauge_);
  setCentralWidget(central);

  const char* names[] = {"LineCol", "Panel1", "Info", "Section"};
  const int widths[] = {130, 60, 0, 200};
  for (int i = 0; i < 4; ++i) {
    panels_[i] = new QLabel(this);
    panels_[i]->setObjectName(names[i]);
    panels_[i]->setTextFormat(Qt::PlainText);
    if (widths[i] > 0) panels_[i]->setMinimumWidth(widths[i]);
    statusBar()->addWidget(panels_[i], i == InfoPanel ? 1 : 0);
  }
  indicator_ = new QLabel(this);
  indicator_->setObjectName("Indicator");
  indicator_->setAutoFillBackground(true);
  indicator_->hide();
  statusBar()->addPermanentWidget(indicator_);

  for (int digit = 0; digit < 10; ++digit) markers_[digit] = new TMarker(digit, pc_);

  InstallIdleParts();
  BuildMenus();
  BuildToolBar();
  MainMenu().SetListener(this);

  connect(pc_, &QTabWidget::currentChanged, this, [this] { TabChanged(); });
  idleTimer_ = new QTimer(this);
  idleTimer_->setInterval(200);
  connect(idleTimer_, &QTimer::timeout, this, [this] { Idle(); });
  idleTimer_->start();
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [](Qt::ApplicationState state) {
    // A command waiting in a dialog for the user finishes first; the server window,
    // modal too, is where the user works, and lists its files again.
    const TActivationWindows& windows = ActivationWindows();
    const bool serverWindow = windows.serverWindowActive && windows.serverWindowActive();
    if (state == Qt::ApplicationActive && AppPhase == PhaseRunning &&
        (!QApplication::activeModalWidget() || serverWindow)) {
      Guarded(ApplicationActivate);
    }
  });
  try {
    RegisterInstance("Quorrel");
  } catch (const std::runtime_error&) {
    // Without a private work folder there is no instance list: the crash check
    // then takes every other instance for absent.
  }
}

TWebForm::~TWebForm() {
  TRichEdit::ProgramTakesKey = nullptr;
  TRichEdit::ProgramRunsKey = nullptr;
  MainMenu().SetListener(nullptr);
  if (MainWindow() == this) SetMainWindow(nullptr);
  if (WebForm == this) WebForm = nullptr;
  SetMainWindowGauge(nullptr);
  try {
    UnregisterInstance();
  } catch (const std::runtime_error&) {
  }
  if (busyDepth_ > 0) QApplication::restoreOverrideCursor();
}

// ---- menus -------------------------------------------------------------------

void TWebForm::BuildMenus() {
  menuBar()->clear();
  actions_.clear();
  menus_.clear();
  for (auto& top : MainMenu().Root().items) {
    if (top->subMenu) {
      QMenu* menu = menuBar()->addMenu(AnsiToQString(top->caption));
      menu->setObjectName(QString::fromStdString(top->name));
      menus_[top->name] = menu;
      actions_[top->name] = menu->menuAction();
      RunOnOpening(menu, top->name);
      ShowItem(menu->menuAction(), *top);
      AddItems(menu, *top);
    } else {
      menuBar()->addAction(MakeAction(*top, menuBar()));
    }
  }
}

void TWebForm::AddItems(QMenu* menu, TMenuItem& parent) {
  for (auto& child : parent.items) {
    if (child->IsSeparator()) {
      menu->addSeparator();
    } else if (child->subMenu) {
      QMenu* sub = menu->addMenu(AnsiToQString(child->caption));
      sub->setObjectName(QString::fromStdString(child->name));
      menus_[child->name] = sub;
      actions_[child->name] = sub->menuAction();
      RunOnOpening(sub, child->name);
      ShowItem(sub->menuAction(), *child);
      AddItems(sub, *child);
    } else {
      menu->addAction(MakeAction(*child, menu));
    }
  }
}

void TWebForm::RunOnOpening(QMenu* menu, const std::string& name) {
  // Its items are enabled by then, so the user sees them as the command leaves them.
  connect(menu, &QMenu::aboutToShow, this, [name] {
    if (MainMenu().HasHandler(name)) MainMenu().Open(name);
  });
}

QAction* TWebForm::MakeAction(TMenuItem& item, QWidget* owner) {
  auto* action = new QAction(owner);
  action->setObjectName(QString::fromStdString(item.name));
  std::string name = item.name;
  connect(action, &QAction::triggered, this, [this, name] { Choose(name); });
  actions_[item.name] = action;
  ShowItem(action, item);
  return action;
}

void TWebForm::ShowItem(QAction* action, const TMenuItem& item) {
  action->setText(AnsiToQString(item.caption));
  // "Enter" is the main keyboard's key (Return) as well as the keypad's.
  const QKeySequence shortcut = QKeySequence::fromString(AnsiToQString(item.shortcut));
  QList<QKeySequence> shortcuts{shortcut};
  if (shortcut.count() == 1 && shortcut[0].key() == Qt::Key_Enter) {
    shortcuts.append(
        QKeySequence(QKeyCombination(shortcut[0].keyboardModifiers(), Qt::Key_Return)));
  }
  action->setShortcuts(shortcuts);
  action->setCheckable(item.checkable);
  action->setChecked(item.checked);
  action->setVisible(item.visible);
  // A command not built yet is shown, but cannot be chosen.
  action->setEnabled(item.enabled && MainMenu().Available(item));
  QString hint = AnsiToQString(item.hint);
  action->setStatusTip(hint);
  action->setToolTip(hint.isEmpty() ? action->text() : hint);
}

void TWebForm::Choose(const std::string& name) {
  MainMenu().Click(name);
  // The menu may have toggled the action itself: the model has the last word.
  if (TMenuItem* item = MainMenu().Find(name)) {
    auto it = actions_.find(name);
    if (it != actions_.end()) ShowItem(it->second, *item);
  }
}

void TWebForm::ItemChanged(TMenuItem& item) {
  auto it = actions_.find(item.name);
  if (it != actions_.end()) ShowItem(it->second, item);
}

void TWebForm::ItemsChanged(TMenuItem& subMenu) {
  // Rebuilt once the running command is over: the command may have come from an
  // action of this very menu.
  std::string name = subMenu.name;
  QTimer::singleShot(0, this, [this, name] {
    auto it = menus_.find(name);
    TMenuItem* item = MainMenu().Find(name);
    if (it == menus_.end() || !item) return;
    for (QAction* old : it->second->actions()) actions_.erase(old->objectName().toStdString());
    it->second->clear();
    AddItems(it->second, *item);
  });
}

QAction* TWebForm::Action(const std::string& name) const {
  auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

QMenu* TWebForm::Menu(const std::string& name) const {
  auto it = menus_.find(name);
  return it == menus_.end() ? nullptr : it->second;
}

// ---- tabs --------------------------------------------------------------------

int TWebForm::TabCount() const {
  return pc_->count();
}

int TWebForm::ActiveTab() const {
  return pc_->currentIndex();
}

TMyRich* TWebForm::TabEditor(int index) const {
  return dynamic_cast<TRichEdit*>(pc_->widget(index));
}

TMyRich* TWebForm::NewTab() {
  // A name of its own: the spelling dialog finds the editor it checked by name.
  static int editors = 0;
  auto* editor = new TRichEdit(pc_);
  editor->setObjectName(QStringLiteral("RichEdit%1").arg(++editors));
  connect(editor, &TRichEdit::DoubleClicked, this,
          [] { RunCommand("RichDblClick", [] { RichDblClick(); }); });
  // The editor's own pop-up menu with the program's items after it.
  editor->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(editor, &QWidget::customContextMenuRequested, this,
          [this, editor](const QPoint& at) { ShowEditorPopup(editor, at); });
  activating_ = true;
  pc_->addTab(editor, QString());
  activating_ = false;
  return editor;
}

void TWebForm::ShowEditorPopup(TRichEdit* editor, const QPoint& at) {
  std::unique_ptr<QMenu> popup(editor->createStandardContextMenu(at));
  if (QMenu* ours = Menu("EditorPopup")) {
    popup->addSeparator();
    popup->addActions(ours->actions());
  }
  popup->exec(editor->viewport()->mapToGlobal(at));
}

void TWebForm::ActivateTab(int index) {
  activating_ = true;
  pc_->setCurrentIndex(index);
  activating_ = false;
}

void TWebForm::CloseTab(int index) {
  QWidget* page = pc_->widget(index);
  activating_ = true;
  pc_->removeTab(index);
  activating_ = false;
  delete page;
}

void TWebForm::MoveTab(int from, int to) {
  activating_ = true;
  pc_->tabBar()->moveTab(from, to);
  activating_ = false;
}

void TWebForm::SetTabCaption(int index, const std::string& caption, const std::string& hint) {
  QWidget* page = pc_->widget(index);
  page->setProperty(kCaption, AnsiToQString(caption));
  page->setProperty(kHint, AnsiToQString(hint));
  // A name may hold "&": the tab shows it as it is, not as an accelerator.
  pc_->setTabText(index, AnsiToQString(EscapeAmpersands(caption)));
  pc_->setTabToolTip(index, AnsiToQString(hint));
}

std::string TWebForm::TabCaption(int index) const {
  return QStringToAnsi(pc_->widget(index)->property(kCaption).toString());
}

std::string TWebForm::TabHint(int index) const {
  return QStringToAnsi(pc_->widget(index)->property(kHint).toString());
}

void TWebForm::SetTabHelpContext(int index, int context) {
  pc_->widget(index)->setProperty(kHelpContext, context);
}

int TWebForm::TabHelpContext(int index) const {
  return pc_->widget(index)->property(kHelpContext).toInt();
}

void TWebForm::SetTabsVisible(bool visible) {
  pc_->tabBar()->setVisible(visible);
}

bool TWebForm::TabsVisible() const {
  return !pc_->tabBar()->isHidden();
}

void TWebForm::SetMultiRowTabs(bool multiRow) {
  static_cast<TPageControl*>(pc_)->Bar()->SetMultiRow(multiRow);
}

void TWebForm::TabChanged() {
  if (activating_) return;
  Guarded(PCChange);
}

// ---- captions, status, busy state ----------------------------------------------

void TWebForm::SetCaption(const std::string& caption) {
  setWindowTitle(AnsiToQString(caption));
}

std::string TWebForm::Caption() const {
  return QStringToAnsi(windowTitle());
}

QLabel* TWebForm::StatusPanel(int panel) const {
  return panel >= 0 && panel < static_cast<int>(panels_.size()) ? panels_[panel] : nullptr;
}

void TWebForm::SetStatusText(int panel, const std::string& text) {
  if (QLabel* label = StatusPanel(panel)) label->setText(AnsiToQString(text));
}

std::string TWebForm::StatusText(int panel) const {
  QLabel* label = StatusPanel(panel);
  return label ? QStringToAnsi(label->text()) : "";
}

void TWebForm::SetIndicator(const std::string& text, int colour, bool visible) {
  indicator_->setText(AnsiToQString(text));
  QPalette palette = indicator_->palette();
  palette.setColor(QPalette::Window, ColourFromBgr(colour));
  // Black text on light colours, white on dark ones.
  palette.setColor(QPalette::WindowText,
                   ColourFromBgr(colour).lightness() < 128 ? Qt::white : Qt::black);
  indicator_->setPalette(palette);
  indicator_->setVisible(visible);
}

void TWebForm::SetBusyCursor(bool busy) {
  if (busy && busyDepth_ == 0) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    busyDepth_ = 1;
  } else if (!busy && busyDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    busyDepth_ = 0;
  }
}

void TWebForm::ProcessMessages() {
  // The idle pass waits while a command lets events through.
  bool outer = !inProcessMessages_;
  inProcessMessages_ = true;
  QCoreApplication::processEvents();
  if (outer) inProcessMessages_ = false;
}

void TWebForm::ShowPendingChanges() {
  bool outer = !inProcessMessages_;
  inProcessMessages_ = true;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (outer) inProcessMessages_ = false;
}

void TWebForm::IdleSoon() {
  QTimer::singleShot(0, this, [this] { Idle(); });
}

void TWebForm::Idle() {
  if (inProcessMessages_ || !CurrentCommand.empty() || QApplication::activeModalWidget()) return;
  Guarded(OnIdle);
}

// ---- splash and window -----------------------------------------------------------

void TWebForm::SetSplash(TSplashForm* splash) {
  splash_ = splash;
  MainMenu().SetHandler("About", [this](const TMenuItem&) {
    if (splash_) splash_->ShowAbout();
  });
}

bool TWebForm::SplashShowing() const {
  return splash_ && splash_->isVisible();
}

std::string TWebForm::SplashCaption() const {
  return splash_ ? QStringToAnsi(splash_->ProgName->text()) : "";
}

void TWebForm::HideSplash() {
  if (splash_) splash_->hide();
}

void TWebForm::CloseSplash() {
  if (splash_) splash_->close();
}

TWindowPlacement TWebForm::Placement() const {
  QRect r = normalGeometry();
  TWindowPlacement p;
  p.left = r.left();
  p.top = r.top();
  p.right = r.left() + r.width();
  p.bottom = r.top() + r.height();
  p.showCmd = isMaximized() ? ShowMaximised : isMinimized() ? ShowMinimised : ShowNormal;
  return p;
}

void TWebForm::SetPlacement(const TWindowPlacement& p) {
  setGeometry(p.left, p.top, std::max(200, p.right - p.left), std::max(150, p.bottom - p.top));
  show();
  if (p.showCmd == ShowMaximised) {
    showMaximized();
  } else {
    showNormal();
  }
}

void TWebForm::Minimise() {
  showMinimized();
}

int TWebForm::ScreenWidth() const {
  QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  return s ? s->geometry().width() : 1024;
}

void TWebForm::Terminate() {
  QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void TWebForm::HideMarkers() {
  for (TMarker* marker : markers_) marker->hide();
}

void TWebForm::ShowForm(bool visible) {
  // The window stays on the screen, only unpainted while the tabs close: with it
  // hidden, closing the next (parentless) question box would end the program.
  setUpdatesEnabled(visible);
}

void TWebForm::CloseMenus() {
  // Sub-menus close before the menus they open from; each close takes one off the
  // stack of open popups, and a popup that refuses to close ends the walk.
  while (QWidget* popup = QApplication::activePopupWidget()) {
    popup->close();
    if (QApplication::activePopupWidget() == popup) break;
  }
  menuBar()->setActiveAction(nullptr);
}

std::unique_ptr<TMyRich> TWebForm::NewHiddenEditor() {
  // No parent: it never shows, and it goes when its owner lets it go.
  auto editor = std::make_unique<TRichEdit>();
  editor->hide();
  return editor;
}

std::string TWebForm::Print(const TPrintJob& job) {
  auto* rich = dynamic_cast<TRichEdit*>(job.formatted);
  return PrintJob(job, rich ? rich->document() : nullptr);
}

void TWebForm::closeEvent(QCloseEvent* event) {
  // An error on the way out keeps the window, and with it every document.
  bool close = false;
  Guarded([&] { close = FormCloseQuery(); });
  if (!close) {
    event->ignore();
    return;
  }
  idleTimer_->stop();
  event->accept();
}

void TWebForm::ShowParagraphView(const TParagraphView& view) {
  paraView_->Show(view);
}

}  // namespace quorrel
