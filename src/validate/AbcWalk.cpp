#include "validate/AbcWalk.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Chars.h"
#include "validate/AbcLines.h"
#include "validate/AbcMessages.h"
#include "validate/AbcRun.h"

namespace quorrel {

namespace {

// A typographic apostrophe in Windows-1252.
constexpr unsigned char kCurlyApostrophe = 146;

struct TShortcut {
  const char* decoration;
  char sign;
};
// Decorations written the short way.
constexpr TShortcut kShortcuts[] = {
    {"!trill!", 'T'},    {"!tr!", 'T'},     {"!segno!", 'S'},   {"!>!", 'L'},
    {"!emphasis!", 'L'}, {"!accent!", 'L'}, {"!fermata!", 'H'}, {"!pause!", 'H'},
};

bool IsNoteLetter(char c) {
  return (c >= 'A' && c <= 'G') || (c >= 'a' && c <= 'g');
}

// A note of a chord: its pitch in steps (an octave is seven), the note as written
// without its length, the length as written, and whether it is tied.
struct TChordNote {
  int pitch = 0;
  std::string text;
  std::string length;
  bool tied = false;
};

// The notes of a chord "[...]"; a sign that is no part of a note stops the run.
std::vector<TChordNote> ChordNotes(const std::string& chord, size_t line) {
  std::vector<TChordNote> notes;
  const std::string_view inside = std::string_view(chord).substr(1, chord.size() - 2);
  size_t i = 0;
  while (i < inside.size()) {
    if (IsBlank(inside[i])) {
      ++i;
      continue;
    }
    TChordNote note;
    while (i < inside.size() && (inside[i] == '^' || inside[i] == '_' || inside[i] == '=')) {
      note.text += inside[i++];
    }
    if (i >= inside.size() || !IsNoteLetter(inside[i])) {
      const std::string sign = i < inside.size() ? std::string(1, inside[i]) : std::string();
      StopAbc("Invalid character " + sign + " in chord " + chord, line);
    }
    const char letter = inside[i];
    note.pitch = static_cast<int>(std::string_view("CDEFGAB").find(letter & ~0x20)) +
                 (IsLowerLetter(letter) ? 7 : 0);
    note.text += inside[i++];
    while (i < inside.size() && (inside[i] == ',' || inside[i] == '\'')) {
      note.pitch += inside[i] == ',' ? -7 : 7;
      note.text += inside[i++];
    }
    while (i < inside.size() && (IsDigit(inside[i]) || inside[i] == '/'))
      note.length += inside[i++];
    if (i < inside.size() && inside[i] == '-') {
      note.tied = true;
      note.text += inside[i++];
    }
    notes.push_back(note);
  }
  return notes;
}

// A length as written ("", "2", "3/2", "/", "//") as a fraction of the unit note.
std::pair<long, long> LengthValue(const std::string& length) {
  long number = 0;
  size_t i = 0;
  for (; i < length.size() && IsDigit(length[i]) && i < 6; ++i)
    number = number * 10 + (length[i] - '0');
  if (i == 0) number = 1;
  long divisor = 1;
  while (i < length.size() && length[i] == '/') {
    ++i;
    long by = 0;
    size_t digits = 0;
    for (; i < length.size() && IsDigit(length[i]) && digits < 6; ++i, ++digits) {
      by = by * 10 + (length[i] - '0');
    }
    divisor *= digits == 0 ? 2 : std::max(by, 1L);
    if (divisor > 1000000) break;
  }
  return {number, divisor};
}

bool SameLength(const std::string& a, const std::string& b) {
  const auto [an, ad] = LengthValue(a);
  const auto [bn, bd] = LengthValue(b);
  return an * bd == bn * ad;
}

std::string Shown(const std::string& length) {
  return length.empty() ? "1" : length;
}

class TLineWalk {
 public:
  TLineWalk(const std::string& line, TAbcWalk& walk) : line_(line), walk_(walk) {}

