#pragma once
// The page control's tab strip, drawn by the program: a modified document's
// caption in dark red, the active tab in the scheme's colour, tabs reordered by
// dragging one onto another, the document's path shown at once as the mouse
// comes onto its tab, and, with "Multi-row tabs", as many rows as the tabs need.
#include <QTabBar>
#include <QTabWidget>
#include <functional>
#include <vector>

namespace quorrel {

// The caption colour of a modified document's tab (0x00BBGGRR: dark red).
inline constexpr int ModifiedTabColour = 210;

class TTabBar : public QTabBar {
  Q_OBJECT

 public:
  explicit TTabBar(QWidget* parent = nullptr);

  // What the bar asks of the main window: whether a tab's document is modified,
  // its path (the hint), whether the player bar is being dragged, and the move of
  // a dragged tab.
  std::function<bool(int index)> modified;
  std::function<std::string(int index)> hint;
  std::function<bool()> playerDragging;
  std::function<void(int from, int to)> moveTab;

  void SetMultiRow(bool multiRow);
  bool MultiRow() const { return multiRow_; }
  // The tab at a point of the bar; -1 for none (the hit test).
  int HitTest(const QPoint& point) const;
  // Where a tab is drawn: one row, or the wrapped rows.
  QRect TabRect(int index) const;
  int RowCount() const;
  // The tab being dragged; -1 when none.
  int DraggedTab() const { return dragged_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void tabLayoutChange() override;

 private:
  // TWebForm.PCMouseDown, PCDragOver, PCDragDrop and PCMouseMove.
  void PCMouseDown(int index);
  bool PCDragOver(int index) const;
  void PCDragDrop(int index);
  void PCMouseMove(int index, const QPoint& global);
  // The rows laid out for a width: each tab's rectangle.
  std::vector<QRect> WrappedRects(int width) const;
  void DrawTab(QPainter& painter, int index, const QRect& rect);

  bool multiRow_ = false;
  int dragged_ = -1;
  int hinted_ = -1;
};

// The page control with the program's tab strip.
class TPageControl : public QTabWidget {
  Q_OBJECT

 public:
  explicit TPageControl(QWidget* parent = nullptr);
  TTabBar* Bar() const { return bar_; }

 private:
  TTabBar* bar_;
};

}  // namespace quorrel
