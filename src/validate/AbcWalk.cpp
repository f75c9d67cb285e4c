#include "validate/AbcWalk.h"

#include <string_view>

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
        CopyThrough('"');
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
    if (!field) {
      if (inside.find('[') != std::string_view::npos) StopAbc(AbcNestedChords, walk_.line);
      if (!walk_.inBraces) Note(line_.substr(i_, close + 1 - i_));
    }
    out_.append(line_, i_, close + 1 - i_);
    i_ = close + 1;
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
