#include "spell/Languages.h"

#include <QLocale>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <mutex>

#include "platform/CodePage.h"

namespace quorrel {
namespace {

struct Abbreviation {
  TLanguage language;
  const char* abbrev;
};

// The three-letter names Windows gives: language and country in one.
constexpr Abbreviation kAbbreviations[] = {
    {1033, "ENU"}, {2057, "ENG"}, {3081, "ENA"}, {4105, "ENC"}, {5129, "ENZ"}, {6153, "ENI"},
    {1031, "DEU"}, {2055, "DES"}, {3079, "DEA"}, {1036, "FRA"}, {2060, "FRB"}, {3084, "FRC"},
    {4108, "FRS"}, {1040, "ITA"}, {1034, "ESP"}, {3082, "ESN"}, {2058, "ESM"}, {1043, "NLD"},
    {2067, "NLB"}, {1049, "RUS"}, {1045, "PLK"}, {1029, "CSY"}, {1053, "SVE"}, {1030, "DAN"},
    {1044, "NOR"}, {1035, "FIN"}, {2070, "PTG"}, {1046, "PTB"}, {1032, "ELL"}, {1055, "TRK"},
    {1038, "HUN"}, {1058, "UKR"}, {1026, "BGR"}, {1051, "SKY"}, {1060, "SLV"}, {1050, "HRV"},
    {1037, "HEB"}, {1025, "ARA"}, {1041, "JPN"}, {1042, "KOR"}, {2052, "CHS"}, {1028, "CHT"},
};

struct PrimaryCodePage {
  unsigned primary;  // the low ten bits of the identifier
  int codePage;
};

constexpr PrimaryCodePage kCodePages[] = {
    {0x19, 1251}, {0x22, 1251}, {0x02, 1251}, {0x23, 1251}, {0x2F, 1251}, {0x15, 1250},
    {0x05, 1250}, {0x1B, 1250}, {0x0E, 1250}, {0x18, 1250}, {0x1A, 1250}, {0x24, 1250},
    {0x1C, 1250}, {0x08, 1253}, {0x1F, 1254}, {0x0D, 1255}, {0x01, 1256}, {0x29, 1256},
    {0x20, 1256}, {0x25, 1257}, {0x26, 1257}, {0x27, 1257}, {0x2A, 1258}, {0x1E, 874},
    {0x11, 932},  {0x12, 949},
};

struct CodePageCharset {
  int codePage;
  int charset;
};

constexpr CodePageCharset kCharsets[] = {
    {1252, 0},   {1250, 238}, {1251, 204}, {1253, 161}, {1254, 162}, {1255, 177}, {1256, 178},
    {1257, 186}, {1258, 163}, {874, 222},  {932, 128},  {936, 134},  {949, 129},  {950, 136},
};

QLocale LocaleOf(TLanguage language, bool& known) {
  const std::string name = LocaleNameOfLcid(language);
  known = !name.empty();
  return known ? QLocale(QString::fromStdString(name)) : QLocale::c();
}

bool IsAscii(const std::string& text) {
  for (unsigned char c : text) {
    if (c >= 0x80) return false;
  }
  return true;
}

// Windows-1252 goes through our own table, which keeps every byte.
const char kSystemEncoding[] = "CP1252";

std::string CodePageName(int codePage) {
  if (codePage == 2) return "MACINTOSH";
  if (codePage == 65001) return "UTF-8";
  return "CP" + std::to_string(codePage);
}

// Encodings whose characters may take more than one byte.
bool IsMultiByte(const std::string& encoding) {
  return encoding == "CP932" || encoding == "CP936" || encoding == "CP949" || encoding == "CP950" ||
         encoding == "UTF-8";
}

using TByteTable = std::array<char16_t, 256>;

// The characters of the 256 bytes of a single-byte encoding, made on first use. A
// byte the encoding leaves undefined keeps its value; an encoding we cannot
// convert at all is read as the system's code page.
const TByteTable& ByteTable(const std::string& encoding) {
  static std::mutex guard;
  static std::map<std::string, TByteTable> tables;
  const std::lock_guard<std::mutex> lock(guard);
  auto found = tables.find(encoding);
  if (found != tables.end()) return found->second;
  TByteTable table{};
  bool converts = false;
  for (int byte = 0; byte < 256; ++byte) {
    std::string utf8;
    table[byte] = static_cast<char16_t>(byte);
    if (ConvertCodePage(encoding, "UTF-8", std::string(1, static_cast<char>(byte)), utf8)) {
      const QString one = QString::fromUtf8(utf8);
      if (one.size() == 1) table[byte] = one[0].unicode();
      converts = true;
    }
  }
  if (!converts) {
    for (int byte = 0; byte < 256; ++byte)
      table[byte] = AnsiToUnicode(static_cast<unsigned char>(byte));
  }
  return tables.emplace(encoding, table).first->second;
}

}  // namespace

std::string LanguageName(TLanguage language, TLangOption option) {
  if (option == TLangOption::loAbbrev) {
    for (const Abbreviation& entry : kAbbreviations) {
      if (entry.language == language) return entry.abbrev;
    }
    return {};
  }
  bool known = false;
  const QLocale locale = LocaleOf(language, known);
  if (!known) return {};
  if (option == TLangOption::loNative) return QStringToAnsi(locale.nativeLanguageName());
  return QStringToAnsi(QLocale::languageToString(locale.language()));
}

int CodePageOfLanguage(TLanguage language) {
  if (LocaleNameOfLcid(language).empty()) return 1252;
  // Chinese differs by country: traditional script in Taiwan, Hong Kong and Macao.
  if ((language & 0x3FF) == 0x04) {
    return language == 1028 || language == 3076 || language == 5124 ? 950 : 936;
  }
  // Serbian and Bosnian in Cyrillic script share the primary language of Croatian.
  if (language == 3098 || language == 7194 || language == 8218) return 1251;
  for (const PrimaryCodePage& entry : kCodePages) {
    if (entry.primary == (language & 0x3FFu)) return entry.codePage;
  }
  return 1252;
}

int CharsetOfLanguage(TLanguage language) {
  const int codePage = CodePageOfLanguage(language);
  for (const CodePageCharset& entry : kCharsets) {
    if (entry.codePage == codePage) return entry.charset;
  }
  return 1;
}

TLanguage SystemLanguage() {
  const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (value && *value) {
      const int lcid = LcidOfLocaleName(value);
      return static_cast<TLanguage>(lcid ? lcid : 1033);
    }
  }
  return 1033;
}

