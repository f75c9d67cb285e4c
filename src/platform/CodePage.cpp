#include "platform/CodePage.h"

#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <array>
#include <cctype>

namespace quorrel {

namespace {

// Bytes 0x80-0x9F; every other byte is the Unicode character of the same number.
// The five bytes Windows leaves undefined stand for the C1 controls of their number.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

unsigned char EncodeCodePoint(char32_t cp, bool* ok) {
  if (cp > 0xFFFF) {
    if (ok) *ok = false;
    return '?';
  }
  return UnicodeToAnsi(static_cast<char16_t>(cp), ok);
}

// Decodes one UTF-8 sequence at text[i]; advances i. Returns false (and skips one
// byte) for a malformed, overlong or surrogate sequence.
bool DecodeUtf8(const std::string& text, size_t& i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  if (b0 < 0x80) {
    cp = b0;
    ++i;
    return true;
  }
  int extra;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1, min = 0x80, cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2, min = 0x800, cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3, min = 0x10000, cp = b0 & 0x07;
  } else {
    ++i;
    return false;
  }
  if (i + extra >= text.size()) {  // cut off before the sequence ends
    ++i;
    return false;
  }
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return false;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return false;
  }
  i += extra + 1;
  return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsWindows1252Name(const std::string& name) {
  std::string upper;
  for (char c : name) upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
  return upper == "CP1252" || upper == "WINDOWS-1252" || upper == "1252" || upper == "MS-ANSI";
}

bool IsUtf8Name(const std::string& name) {
  std::string upper;
  for (char c : name) upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
  return upper == "UTF-8" || upper == "UTF8";
}

bool Iconv(const std::string& from, const std::string& to, const std::string& in,
           std::string& out) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string result(in.size() * 4 + 16, '\0');
  char* inPtr = const_cast<char*>(in.data());
  size_t inLeft = in.size();
  size_t used = 0;
  bool ok = true;
  bool flushing = false;
  for (;;) {
    char* outPtr = result.data() + used;
    size_t outLeft = result.size() - used;
    size_t rc = flushing ? iconv(cd, nullptr, nullptr, &outPtr, &outLeft)
                         : iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    used = result.size() - outLeft;
    if (rc != static_cast<size_t>(-1)) {
      if (flushing) break;
      flushing = true;  // write any closing shift sequence of a stateful encoding
      continue;
    }
    if (errno == E2BIG) {
      result.resize(result.size() * 2);
      continue;
    }
    ok = false;  // EILSEQ: not convertible; EINVAL: cut off in mid-character
    break;
  }
  iconv_close(cd);
  if (!ok) return false;
  result.resize(used);
  out = std::move(result);
  return true;
}

struct LocaleEntry {
  int lcid;
  const char* name;
};

