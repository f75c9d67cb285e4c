#include "ui/shell/SectionsList.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "platform/CodePage.h"
#include "shell/Commands.h"
#include "ui/platform/Colours.h"
#include "ui/shell/HelpViewer.h"

namespace quorrel {

namespace {

constexpr int LabelHeight = 13;

// A caption drawn as the list measured it: tabs go to the font's tab stops.
class TSectionLabelWidget : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    if (autoFillBackground()) painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextExpandTabs, text());
  }
};

}  // namespace

QFont SectionsFont() {
  QFont font("MS Sans Serif");
  font.setPointSize(8);
  return font;
}

int SectionCaptionWidth(const QString& caption) {
  static const QFontMetrics metrics(SectionsFont());
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
  auto* content = new QWidget;
  content->setFont(SectionsFont());
  content->setAutoFillBackground(true);
  if (box.background >= 0) {
    QPalette palette = content->palette();
    palette.setColor(QPalette::Window, ColourFromBgr(box.background));
    content->setPalette(palette);
  }
  for (const TSectionLabel& section : box.labels) {
    auto* label = new TSectionLabelWidget(AnsiToQString(section.caption), content);
    label->setTextFormat(Qt::PlainText);
    label->setFont(SectionsFont());
    label->setGeometry(section.left, section.top, section.width, LabelHeight);
    if (!section.hint.empty()) label->setToolTip(AnsiToQString(section.hint));
    label->setAttribute(Qt::WA_Hover);
    label->installEventFilter(this);
    labels_.push_back(label);
  }
  content->resize(box.width, box.height);
  setWidget(content);
  setGeometry(box.left, box.top, box.width, std::min(box.height, pageControl->height() - box.top));
}

void TSectionsList::Highlight(int index) {
  for (int i = 0; i < static_cast<int>(labels_.size()); ++i) {
    QLabel* label = labels_[i];
    const bool on = i == index;
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window,
                     on ? ColourFromBgr(HighlightBackground) : palette.color(QPalette::Button));
    palette.setColor(QPalette::WindowText, on ? Qt::white : Qt::black);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
    label->update();
  }
  highlighted_ = index;
  if (index >= 0 && index < static_cast<int>(labels_.size())) ensureWidgetVisible(labels_[index]);
}

void TSectionsList::focusOutEvent(QFocusEvent* event) {
  QScrollArea::focusOutEvent(event);
  // A choice by a click hides the list itself.
  if (event->reason() == Qt::PopupFocusReason) return;
  RunGuarded(PseudoExit);
}

bool TSectionsList::eventFilter(QObject* watched, QEvent* event) {
  const auto it = std::find(labels_.begin(), labels_.end(), watched);
  if (it != labels_.end()) {
    const int index = static_cast<int>(it - labels_.begin());
    if (event->type() == QEvent::Enter) {
      RunGuarded([index] { quorrel::Highlight(index); });
    } else if (event->type() == QEvent::MouseButtonRelease) {
      RunCommand(SectionsCommand, [index] { ThisSectClick(index); });
      return true;
    }
  }
  return QScrollArea::eventFilter(watched, event);
}

}  // namespace quorrel
