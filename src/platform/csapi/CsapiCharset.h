#pragma once
// The 8-bit code page of a language, byte by byte, for the speller library: which
// bytes are letters, and the conversions between a run's bytes and UTF-8. Only
// single-byte code pages, so that a byte offset is a character offset.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quorrel::csapi {

// The ANSI code page of a Windows locale identifier (1252 for any not listed).
int CodePageOfLanguage(uint16_t language);

void AppendUtf8(std::string& out, char32_t cp);

class TCharset {
 public:
  explicit TCharset(int codePage);

  int CodePage() const { return codePage_; }
  // The character of a byte; 0 when the code page leaves the byte undefined.
  char32_t CharOf(unsigned char byte) const { return chars_[byte]; }
  bool IsLetter(unsigned char byte) const;
  bool IsDigit(unsigned char byte) const { return byte >= '0' && byte <= '9'; }
  bool IsUpper(unsigned char byte) const;
  bool IsLower(unsigned char byte) const;
  // false when a byte is undefined.
  bool ToUtf8(std::string_view bytes, std::string& utf8) const;
  // false when the code page cannot spell a character, or the UTF-8 is malformed.
  bool FromUtf8(std::string_view utf8, std::string& bytes) const;

 private:
  int codePage_;
  std::array<char32_t, 256> chars_{};
  std::unordered_map<char32_t, unsigned char> bytes_;
};

// Converts between UTF-8 and another encoding through iconv; empty names and
// "UTF-8" leave the text as it is.
bool ConvertEncoding(const std::string& from, const std::string& to, std::string_view in,
                     std::string& out);

}  // namespace quorrel::csapi