  std::string Walk() {
    // Each step takes at least one sign, so the walk ends.
    while (i_ < line_.size()) {
      const size_t before = i_;
      Step();
      if (i_ <= before) i_ = before + 1;
    }
    if (walk_.inBraces) StopAbc(AbcBracesOpenAtLineEnd, walk_.line);
    return out_;
  }

 private:
  bool At(std::string_view sign) const { return line_.compare(i_, sign.size(), sign) == 0; }

  // Copies the signs up to and with the next one of these, or to the line's end.
  void CopyThrough(char close) {
    const size_t end = line_.find(close, i_ + 1);
    const size_t stop = end == std::string::npos ? line_.size() : end + 1;
    out_.append(line_, i_, stop - i_);
    i_ = stop;
  }

  void Step() {
    const char c = line_[i_];
    if (const size_t utf8 = Utf8CharLength(line_, i_)) {
      out_.append(line_, i_, utf8);
      i_ += utf8;
      return;
    }
    if (c == '%' && (i_ == 0 || line_[i_ - 1] != '\\')) {  // a comment the mends kept
      out_.append(line_, i_);
      i_ = line_.size();
      return;
    }
    switch (c) {
      case '"':
        Quoted();
        return;
      case '!':
        Decoration();
        return;
      case '[':
        Bracket();
        return;
      case ']':
        if (walk_.checkSquare && !(i_ > 0 && line_[i_ - 1] == '|')) {
          StopAbc(AbcUnmatchedSquare, walk_.line, AbcSquareHelp);
        }
        break;
      case ':':
        if (At(":|]")) {
          if (!walk_.reformat) StopAbc(AbcBracketAfterRepeat, walk_.line);
          out_ += ":|";
          i_ += 3;
          return;
        }
        break;
      case '{':
        if (walk_.inBraces) StopAbc(AbcNestedBraces, walk_.line);
        walk_.inBraces = true;
        break;
      case '}':
        if (!walk_.inBraces) StopAbc(AbcUnmatchedBraces, walk_.line);
        walk_.inBraces = false;
        break;
      case '?':
        StopAbc(AbcQuestionMark, walk_.line);
      case '#':
        StopAbc(AbcHashSign, walk_.line);
      case '|':
        bar_ = {};
        break;
      case 'Z':
      case 'X':
        FullBarRest();
        return;
      default:
        if (static_cast<unsigned char>(c) == kCurlyApostrophe) {
          out_ += '\'';
          ++i_;
          return;
        }
        if (IsNoteLetter(c) && !walk_.inBraces) Note(std::string(1, c));
        break;
    }
    out_ += c;
    ++i_;
  }

  [[noreturn]] void Stop(const std::string& message) { StopAbc(message, walk_.line); }

  // Text in double quotes: an annotation placed by its first sign, or a guitar chord.
  void Quoted() {
    if (TrimBlanks(std::string_view(line_).substr(i_ + 1)).empty()) Stop(AbcLineEndsWithQuote);
    const size_t close = line_.find('"', i_ + 1);
    if (std::string_view("^_<>@").find(line_[i_ + 1]) != std::string_view::npos) {
      if (close == std::string::npos) Stop(AbcAnnotationNotClosed);
      CopyThrough('"');
      return;
    }
    if (close == std::string::npos) {
      Stop(line_.find('|', i_) == std::string::npos ? AbcUnmatchedQuote : AbcChordNotEnded);
    }
    if (close == i_ + 1) {
      const size_t third = line_.find('"', close + 1);
      Stop("Chord " + line_.substr(i_, third == std::string::npos ? 2 : third + 1 - i_) +
           " starts with two double-quotes.");
    }
    out_ += '"';
    out_ += GuitarChord(line_.substr(i_ + 1, close - i_ - 1), i_ + 1);
    out_ += '"';
    i_ = close + 1;
    // The chord stands right before the note it goes with.
    size_t next = i_;
    while (next < line_.size() && IsBlank(line_[next])) ++next;
    if (next == line_.size()) Stop(AbcChordAtLineEnd);
    if (line_[next] == ':' || line_[next] == '|') {
      if (next == 3) Stop(line_.substr(0, 3) + AbcPartNotChord);
      Stop("Chord at end of bar, column " + std::to_string(next + 1) + "\r" + line_);
    }
    i_ = next;
  }

