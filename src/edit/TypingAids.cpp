#include "edit/TypingAids.h"

#include "shell/FastStrings.h"

namespace quorrel {

namespace {

bool Separates(char c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

bool IsSeparation(std::string_view text, size_t i) {
  return Separates(text[i]) || (text[i] == '|' && i > 0 && Separates(text[i - 1]));
}

}  // namespace

size_t LeadingBlanks(std::string_view line) {
  size_t n = 0;
  while (n < line.size() && line[n] == ' ') ++n;
  return n;
}

size_t WordColumnAbove(std::string_view line, size_t column) {
  if (column >= line.size() || line[column] == ' ') return std::string_view::npos;
  size_t i = column;
  while (i < line.size() && line[i] != ' ') ++i;
  if (i == line.size()) return std::string_view::npos;
  while (i < line.size() && line[i] == ' ') ++i;
  return i < line.size() ? i : std::string_view::npos;
}

size_t NextTabStop(size_t column) {
  return (column / 5 + 1) * 5;
}

TBlankTyped BlankAfter(std::string_view before) {
  if (before.empty() || before.back() != ' ') return TBlankTyped::Plain;
  std::string_view earlier = before.substr(0, before.size() - 1);
  if (earlier.size() >= 6 && earlier.substr(earlier.size() - 6) == "&nbsp;") {
    return TBlankTyped::TypedAsNbsp;
  }
  return TBlankTyped::EarlierToNbsp;
}

bool EndsWithListTag(std::string_view line) {
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  for (std::string_view tag : {"<UL>", "<OL>", "</LI>"}) {
    if (line.size() >= tag.size() && UpperCaseAnsi(line.substr(line.size() - tag.size())) == tag) {
      return true;
    }
  }
  return false;
}

size_t NextNoteGroup(std::string_view text, size_t pos) {
  size_t i = pos;
  while (i < text.size() && !IsSeparation(text, i)) ++i;
  while (i < text.size() && IsSeparation(text, i)) ++i;
  return i;
}

size_t PreviousNoteGroup(std::string_view text, size_t pos) {
  if (pos > text.size()) pos = text.size();
  size_t i = pos;
  while (i > 0 && IsSeparation(text, i - 1)) --i;
  while (i > 0 && !IsSeparation(text, i - 1)) --i;
  return i;
}

}  // namespace quorrel
