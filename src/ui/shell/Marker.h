#pragma once
// A bookmark's sign on the page control: a small panel holding its digit in white
// bold on red. Hidden until the marker is placed.
#include <QFrame>

class QLabel;

namespace quorrel {

class TMarker : public QFrame {
  Q_OBJECT

 public:
  TMarker(int digit, QWidget* parent);

  int Digit() const { return digit_; }
  QLabel* Label() const { return label_; }

 private:
  int digit_;
  QLabel* label_;
};

}  // namespace quorrel