  // The text of a guitar chord starting at column from (0-based) of the line: its
  // root and bass upper-cased when re-formatting, "0" or "o" for "dim", "+" for "aug".
  std::string GuitarChord(std::string chord, size_t from) {
    if (const size_t bar = chord.find('|'); bar != std::string::npos) {
      Stop("Bar-line in column " + std::to_string(from + bar + 1) + " is within chord.");
    }
    if (chord.find("\\n") != std::string::npos) Stop(AbcNewLineInChord);
    size_t i = 0;
    if (IsNoteLetter(chord[0])) {
      UpperCase(chord, 0);
      i = 1;
      if (i < chord.size() && (chord[i] == '#' || chord[i] == 'b')) ++i;
      if (i < chord.size() && chord[i] == 'M') chord[i] = 'm';
      if (i < chord.size() && chord[i] == '+') chord.replace(i, 1, "aug");
    }
    for (; i < chord.size(); ++i) {
      const bool beforeEnd = i + 1 == chord.size() || chord[i + 1] == '/';
      if ((chord[i] == '0' || chord[i] == 'o') && beforeEnd && i > 0) {
        chord.replace(i, 1, "dim");
        i += 2;
        continue;
      }
      if (chord[i] != '/' || i + 1 >= chord.size()) continue;
      const char bass = chord[i + 1];
      if (bass == '^' || bass == '_') Stop(AbcSharpFlatBass);
      if (!IsNoteLetter(bass)) continue;
      UpperCase(chord, i + 1);
      const size_t after = i + 2;
      if (after < chord.size() &&
          std::string_view(";b#=)").find(chord[after]) == std::string_view::npos) {
        Stop(AbcBassFollowedBy + std::string(1, chord[after]));
      }
      ++i;
    }
    return chord;
  }

  // A root or bass in lower case: upper-cased when re-formatting, else a stop.
  void UpperCase(std::string& chord, size_t at) {
    if (!IsLowerLetter(chord[at])) return;
    if (!walk_.reformat) Stop(AbcChordUpperCase);
    chord[at] = static_cast<char>(chord[at] - 'a' + 'A');
  }

  // "!...!": the decorations the programs know a short sign for get it. A "!" with
  // nothing after it ends the line of the score.
  void Decoration() {
    if (walk_.decorationsDefined || TrimBlanks(std::string_view(line_).substr(i_ + 1)).empty()) {
      out_ += line_.substr(i_);
      i_ = line_.size();
      return;
    }
    const size_t close = line_.find('!', i_ + 1);
    if (close == std::string::npos) StopAbc(AbcDecorationNotClosed, walk_.line);
    const std::string_view decoration = std::string_view(line_).substr(i_, close + 1 - i_);
    for (const TShortcut& shortcut : kShortcuts) {
      if (decoration != shortcut.decoration) continue;
      out_ += shortcut.sign;
      i_ = close + 1;
      while (i_ < line_.size() && IsBlank(line_[i_])) ++i_;
      return;
    }
    out_.append(decoration);
    i_ = close + 1;
  }

