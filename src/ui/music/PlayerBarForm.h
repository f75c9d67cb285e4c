#pragma once
// The player bar at the foot of the main window, drawn from core's PlayPnl model:
// the gauge with its slider, the elapsed and total times, and the player's buttons.
#include <QWidget>

class QFrame;

class QLabel;
class QToolButton;

namespace quorrel {

class TWebForm;

class TPlayerBar : public QWidget {
  Q_OBJECT

 public:
  explicit TPlayerBar(QWidget* parent = nullptr);
  ~TPlayerBar() override;

  // Shows what the model holds.
  void Refresh();

  QFrame* MGauge() const { return gauge_; }
  QFrame* Slider() const { return slider_; }
  QToolButton* Button(const char* name) const;
  // Whether the user is dragging the bar up or down.
  bool Dragging() const { return dragOffset_ >= 0; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // Shows the bar, keeping the caret of the editor above it in view.
  void Appear();
  QToolButton* AddButton(QWidget* panel, const char* name, const QString& text, const char* hint);
  // TWebForm.MyMouseDown, MyMouseMove and MyMouseUp: a left-button press starts a
  // vertical drag, the bar's top follows the mouse by the press's offset, the
  // release ends it. The dragged bar floats over the window from then on.
  void MyMouseDown(int y);
  void MyMouseMove(int parentY);
  void MyMouseUp();

  QFrame* gauge_;
  QFrame* slider_;
  QFrame* repLine_;
  QLabel* elapsed_;
  QLabel* total_;
  int dragOffset_ = -1;
};

// Puts the bar between the page control and the message bar of the main window,
// hidden until something plays.
TPlayerBar* InstallPlayerBar(TWebForm* form);

}  // namespace quorrel
