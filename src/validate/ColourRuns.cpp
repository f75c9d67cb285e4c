#include "validate/ColourRuns.h"

#include <algorithm>

#include "shell/FastStrings.h"

namespace quorrel {

namespace {

inline unsigned char Fold(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') ? u - 32 : u;
}

}  // namespace

TColourPainter::TColourPainter(const std::string& text, size_t length, int defaultColour,
                               size_t start)
    : text(text), length(length), pos(start), defaultColour_(defaultColour), runStart_(start) {
  stack_[0] = {defaultColour, kNoBackground};
}

void TColourPainter::PaintPending() {
  size_t end = std::min(pos, length);
  const Entry& top = stack_[depth_];
  if (end > runStart_ && (top.colour != defaultColour_ || top.background != kNoBackground)) {
    runs_.push_back({runStart_, end - runStart_, top.colour, top.background});
  }
  runStart_ = std::max(runStart_, end);
}

void TColourPainter::Push(int colour, int background) {
  PaintPending();
  if (depth_ < 5) ++depth_;
  stack_[depth_] = {colour, background};
}

void TColourPainter::Pop() {
  PaintPending();
  if (depth_ > 0) --depth_;
}

bool TColourPainter::At(std::string_view s) const {
  if (pos + s.size() > text.size()) return false;
  for (size_t i = 0; i < s.size(); ++i) {
    if (Fold(text[pos + i]) != Fold(s[i])) return false;
  }
  return true;
}

bool TColourPainter::AtCase(std::string_view s) const {
  return text.compare(pos, s.size(), s) == 0;
}

bool TColourPainter::SkipToNext(std::string_view s) {
  size_t found = pos < length ? PosNoCase(s, std::string_view(text).substr(0, length), pos + 1) : 0;
  if (found > 0) {
    pos = found - 1;
    return true;
  }
  pos = length;
  return false;
}

bool TColourPainter::SkipTo(std::string_view s) {
  const size_t from = pos;
  if (SkipToNext(s)) return true;
  pos = from;
  // A line end missing at the end of the text is no fault: the text ends the line.
  if (s != "\n" || pos < length) {
    ColourStatus("Could not find " + (s == "\n" ? std::string("end-of-line") : std::string(s)) +
                 " after offset " + std::to_string(pos));
  }
  pos = length;
  return false;
}

void TColourPainter::SkipToLineEnd() {
  size_t lf = text.find('\n', pos);
  pos = lf == std::string::npos || lf > length ? length : lf;
  // The CR of a CR LF belongs to the line end.
  if (pos < length && pos > 0 && text[pos - 1] == '\r') --pos;
}

void TColourPainter::Advance(size_t n) {
  pos += n;
  if (pos > length) {
    pos = length;
    ColourStatus("Unexpected end of text!");
  }
}

std::vector<TColourRun> TColourPainter::Finish() {
  pos = std::max(pos, length);
  PaintPending();
  return std::move(runs_);
}

// ---- run lists -------------------------------------------------------------------

std::vector<TColourRun> RunsOutside(const std::vector<TColourRun>& runs, size_t from, size_t to) {
  std::vector<TColourRun> out;
  out.reserve(runs.size());
  for (const TColourRun& run : runs) {
    size_t end = run.start + run.length;
    if (end <= from || run.start >= to) {
      out.push_back(run);
      continue;
    }
    if (run.start < from) out.push_back({run.start, from - run.start, run.colour, run.background});
    if (end > to) out.push_back({to, end - to, run.colour, run.background});
  }
  return out;
}

std::vector<TColourRun> RunsInside(const std::vector<TColourRun>& runs, size_t from, size_t to) {
  std::vector<TColourRun> out;
  for (const TColourRun& run : runs) {
    size_t start = std::max(run.start, from);
    size_t end = std::min(run.start + run.length, to);
    if (start < end) out.push_back({start, end - start, run.colour, run.background});
  }
  return out;
}

std::vector<TColourRun> OverlayRuns(const std::vector<TColourRun>& base,
                                    const std::vector<TColourRun>& top) {
  if (top.empty()) return base;
  std::vector<TColourRun> out;
  out.reserve(base.size() + 2 * top.size());
  size_t b = 0;
  // A base run cut by a top run leaves its tail here for the next round.
  TColourRun rest{};
  bool haveRest = false;
  auto next = [&](TColourRun& run) {
    if (haveRest) {
      run = rest;
      haveRest = false;
      return true;
    }
    if (b < base.size()) {
      run = base[b++];
      return true;
    }
    return false;
  };
  TColourRun run;
  bool have = next(run);
  for (const TColourRun& t : top) {
    size_t tEnd = t.start + t.length;
    // Base runs wholly before t; base parts cut by it.
    while (have && run.start < tEnd) {
      size_t end = run.start + run.length;
      if (run.start < t.start) {
        out.push_back({run.start, std::min(end, t.start) - run.start, run.colour, run.background});
      }
      if (end > tEnd) {
        rest = {tEnd, end - tEnd, run.colour, run.background};
        haveRest = true;
        have = next(run);
        break;
      }
      have = next(run);
    }
    out.push_back(t);
  }
  while (have) {
    out.push_back(run);
    have = next(run);
  }
  return out;
}

std::vector<TColourRun> Normalised(std::vector<TColourRun> runs) {
  std::vector<TColourRun> out;
  out.reserve(runs.size());
  for (const TColourRun& run : runs) {
    if (run.length == 0) continue;
    if (out.empty() || out.back().start + out.back().length <= run.start) {
      out.push_back(run);
    } else {
      out = OverlayRuns(out, {run});
    }
  }
  return out;
}

TOffsetMap::TOffsetMap(const std::string& text) {
  for (size_t i = text.find('\r'); i != std::string::npos; i = text.find('\r', i + 1)) {
    if (i + 1 < text.size() && text[i + 1] == '\n') pairs_.push_back(i);
  }
}

size_t TOffsetMap::PosOf(size_t offset) const {
  return offset - (std::lower_bound(pairs_.begin(), pairs_.end(), offset) - pairs_.begin());
}

std::vector<TColourRun> RunsToPositions(const std::vector<TColourRun>& runs,
                                        const TOffsetMap& map) {
  std::vector<TColourRun> out;
  out.reserve(runs.size());
  for (const TColourRun& run : runs) {
    size_t start = map.PosOf(run.start);
    size_t end = map.PosOf(run.start + run.length);
    if (end > start) out.push_back({start, end - start, run.colour, run.background});
  }
  return out;
}

}  // namespace quorrel
