#pragma once
// The gauge of a running transfer: a sunken panel with its Filler bar growing
// from the left, and "Stop NOW" beside it, shown and hidden together. The server
// window has one in its top panel, the main window one under its message bar.
#include <QWidget>

#include "publish/Transfers.h"

class QFrame;
class QPushButton;

namespace quorrel {

class TTransferGaugeWidget : public QWidget, public TTransferGauge {
 public:
  explicit TTransferGaugeWidget(QWidget* parent);

  QFrame* Gauge;
  QFrame* Filler;
  QPushButton* NowBtn;

  // TTransferGauge
  void ShowGauge(bool visible) override;
  int GaugeWidth() const override;
  void SetFillerWidth(int width) override;
};

}  // namespace quorrel
