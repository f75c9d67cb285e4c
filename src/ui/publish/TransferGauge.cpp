#include "ui/publish/TransferGauge.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <algorithm>

namespace quorrel {

namespace {
constexpr int kGaugeWidth = 300;
constexpr int kGaugeHeight = 18;
const QColor kFillerColour(0, 0, 160);
}  // namespace

TTransferGaugeWidget::TTransferGaugeWidget(QWidget* parent) : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  Gauge = new QFrame(this);
  Gauge->setObjectName("Gauge");
  Gauge->setFrameShape(QFrame::Panel);
  Gauge->setFrameShadow(QFrame::Sunken);
  Gauge->setFixedSize(kGaugeWidth, kGaugeHeight);
  Filler = new QFrame(Gauge);
  Filler->setObjectName("Filler");
  Filler->setAutoFillBackground(true);
  QPalette fillerPalette = Filler->palette();
  fillerPalette.setColor(QPalette::Window, kFillerColour);
  Filler->setPalette(fillerPalette);
  Filler->setGeometry(0, 0, 1, kGaugeHeight);
  NowBtn = new QPushButton("Stop NOW", this);
  NowBtn->setObjectName("NowBtn");
  NowBtn->setAutoDefault(false);
  connect(NowBtn, &QPushButton::clicked, this, [] { NowBtnClick(); });
  row->addWidget(Gauge);
  row->addWidget(NowBtn);
  hide();
}

void TTransferGaugeWidget::ShowGauge(bool visible) {
  setVisible(visible);
}

int TTransferGaugeWidget::GaugeWidth() const {
  return Gauge->width();
}

void TTransferGaugeWidget::SetFillerWidth(int width) {
  Filler->setGeometry(0, 0, std::max(1, std::min(width, Gauge->width())), Gauge->height());
}

}  // namespace quorrel
