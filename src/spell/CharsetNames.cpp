#include "spell/CharsetNames.h"

#include "platform/CodePage.h"

namespace quorrel {

const char kUtf8CharsetName[] = "UTF-8";

namespace {

struct TCharsetName {
  const char* name;
  int charset;
  int codePage;
  const char* encoding;
};

constexpr int kDefaultCharset = 1;
constexpr int kSystemCodePage = 1252;

// UTF-8 is read as UTF-8 (65001), never as UTF-16 (1200): the speller's replies
// are 8-bit text.
constexpr TCharsetName kCharsetNames[] = {
    {"koi8-r", 204, 1251, "KOI8-R"},           {"iso-ir-111", 204, 1251, "ISO-IR-111"},
    {"macroman", 77, 2, "MACINTOSH"},          {kUtf8CharsetName, 1, 65001, "UTF-8"},
    {"iso-8859-1", 0, 1252, "ISO-8859-1"},     {"iso-8859-2", 238, 1250, "ISO-8859-2"},
    {"iso-8859-3", 162, 1254, "ISO-8859-3"},   {"iso-8859-4", 186, 1257, "ISO-8859-4"},
    {"iso-8859-5", 204, 1251, "ISO-8859-5"},   {"iso-8859-6", 178, 1256, "ISO-8859-6"},
    {"iso-8859-7", 161, 1253, "ISO-8859-7"},   {"iso-8859-8", 177, 1255, "ISO-8859-8"},
    {"iso-8859-9", 162, 1254, "ISO-8859-9"},   {"iso-8859-10", 186, 1257, "ISO-8859-10"},
    {"iso-8859-13", 186, 1257, "ISO-8859-13"},
};

const TCharsetName* Find(std::string_view name) {
  for (const TCharsetName& entry : kCharsetNames) {
    if (AnsiSameText(name, entry.name)) return &entry;
  }
  return nullptr;
}

}  // namespace

int CharsetOfCharsetName(std::string_view name) {
  const TCharsetName* entry = Find(name);
  return entry ? entry->charset : kDefaultCharset;
}

int CodePageOfCharsetName(std::string_view name) {
  const TCharsetName* entry = Find(name);
  return entry ? entry->codePage : kSystemCodePage;
}

std::string EncodingOfCharsetName(std::string_view name) {
  const TCharsetName* entry = Find(name);
  return entry ? entry->encoding : "";
}

}  // namespace quorrel
