#include "ui/shell/TabBar.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QToolTip>
#include <algorithm>

#include "platform/CodePage.h"
#include "ui/platform/Colours.h"
#include "validate/ColourScheme.h"

namespace quorrel {

namespace {

// The caption of a tab sits this far from its rectangle's corner.
constexpr int kCaptionLeft = 3;
constexpr int kCaptionTop = 2;

}  // namespace

TTabBar::TTabBar(QWidget* parent) : QTabBar(parent) {
  setObjectName("PCTabs");
  setMouseTracking(true);
  setDrawBase(false);
}

void TTabBar::SetMultiRow(bool multiRow) {
  if (multiRow_ == multiRow) return;
  multiRow_ = multiRow;
  // Wrapped rows show every tab; one row scrolls through them.
  setUsesScrollButtons(!multiRow);
  setElideMode(Qt::ElideNone);
  updateGeometry();
  update();
}

std::vector<QRect> TTabBar::WrappedRects(int width) const {
  std::vector<QRect> rects;
  rects.reserve(count());
  int x = 0, y = 0;
  for (int i = 0; i < count(); ++i) {
    const QSize size = tabSizeHint(i);
    const int w = std::min(size.width(), std::max(width, 1));
    if (x > 0 && x + w > width) {
      x = 0;
      y += size.height();
    }
    rects.emplace_back(x, y, w, size.height());
    x += w;
  }
  return rects;
}

QRect TTabBar::TabRect(int index) const {
  if (index < 0 || index >= count()) return {};
  if (!multiRow_) return tabRect(index);
  return WrappedRects(width())[index];
}

int TTabBar::RowCount() const {
  if (count() == 0) return 0;
  if (!multiRow_) return 1;
  const QWidget* owner = parentWidget();
  const std::vector<QRect> rects = WrappedRects(owner ? owner->width() : width());
  return rects.back().bottom() / std::max(rects.back().height(), 1) + 1;
}

int TTabBar::HitTest(const QPoint& point) const {
  for (int i = 0; i < count(); ++i) {
    if (TabRect(i).contains(point)) return i;
  }
  return -1;
}

QSize TTabBar::sizeHint() const {
  if (!multiRow_ || count() == 0) return QTabBar::sizeHint();
  const QWidget* owner = parentWidget();
  const int width = owner ? owner->width() : QTabBar::sizeHint().width();
  return {width, RowCount() * tabSizeHint(0).height()};
}

QSize TTabBar::minimumSizeHint() const {
  if (!multiRow_) return QTabBar::minimumSizeHint();
  return {0, sizeHint().height()};
}

void TTabBar::resizeEvent(QResizeEvent* event) {
  QTabBar::resizeEvent(event);
  if (multiRow_) updateGeometry();
}

void TTabBar::tabLayoutChange() {
  QTabBar::tabLayoutChange();
  if (multiRow_) updateGeometry();
}

// ---- drawing ------------------------------------------------------------------------

void TTabBar::DrawTab(QPainter& painter, int index, const QRect& rect) {
  QStyleOptionTab option;
  initStyleOption(&option, index);
  option.rect = rect;
  option.text.clear();
  style()->drawControl(QStyle::CE_TabBarTabShape, &option, &painter, this);
  if (index == currentIndex()) {
    painter.fillRect(rect.adjusted(2, 2, -2, 0), ColourFromBgr(ColourScheme.activeTab));
  }
  const bool changed = modified && modified(index);
  painter.setPen(changed ? ColourFromBgr(ModifiedTabColour) : QColor(Qt::black));
  // The caption is kept with "&&" for a "&" of the name.
  QString caption = tabText(index);
  caption.replace(QStringLiteral("&&"), QStringLiteral("&"));
  painter.drawText(rect.adjusted(kCaptionLeft, kCaptionTop, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                   caption);
}

void TTabBar::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  for (int i = 0; i < count(); ++i) {
    const QRect rect = TabRect(i);
    if (rect.isValid() && rect.intersects(this->rect())) DrawTab(painter, i, rect);
  }
}

// ---- the mouse ------------------------------------------------------------------------

void TTabBar::PCMouseDown(int index) {
  dragged_ = index;
}

bool TTabBar::PCDragOver(int index) const {
  return dragged_ >= 0 && index >= 0 && index != dragged_;
}

void TTabBar::PCDragDrop(int index) {
  const int from = dragged_;
  dragged_ = -1;
  if (from < 0 || index < 0 || from == index) return;
  if (moveTab) moveTab(from, index);
}

void TTabBar::PCMouseMove(int index, const QPoint& global) {
  if (index == hinted_) return;
  hinted_ = index;
  const QString text = index >= 0 && hint ? AnsiToQString(hint(index)) : QString();
  if (text.isEmpty()) {
    QToolTip::hideText();
  } else {
    QToolTip::showText(global, text, this, TabRect(index));
  }
}

bool TTabBar::event(QEvent* event) {
  // The late tool tip tells the same as the one shown at once: the tab under the
  // mouse as drawn, whichever the rows.
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    hinted_ = -1;
    PCMouseMove(HitTest(help->pos()), help->globalPos());
    return true;
  }
  return QTabBar::event(event);
}

void TTabBar::mousePressEvent(QMouseEvent* event) {
  const int index = HitTest(event->position().toPoint());
  if (event->button() != Qt::LeftButton || index < 0) {
    event->ignore();
    return;
  }
  if (!(playerDragging && playerDragging())) PCMouseDown(index);
  setCurrentIndex(index);
  event->accept();
}

void TTabBar::mouseMoveEvent(QMouseEvent* event) {
  const int index = HitTest(event->position().toPoint());
  PCMouseMove(index, event->globalPosition().toPoint());
  if (dragged_ >= 0 && event->buttons().testFlag(Qt::LeftButton)) {
    setCursor(PCDragOver(index) ? Qt::DragMoveCursor : Qt::ArrowCursor);
  }
  event->accept();
}

void TTabBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && dragged_ >= 0) {
    unsetCursor();
    const int index = HitTest(event->position().toPoint());
    if (PCDragOver(index)) {
      PCDragDrop(index);
    } else {
      dragged_ = -1;
    }
  }
  event->accept();
}

void TTabBar::leaveEvent(QEvent* event) {
  hinted_ = -1;
  QToolTip::hideText();
  QTabBar::leaveEvent(event);
}

TPageControl::TPageControl(QWidget* parent) : QTabWidget(parent), bar_(new TTabBar(this)) {
  setTabBar(bar_);
}

}  // namespace quorrel
