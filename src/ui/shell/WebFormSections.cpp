// The main window's side of the Sections list: measuring, showing, hiding and
// highlighting; core decides what the list holds and where it goes.
#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <array>

#include "platform/CodePage.h"
#include "ui/shell/SectionsList.h"
#include "ui/shell/WebForm.h"

namespace quorrel {

int TWebForm::SectionTextWidth(const std::string& caption) const {
  // A style sheet lists thousands of rules: a caption without tabs is measured by
  // its characters' advances, each measured once.
  static const std::array<int, 256> advances = [] {
    std::array<int, 256> widths{};
    const QFontMetrics metrics(SectionsFont());
    for (int c = 0; c < 256; ++c) {
      const QString text = AnsiToQString(std::string(1, static_cast<char>(c)));
      widths[c] = text.isEmpty() ? 0 : metrics.horizontalAdvance(text);
    }
    return widths;
  }();
  if (caption.find('\t') != std::string::npos) return SectionCaptionWidth(AnsiToQString(caption));
  int width = 0;
  for (const char c : caption) width += advances[static_cast<unsigned char>(c)];
  return width;
}

int TWebForm::PageControlWidth() const {
  return pc_->width();
}

int TWebForm::PageControlHeight() const {
  return pc_->height();
}

int TWebForm::ScreenHeight() const {
  const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
  return shown ? shown->availableGeometry().height() : 800;
}

void TWebForm::ShowSectionsBox(const TSectionsBox& box) {
  // The old list may be the one whose key or click asked for the new one.
  if (sectionsList_) {
    sectionsList_->hide();
    sectionsList_->deleteLater();
  }
  sectionsList_ = new TSectionsList(box, pc_);
  sectionsList_->show();
  sectionsList_->raise();
  sectionsList_->setFocus(Qt::OtherFocusReason);
}

void TWebForm::HideSectionsBox() {
  if (sectionsList_ && !sectionsList_->isHidden()) sectionsList_->hide();
}

bool TWebForm::SectionsBoxShowing() const {
  return sectionsList_ && !sectionsList_->isHidden();
}

bool TWebForm::SectionsBoxFocused() const {
  if (!SectionsBoxShowing()) return false;
  const QWidget* focus = QApplication::focusWidget();
  return focus && (focus == sectionsList_ || sectionsList_->isAncestorOf(focus));
}

TSectionsList* TWebForm::SectionsList() const {
  return sectionsList_;
}

void TWebForm::HighlightSectionLabel(int index) {
  if (sectionsList_) sectionsList_->Highlight(index);
}

}  // namespace quorrel
