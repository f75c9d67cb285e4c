#include "ui/publish/ServForm.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace quorrel {

namespace {

constexpr int kGaugeWidth = 300;
constexpr int kGaugeHeight = 18;

}  // namespace

TServForm::TServForm(QWidget* parent) : QDialog(parent) {
  setObjectName("ServForm");
  setWindowTitle("Files");

  Gauge = new QFrame(this);
  Gauge->setObjectName("Gauge");
  Gauge->setFrameShape(QFrame::Panel);
  Gauge->setFrameShadow(QFrame::Sunken);
  Gauge->setFixedSize(kGaugeWidth, kGaugeHeight);
  Filler = new QFrame(Gauge);
  Filler->setObjectName("Filler");
  Filler->setAutoFillBackground(true);
  QPalette palette = Filler->palette();
  palette.setColor(QPalette::Window, QColor(0, 0, 160));
  Filler->setPalette(palette);
  Filler->setGeometry(0, 0, 1, kGaugeHeight);
  NowBtn = new QPushButton("Stop NOW", this);
  NowBtn->setObjectName("NowBtn");
  connect(NowBtn, &QPushButton::clicked, this, [] { NowBtnClick(); });

  auto* bar = new QHBoxLayout;
  bar->addWidget(Gauge);
  bar->addWidget(NowBtn);
  bar->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addStretch();
  Gauge->hide();
  NowBtn->hide();
}

TServForm::~TServForm() {
  if (ServerWindowView() == this) SetServerWindowView(nullptr);
}

bool TServForm::Active() const {
  return isVisible() && QApplication::activeWindow() == this;
}

void TServForm::ShowGauge(bool visible) {
  Gauge->setVisible(visible);
  NowBtn->setVisible(visible);
}

int TServForm::GaugeWidth() const {
  return Gauge->width();
}

void TServForm::SetFillerWidth(int width) {
  Filler->setGeometry(0, 0, std::max(1, std::min(width, Gauge->width())), Gauge->height());
}

TServForm* CreateServForm(QWidget* owner) {
  auto* form = new TServForm(owner);
  SetServerWindowView(form);
  return form;
}

}  // namespace quorrel
