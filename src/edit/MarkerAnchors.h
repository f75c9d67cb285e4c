#pragma once
// Markers follow their text: each set marker keeps the 256 characters that
// followed it when last found, and when the text at its position changes it moves
// to the nearest place (up to 200 characters away) where those characters stand.
#include <cstddef>
#include <string>
#include <vector>

namespace quorrel {

constexpr size_t MarkerTextLength = 256;
constexpr size_t MarkerSearchDistance = 200;

// Re-anchors the markers of the current document (Markers) in text, with the caret
// at caretOffset (both CurrentText offsets). Returns the digits of the markers
// whose text could not be found: their kept text is dropped (the next pass keeps
// the text then at their position), and they stay where they were.
std::vector<int> ReanchorMarkers(const std::string& text, size_t caretOffset);

}  // namespace quorrel
