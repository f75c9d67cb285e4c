#pragma once
// The main window: the menu bar drawn from the core menu model, the page control
// with one editor per tab, the status bars and the markers. It only shows what
// core decides; the shell's logic lives in editor/Documents and editor/StartUp.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <map>
#include <string>

#include "shell/MainWindow.h"
#include "shell/MenuModel.h"

class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QTimer;

class QKeyEvent;

namespace quorrel {

class TMarker;
class TRichEdit;
class TParagraphViewer;
class TSectionsList;
class TSplashForm;
class TTransferGaugeWidget;

class TWebForm : public QMainWindow, public TMainWindow, public TMenuListener {
  Q_OBJECT

 public:
  explicit TWebForm(QWidget* parent = nullptr);
  ~TWebForm() override;

  // The splash shown at start; the window hides and closes it as start-up says, and
  // Help > About shows it again as the About box.
  void SetSplash(TSplashForm* splash);
  // Runs the idle pass once the events waiting now are handled, as after a burst of
  // work the user should see finished at once; its timer goes on as before.
  void IdleSoon();

  QTabWidget* PC() const { return pc_; }
  QAction* Action(const std::string& name) const;
  QMenu* Menu(const std::string& name) const;
  TMarker* Marker(int digit) const { return markers_[digit]; }
  QLabel* StatusPanel(int panel) const;
  QLabel* IndicatorPanel() const { return indicator_; }
  // The gauge and "Stop NOW" of a large transfer started away from the server window,
  // under the message bar.
  TTransferGaugeWidget* TransferGauge() const { return transferGauge_; }

  // TMainWindow
  int TabCount() const override;
  int ActiveTab() const override;
  TMyRich* TabEditor(int index) const override;
  TMyRich* NewTab() override;
  void ActivateTab(int index) override;
  void CloseTab(int index) override;
  void MoveTab(int from, int to) override;
  void SetTabCaption(int index, const std::string& caption, const std::string& hint) override;
  std::string TabCaption(int index) const override;
  std::string TabHint(int index) const override;
  void SetTabHelpContext(int index, int context) override;
  int TabHelpContext(int index) const override;
  void SetTabsVisible(bool visible) override;
  bool TabsVisible() const override;
  void SetMultiRowTabs(bool multiRow) override;
  void SetCaption(const std::string& caption) override;
  std::string Caption() const override;
  void SetStatusText(int panel, const std::string& text) override;
  std::string StatusText(int panel) const override;
  void SetIndicator(const std::string& text, int colour, bool visible) override;
  void SetBusyCursor(bool busy) override;
  bool BusyCursor() const override { return busyDepth_ > 0; }
  void ProcessMessages() override;
  void ShowPendingChanges() override;
  bool SplashShowing() const override;
  std::string SplashCaption() const override;
  void HideSplash() override;
  void CloseSplash() override;
  TWindowPlacement Placement() const override;
  void SetPlacement(const TWindowPlacement& placement) override;
  void Minimise() override;
  int ScreenWidth() const override;
  void Terminate() override;
  void HideMarkers() override;
  void HideSectionsBox() override;
  // The Sections list (WebFormSections.cpp).
  int SectionTextWidth(const std::string& caption) const override;
  int PageControlWidth() const override;
  int PageControlHeight() const override;
  int ScreenHeight() const override;
  void ShowSectionsBox(const TSectionsBox& box) override;
  bool SectionsBoxShowing() const override;
  bool SectionsBoxFocused() const override;
  void HighlightSectionLabel(int index) override;
  TSectionsList* SectionsList() const;
  void ShowParagraphView(const TParagraphView& view) override;
  TParagraphViewer* ParagraphViewer() const { return paraView_; }
  // What the idle pass keeps up to date (WebFormIdle.cpp).
  void SetMessageColour(TMessageColour colour) override;
  void SetKeyIndicators(bool capsLock, bool numLock, bool overwrite) override;
  bool LockKeyState(bool& capsLock, bool& numLock) const override;
  bool IsActiveForm() const override;
  bool LeftButtonDown() const override;
  bool Terminating() const override;
  void FitTabStrip(bool showTabs) override;
  void PlaceMarker(int digit, long position) override;
  void ShowCaret(bool visible) override;
  void RedrawActiveTab() override;
  void SetNoBorder(bool noBorder) override;
  void ShowNoDocument(bool show) override;
  void ShowEditor() override;
  void Maximise() override;
  int ClientWidth() const override;
  void SetSplashText(const std::string& text) override;
  void CloseForm() override;
  void ShowForm(bool visible) override;
  void CloseMenus() override;
  std::unique_ptr<TMyRich> NewHiddenEditor() override;
  std::string Print(const TPrintJob& job) override;

  // The indicator panels and the banner shown with no document open.
  QLabel* CapsPanel() const { return capsPanel_; }
  QLabel* NumPanel() const { return numPanel_; }
  QLabel* OvrPanel() const { return ovrPanel_; }
  QLabel* NoDocumentBanner() const { return banner_; }

  // TMenuListener
  void ItemChanged(TMenuItem& item) override;
  void ItemsChanged(TMenuItem& subMenu) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildMenus();
  // The tool bar's buttons and the keys the editor leaves to the menu
  // (WebFormTools.cpp).
  void BuildToolBar();
  bool MenuTakesKey(const QKeyEvent& key) const;
  // The item of a Ctrl key matched on the character it types (Ctrl+' and Ctrl+.
  // sit elsewhere on many keyboard layouts); null for other keys.
  QAction* ActionOfKeyText(const QKeyEvent& key) const;
  void AddItems(QMenu* menu, TMenuItem& parent);
  // The pop-up menu of an editor at a point of its viewport.
  void ShowEditorPopup(TRichEdit* editor, const QPoint& at);
  QAction* MakeAction(TMenuItem& item, QWidget* owner);
  // A sub-menu's own command runs as it opens.
  void RunOnOpening(QMenu* menu, const std::string& name);
  void ShowItem(QAction* action, const TMenuItem& item);
  void Choose(const std::string& name);
  void TabChanged();
  void Idle();
  // The status bar's indicators, the banner and the keyboard hooks.
  void InstallIdleParts();

  QTabWidget* pc_;
  TParagraphViewer* paraView_;
  std::array<QLabel*, 5> panels_{};
  QLabel* indicator_;
  TTransferGaugeWidget* transferGauge_ = nullptr;
  std::array<TMarker*, 10> markers_{};
  QPointer<TSectionsList> sectionsList_;
  std::map<std::string, QAction*> actions_;
  std::map<std::string, QMenu*> menus_;
  TSplashForm* splash_ = nullptr;
  QLabel* capsPanel_ = nullptr;
  QLabel* numPanel_ = nullptr;
  QLabel* ovrPanel_ = nullptr;
  QLabel* banner_ = nullptr;
  bool tabStripFolded_ = false;
  QTimer* idleTimer_;
  bool activating_ = false;  // a tab made active by core, not by a click
  bool inProcessMessages_ = false;
  int busyDepth_ = 0;
};

// The program's main form.
extern TWebForm* WebForm;

}  // namespace quorrel