  // "[": a bar line, an ending, an in-line field or a chord.
  void Bracket() {
    if (At("[|:")) {
      if (!walk_.reformat) StopAbc(AbcBracketBeforeRepeat, walk_.line);
      ++i_;  // the bar line goes on without it
      return;
    }
    const char next = i_ + 1 < line_.size() ? line_[i_ + 1] : '\0';
    // A bar line, or an ending by number or by its text.
    if (next == '|' || IsDigit(next) || next == '"') {
      out_ += '[';
      ++i_;
      if (next == '"') CopyThrough('"');  // the ending's text is no chord
      return;
    }
    const size_t close = line_.find(']', i_ + 1);
    if (close == std::string::npos) {
      if (walk_.checkSquare) StopAbc(AbcSquareNotClosed, walk_.line, AbcSquareHelp);
      out_ += line_.substr(i_);
      i_ = line_.size();
      return;
    }
    const std::string_view inside = std::string_view(line_).substr(i_ + 1, close - i_ - 1);
    const bool field = inside.size() >= 2 && IsLetter(inside[0]) && inside[1] == ':';
    if (field) {
      out_.append(line_, i_, close + 1 - i_);
      i_ = close + 1;
      return;
    }
    if (inside.find('[') != std::string_view::npos) StopAbc(AbcNestedChords, walk_.line);
    const std::string chord = line_.substr(i_, close + 1 - i_);
    if (!walk_.inBraces) Note(chord);
    i_ = close + 1;
    out_ += CheckedChord(chord, std::string_view(line_).substr(i_));
  }

  // A chord "[CEG]" of notes that rise and last alike; a length they share is
  // written once, after the chord.
  std::string CheckedChord(const std::string& chord, std::string_view after) {
    const std::string_view inside = std::string_view(chord).substr(1, chord.size() - 2);
    const size_t first = inside.find_first_not_of(" \t");
    const bool startsWithNote =
        first != std::string_view::npos && (IsNoteLetter(inside[first]) || inside[first] == '^' ||
                                            inside[first] == '_' || inside[first] == '=');
    if (!startsWithNote) {
      if (walk_.checkChords) StopAbc(chord + AbcNotAChord, walk_.line);
      return chord;
    }
    const std::vector<TChordNote> notes = ChordNotes(chord, walk_.line);
    for (size_t k = 1; k < notes.size(); ++k) {
      if (notes[k].pitch <= notes[k - 1].pitch) {
        StopAbc(AbcChordNotAscending + chord, walk_.line, AbcChordOrderHelp);
      }
      if (!SameLength(notes[k].length, notes[0].length)) {
        StopAbc(AbcUnequalChordNotes + chord + ": " + Shown(notes[0].length) + " versus " +
                    Shown(notes[k].length),
                walk_.line);
      }
    }
    bool tied = false;
    for (const TChordNote& note : notes) tied = tied || note.tied;
    if (notes.empty() || notes[0].length.empty() || tied) return chord;
    if (!after.empty() && (IsDigit(after[0]) || after[0] == '/')) {
      StopAbc(AbcLengthInAndOut + chord, walk_.line);
    }
    std::string moved = "[";
    for (const TChordNote& note : notes) moved += note.text;
    return moved + "]" + notes[0].length;
  }

  // "Z" or "X" with the number of bars it rests.
  void FullBarRest() {
    size_t end = i_ + 1;
    int bars = 0;
    while (end < line_.size() && end < i_ + 3 && IsDigit(line_[end])) {
      bars = bars * 10 + (line_[end] - '0');
      ++end;
    }
    if (bar_.note) StopAbc(AbcRestAndNotes + bar_.note.value(), walk_.line);
    bar_.rest = true;
    if (bars > 1) walk_.fullBarRests += bars - 1;
    out_.append(line_, i_, end - i_);
    i_ = end;
  }

  // A note or a chord; in a bar of a full-bar rest, one too many.
  void Note(const std::string& what) {
    const std::string shown = what.starts_with("[") ? "[notes]." : what;
    if (bar_.rest) StopAbc(AbcRestAndNotes + shown, walk_.line);
    if (!bar_.note) bar_.note = shown;
  }

  struct TBar {
    bool rest = false;
    std::optional<std::string> note;
  };

  const std::string& line_;
  TAbcWalk& walk_;
  std::string out_;
  size_t i_ = 0;
  TBar bar_;
};

}  // namespace

std::string WalkMusicLine(const std::string& line, TAbcWalk& walk) {
  return TLineWalk(line, walk).Walk();
}

}  // namespace quorrel