// Windows locale identifiers by language_COUNTRY. Where two identifiers share a name
// the first listed is the one a name gives; the first entry of each language is the
// one a language or an unlisted country gives.
constexpr LocaleEntry kLocales[] = {
    {1033, "en_US"},  {2057, "en_GB"},  {3081, "en_AU"},  {4105, "en_CA"},  {5129, "en_NZ"},
    {6153, "en_IE"},  {7177, "en_ZA"},  {8201, "en_JM"},  {10249, "en_BZ"}, {11273, "en_TT"},
    {12297, "en_ZW"}, {13321, "en_PH"}, {16393, "en_IN"}, {17417, "en_MY"}, {18441, "en_SG"},
    {1036, "fr_FR"},  {2060, "fr_BE"},  {3084, "fr_CA"},  {4108, "fr_CH"},  {5132, "fr_LU"},
    {6156, "fr_MC"},  {1031, "de_DE"},  {2055, "de_CH"},  {3079, "de_AT"},  {4103, "de_LU"},
    {5127, "de_LI"},  {3082, "es_ES"},  {1034, "es_ES"},  {2058, "es_MX"},  {4106, "es_GT"},
    {5130, "es_CR"},  {6154, "es_PA"},  {7178, "es_DO"},  {8202, "es_VE"},  {9226, "es_CO"},
    {10250, "es_PE"}, {11274, "es_AR"}, {12298, "es_EC"}, {13322, "es_CL"}, {14346, "es_UY"},
    {15370, "es_PY"}, {16394, "es_BO"}, {17418, "es_SV"}, {18442, "es_HN"}, {19466, "es_NI"},
    {20490, "es_PR"}, {21514, "es_US"}, {1040, "it_IT"},  {2064, "it_CH"},  {1043, "nl_NL"},
    {2067, "nl_BE"},  {1053, "sv_SE"},  {2077, "sv_FI"},  {1030, "da_DK"},  {1044, "nb_NO"},
    {2068, "nn_NO"},  {1035, "fi_FI"},  {1046, "pt_BR"},  {2070, "pt_PT"},  {1045, "pl_PL"},
    {1049, "ru_RU"},  {1025, "ar_SA"},  {3073, "ar_EG"},  {1026, "bg_BG"},  {1027, "ca_ES"},
    {1028, "zh_TW"},  {2052, "zh_CN"},  {3076, "zh_HK"},  {4100, "zh_SG"},  {5124, "zh_MO"},
    {1029, "cs_CZ"},  {1032, "el_GR"},  {1037, "he_IL"},  {1038, "hu_HU"},  {1039, "is_IS"},
    {1041, "ja_JP"},  {1042, "ko_KR"},  {1048, "ro_RO"},  {1050, "hr_HR"},  {1051, "sk_SK"},
    {1052, "sq_AL"},  {1054, "th_TH"},  {1055, "tr_TR"},  {1056, "ur_PK"},  {1057, "id_ID"},
    {1058, "uk_UA"},  {1059, "be_BY"},  {1060, "sl_SI"},  {1061, "et_EE"},  {1062, "lv_LV"},
    {1063, "lt_LT"},  {1065, "fa_IR"},  {1066, "vi_VN"},  {1067, "hy_AM"},  {1069, "eu_ES"},
    {1071, "mk_MK"},  {1078, "af_ZA"},  {1079, "ka_GE"},  {1080, "fo_FO"},  {1081, "hi_IN"},
    {1082, "mt_MT"},  {1086, "ms_MY"},  {1087, "kk_KZ"},  {1089, "sw_KE"},  {1106, "cy_GB"},
    {1110, "gl_ES"},  {1134, "lb_LU"},  {2108, "ga_IE"},
};

bool SameLetters(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

char16_t AnsiToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

unsigned char UnicodeToAnsi(char16_t ch, bool* ok) {
  if (ok) *ok = true;
  if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<unsigned char>(ch);
  for (size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == ch) return static_cast<unsigned char>(0x80 + i);
  }
  if (ok) *ok = false;
  // The non-breaking hyphen reads as the hyphen it shows.
  return ch == 0x2011 ? '-' : '?';
}

bool AnsiSameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && AnsiUpperChar(static_cast<unsigned char>(a[i])) !=
                            AnsiUpperChar(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view part) {
  return text.size() >= part.size() && AnsiSameText(text.substr(0, part.size()), part);
}

bool EndsWithNoCase(std::string_view text, std::string_view part) {
  return text.size() >= part.size() && AnsiSameText(text.substr(text.size() - part.size()), part);
}

QString AnsiToQString(const std::string& ansi) {
  // Latin-1 is Windows-1252 but for the bytes 80-9F: Qt's own (fast) conversion,
  // then those bytes, where the text has any.
  const auto size = static_cast<qsizetype>(ansi.size());
  QString result = QString::fromLatin1(ansi.data(), size);
  const auto* in = reinterpret_cast<const unsigned char*>(ansi.data());
  bool high = false;
  for (qsizetype i = 0; i < size; ++i) high |= static_cast<unsigned char>(in[i] - 0x80) < 0x20;
  if (!high) return result;
  QChar* out = result.data();
  for (qsizetype i = 0; i < size; ++i) {
    if (static_cast<unsigned char>(in[i] - 0x80) < 0x20)
      out[i] = QChar(kHighControls[in[i] - 0x80]);
  }
  return result;
}

std::string QStringToAnsi(const QString& text) {
  std::string result;
  result.reserve(static_cast<size_t>(text.size()));
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t ch = text[i].unicode();
    // A character beyond the 16-bit plane is one character: one "?", not two.
    if (QChar::isHighSurrogate(ch) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
      ++i;
      result += '?';
      continue;
    }
    result += static_cast<char>(UnicodeToAnsi(ch));
  }
  return result;
}