std::string AnsiToLanguage(const std::string& ansi, TLanguage language) {
  const int codePage = CodePageOfLanguage(language);
  if (codePage == 1252 || IsAscii(ansi)) return ansi;
  std::string out;
  for (unsigned char c : ansi) {
    std::string one;
    const std::string utf8 = AnsiToUtf8(std::string(1, static_cast<char>(c)));
    out +=
        ConvertCodePage("UTF-8", CodePageName(codePage), utf8, one) && one.size() == 1 ? one : "?";
  }
  return out;
}

std::string LanguageToAnsi(const std::string& text, TLanguage language) {
  const int codePage = CodePageOfLanguage(language);
  if (codePage == 1252 || IsAscii(text)) return text;
  std::string utf8;
  if (!ConvertCodePage(CodePageName(codePage), "UTF-8", text, utf8)) return text;
  return Utf8ToAnsi(utf8);
}

std::u16string AnsiToWide(const std::string& text, int codePage) {
  return EncodedToWide(text, CodePageName(codePage == 0 ? 1252 : codePage));
}

std::string WideToAnsi(std::u16string_view wide, int codePage) {
  return WideToEncoded(wide, CodePageName(codePage == 0 ? 1252 : codePage));
}

std::u16string EncodedToWide(const std::string& text, const std::string& encoding) {
  std::u16string wide;
  if (text.empty()) return wide;
  if (IsMultiByte(encoding)) {
    std::string utf8;
    if (ConvertCodePage(encoding, "UTF-8", text, utf8))
      return QString::fromUtf8(utf8).toStdU16String();
    // Broken text is read byte by byte rather than lost.
  }
  wide.reserve(text.size());
  if (encoding == kSystemEncoding) {
    for (unsigned char c : text) wide.push_back(AnsiToUnicode(c));
    return wide;
  }
  const TByteTable& table = ByteTable(encoding);
  for (unsigned char c : text) wide.push_back(table[c]);
  return wide;
}

std::string WideToEncoded(std::u16string_view wide, const std::string& encoding) {
  if (encoding == "UTF-8") return WideToUtf8(wide);
  std::string out;
  if (IsMultiByte(encoding)) {
    if (ConvertCodePage("UTF-8", encoding, WideToUtf8(wide), out)) return out;
    return std::string(wide.size(), '?');
  }
  out.reserve(wide.size());
  if (encoding == kSystemEncoding) {
    for (char16_t unit : wide) out.push_back(static_cast<char>(UnicodeToAnsi(unit)));
    return out;
  }
  const TByteTable& table = ByteTable(encoding);
  for (char16_t unit : wide) {
    const auto* found = std::find(table.begin(), table.end(), unit);
    out.push_back(found == table.end() ? '?' : static_cast<char>(found - table.begin()));
  }
  return out;
}

std::string WideToUtf8(std::u16string_view wide) {
  std::string out;
  out.reserve(wide.size() * 3);
  auto put = [&out](char32_t c) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  };
  for (size_t i = 0; i < wide.size(); ++i) {
    const char16_t unit = wide[i];
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (high && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
      // Encoding the two halves apart would give CESU-8, which no UTF-8 reader takes.
      put(0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(wide[i + 1]) - 0xDC00));
      ++i;
    } else if (high || low) {
      put(0xFFFD);
    } else {
      put(unit);
    }
  }
  return out;
}

}  // namespace quorrel
