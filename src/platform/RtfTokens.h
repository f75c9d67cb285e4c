#pragma once
// Splits RTF source into its tokens: group braces, control words with their
// parameter, control symbols, hexadecimal bytes (\'hh), runs of plain text and
// binary data (\binN). Line ends in the source carry no meaning and are skipped.
// Works on any bytes, however malformed: every call makes progress.
#include <cstdint>
#include <string_view>

namespace quorrel {

enum class TRtfTokenKind { End, GroupStart, GroupEnd, Word, Symbol, Hex, Text, Binary };

struct TRtfToken {
  TRtfTokenKind kind = TRtfTokenKind::End;
  std::string_view name;  // Word: the letters; Text and Binary: the bytes
  bool hasParameter = false;
  int32_t parameter = 0;   // Word: the number after the letters
  char symbol = 0;         // Symbol: the character after the backslash
  unsigned char byte = 0;  // Hex: the byte
};

// The value of a hexadecimal digit of either case; -1 for any other character.
int HexValue(char c);

// A control word at text[at] (a backslash and letters): its letters, its number
// (digits, perhaps after "-") and where it ends, before the blank that may close it.
struct TRtfWordSpan {
  std::string_view name;
  std::string_view number;
  size_t end = 0;
};
TRtfWordSpan RtfWordAt(std::string_view text, size_t at);

// Whether the backslash at text[at] starts a control word or symbol, rather than
// being the second of an escaped pair ("\\lang" is text).
bool StartsControl(std::string_view text, size_t at);

// Whether the text before an offset ends with a control word ("\b", "\fs24",
// "\li-5") that no delimiter has closed yet, so that text put there would run on
// into the word.
bool EndsWithControlWord(std::string_view text, size_t offset);

class TRtfTokenizer {
 public:
  explicit TRtfTokenizer(std::string_view source) : source_(source) {}
  // The next token; End at the end of the source (and on every call after it).
  TRtfToken Next();
  size_t Position() const { return pos_; }

 private:
  std::string_view source_;
  size_t pos_ = 0;
};

}  // namespace quorrel