std::string QStringToAnsiLines(QStringView text) {
  const qsizetype n = text.size();
  const char16_t* in = text.utf16();
  size_t breaks = 0;
  for (qsizetype i = 0; i < n; ++i) breaks += in[i] == QChar::ParagraphSeparator || in[i] == u'\n';
  std::string result(static_cast<size_t>(n) + breaks, '\0');
  char* out = result.data();
  char* const first = out;
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t ch = in[i];
    if (ch < 0x80 && ch != u'\n') {
      *out++ = static_cast<char>(ch);
    } else if (ch == QChar::ParagraphSeparator || ch == u'\n') {
      *out++ = '\r';
      *out++ = '\n';
    } else if (ch == QChar::LineSeparator) {
      *out++ = '\x0B';
    } else if (QChar::isHighSurrogate(ch) && i + 1 < n && QChar::isLowSurrogate(in[i + 1])) {
      ++i;  // one character beyond the 16-bit plane, one "?"
      *out++ = '?';
    } else {
      *out++ = static_cast<char>(UnicodeToAnsi(ch));
    }
  }
  result.resize(static_cast<size_t>(out - first));
  return result;
}

std::string Utf8ToAnsi(const std::string& utf8) {
  std::string result;
  result.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp;
    result += DecodeUtf8(utf8, i, cp) ? static_cast<char>(EncodeCodePoint(cp, nullptr)) : '?';
  }
  return result;
}

std::string AnsiToUtf8(const std::string& ansi) {
  std::string result;
  result.reserve(ansi.size() + ansi.size() / 4);
  for (char c : ansi) AppendUtf8(result, AnsiToUnicode(static_cast<unsigned char>(c)));
  return result;
}

bool Utf8ToAnsiStrict(const std::string& utf8, std::string& out) {
  std::string result;
  result.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp;
    if (!DecodeUtf8(utf8, i, cp)) return false;
    bool ok = true;
    result += static_cast<char>(EncodeCodePoint(cp, &ok));
    if (!ok) return false;
  }
  out = std::move(result);
  return true;
}

bool IsValidUtf8(const std::string& text) {
  char32_t cp;
  for (size_t i = 0; i < text.size();) {
    if (!DecodeUtf8(text, i, cp)) return false;
  }
  return true;
}

bool ConvertCodePage(const std::string& from, const std::string& to, const std::string& in,
                     std::string& out) {
  // Windows-1252 goes through our own table: iconv refuses the five undefined bytes.
  const bool from1252 = IsWindows1252Name(from);
  const bool to1252 = IsWindows1252Name(to);
  if (from1252 && to1252) {
    out = in;
    return true;
  }
  if (from1252) {
    std::string utf8 = AnsiToUtf8(in);
    if (!IsUtf8Name(to)) return Iconv("UTF-8", to, utf8, out);
    out = std::move(utf8);
    return true;
  }
  if (to1252) {
    std::string utf8;
    if (IsUtf8Name(from)) {
      utf8 = in;
    } else if (!Iconv(from, "UTF-8", in, utf8)) {
      return false;
    }
    return Utf8ToAnsiStrict(utf8, out);
  }
  return Iconv(from, to, in, out);
}

int LcidOfLocaleName(const std::string& name) {
  // "en_GB.UTF-8@euro": the code set and modifier do not change the locale id.
  std::string base = name.substr(0, name.find_first_of(".@"));
  if (base.empty() || base == "C" || base == "POSIX") return 1033;
  std::replace(base.begin(), base.end(), '-', '_');
  const std::string language = base.substr(0, base.find('_'));
  int byLanguage = 0;
  for (const LocaleEntry& entry : kLocales) {
    const std::string entryName = entry.name;
    if (SameLetters(entryName, base)) return entry.lcid;
    if (byLanguage == 0 && SameLetters(entryName.substr(0, entryName.find('_')), language)) {
      byLanguage = entry.lcid;
    }
  }
  return byLanguage;
}

std::string LocaleNameOfLcid(int lcid) {
  for (const LocaleEntry& entry : kLocales) {
    if (entry.lcid == lcid) return entry.name;
  }
  return "";
}

}  // namespace quorrel
