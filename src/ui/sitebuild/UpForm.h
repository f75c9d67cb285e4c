#pragma once
// "Update item": the library items the current page uses; clicking one, or OK with
// one selected, offers to update the item's file from the page.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace quorrel {

class TUpForm : public QDialog {
  Q_OBJECT

 public:
  TUpForm(const std::vector<std::string>& items, std::function<void(const std::string&)> update,
          QWidget* parent = nullptr);

  QListWidget* ItemList;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;

 private:
  void OKBtnClick();

  std::function<void(const std::string&)> update_;
};

// Start-up: "Update Library item" shows this dialog.
void InstallUpForm();

}  // namespace quorrel
