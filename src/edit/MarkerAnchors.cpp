#include "edit/MarkerAnchors.h"

#include <string_view>

#include "shell/ShellState.h"

namespace quorrel {

namespace {

std::string_view Snapshot(std::string_view text, size_t position) {
  if (position >= text.size()) return {};
  return text.substr(position, MarkerTextLength);
}

}  // namespace

std::vector<int> ReanchorMarkers(const std::string& text, size_t caretOffset) {
  std::vector<int> lost;
  for (size_t digit = 0; digit < Markers.size(); ++digit) {
    TMarkerState& marker = Markers[digit];
    if (marker.position < 0) continue;
    const size_t position = static_cast<size_t>(marker.position);
    std::string_view now = Snapshot(text, position);
    if (marker.text.empty()) {
      marker.text = std::string(now);
      continue;
    }
    if (now == marker.text) continue;
    long found = -1;
    for (size_t d = 1; d <= MarkerSearchDistance && found < 0; ++d) {
      if (position + d < text.size() && Snapshot(text, position + d) == marker.text) {
        found = static_cast<long>(position + d);
      }
    }
    for (size_t d = 1; d <= MarkerSearchDistance && found < 0 && d <= position; ++d) {
      if (Snapshot(text, position - d) == marker.text) found = static_cast<long>(position - d);
    }
    if (found >= 0) {
      marker.position = found;
      continue;
    }
    // Typing just after the marker changes its text: it stays, with the text as it
    // is now. Anywhere else the text has gone.
    const bool typingAtMarker =
        caretOffset >= position && caretOffset < position + MarkerTextLength;
    if (!typingAtMarker) lost.push_back(static_cast<int>(digit));
    marker.text.clear();
  }
  return lost;
}

}  // namespace quorrel
