#pragma once
// The Sections list on screen: a scroll area laid over the page control holding
// one label per listed section, drawn in "MS Sans Serif" 8 with tabs expanded, the
// same font that measured the captions. A click chooses a section, the mouse
// highlights one, and losing the focus hides the list.
#include <QScrollArea>
#include <vector>

#include "shell/Sections.h"

class QLabel;

namespace quorrel {

class TSectionsList : public QScrollArea {
  Q_OBJECT

 public:
  TSectionsList(const TSectionsBox& box, QWidget* pageControl);

  // The labels in the order of SectionLines.
  const std::vector<QLabel*>& Labels() const { return labels_; }
  void Highlight(int index);
  int Highlighted() const { return highlighted_; }

 protected:
  void focusOutEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::vector<QLabel*> labels_;
  int highlighted_ = -1;
};

// The font of the list, and a caption's width in it with tabs expanded.
QFont SectionsFont();
int SectionCaptionWidth(const QString& caption);

}  // namespace quorrel
