#include "support/MemoryMainWindow.h"

#include "edit/Sections.h"

namespace quorrel::test {

void MemoryMainWindow::ShowSectionsBox(const TSectionsBox& box) {
  shownBox_ = std::make_shared<TSectionsBox>(box);
  sectionsShown_ = true;
}

const TSectionsBox& MemoryMainWindow::ShownSectionsBox() const {
  static const TSectionsBox none;
  return shownBox_ ? *shownBox_ : none;
}

TMyRich* MemoryMainWindow::NewTab() {
  tabs_.push_back(Tab{std::make_unique<MemoryRich>(), "", "", 0});
  if (active_ < 0) active_ = 0;
  return tabs_.back().editor.get();
}

void MemoryMainWindow::CloseTab(int index) {
  tabs_.erase(tabs_.begin() + index);
  if (active_ >= TabCount()) active_ = TabCount() - 1;
}

void MemoryMainWindow::MoveTab(int from, int to) {
  Tab tab = std::move(tabs_.at(from));
  tabs_.erase(tabs_.begin() + from);
  tabs_.insert(tabs_.begin() + to, std::move(tab));
}

void MemoryMainWindow::SetTabCaption(int index, const std::string& caption,
                                     const std::string& hint) {
  tabs_.at(index).caption = caption;
  tabs_.at(index).hint = hint;
}

std::string MemoryMainWindow::StatusText(int panel) const {
  auto it = panels_.find(panel);
  return it == panels_.end() ? "" : it->second;
}

void MemoryMainWindow::SetIndicator(const std::string& text, int colour, bool visible) {
  indicator_ = visible ? text : "";
  indicatorColour_ = colour;
}

void MemoryMainWindow::HideSplash() {
  if (splash_ == Splash::Shown) splash_ = Splash::Hidden;
}

void MemoryMainWindow::SetPlacement(const TWindowPlacement& placement) {
  placement_ = placement;
  placementSet_ = true;
}

std::vector<std::string> MemoryMainWindow::Captions() const {
  std::vector<std::string> captions;
  for (const auto& tab : tabs_) captions.push_back(tab.caption);
  return captions;
}

}  // namespace quorrel::test
