#include "validate/AbcFields.h"

#include "platform/Chars.h"
#include "shell/FastStrings.h"
#include "validate/AbcLines.h"

namespace quorrel {

namespace {

constexpr char kKeepsLowerCase[] = "dmrsw";
constexpr unsigned char kCopyright = 169;
constexpr char kCopyrightEscape[] = "\\251";
// Clefs the music programs read without "clef=" before them; "C", "F", "G" and
// "perc" would be read as something else.
constexpr char kBareClefs[] = "|treble|bass|alto|tenor|baritone|none|";

std::string WithCopyrightEscaped(const std::string& line) {
  if (line.find(static_cast<char>(kCopyright)) == std::string::npos) return line;
  std::string out;
  for (size_t i = 0; i < line.size();) {
    if (const size_t length = Utf8CharLength(line, i)) {
      out.append(line, i, length);
      i += length;
      continue;
    }
    if (static_cast<unsigned char>(line[i]) == kCopyright) {
      out += kCopyrightEscape;
    } else {
      out += line[i];
    }
    ++i;
  }
  return out;
}

}  // namespace

std::string MendedField(std::string line) {
  if (line.size() < 2) return line;
  if (IsLowerLetter(line[0]) &&
      std::string_view(kKeepsLowerCase).find(line[0]) == std::string::npos) {
    line[0] = static_cast<char>(line[0] - 'a' + 'A');
  }
  line = WithCopyrightEscaped(line);
  // Symbol lines keep their blanks: they place each symbol under its note.
  if (line[0] != 's' && line[0] != 'd') {
    const size_t value = line.find_first_not_of(' ', 2);
    line.erase(2, (value == std::string::npos ? line.size() : value) - 2);
  }
  if (line[0] == 'M' && line.ends_with(" time")) line.resize(line.size() - 5);
  if (line[0] == 'R' && line.size() > 2 && IsLowerLetter(line[2])) {
    line[2] = static_cast<char>(line[2] - 'a' + 'A');
  }
  return line;
}

std::string_view FieldValue(std::string_view line) {
  return line.size() > 2 ? line.substr(2) : std::string_view();
}

std::string WithoutClefWord(std::string line) {
  constexpr std::string_view kWord = "clef=";
  for (size_t at = line.find(kWord); at != std::string::npos; at = line.find(kWord, at + 1)) {
    size_t end = at + kWord.size();
    while (end < line.size() && IsLowerLetter(line[end])) ++end;
    const std::string_view name =
        std::string_view(line).substr(at + kWord.size(), end - at - kWord.size());
    if (std::string_view(kBareClefs).find("|" + std::string(name) + "|") ==
        std::string_view::npos) {
      continue;
    }
    line.erase(at, kWord.size());
  }
  return line;
}

bool IsKnownKey(std::string_view value) {
  const std::string_view key = value.substr(0, value.find_first_of(" \t"));
  if (!key.empty() && key[0] >= 'A' && key[0] <= 'G') return true;
  return key == "HP" || key == "Hp" || UpperCaseAnsi(key) == "NONE";
}

bool IsTempoWithBeat(std::string_view value) {
  return value.find('=') != std::string_view::npos && value.find('/') != std::string_view::npos;
}

std::optional<int> VoiceNumber(std::string_view value) {
  if (value.empty() || value[0] < '1' || value[0] > '9') return std::nullopt;
  if (value.size() > 1 && (IsDigit(value[1]) || IsLetter(value[1]))) return std::nullopt;
  return value[0] - '0';
}

std::optional<long> TuneNumber(std::string_view line) {
  size_t at = 2;
  while (at < line.size() && IsBlank(line[at])) ++at;
  long number = 0;
  size_t digits = 0;
  for (; at < line.size() && IsDigit(line[at]) && digits < 9; ++at, ++digits) {
    number = number * 10 + (line[at] - '0');
  }
  if (digits == 0) return std::nullopt;
  return number;
}

std::string WithTuneNumber(const std::string& line, long number) {
  size_t from = 2;
  while (from < line.size() && IsBlank(line[from])) ++from;
  size_t to = from;
  while (to < line.size() && IsDigit(line[to])) ++to;
  return line.substr(0, from) + std::to_string(number) + line.substr(to);
}

std::string TempoLineFor(std::string_view metre) {
  if (metre == "3/4" || metre == "4/4") return "Q:1/4=112";
  if (metre == "6/8") return "Q:3/8=112";
  if (metre == "3/2") return "Q:1/2=100";
  return "Q:1/2=112";
}

}  // namespace quorrel
