#include "music/ChordSections.h"

#include <cstddef>
#include <map>

#include "music/AbcEdits.h"
#include "music/AbcOptions.h"
#include "music/AbcWorkFiles.h"
#include "platform/Chars.h"
#include "platform/CodePage.h"
#include "shell/DBoxUnit.h"
#include "shell/FastStrings.h"
#include "shell/TextLines.h"

namespace quorrel {

namespace {

// Header and body fields ("w:", "K:", "P:" ...) and their continuations hold no bars
// of the voice's music.
bool IsFieldLine(const std::string& line) {
  return line.size() >= 2 && line[1] == ':' && (IsLetter(line[0]) || line[0] == '+');
}

[[noreturn]] void ChordError(int bar, const std::string& barText, const std::string& detail) {
  ShowErrorAndAbort("Error in %%chords.\rBar " + std::to_string(bar) + ": " + barText + "\r" +
                    detail);
}

// The chord bars of a chord voice line: the text between its bar lines.
std::vector<std::string> ChordBars(const std::string& voiceLine) {
  std::vector<std::string> bars;
  size_t pos = !voiceLine.empty() && voiceLine[0] == '|' ? 1 : 0;
  while (pos < voiceLine.size()) {
    size_t bar = voiceLine.find('|', pos);
    if (bar == std::string::npos) bar = voiceLine.size();
    bars.push_back(voiceLine.substr(pos, bar - pos));
    pos = bar + 1;
  }
  return bars;
}

// The chords without their bass notes: "G/B" becomes "G".
std::string WithoutBass(const std::string& chordBar) {
  std::string result;
  bool quoted = false;
  bool skipping = false;
  for (char c : chordBar) {
    if (c == '"') {
      quoted = !quoted;
      skipping = false;
    } else if (quoted && c == '/') {
      skipping = true;
    }
    if (!skipping) result += c;
  }
  return result;
}

// Where the music of a bar begins in a line: past bar lines, repeat marks, endings
// ("[1", "|2", "[\"text\""), annotations ("^..." placed above) and inline fields. npos
// when the line holds no more music.
size_t BarMusicStart(const std::string& line, size_t pos) {
  while (pos < line.size()) {
    char c = line[pos];
    char next = pos + 1 < line.size() ? line[pos + 1] : '\0';
    if (c == ' ' || c == '\t' || c == '|' || c == ':' || c == ']' || (c >= '1' && c <= '6')) {
      ++pos;
    } else if (c == '%') {
      return std::string::npos;  // a comment to the line's end
    } else if (c == '\\' && TrimBlanks(line.substr(pos + 1)).empty()) {
      return std::string::npos;  // the line goes on below
    } else if (c == '"' &&
               (next == '^' || next == '_' || next == '<' || next == '>' || next == '@')) {
      size_t close = line.find('"', pos + 1);
      pos = close == std::string::npos ? line.size() : close + 1;
    } else if (c == '[' && next == '"') {
      size_t close = line.find('"', pos + 2);
      pos = close == std::string::npos ? line.size() : close + 1;
    } else if (c == '[' && IsLetter(next) && pos + 2 < line.size() && line[pos + 2] == ':') {
      size_t close = line.find(']', pos);
      pos = close == std::string::npos ? line.size() : close + 1;
    } else if (c == '[' && (next == '|' || (next >= '1' && next <= '6'))) {
      ++pos;
    } else {
      return pos;
    }
  }
  return std::string::npos;
}

// The next bar line of a music line at or after pos, outside quoted text and
// decorations; npos when there is none before the line's end or comment.
size_t BarLineIn(const std::string& line, size_t pos) {
  while (pos < line.size()) {
    char c = line[pos];
    if (c == '|') return pos;
    if (c == '%') return std::string::npos;
    if (c == '"' || c == '!') {
      size_t close = line.find(c, pos + 1);
      if (close == std::string::npos) return std::string::npos;
      pos = close + 1;
      continue;
    }
    ++pos;
  }
  return std::string::npos;
}

// A line that ends the walk of a section's chords over the music.
bool EndsWalk(const std::string& line) {
  return line.starts_with("%") || line.starts_with(AbcSplitMarker);
}

enum class TWalkEnd { NextVoice, Stop };

class TChordWalk {
 public:
  TChordWalk(std::vector<std::string>& lines, const std::string& chordsLine,
             std::vector<std::string> chordBars)
      : lines_(lines), chordBars_(std::move(chordBars)) {
    voiceList_ = chordsLine.size() > 8 ? chordsLine.substr(8) : "";
    allVoices_ = TrimBlanks(voiceList_).empty();
  }

