#include "platform/RtfTokens.h"

#include "platform/Chars.h"

namespace quorrel {

namespace {

// Control words are at most 32 letters; parameters at most 10 digits.
constexpr size_t kMaxWordLetters = 32;
constexpr size_t kMaxDigits = 10;

}  // namespace

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

TRtfWordSpan RtfWordAt(std::string_view text, size_t at) {
  TRtfWordSpan word;
  size_t i = at + 1;
  while (i < text.size() && IsLetter(text[i])) ++i;
  word.name = text.substr(at + 1, i - at - 1);
  const size_t numberFrom = i;
  if (i + 1 < text.size() && text[i] == '-' && IsDigit(text[i + 1])) ++i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  word.number = text.substr(numberFrom, i - numberFrom);
  word.end = i;
  return word;
}

bool StartsControl(std::string_view text, size_t at) {
  size_t slashes = 0;
  while (at > slashes && text[at - slashes - 1] == '\\') ++slashes;
  return slashes % 2 == 0;
}

bool EndsWithControlWord(std::string_view text, size_t offset) {
  size_t i = offset;
  while (i > 0 && IsDigit(text[i - 1])) --i;
  if (i > 0 && i < offset && text[i - 1] == '-') --i;
  const size_t lettersEnd = i;
  while (i > 0 && IsLetter(text[i - 1])) --i;
  return i < lettersEnd && i > 0 && text[i - 1] == '\\' && StartsControl(text, i - 1);
}

TRtfToken TRtfTokenizer::Next() {
  TRtfToken token;
  const size_t size = source_.size();
  while (pos_ < size) {
    const char c = source_[pos_];
    if (c == '\r' || c == '\n' || c == '\0') {
      ++pos_;
      continue;
    }
    if (c == '{') {
      ++pos_;
      token.kind = TRtfTokenKind::GroupStart;
      return token;
    }
    if (c == '}') {
      ++pos_;
      token.kind = TRtfTokenKind::GroupEnd;
      return token;
    }
    if (c != '\\') {
      const size_t start = pos_;
      while (pos_ < size) {
        const char t = source_[pos_];
        if (t == '\\' || t == '{' || t == '}' || t == '\r' || t == '\n' || t == '\0') break;
        ++pos_;
      }
      token.kind = TRtfTokenKind::Text;
      token.name = source_.substr(start, pos_ - start);
      return token;
    }
    // A backslash.
    ++pos_;
    if (pos_ >= size) return token;  // a lone backslash at the very end
    const char next = source_[pos_];
    if (IsLetter(next)) {
      const TRtfWordSpan word = RtfWordAt(source_, pos_ - 1);
      token.kind = TRtfTokenKind::Word;
      token.name = word.name.substr(0, kMaxWordLetters);  // an overlong word is cut
      pos_ = word.end;
      if (!word.number.empty()) {
        const bool negative = word.number.front() == '-';
        int64_t value = 0;
        for (char digit : word.number.substr(negative ? 1 : 0, kMaxDigits)) {
          value = value * 10 + (digit - '0');
        }
        if (negative) value = -value;
        if (value > INT32_MAX) value = INT32_MAX;
        if (value < INT32_MIN) value = INT32_MIN;
        token.hasParameter = true;
        token.parameter = static_cast<int32_t>(value);
      }
      if (pos_ < size && source_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
      if (token.name == "bin" && token.hasParameter) {
        const size_t length = token.parameter < 0 ? 0 : static_cast<size_t>(token.parameter);
        const size_t take = length < size - pos_ ? length : size - pos_;
        token.kind = TRtfTokenKind::Binary;
        token.name = source_.substr(pos_, take);
        pos_ += take;
      }
      return token;
    }
    if (next == '\'') {
      if (pos_ + 2 < size && HexValue(source_[pos_ + 1]) >= 0 && HexValue(source_[pos_ + 2]) >= 0) {
        token.kind = TRtfTokenKind::Hex;
        token.byte = static_cast<unsigned char>(HexValue(source_[pos_ + 1]) * 16 +
                                                HexValue(source_[pos_ + 2]));
        pos_ += 3;
        return token;
      }
      ++pos_;  // a broken \' : dropped with what hex digit it has
      if (pos_ < size && HexValue(source_[pos_]) >= 0) ++pos_;
      continue;
    }
    if (next == '\r' || next == '\n') {  // a backslash before a line end is a paragraph mark
      ++pos_;
      token.kind = TRtfTokenKind::Word;
      token.name = "par";
      return token;
    }
    ++pos_;
    token.kind = TRtfTokenKind::Symbol;
    token.symbol = next;
    return token;
  }
  token.kind = TRtfTokenKind::End;
  return token;
}

}  // namespace quorrel
