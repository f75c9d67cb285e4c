#pragma once
// The pick list: one clickable entry per candidate, 17 pixels apart, scrolling
// when the screen is too small. A click chooses the entry and closes the list;
// Esc or closing the window chooses nothing.
#include <QDialog>
#include <string>

class QScrollArea;

namespace quorrel {

class TLinkForm : public QDialog {
  Q_OBJECT

 public:
  explicit TLinkForm(QWidget* parent = nullptr);

  // One entry; its caption shows the text as written.
  void AddEntry(const std::string& text);
  // The top of the next entry: 4, growing by 17 per entry.
  int NextLinkTop() const { return nextLinkTop_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void BtnClick(const std::string& text);

  QScrollArea* scroll_;
  QWidget* list_;
  int nextLinkTop_ = 4;
};

// Start-up: PickLink shows this list.
void InstallLinkForm();

}  // namespace quorrel