  // Walks every voice from the V: line at index li.
  void Run(size_t li) {
    while (li < lines_.size()) {
      if (WalkVoice(li) == TWalkEnd::Stop) return;
    }
  }

 private:
  TWalkEnd WalkVoice(size_t& li) {
    const std::string& voiceLine = lines_[li];
    size_t idStart = voiceLine.find_first_not_of(" \t", 2);
    std::string id;
    if (idStart != std::string::npos) {
      size_t idEnd = voiceLine.find_first_of(" \t", idStart);
      id = voiceLine.substr(idStart, idEnd == std::string::npos ? idEnd : idEnd - idStart);
    }
    char voice = id.empty() ? ' ' : id[0];
    bool takes = allVoices_;
    bool noBass = false;
    if (!allVoices_) {
      size_t at = id.empty() ? std::string::npos : voiceList_.find(voice);
      takes = at != std::string::npos;
      noBass = takes && at + 1 < voiceList_.size() && voiceList_[at + 1] == 'n';
    }
    // A voice written in several blocks goes on where its previous block ended.
    size_t& nextBar = nextBar_[id];

    ++li;
    if (li < lines_.size() && lines_[li].starts_with("P:")) ++li;
    size_t col = 0;
    for (;;) {
      if (li >= lines_.size()) return TWalkEnd::Stop;
      if (col == 0) {
        const std::string& line = lines_[li];
        if (EndsWalk(line)) return TWalkEnd::Stop;
        if (line.starts_with("V:")) return TWalkEnd::NextVoice;
        if (IsFieldLine(line)) {
          ++li;
          continue;
        }
      }
      size_t music = BarMusicStart(lines_[li], col);
      if (music == std::string::npos) {
        ++li;
        col = 0;
        continue;
      }
      if (nextBar >= chordBars_.size()) {
        ShowErrorAndAbort("Not enough bars in %%chords to fill Voice " + std::string(1, voice) +
                          ".");
      }
      const std::string& chordBar = chordBars_[nextBar++];
      size_t barLi = li;
      size_t barCol = BarLineIn(lines_[li], music);
      if (barCol == std::string::npos && !FindBarLineBelow(barLi, barCol)) {
        ShowMsg("Error: Unexpected end of tune.");
        SetAbcOption("Debug", true);
        return TWalkEnd::Stop;
      }
      if (takes && chordBar != " ") {
        std::string chords = noBass ? WithoutBass(chordBar) : chordBar;
        bool single =
            chords.find('x') == std::string::npos && chords.find(' ') == std::string::npos;
        std::string insert = single && !EndsWithTie(lines_[barLi], barCol) ? chords : chords + " &";
        lines_[li].insert(music, insert);
        if (barLi == li) barCol += insert.size();
      }
      li = barLi;
      col = barCol + 1;
    }
  }

  // The bar line that closes a bar running on below line li, in the music lines
  // that follow (fields between them skipped). Sets li and col to it.
  bool FindBarLineBelow(size_t& li, size_t& col) const {
    for (size_t i = li + 1; i < lines_.size(); ++i) {
      const std::string& line = lines_[i];
      if (EndsWalk(line) || line.starts_with("V:")) return false;
      if (IsFieldLine(line)) continue;
      size_t bar = BarLineIn(line, 0);
      if (bar != std::string::npos) {
        li = i;
        col = bar;
        return true;
      }
    }
    return false;
  }

  // A tie ("-") just before the bar line (or its repeat colons) ends the bar.
  static bool EndsWithTie(const std::string& line, size_t barCol) {
    size_t i = barCol;
    while (i > 0 && (line[i - 1] == ' ' || line[i - 1] == '\t' || line[i - 1] == ':')) --i;
    return i > 0 && line[i - 1] == '-';
  }

