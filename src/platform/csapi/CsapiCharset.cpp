#include "platform/csapi/CsapiCharset.h"

#include <iconv.h>
#include <strings.h>

#include <cerrno>

namespace quorrel::csapi {

namespace {

struct LanguageCodePage {
  uint16_t primary;  // the language id less its sub-language
  int codePage;
};

constexpr LanguageCodePage kCodePages[] = {
    {0x05, 1250}, {0x0E, 1250}, {0x15, 1250}, {0x18, 1250}, {0x1A, 1250},
    {0x1B, 1250}, {0x1C, 1250}, {0x24, 1250}, {0x02, 1251}, {0x19, 1251},
    {0x22, 1251}, {0x23, 1251}, {0x2F, 1251}, {0x3F, 1251}, {0x08, 1253},
    {0x1F, 1254}, {0x0D, 1255}, {0x01, 1256}, {0x20, 1256}, {0x29, 1256},
    {0x25, 1257}, {0x26, 1257}, {0x27, 1257}, {0x2A, 1258}, {0x1E, 874},
};

bool IsUtf8Name(const std::string& name) {
  return name.empty() || strcasecmp(name.c_str(), "UTF-8") == 0 ||
         strcasecmp(name.c_str(), "UTF8") == 0;
}

// One code point of well-formed UTF-8 at i, or false.
bool DecodeUtf8(std::string_view s, size_t& i, char32_t& cp) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  int extra;
  if (c < 0x80) {
    cp = c;
    ++i;
    return true;
  } else if ((c & 0xE0) == 0xC0) {
    cp = c & 0x1F;
    extra = 1;
  } else if ((c & 0xF0) == 0xE0) {
    cp = c & 0x0F;
    extra = 2;
  } else if ((c & 0xF8) == 0xF0) {
    cp = c & 0x07;
    extra = 3;
  } else {
    return false;
  }
  for (int k = 1; k <= extra; ++k) {
    if (i + k >= s.size()) return false;
    const unsigned char next = static_cast<unsigned char>(s[i + k]);
    if ((next & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (next & 0x3F);
  }
  i += static_cast<size_t>(extra) + 1;
  return true;
}

}  // namespace

int CodePageOfLanguage(uint16_t language) {
  const uint16_t primary = language & 0x3FF;
  for (const LanguageCodePage& entry : kCodePages) {
    if (entry.primary == primary) return entry.codePage;
  }
  return 1252;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool ConvertEncoding(const std::string& from, const std::string& to, std::string_view in,
                     std::string& out) {
  if (IsUtf8Name(from) && IsUtf8Name(to)) {
    out.assign(in);
    return true;
  }
  iconv_t cd =
      iconv_open(IsUtf8Name(to) ? "UTF-8" : to.c_str(), IsUtf8Name(from) ? "UTF-8" : from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string result(in.size() * 4 + 8, '\0');
  char* inPtr = const_cast<char*>(in.data());
  size_t inLeft = in.size();
  char* outPtr = result.data();
  size_t outLeft = result.size();
  const size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (done == static_cast<size_t>(-1) || inLeft != 0) return false;
  result.resize(result.size() - outLeft);
  out = std::move(result);
  return true;
}

TCharset::TCharset(int codePage) : codePage_(codePage) {
  const std::string name = "CP" + std::to_string(codePage);
  for (int b = 0; b < 256; ++b) {
    if (b < 0x80) {
      chars_[b] = static_cast<char32_t>(b);
    } else {
      const char byte = static_cast<char>(b);
      std::string utf8;
      size_t at = 0;
      char32_t cp = 0;
      // A byte iconv refuses stays undefined (0).
      if (ConvertEncoding(name, "UTF-8", std::string_view(&byte, 1), utf8) && !utf8.empty() &&
          DecodeUtf8(utf8, at, cp) && at == utf8.size()) {
        chars_[b] = cp;
      }
    }
    if (chars_[b] != 0) bytes_.emplace(chars_[b], static_cast<unsigned char>(b));
  }
}

bool TCharset::IsLetter(unsigned char byte) const {
  const char32_t cp = chars_[byte];
  if ((cp >= 'A' && cp <= 'Z') || (cp >= 'a' && cp <= 'z')) return true;
  if (cp < 0xAA) return false;
  if (cp == 0xAA || cp == 0xB5 || cp == 0xBA) return true;
  if (cp >= 0xC0 && cp <= 0x24F) return cp != 0xD7 && cp != 0xF7;
  return (cp >= 0x370 && cp <= 0x3FF && cp != 0x37E && cp != 0x387) ||    // Greek
         (cp >= 0x400 && cp <= 0x52F && (cp < 0x482 || cp > 0x489)) ||    // Cyrillic
         (cp >= 0x5D0 && cp <= 0x5F2) ||                                  // Hebrew
         (cp >= 0x620 && cp <= 0x64A) || (cp >= 0x671 && cp <= 0x6D3) ||  // Arabic
         (cp >= 0xE01 && cp <= 0xE4E) ||                                  // Thai
         (cp >= 0x1E00 && cp <= 0x1EFF);                                  // Vietnamese
}

bool TCharset::IsUpper(unsigned char byte) const {
  const char32_t cp = chars_[byte];
  if (!IsLetter(byte)) return false;
  if (cp < 0x80) return cp >= 'A' && cp <= 'Z';
  if (cp >= 0xC0 && cp <= 0xDE) return true;
  // Latin Extended-A pairs capital and small letters, the capital first; the
  // pairs start on an odd code point from 0x139 to 0x148 and from 0x179 on.
  if (cp == 0x178) return true;
  if (cp >= 0x100 && cp <= 0x17F) {
    const bool oddPairs = (cp >= 0x139 && cp <= 0x148) || cp >= 0x179;
    return (cp % 2 == 1) == oddPairs && cp != 0x138 && cp != 0x149;
  }
  if (cp >= 0x391 && cp <= 0x3AB) return true;
  return cp >= 0x400 && cp <= 0x42F;
}

bool TCharset::IsLower(unsigned char byte) const {
  return IsLetter(byte) && !IsUpper(byte);
}

bool TCharset::ToUtf8(std::string_view bytes, std::string& utf8) const {
  utf8.clear();
  utf8.reserve(bytes.size() + 4);
  for (char c : bytes) {
    const char32_t cp = chars_[static_cast<unsigned char>(c)];
    if (cp == 0 && c != 0) return false;
    AppendUtf8(utf8, cp);
  }
  return true;
}

bool TCharset::FromUtf8(std::string_view utf8, std::string& bytes) const {
  bytes.clear();
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp;
    if (!DecodeUtf8(utf8, i, cp)) return false;
    auto found = bytes_.find(cp);
    if (found == bytes_.end()) return false;
    bytes += static_cast<char>(found->second);
  }
  return true;
}

}  // namespace quorrel::csapi
