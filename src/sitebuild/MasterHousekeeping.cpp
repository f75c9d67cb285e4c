#include "sitebuild/MasterHousekeeping.h"

#include <cctype>
#include <cstdio>

#include "platform/Chars.h"
#include "platform/CodePage.h"
#include "shell/FastStrings.h"

namespace quorrel {

namespace {

bool IsLetter(char ch) {
  return std::isalpha(static_cast<unsigned char>(ch)) != 0;
}
bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
}

// The end of a "\lang..." control word that starts at pos.
size_t LangWordEnd(const std::string& rtf, size_t pos) {
  size_t end = pos + 5;
  while (end < rtf.size() && IsLetter(rtf[end])) ++end;
  if (end < rtf.size() && rtf[end] == '-') ++end;
  while (end < rtf.size() && IsDigit(rtf[end])) ++end;
  if (end < rtf.size() && rtf[end] == ' ') ++end;
  return end;
}

// Whether RTF ends in a control word that still needs its delimiter.
bool EndsInControlWord(const std::string& rtf) {
  size_t i = rtf.size();
  while (i > 0 && IsDigit(rtf[i - 1])) --i;
  if (i > 0 && rtf[i - 1] == '-') --i;
  const size_t lettersEnd = i;
  while (i > 0 && IsLetter(rtf[i - 1])) --i;
  if (i == lettersEnd || i == 0 || rtf[i - 1] != '\\') return false;
  // "\\" before the letters is an escaped backslash: the letters are text.
  size_t slashes = 0;
  while (slashes < i && rtf[i - 1 - slashes] == '\\') ++slashes;
  return slashes % 2 == 1;
}

// A section's name ends at the next argument, the line's end or a control word.
bool EndsName(char ch) {
  return ch == '|' || ch == '\r' || ch == '\n' || ch == '\\' || ch == '{' || ch == '}';
}

}  // namespace

std::optional<std::string> WithoutLangCodes(const std::string& rtf) {
  std::string out;
  out.reserve(rtf.size());
  bool removed = false;
  size_t i = 0;
  while (i < rtf.size()) {
    if (rtf[i] != '\\') {
      out += rtf[i++];
      continue;
    }
    // An escaped backslash is text: "\\lang" is a word the writer typed.
    if (i + 1 < rtf.size() && rtf[i + 1] == '\\') {
      out += "\\\\";
      i += 2;
      continue;
    }
    if (StartsWithNoCase(std::string_view(rtf).substr(i), "\\lang")) {
      i = LangWordEnd(rtf, i);
      removed = true;
      // The word before keeps a delimiter, or it would swallow the text after it.
      if (i < rtf.size() && std::string_view("\\{}\r\n ").find(rtf[i]) == std::string_view::npos &&
          EndsInControlWord(out)) {
        out += ' ';
      }
      continue;
    }
    out += rtf[i++];
  }
  if (!removed) return std::nullopt;
  return out;
}

std::string SlideShowBase(const std::string& plainText) {
  size_t start = 0;
  while (start < plainText.size()) {
    size_t end = plainText.find_first_of("\r\n", start);
    if (end == std::string::npos) end = plainText.size();
    const std::string_view line = std::string_view(plainText).substr(start, end - start);
    if (StartsWithNoCase(line, ".pg")) {
      std::string name(TrimBlanks(line.substr(3)));
      name = name.substr(0, name.find('|'));
      return std::string(TrimBlanks(name.substr(0, name.find('.'))));
    }
    start = end + 1;
  }
  return "";
}

std::optional<std::string> WithNumberedSlides(const std::string& rtf, const std::string& base) {
  std::string out = rtf;
  bool changed = false;
  int number = 0;
  size_t at = PosNoCase("\\par .PG", out);
  while (at > 0) {
    ++number;
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d", number);
    const std::string wanted = base + digits;
    size_t nameStart = at - 1 + 8;
    while (nameStart < out.size() && out[nameStart] == ' ') ++nameStart;
    size_t nameEnd = nameStart;
    while (nameEnd < out.size() && !EndsName(out[nameEnd]) && out[nameEnd] != '.') ++nameEnd;
    // Trailing blanks before the next argument are not part of the name.
    size_t trimmed = nameEnd;
    while (trimmed > nameStart && out[trimmed - 1] == ' ') --trimmed;
    if (out.compare(nameStart, trimmed - nameStart, wanted) != 0) {
      // The command's own blank stays, so the line reads ".PG name".
      const size_t from = at - 1 + 8;
      out.replace(from, trimmed - from, " " + wanted);
      nameEnd = from + 1 + wanted.size();
      changed = true;
    }
    at = PosNoCase("\\par .PG", out, nameEnd + 1);
  }
  if (!changed) return std::nullopt;
  return out;
}

std::string SlideNotesPath(const std::string& folder, const std::string& base) {
  return folder + base + "Notes.rtf";
}

}  // namespace quorrel