  std::vector<std::string>& lines_;
  std::vector<std::string> chordBars_;
  std::string voiceList_;
  bool allVoices_ = true;
  std::map<std::string, size_t> nextBar_;
};

}  // namespace

std::string BuildChordVoiceLine(const std::string& chordLines) {
  std::string joined;
  for (char c : chordLines) {
    if (c != '\r' && c != '\n' && c != '[' && c != ']' && c != ':') joined += c;
  }
  while (joined.find("||") != std::string::npos) joined = ReplaceAll(joined, "||", "|", true);
  if (joined.find('"') != std::string::npos) {
    ShowErrorAndAbort("Remove all \"quotes\" from %%chords section.");
  }

  std::string line;
  size_t pos = 0;
  if (!joined.empty() && joined[0] == '|') {
    line = "|";
    pos = 1;
  }
  int barNumber = 0;
  while (pos < joined.size()) {
    size_t end = joined.find('|', pos);
    if (end == std::string::npos) end = joined.size();
    std::string bar = joined.substr(pos, end - pos);
    pos = end + 1;
    // Blanks after the last bar line are no bar.
    if (end == joined.size() && TrimBlanks(bar).empty()) break;
    ++barNumber;
    if (bar != " ") bar = std::string(TrimBlanks(bar));

    std::vector<std::string> words;
    for (std::string rest = bar; !rest.empty();) {
      size_t blank = rest.find(' ');
      words.push_back(rest.substr(0, blank));
      rest = blank == std::string::npos ? "" : rest.substr(blank + 1);
    }
    size_t chords = 0;
    for (const auto& word : words) chords += word.empty() ? 0 : 1;

    for (const auto& chord : words) {
      if (chord.empty()) {
        line += "  ";
        continue;
      }
      if (chord.size() > 1 && chord.back() == '/') {
        ChordError(barNumber, bar, "Chord has no bass note.");
      }
      char first = chord[0];
      if (!((first >= 'A' && first <= 'G') || first == '/' || first == '(')) {
        ChordError(barNumber, bar,
                   "Chord " + chord + " does not start with A-G or \"/\" or \"(\".");
      }
      size_t x = chord.find('x');
      if (x == std::string::npos) {
        line += "\"" + chord + "\" ";
        if (chords > 1) line += "x ";
      } else {
        line += "\"" + chord.substr(0, x) + "\"" + chord.substr(x) + " ";
      }
    }
    if (line.empty() || line.back() != ' ') ShowMsg("Wrong terminator\r" + line);
    if (line.empty()) {
      line = "|";
    } else {
      line.back() = '|';
    }
  }
  return line;
}

void ExpandChordSections(std::string& text, int& linesRemoved) {
  for (;;) {
    std::vector<std::string> lines = LinesWithoutEnds(text);
    size_t first = 0;
    while (first < lines.size() && !StartsWithNoCase(lines[first], "%%chords")) ++first;
    if (first == lines.size()) return;

    // Offsets of the line starts, to find "%%endchords" the way a search reports it.
    size_t offset = 0;
    std::vector<size_t> starts;
    for (size_t i = 0; i < lines.size(); ++i) {
      starts.push_back(offset);
      offset += lines[i].size() + 2;
    }
    size_t from = first + 1 < lines.size() ? starts[first + 1] : text.size();
    std::string joinedText;
    for (size_t i = 0; i < lines.size(); ++i) {
      joinedText += lines[i];
      if (i + 1 < lines.size()) joinedText += "\r\n";
    }
    size_t at = PosNoCaseOrAbort("%%endchords", joinedText, from + 1) - 1;
    size_t last = first + 1;
    while (last + 1 < lines.size() && starts[last + 1] <= at) ++last;

    linesRemoved += static_cast<int>(last - first + 1);
    std::string chordText;
    for (size_t i = first + 1; i < last; ++i) chordText += lines[i];
    const std::string chordsLine = lines[first];
    const std::string voiceLine = BuildChordVoiceLine(chordText);
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(first),
                lines.begin() + static_cast<std::ptrdiff_t>(last + 1));

    size_t voice = first;
    while (voice < lines.size() && !lines[voice].starts_with("V:")) ++voice;
    if (voice == lines.size()) {
      ShowErrorAndAbort("You must have at least one V: command to use %%chords.");
    }
    TChordWalk(lines, chordsLine, ChordBars(voiceLine)).Run(voice);

    text.clear();
    for (size_t i = 0; i < lines.size(); ++i) {
      text += lines[i];
      if (i + 1 < lines.size()) text += "\r\n";
    }
  }
}

}  // namespace quorrel
