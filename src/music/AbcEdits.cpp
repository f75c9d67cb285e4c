#include "music/AbcEdits.h"

#include "shell/FastStrings.h"

namespace quorrel {

namespace {

constexpr size_t kVerses = 8;
// Stands in for a hyphen that belongs to a word while the syllable hyphens go.
constexpr char kKeptHyphen = '\x95';

bool StartsWithNoCase(const std::string& text, size_t at, const std::string& part) {
  if (at + part.size() > text.size()) return false;
  return PosNoCase(part, std::string_view(text).substr(at, part.size())) == 1;
}

std::string Without(std::string text, const std::string& chars) {
  std::string kept;
  kept.reserve(text.size());
  for (char c : text) {
    if (chars.find(c) == std::string::npos) kept += c;
  }
  return kept;
}

std::string CleanLyrics(std::string text) {
  text = ReplaceAll(text, "\\-", std::string(1, kKeptHyphen), true);
  text = Without(text, "-");
  for (char& c : text) {
    if (c == kKeptHyphen) c = '-';
  }
  // "~" puts two words under one note: they stay two words.
  for (char& c : text) {
    if (c == '~') c = ' ';
  }
  text = Without(text, "_|*");
  while (text.find("  ") != std::string::npos) text = ReplaceAll(text, "  ", " ", true);
  for (const char* end : {". ", "! ", "? "}) {
    text = ReplaceAll(text, end, std::string(end) + " ", true);
  }
  return text;
}

}  // namespace

std::optional<TTextRange> CombineRange(const std::string& text, size_t caret) {
  if (caret < 2 || text.compare(caret - 1, 3, "\nX:") != 0) return std::nullopt;
  // From the line end before the X: line to the end of that line, its CR LF kept.
  const size_t lineEnd = text.find('\n', caret + 1);
  if (lineEnd == std::string::npos) return TTextRange{caret - 2, text.size() - caret + 2};
  return TTextRange{caret - 2, lineEnd + 1 - caret};
}

size_t SplitMarkerIn(const std::string& text, size_t from, size_t to) {
  const size_t at = PosNoCase(AbcSplitMarker, text, from + 1);
  if (at == 0 || at - 1 >= to) return std::string::npos;
  return at - 1;
}

std::optional<std::string> ExtractedTune(const std::string& text, size_t at, size_t tuneStart,
                                         size_t nextTune) {
  // The marker before `at` (or the tune's start) and the one after it (or the next tune).
  // Both are looked for in this tune only, and never find the same marker.
  size_t from = tuneStart;
  for (size_t found = SplitMarkerIn(text, tuneStart, at); found != std::string::npos;
       found = SplitMarkerIn(text, found + 1, at)) {
    from = found;
  }
  const size_t forwardFrom = from == tuneStart || from + 1 < at ? at - 1 : from + 1;
  const size_t after = SplitMarkerIn(text, forwardFrom, text.size());
  const size_t to = after == std::string::npos ? nextTune : after;
  if ((from == tuneStart && to == nextTune) || to > nextTune || to < from) return std::nullopt;
  std::string piece = text.substr(from, to - from);
  if (piece.empty() || piece[0] != 'X') piece = "X:1" + piece.substr(AbcSplitMarkerLength);
  return piece;
}

std::vector<std::string> WithoutLyricLines(const std::vector<std::string>& lines) {
  std::vector<std::string> kept;
  for (size_t i = 0; i < lines.size(); ++i) {
    const bool last = i + 1 == lines.size();
    if (last || !StartsWithNoCase(lines[i], 0, "w:")) kept.push_back(lines[i]);
  }
  return kept;
}

std::string LyricsOfTune(const std::string& tune) {
  std::vector<std::string> verses(kVerses);
  size_t verse = 0;
  bool repeat = false;
  if (tune.size() < 4) return "";
  const size_t last = tune.size() - 4;
  for (size_t p = 0; p <= last; ++p) {
    if (tune.compare(p, 2, ":|") == 0) repeat = true;
    const bool lyric = tune.compare(p, 2, "\r\n") == 0 && StartsWithNoCase(tune, p + 2, "w:");
    if (!lyric && p != last) continue;
    size_t next = tune.size();
    if (lyric) {
      // After "w:" up to and including the line end; the hyphens of a "W:" line
      // belong to its words.
      const size_t start = p + 4;
      const size_t lineEnd = tune.find('\n', start);
      next = lineEnd == std::string::npos ? tune.size() : lineEnd + 1;
      std::string line = tune.substr(start, next - start);
      if (tune[p + 2] == 'W') line = ReplaceAll(line, "-", "\\-", true);
      verses[verse] += line;
    }
    // The next verse under the same music, or the verses of a repeat after the first.
    if (lyric && tune.compare(next, 2, "w:") == 0) {
      if (verse + 1 < kVerses) ++verse;
      continue;
    }
    verse = 0;
    if (repeat) {
      bool appended = false;
      for (size_t v = 1; v < kVerses; ++v) {
        if (verses[v].empty()) continue;
        verses[0] += "\r\n" + verses[v];
        verses[v].clear();
        appended = true;
      }
      if (appended) verses[0] += "\r\n";
    }
    repeat = false;
  }
  return CleanLyrics(verses[0]);
}

size_t MidiRatioLineAt(const std::string& text, size_t tuneStart, size_t tuneEnd) {
  const size_t at = PosNoCase("\nK:", text, tuneStart + 1);
  if (at == 0 || at >= tuneEnd) return std::string::npos;
  return at;  // just after the line feed: the start of the K: line
}

}  // namespace quorrel
