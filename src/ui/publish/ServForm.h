#pragma once
// The server files window "Files": the server's folder tree on the left, the rows
// of the chosen folder with the icon of each file's comparison on the right, and
// the counter, the Flat switch and the legend above. It only draws what the
// listing in core (publish/ServerListing.h) holds. While a large file moves, the
// gauge (a panel with its Filler bar) and "Stop NOW" show in the top panel.
#include <QDialog>
#include <array>

#include "publish/ServerListing.h"
#include "publish/Transfers.h"

class QCheckBox;
class QFrame;
class QLabel;
class QAction;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quorrel {

class TTransferGaugeWidget;

class TServForm : public QDialog, public TServerView, public TServerWindowView {
  Q_OBJECT

 public:
  explicit TServForm(QWidget* parent = nullptr);
  ~TServForm() override;

  QTreeWidget* Tree;
  QTreeWidget* ListView;
  QWidget* TopPnl;
  QLabel* DispLab;
  QLabel* FileInfo;
  QCheckBox* Flat;
  std::array<QFrame*, 6> Legends{};
  QPushButton* StopBtn;
  QFrame* Gauge;
  QFrame* Filler;
  QPushButton* NowBtn;
  QLabel* PopImage;
  QMenu* Popup;
  QAction* Upload;
  QAction* Download;
  QAction* DownloadTo;
  QAction* Unarchive;
  QAction* Wider;

  // The icon of a comparison result (0 to 5) and of a folder node's state (1 to 3).
  static QIcon RowIcon(int icon);
  static QIcon NodeIcon(int state);

  // TServerView
  void ListingChanged() override;
  void RowsChanged() override;
  void ShowCounter(const std::string& text) override;
  bool IsActive() const override;
  void ShowModal() override;
  void Close() override;
  bool FlatTicked() const override;
  void TickFlat(bool ticked) override;
  void ShowWithoutWaiting() override;

  // TServerWindowView
  bool Active() const override;
  void ShowGauge(bool visible) override;
  int GaugeWidth() const override;
  void SetFillerWidth(int width) override;
  int SelectedRows() const override;

  // Lists again what the window shows and selects the same rows by position. The
  // user's refresh does nothing while a listing runs; code's always runs.
  void RefreshClick(bool fromCode);
  // The Flat box: the whole site in one list, or the tree.
  void FlatClick();
  // "Wider columns": the first column 240 pixels wide, else 120.
  void WiderClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TTransferGaugeWidget* gauge_;

  void FillTree();
  void FillRows();
  // The list's selection as core keeps it.
  void SelectionToRows();
  // A transfer command of the pop-up menu, on the tree's folder or the list's rows.
  void UpDown(const char* command);
  QAction* AddTransferItem(const char* caption, const char* command);
  void TreeNodeClicked(QTreeWidgetItem* item);
  void ShowPopup(const QPoint& position, QWidget* over);
};

// The window, made at start; nullptr before.
TServForm* ServForm();
// Makes the window (owned by the main window) and makes it the listing's view.
TServForm* CreateServForm(QWidget* owner);

}  // namespace quorrel
