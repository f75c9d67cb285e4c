#pragma once
// Re-paragraphing: hard-wrapped plain text (pasted mail, mostly) joined into
// paragraphs. Paste and the Edit menu reach it here.
#include <functional>

namespace quorrel {

class TMyRich;

// Re-paragraphs the selection of an editor, or its whole text when nothing is
// selected. Empty until the re-paragraphing command exists: callers then leave the
// text as it is and ask nothing.
extern std::function<void(TMyRich& editor)> Reparagraph;

}  // namespace quorrel
