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

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Shows the bar, keeping the caret of the editor above it in view.
  void Appear();
  QToolButton* AddButton(QWidget* panel, const char* name, const QString& text, const char* hint);

  QFrame* gauge_;
  QFrame* slider_;
  QFrame* repLine_;
  QLabel* elapsed_;
  QLabel* total_;
};

// Puts the bar between the page control and the message bar of the main window,
// hidden until something plays.
TPlayerBar* InstallPlayerBar(TWebForm* form);

}  // namespace quorrel
