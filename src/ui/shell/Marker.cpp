#include "ui/shell/Marker.h"

#include <QLabel>

namespace quorrel {

TMarker::TMarker(int digit, QWidget* parent) : QFrame(parent), digit_(digit) {
  setObjectName(QString("Marker%1").arg(digit));
  setFixedSize(12, 16);
  label_ = new QLabel(QString::number(digit), this);
  label_->setGeometry(1, 1, 9, 13);
  label_->setAlignment(Qt::AlignCenter);
  label_->setAutoFillBackground(true);
  QPalette palette = label_->palette();
  palette.setColor(QPalette::Window, Qt::red);
  palette.setColor(QPalette::WindowText, Qt::white);
  label_->setPalette(palette);
  QFont font = label_->font();
  font.setPointSize(8);
  font.setBold(true);
  label_->setFont(font);
  hide();
}

}  // namespace quorrel
