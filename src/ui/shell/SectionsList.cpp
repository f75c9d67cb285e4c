#include "ui/shell/SectionsList.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "platform/CodePage.h"
#include "shell/Commands.h"
#include "ui/platform/Colours.h"
#include "ui/shell/HelpViewer.h"

namespace quorrel {

namespace {

constexpr int LabelHeight = 13;

}  // namespace

// The captions, painted where core laid them out.
class TSectionsCanvas : public QWidget {
 public:
  TSectionsCanvas(const TSectionsBox& box, QWidget* parent) : QWidget(parent) {
    setFont(SectionsFont());
    setMouseTracking(true);
    setAutoFillBackground(true);
    if (box.background >= 0) {
      QPalette colours = palette();
      colours.setColor(QPalette::Window, ColourFromBgr(box.background));
      setPalette(colours);
    }
    for (const TSectionLabel& section : box.labels) {
      labels_.push_back({AnsiToQString(section.caption), AnsiToQString(section.hint),
                         QRect(section.left, section.top, section.width, LabelHeight)});
    }
    resize(box.width, box.height);
  }

  struct TLabel {
    QString caption;
    QString hint;
    QRect rect;
  };
  const std::vector<TLabel>& Labels() const { return labels_; }
  int highlighted = -1;

  QColor Background(int index) const {
    return index == highlighted ? ColourFromBgr(HighlightBackground)
                                : palette().color(QPalette::Button);
  }
  QColor TextColour(int index) const { return index == highlighted ? Qt::white : Qt::black; }

  int LabelAt(const QPoint& point) const {
    for (size_t i = 0; i < labels_.size(); ++i) {
      if (labels_[i].rect.contains(point)) return static_cast<int>(i);
    }
    return -1;
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    painter.setFont(font());
    for (size_t i = 0; i < labels_.size(); ++i) {
      const TLabel& label = labels_[i];
      if (!label.rect.intersects(event->rect())) continue;
      const int index = static_cast<int>(i);
      painter.fillRect(label.rect, Background(index));
      painter.setPen(TextColour(index));
      painter.drawText(label.rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextExpandTabs,
                       label.caption);
    }
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    const int index = LabelAt(event->position().toPoint());
    if (index >= 0 && index != hovered_) RunGuarded([index] { quorrel::Highlight(index); });
    hovered_ = index;
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    const int index = LabelAt(event->position().toPoint());
    if (index >= 0) RunCommand(SectionsCommand, [index] { ThisSectClick(index); });
  }
  bool event(QEvent* event) override {
    if (event->type() == QEvent::ToolTip) {
      auto* help = static_cast<QHelpEvent*>(event);
      const int index = LabelAt(help->pos());
      if (index >= 0 && !labels_[index].hint.isEmpty()) {
        QToolTip::showText(help->globalPos(), labels_[index].hint, this, labels_[index].rect);
      } else {
        QToolTip::hideText();
      }
      return true;
    }
    return QWidget::event(event);
  }

 private:
  std::vector<TLabel> labels_;
  int hovered_ = -1;
};

QFont SectionsFont() {
  QFont font("MS Sans Serif");
  font.setPointSize(8);
  return font;
}

int SectionCaptionWidth(const QString& caption) {
  static const QFontMetrics metrics(SectionsFont());
  // Tabs go to the tab stops of the drawing; a caption without one is quicker alone.
  if (!caption.contains('\t')) return metrics.horizontalAdvance(caption);
  return metrics.boundingRect(QRect(0, 0, 100000, 100), Qt::TextExpandTabs, caption).width();
}

TSectionsList::TSectionsList(const TSectionsBox& box, QWidget* pageControl)
    : QScrollArea(pageControl) {
  setObjectName("SectionsBox");
  SetHelpContext(this, SectionsHelp);
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  setFont(SectionsFont());
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  canvas_ = new TSectionsCanvas(box, this);
  setWidget(canvas_);
  setGeometry(box.left, box.top, box.width, std::min(box.height, pageControl->height() - box.top));
}

QStringList TSectionsList::Captions() const {
  QStringList captions;
  for (const auto& label : canvas_->Labels()) captions << label.caption;
  return captions;
}

QRect TSectionsList::LabelRect(int index) const {
  const auto& labels = canvas_->Labels();
  return index >= 0 && index < static_cast<int>(labels.size()) ? labels[index].rect : QRect();
}

void TSectionsList::Highlight(int index) {
  const QRect was = LabelRect(canvas_->highlighted);
  canvas_->highlighted = index;
  canvas_->update(was);
  const QRect now = LabelRect(index);
  canvas_->update(now);
  if (now.isValid()) ensureVisible(now.center().x(), now.center().y(), now.width(), 0);
}

int TSectionsList::Highlighted() const {
  return canvas_->highlighted;
}

QColor TSectionsList::Background(int index) const {
  return canvas_->Background(index);
}

QColor TSectionsList::TextColour(int index) const {
  return canvas_->TextColour(index);
}

void TSectionsList::focusOutEvent(QFocusEvent* event) {
  QScrollArea::focusOutEvent(event);
  // A choice by a click hides the list itself.
  if (event->reason() == Qt::PopupFocusReason) return;
  RunGuarded(PseudoExit);
}

}  // namespace quorrel
