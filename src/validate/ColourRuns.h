#pragma once
// The colour-run engine of the syntax colouring: a scan position moving through
// the text, a small stack of colours, and the runs painted as the colour changes.
// Positions here are offsets into the scanned text (CurrentText).
#include <string>
#include <string_view>
#include <vector>

#include "shell/MyRich.h"

namespace quorrel {

// No background colour.
constexpr int kNoBackground = -1;

class TColourPainter {
 public:
  // text: the scan copy, the text followed by blanks so that look-ahead never runs
  // off its end; length: the text's own length; start: where the scan begins.
  TColourPainter(const std::string& text, size_t length, int defaultColour, size_t start = 0);

  const std::string& text;
  const size_t length;
  size_t pos;  // the scan position

  // Paints the pending run (from the run start up to the scan position) in the
  // current colour, then makes the colour current from the scan position on. The
  // stack holds at most six entries; a push onto a full stack replaces the top.
  void Push(int colour, int background = kNoBackground);
  // Paints the pending run and returns to the colour below (never below the first).
  void Pop();
  // Entries above the first.
  size_t Depth() const { return depth_; }

  // Whether the text at the scan position begins with s (any case / exact case).
  bool At(std::string_view s) const;
  bool AtCase(std::string_view s) const;
  // Moves the scan position to the next occurrence of s (any case) at or after it.
  // When there is none it moves to the end of the text and tells the status bar
  // (not for a line end missing at the end of the text).
  bool SkipTo(std::string_view s);
  // The same for the next of a series (the next comment): there being no more is
  // the end of the search, not a fault, and the status bar is not told.
  bool SkipToNext(std::string_view s);
  // Moves the scan position to the end of its line (the line end itself, or the
  // end of the text).
  void SkipToLineEnd();
  // Advances by n characters; past the end of the text it stops there and tells the
  // status bar.
  void Advance(size_t n = 1);

  // Paints the pending run up to the end of the text and hands the runs over.
  std::vector<TColourRun> Finish();

 private:
  struct Entry {
    int colour;
    int background;
  };
  void PaintPending();

  int defaultColour_;
  Entry stack_[6];
  size_t depth_ = 0;
  size_t runStart_;
  std::vector<TColourRun> runs_;
};

// ---- run lists (sorted, not overlapping) ---------------------------------------
// The runs of top laid over base: top wins where both colour the text.
std::vector<TColourRun> OverlayRuns(const std::vector<TColourRun>& base,
                                    const std::vector<TColourRun>& top);
// The parts of runs outside [from, to).
std::vector<TColourRun> RunsOutside(const std::vector<TColourRun>& runs, size_t from, size_t to);
// The parts of runs inside [from, to).
std::vector<TColourRun> RunsInside(const std::vector<TColourRun>& runs, size_t from, size_t to);
// Lays each run over the runs before it in the list; the result is sorted.
std::vector<TColourRun> Normalised(std::vector<TColourRun> runs);

// Offsets into a text with CR LF line ends -> editor positions (one per line end).
// offsets must be ascending.
class TOffsetMap {
 public:
  explicit TOffsetMap(const std::string& text);
  size_t PosOf(size_t offset) const;

 private:
  std::vector<size_t> pairs_;  // offsets of the LF of each CR LF
};
std::vector<TColourRun> RunsToPositions(const std::vector<TColourRun>& runs, const TOffsetMap& map);

// Tells the status bar of a problem the colouring met.
void ColourStatus(const std::string& message);

}  // namespace quorrel
