#pragma once
// The "Connecting..." window: borderless and modal while the FTP connect runs on
// its worker thread. Cancel (or Esc) ends the wait at once.
#include <QDialog>
#include <functional>

#include "publish/Connection.h"

class QLabel;
class QPushButton;
class QShowEvent;
class QTimer;

namespace quorrel {

class TConnect : public QDialog, public TConnectWait {
  Q_OBJECT

 public:
  explicit TConnect(QWidget* parent = nullptr);

  QLabel* InfoLab;
  QPushButton* CancelBtn;
  // Starts the connect once the window is up.
  QTimer* Timer;

  // TConnectWait
  bool ShowModal(const std::function<void()>& start) override;
  void Finish() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void TimerTick();

  std::function<void()> start_;
};

// The window, created on first use and kept; nullptr before.
TConnect* ConnectForm();

// Makes the window the connect's wait and the clipboard the error box's.
void InstallConnectForm();

}  // namespace quorrel
