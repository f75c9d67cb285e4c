#include "validate/RtfMends.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "platform/Chars.h"
#include "platform/RtfTokens.h"

namespace quorrel {

namespace {

constexpr std::array<std::string_view, 2> kStyleEnds = {"\\b0 ", "\\i0 "};
constexpr std::string_view kParMark = "\\par ";
constexpr std::string_view kLineEnd = "\r\n";

// A control word's number; -1 for none or one out of range.
int WordNumber(std::string_view number) {
  int value = -1;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  return error == std::errc() && end == number.data() + number.size() ? value : -1;
}

// Where the control word \name<number> first occurs from an offset (npos for none).
size_t FindWord(std::string_view source, std::string_view name, std::string_view number,
                size_t from = 0) {
  const std::string head = "\\" + std::string(name);
  for (size_t at = source.find(head, from); at != std::string_view::npos;
       at = source.find(head, at + 1)) {
    if (!StartsControl(source, at)) continue;
    const TRtfWordSpan word = RtfWordAt(source, at);
    if (word.name == name && word.number == number) return at;
  }
  return std::string_view::npos;
}

// The character set a font of the font table is in; -1 when the table does not
// give one.
int FontCharset(std::string_view source, int font) {
  const size_t table = source.find("{\\fonttbl");
  if (table == std::string_view::npos) return -1;
  const std::string number = std::to_string(font);
  for (size_t at = FindWord(source, "f", number, table); at != std::string_view::npos;
       at = FindWord(source, "f", number, at + 1)) {
    if (at == 0 || source[at - 1] != '{') continue;  // a switch, not the table's entry
    const size_t end = source.find(';', at);
    const size_t charset = source.find("\\fcharset", at);
    if (charset == std::string_view::npos || charset > end) return -1;
    const TRtfWordSpan word = RtfWordAt(source, charset);
    return WordNumber(word.number);
  }
  return -1;
}

// The font of text that names none ("\deff" in the header; 0 without one).
int DefaultFont(std::string_view source) {
  const size_t at = source.substr(0, 200).find("\\deff");
  if (at == std::string_view::npos) return 0;
  const TRtfWordSpan word = RtfWordAt(source, at);
  return word.name == "deff" ? std::max(WordNumber(word.number), 0) : 0;
}

bool IsLanguageMarker(const TRtfWordSpan& word) {
  return word.name == "lang" &&
         (word.number == "1045" || word.number == "2057" || word.number == "1033");
}

}  // namespace

bool HasRtfTables(std::string_view source) {
  return FindWord(source, "trowd", "") != std::string_view::npos;
}

bool HasPolishMarkers(std::string_view source) {
  return FindWord(source, "lang", "1045") != std::string_view::npos;
}

std::string WithoutLanguageMarkers(const std::string& source) {
  const int charset = FontCharset(source, DefaultFont(source));
  // Font 1 in another character set (Central European, Symbol) reads the same bytes
  // as other letters: its switch stays.
  const bool dropFontOne = charset >= 0 && charset != 2 && FontCharset(source, 1) == charset;
  std::string out;
  out.reserve(source.size());
  size_t copied = 0;
  for (size_t at = source.find("\\lang"); at != std::string::npos;
       at = source.find("\\lang", at + 1)) {
    if (!StartsControl(source, at)) continue;
    const TRtfWordSpan word = RtfWordAt(source, at);
    if (!IsLanguageMarker(word)) continue;
    size_t end = word.end;
    if (dropFontOne && end < source.size() && source[end] == '\\') {
      const TRtfWordSpan font = RtfWordAt(source, end);
      if (font.name == "f" && font.number == "1") end = font.end;
    }
    out.append(source, copied, at - copied);
    // The blank that closed the removed word goes with it, unless a word before it
    // now needs it to end there; text right after the removed word gets one then.
    const bool openWord = EndsWithControlWord(out, out.size());
    if (end < source.size() && source[end] == ' ') {
      if (!openWord) ++end;
    } else if (openWord && end < source.size() &&
               (IsLetter(source[end]) || IsDigit(source[end]) || source[end] == '-')) {
      out += ' ';
    }
    copied = end;
    at = end - 1;
  }
  out.append(source, copied, std::string::npos);
  return out;
}

bool HasStyleEndAfterMark(std::string_view source) {
  for (std::string_view end : kStyleEnds) {
    const std::string pattern = std::string(kParMark) + std::string(end);
    for (size_t at = source.find(pattern); at != std::string_view::npos;
         at = source.find(pattern, at + 1)) {
      if (StartsControl(source, at)) return true;
    }
  }
  return false;
}

std::string StyleEndsBeforeMarks(const std::string& source) {
  std::string out;
  out.reserve(source.size() + 16);
  size_t i = 0;
  while (i < source.size()) {
    std::string_view styleEnd;
    if (source.compare(i, kParMark.size(), kParMark) == 0 && StartsControl(source, i)) {
      for (std::string_view end : kStyleEnds) {
        if (source.compare(i + kParMark.size(), end.size(), end) == 0) styleEnd = end;
      }
    }
    if (styleEnd.empty()) {
      out += source[i++];
      continue;
    }
    // Before the line end that leads the mark, when there is one: the end closes the
    // paragraph's last run. Its blank keeps it apart from what follows.
    const bool afterLineEnd = out.ends_with(kLineEnd);
    if (afterLineEnd) out.resize(out.size() - kLineEnd.size());
    out += styleEnd;
    if (afterLineEnd) out += kLineEnd;
    out += kParMark;
    i += kParMark.size() + styleEnd.size();
  }
  return out;
}

}  // namespace quorrel
