#include "platform/Help.h"

#include <utility>

namespace quorrel {

namespace {

std::function<void(int)>& Viewer() {
  static std::function<void(int)> viewer;
  return viewer;
}

}  // namespace

void SetHelpViewer(std::function<void(int context)> viewer) {
  Viewer() = std::move(viewer);
}

void ShowHelpContext(int context) {
  // Copy first: the viewer may replace itself while it runs.
  std::function<void(int)> viewer = Viewer();
  if (viewer) viewer(context);
}

}  // namespace quorrel
