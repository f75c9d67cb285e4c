#include "validate/AbcMusicLines.h"

#include "platform/Chars.h"

namespace quorrel {

namespace {

struct TChordName {
  const char* name;
  const char* notes;
};
constexpr TChordName kChordNames[] = {
    {"7sus", "0 5 7 10"},
    {"m7b5", "0 3 6 10"},
    {"dim", "0 3 6 9"},
};

// Whether line[i] is text, not music: in double quotes or an in-line field. Calls
// must walk the line from its start.
class TMusicScan {
 public:
  explicit TMusicScan(std::string_view line) : line_(line) {}
  // Moves to i and says whether the sign there is music.
  bool MusicAt(size_t i) {
    for (; at_ < i; ++at_) Step(at_);
    return !quoted_ && !field_ && line_[i] != '"' && !OpensField(i);
  }

 private:
  bool OpensField(size_t i) const {
    return line_[i] == '[' && i + 2 < line_.size() && IsLetter(line_[i + 1]) && line_[i + 2] == ':';
  }
  void Step(size_t i) {
    const char c = line_[i];
    if (field_) {
      if (c == ']') field_ = false;
    } else if (c == '"') {
      quoted_ = !quoted_;
    } else if (!quoted_ && OpensField(i)) {
      field_ = true;
    }
  }
  std::string_view line_;
  size_t at_ = 0;
  bool quoted_ = false;
  bool field_ = false;
};

std::string TrimmedRight(std::string line) {
  while (!line.empty() && IsBlank(line.back())) line.pop_back();
  return line;
}

}  // namespace

size_t FindInMusic(std::string_view line, std::string_view sign, size_t from) {
  TMusicScan scan(line);
  for (size_t at = line.find(sign, from); at != std::string_view::npos;
       at = line.find(sign, at + 1)) {
    if (scan.MusicAt(at)) return at;
  }
  return std::string_view::npos;
}

std::string WithoutInlineComment(const std::string& line) {
  TMusicScan scan(line);
  for (size_t at = line.find('%'); at != std::string::npos; at = line.find('%', at + 1)) {
    if ((at == 0 || line[at - 1] != '\\') && scan.MusicAt(at)) {
      return TrimmedRight(line.substr(0, at));
    }
  }
  return line;
}

std::string WithHalvesShort(const std::string& line) {
  if (line.find("[M:") != std::string::npos || line.find("[Q:") != std::string::npos) return line;
  std::string out;
  TMusicScan scan(line);
  for (size_t i = 0; i < line.size(); ++i) {
    out += line[i];
    const bool half = line[i] == '/' && i + 1 < line.size() && line[i + 1] == '2' &&
                      (i + 2 == line.size() || !IsDigit(line[i + 2]));
    if (half && scan.MusicAt(i)) ++i;
  }
  return out;
}

std::string WithBlanksAtRepeats(const std::string& line) {
  std::string out;
  TMusicScan scan(line);
  for (size_t i = 0; i < line.size(); ++i) {
    const bool music = scan.MusicAt(i);
    if (music && line.compare(i, 2, ":|") == 0 && i > 0 && !IsBlank(line[i - 1]) &&
        line[i - 1] != '|') {
      out += ' ';
    }
    out += line[i];
    if (music && line.compare(i, 2, "|:") == 0 && i + 2 < line.size() && !IsBlank(line[i + 2]) &&
        line[i + 2] != '|' && line[i + 2] != ':') {
      out += ':';
      out += ' ';
      ++i;
    }
  }
  return out;
}

std::string WithoutBlankBeforeContinuation(const std::string& line) {
  if (!line.ends_with('\\')) return line;
  return TrimmedRight(line.substr(0, line.size() - 1)) + '\\';
}

std::vector<std::string> ChordNamesNeeded(std::string_view line) {
  std::vector<std::string> names;
  bool quoted = false;
  size_t open = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '"') continue;
    quoted = !quoted;
    if (quoted) {
      open = i + 1;
      continue;
    }
    const std::string_view chord = line.substr(open, i - open);
    // Annotations start with a placing sign; they are text, not chords.
    if (chord.empty() || std::string_view("^_<>@").find(chord[0]) != std::string_view::npos) {
      continue;
    }
    for (const TChordName& name : kChordNames) {
      if (chord.find(name.name) == std::string_view::npos) continue;
      bool known = false;
      for (const std::string& n : names) known = known || n == name.name;
      if (!known) names.emplace_back(name.name);
    }
  }
  std::vector<std::string> ordered;
  for (const TChordName& name : kChordNames) {
    for (const std::string& n : names) {
      if (n == name.name) ordered.push_back(n);
    }
  }
  return ordered;
}

std::string ChordNameLine(std::string_view name) {
  for (const TChordName& chord : kChordNames) {
    if (name == chord.name)
      return std::string("%%MIDI chordname ") + chord.name + " " + chord.notes;
  }
  return "";
}

bool IsQuotedPartLine(std::string_view line) {
  return TrimBlanks(line) == "\"A\"\\";
}

TLineEnd CheckLineEnd(std::string_view line, std::string_view next) {
  std::string_view end = TrimBlanks(line);
  if (end.empty() || end[0] == '!') return TLineEnd::Fine;
  if (end.back() == '/') return TLineEnd::Slash;
  // A line break sign after the music: "!", "*" or a backslash.
  if (end.back() == '!' || end.back() == '*' || end.back() == '\\') {
    end = TrimBlanks(end.substr(0, end.size() - 1));
    if (end.empty()) return TLineEnd::Fine;
  }
  const char last = end.back();
  if (last == '!' || last == ']' || last == '|') return TLineEnd::Fine;
  // An ending number after its bar line: "|1", "[2", ":|1,3".
  size_t at = end.size();
  while (at > 0 && (IsDigit(end[at - 1]) || end[at - 1] == ',' || end[at - 1] == '-')) --at;
  if (at < end.size() && at > 0 && (end[at - 1] == '|' || end[at - 1] == '['))
    return TLineEnd::Fine;
  // A start of repeat with its end on the next line.
  if (end.ends_with("|:") && TrimBlanks(next).starts_with(":|")) return TLineEnd::Fine;
  return TLineEnd::NoBar;
}

}  // namespace quorrel
