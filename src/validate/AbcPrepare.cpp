#include "validate/AbcPrepare.h"

#include <vector>

#include "platform/Chars.h"
#include "shell/FastStrings.h"
#include "validate/AbcLines.h"
#include "validate/AbcMusicLines.h"

namespace quorrel {

namespace {

bool BeginsBlock(const std::string& line) {
  return line.starts_with("%%begin");
}
bool EndsBlock(const std::string& line) {
  return line.starts_with("%%end");
}

// Whether a music line (its comment left out) ends in a backslash that joins the
// next line to it. A backslash before a field, a comment or a blank line continues
// nothing: joining there would swallow the field or the next tune into the music.
bool ContinuesInto(const std::string& music, const std::string& next) {
  if (music.empty() || music.back() != '\\') return false;
  if (IsBlankLine(next) || IsFieldLine(next)) return false;
  return next[0] != '|' && next[0] != '%' && next[0] != ':';
}

// The lines of a text, with the lines of %%begin blocks marked: PostScript and
// other blocks are no ABC and are left as they are.
struct TMarkedLines {
  std::vector<std::string> lines;
  std::vector<bool> inBlock;
};

TMarkedLines Marked(const std::string& text) {
  TMarkedLines marked;
  marked.lines = AbcLinesOf(text);
  bool block = false;
  for (const std::string& line : marked.lines) {
    if (!block && BeginsBlock(line)) {
      block = true;
      marked.inBlock.push_back(true);
      continue;
    }
    marked.inBlock.push_back(block);
    if (block && EndsBlock(line)) block = false;
  }
  return marked;
}

bool HasWordsField(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (line.starts_with("W:")) return true;
  }
  return false;
}

// Whether the "::" at i belongs to a tuplet's "(p::r", not a double repeat.
bool InTuplet(const std::string& line, size_t i) {
  size_t at = i;
  while (at > 0 && IsDigit(line[at - 1])) --at;
  return at < i && at > 0 && line[at - 1] == '(';
}

// Whether the "::" at i stands alone: with a bar line or more colons round it, it is
// a double repeat written out ("|::|") or no repeat at all.
bool AloneDoubleColon(const std::string& line, size_t i) {
  const auto other = [](char c) { return c == ':' || c == '|'; };
  return (i == 0 || !other(line[i - 1])) && (i + 2 >= line.size() || !other(line[i + 2]));
}

// The music with each "::" outside quotes, tuplets and the comment split into ":|",
// a line end and "|:".
std::vector<std::string> SplitAtDoubleColons(const std::string& line) {
  std::vector<std::string> parts(1);
  const size_t comment = CommentStart(line);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (!quoted && i < comment && line[i] == ':' && i + 1 < line.size() && line[i + 1] == ':' &&
        AloneDoubleColon(line, i) && !InTuplet(line, i)) {
      parts.back() += ":|";
      parts.emplace_back("|:");
      ++i;
      continue;
    }
    parts.back() += line[i];
  }
  return parts;
}

}  // namespace

std::string WithoutLeadingLineEnds(const std::string& text, size_t* removed) {
  size_t first = 0;
  while (first < text.size() && (text[first] == '\r' || text[first] == '\n')) ++first;
  if (removed) *removed = first;
  return text.substr(first);
}

std::string JoinContinuations(const std::string& text) {
  TMarkedLines marked = Marked(text);
  std::vector<std::string> out;
  for (size_t i = 0; i < marked.lines.size(); ++i) {
    std::string line = std::move(marked.lines[i]);
    while (!marked.inBlock[i] && IsMusicLine(line) && i + 1 < marked.lines.size() &&
           !marked.inBlock[i + 1] &&
           ContinuesInto(WithoutInlineComment(line), marked.lines[i + 1])) {
      // A comment after the backslash goes, as the music's comments do.
      line = WithoutInlineComment(line);
      line.pop_back();
      std::string next = std::move(marked.lines[++i]);
      const size_t first = next.find_first_not_of(" \t");
      if (!line.empty() && line.back() == '|' && first != std::string::npos && next[first] == '|') {
        next.erase(0, first + 1);  // the bar line both lines drew
      }
      line += next;
    }
    out.push_back(std::move(line));
  }
  return AbcTextOf(out);
}

std::string SplitDoubleRepeats(const std::string& text) {
  TMarkedLines marked = Marked(text);
  if (HasWordsField(marked.lines)) return AbcTextOf(marked.lines);
  TMarkedLines split;
  for (size_t i = 0; i < marked.lines.size(); ++i) {
    const bool music = !marked.inBlock[i] && IsMusicLine(marked.lines[i]);
    for (std::string& part :
         music ? SplitAtDoubleColons(marked.lines[i]) : std::vector{marked.lines[i]}) {
      split.lines.push_back(std::move(part));
      split.inBlock.push_back(marked.inBlock[i]);
    }
  }
  // A start of repeat at the end of a music line goes with the music after it, but
  // not with an end of repeat: that would make a new double repeat.
  std::vector<std::string> joined;
  for (size_t i = 0; i < split.lines.size(); ++i) {
    std::string line = std::move(split.lines[i]);
    while (!split.inBlock[i] && line.ends_with("|:") && IsMusicLine(line) &&
           CommentStart(line) == std::string::npos && i + 1 < split.lines.size() &&
           !split.inBlock[i + 1] && IsMusicLine(split.lines[i + 1]) &&
           !split.lines[i + 1].starts_with(':')) {
      line += split.lines[++i];
    }
    joined.push_back(std::move(line));
  }
  return AbcTextOf(joined);
}

std::string PrepareForReformat(const std::string& text) {
  std::string prepared = JoinContinuations(text);
  prepared = ReplaceAll(prepared, "bass middle=d", "bass octave=-2", true);
  return SplitDoubleRepeats(prepared);
}

}  // namespace quorrel
