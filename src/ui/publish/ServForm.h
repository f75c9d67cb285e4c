#pragma once
// The server files window. For now it holds what a transfer shows: the gauge (a
// panel with its Filler bar) and the "Stop NOW" button, both hidden until a large
// file moves while the window is active.
#include <QDialog>

#include "publish/Transfers.h"

class QFrame;
class QPushButton;

namespace quorrel {

class TServForm : public QDialog, public TServerWindowView {
  Q_OBJECT

 public:
  explicit TServForm(QWidget* parent = nullptr);
  ~TServForm() override;

  QFrame* Gauge;
  QFrame* Filler;
  QPushButton* NowBtn;

  // TServerWindowView
  bool Active() const override;
  void ShowGauge(bool visible) override;
  int GaugeWidth() const override;
  void SetFillerWidth(int width) override;
  int SelectedRows() const override { return 0; }
};

// Creates the window, as the program's permanent forms are, and makes it the
// transfers' server window.
TServForm* CreateServForm(QWidget* owner);

}  // namespace quorrel
