#pragma once
// The Sections list on screen: a scroll area laid over the page control showing
// one caption per listed section where core placed it, drawn in "MS Sans Serif" 8
// with tabs expanded, the same font that measured the captions. The captions are
// painted, not made widgets, so that a style sheet's thousands of rules show at
// once. A click chooses a section, the mouse highlights one, and losing the focus
// hides the list.
#include <QColor>
#include <QScrollArea>
#include <QStringList>
#include <vector>

#include "edit/Sections.h"

namespace quorrel {

class TSectionsCanvas;

class TSectionsList : public QScrollArea {
  Q_OBJECT

 public:
  TSectionsList(const TSectionsBox& box, QWidget* pageControl);

  // The captions in the order of SectionLines, and where each stands on the list.
  QStringList Captions() const;
  QRect LabelRect(int index) const;
  void Highlight(int index);
  int Highlighted() const;
  // The background and text colours a caption is drawn in.
  QColor Background(int index) const;
  QColor TextColour(int index) const;

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  TSectionsCanvas* canvas_;
};

// The font of the list, and a caption's width in it with tabs expanded.
QFont SectionsFont();
int SectionCaptionWidth(const QString& caption);

}  // namespace quorrel
