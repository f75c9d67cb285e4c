#pragma once
// The file-list form ("Open"): the root folder, the mask and the sorted list of the
// files below the root with their pages' titles, from which the open command, Next,
// Link and Upload take a file. It draws the site file list of core
// (publish/SiteFileList.h) and the scan's progress, and hands each button to core
// (publish/OpenChoices.h).
#include <QDialog>
#include <QElapsedTimer>
#include <string>
#include <vector>

#include "publish/OpenUnit.h"
#include "publish/SiteScan.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTimer;
class QToolButton;

namespace quorrel {

class TOpenForm : public QDialog, public TOpenFormHost, public TScanObserver {
  Q_OBJECT

 public:
  explicit TOpenForm(QWidget* parent = nullptr);
  ~TOpenForm() override;

  // TOpenFormHost
  bool ShowModal() override;
  TScanObserver* ScanObserver() override { return this; }

  // TScanObserver
  void Counter(const std::string& text, bool green) override;
  void Entries(const std::vector<std::string>& entries) override;
  bool TakeCancel() override;

  QComboBox* RootDir;
  QLineEdit* FileMask;
  QCheckBox* SubDirs;
  QLineEdit* WebRef;
  QListWidget* FileList;
  QLabel* FileMsg;
  QPushButton* OpenBtn;
  QPushButton* ListBtn;
  QPushButton* CancelBtn;
  QPushButton* GrabBtn;
  QToolButton* WinOpen;
  QToolButton* UpLevel;
  QTimer* OTimer;
  QMenu* ListMenu;  // "&Delete", "&Rename", "&Upload"
  QMenu* RootMenu;  // "&Delete"
  QAction* UploadItem;

  // The list scanned with the form's root, mask and sub-folder choice.
  void ListClick();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormShow();
  void OnTimer();
  void ClearList();
  void ShowList(bool takeFocus = true);
  void FillList(const std::vector<std::string>& entries);
  void SelectEntry(int index);
  void WhichClick(bool webAddress);
  void OpenBtnClick();
  void WinOpenClick();
  void UpLevelClick();
  void GrabBtnClick();
  void FileMaskChange();
  void CancelBtnClick();
  void SubDirsClick();
  void UploadClick();
  void PaintMask();
  void PaintCounter(bool green);

  bool scanning_ = false;
  bool cancel_ = false;
  bool webAddressUsedLast_ = false;
  bool filling_ = false;
  int lastKey_ = 0;      // the last key pressed in the root box
  QElapsedTimer shown_;  // since the screen last followed the scan
};

// Start-up: the permanent form, which the open command shows.
TOpenForm* CreateOpenForm(QWidget* owner);

}  // namespace quorrel
