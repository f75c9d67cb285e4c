#include "shell/FastStrings.h"

#include <algorithm>
#include <cstdio>

#include "platform/Abort.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

// Windows-1252 upper case: a-z, à-þ but ÷, and the three caron/ligature pairs plus ÿ.
constexpr std::array<unsigned char, 256> MakeUpperCaseTable() {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
  for (int i = 'a'; i <= 'z'; ++i) t[i] = static_cast<unsigned char>(i - 32);
  for (int i = 0xE0; i <= 0xFE; ++i) {
    if (i != 0xF7) t[i] = static_cast<unsigned char>(i - 32);
  }
  t[0x9A] = 0x8A;  // š
  t[0x9C] = 0x8C;  // œ
  t[0x9E] = 0x8E;  // ž
  t[0xFF] = 0x9F;  // ÿ
  return t;
}

inline unsigned char Up(char c) {
  return UpperCaseTable[static_cast<unsigned char>(c)];
}
inline unsigned char Byte(char c) {
  return static_cast<unsigned char>(c);
}

// For each upper-case byte, the one byte that folds onto it (itself when none).
constexpr std::array<unsigned char, 256> MakeOtherCaseTable() {
  std::array<unsigned char, 256> t{};
  const auto up = MakeUpperCaseTable();
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
  for (int i = 0; i < 256; ++i) {
    if (up[i] != i) t[up[i]] = static_cast<unsigned char>(i);
  }
  return t;
}
constexpr std::array<unsigned char, 256> OtherCase = MakeOtherCaseTable();

// Horspool skip table, indexed by the raw text byte so that the search loop
// needs no case folding to move on: every entry m, then m - i for the pattern's
// characters except the last. Shifts are capped at 255, which is always safe
// (a smaller shift never skips an occurrence) and keeps the table to 256 bytes,
// cheap to build for the many short searches a command makes.
struct SkipTable {
  unsigned char entry[256];
  SkipTable(std::string_view pattern, bool noCase) {
    const size_t m = pattern.size();
    std::fill(std::begin(entry), std::end(entry), static_cast<unsigned char>(m > 255 ? 255 : m));
    for (size_t i = 1; i < m; ++i) {
      const size_t shift = m - i;
      const unsigned char value = static_cast<unsigned char>(shift > 255 ? 255 : shift);
      if (noCase) {
        const unsigned char u = Up(pattern[i - 1]);
        entry[u] = value;
        entry[OtherCase[u]] = value;
      } else {
        entry[Byte(pattern[i - 1])] = value;
      }
    }
  }
};

// Forward Horspool search; 0-based index of the first occurrence at or after
// from, or npos. The pattern is not empty and the skip table is built for it.
template <bool NoCase>
size_t Search(std::string_view pattern, std::string_view text, size_t from, const SkipTable& skip) {
  const size_t m = pattern.size();
  const size_t n = text.size();
  if (m > n) return std::string_view::npos;
  const char* p = pattern.data();
  const char* t = text.data();
  const unsigned char last = NoCase ? Up(p[m - 1]) : Byte(p[m - 1]);
  size_t r = from + m - 1;  // 0-based index of the window's last character
  while (r < n) {
    const unsigned char c = Byte(t[r]);
    if ((NoCase ? UpperCaseTable[c] : c) == last) {
      size_t k = 1;
      if constexpr (NoCase) {
        while (k < m && Up(t[r - k]) == Up(p[m - 1 - k])) ++k;
      } else {
        while (k < m && t[r - k] == p[m - 1 - k]) ++k;
      }
      if (k == m) return r - m + 1;
    }
    r += skip.entry[c];
  }
  return std::string_view::npos;
}

size_t FindFrom(std::string_view pattern, std::string_view text, size_t from, bool caseSensitive,
                const SkipTable& skip) {
  return caseSensitive ? Search<false>(pattern, text, from, skip)
                       : Search<true>(pattern, text, from, skip);
}

std::string HexDigits(unsigned value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", value);
  return buf;
}

}  // namespace

const std::array<unsigned char, 256> UpperCaseTable = MakeUpperCaseTable();

size_t PosNoCase(std::string_view pattern, std::string_view text, size_t start) {
  if (pattern.empty()) return 1;
  if (start < 1) start = 1;
  SkipTable skip(pattern, true);
  size_t at = Search<true>(pattern, text, start - 1, skip);
  return at == std::string_view::npos ? 0 : at + 1;
}

size_t PosCase(std::string_view pattern, std::string_view text, size_t start) {
  if (pattern.empty()) return 0;
  if (start < 1) start = 1;
  SkipTable skip(pattern, false);
  size_t at = Search<false>(pattern, text, start - 1, skip);
  return at == std::string_view::npos ? 0 : at + 1;
}

size_t PosBackNoCase(std::string_view pattern, std::string_view text, size_t start) {
  const size_t m = pattern.size();
  const size_t n = text.size();
  if (m == 0 || m > n) return 0;
  size_t s = start == 0 ? n : start;
  if (s + m > n) s = n - m + 1;
  const unsigned char first = Up(pattern[0]);
  for (; s >= 1; --s) {
    const char* t = text.data() + s - 1;
    if (Up(t[0]) != first) continue;
    size_t k = m - 1;
    while (k > 0 && Up(t[k]) == Up(pattern[k])) --k;
    if (k == 0) return s;
  }
  return 0;
}

size_t PosNoCaseOrAbort(std::string_view pattern, std::string_view text, size_t start) {
  size_t at = PosNoCase(pattern, text, start);
  if (at > 0) return at;
  std::string shown(pattern);
  if (pattern.size() == 1 && Byte(pattern[0]) < ' ') shown = "$" + HexDigits(Byte(pattern[0]));
  std::string msg =
      "The text:\r" + shown + "\rwas not found in\r" + std::string(text.substr(0, 100)) + " ...";
  if (start > 1) msg += "\rwhen searching beyond position " + std::to_string(start);
  msg += std::string(20, ' ');
  UserDialogs().ShowBox({DialogKind::Message, msg, ApplicationTitle, {}, 0, 0});
  Abort();
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replace,
                       bool caseSensitive) {
  if (text.empty() || find.empty()) return std::string(text);
  SkipTable skip(find, !caseSensitive);
  size_t at = FindFrom(find, text, 0, caseSensitive, skip);
  if (at == std::string_view::npos) return std::string(text);

  std::string out;
  out.reserve(replace.size() > find.size()
                  ? text.size() / find.size() * replace.size() + replace.size()
                  : text.size());
  size_t pos = 0;
  while (at != std::string_view::npos) {
    out.append(text.data() + pos, at - pos);
    out.append(replace);
    pos = at + find.size();
    if (text.size() - pos < find.size()) break;
    at = FindFrom(find, text, pos, caseSensitive, skip);
  }
  out.append(text.data() + pos, text.size() - pos);
  return out;
}

std::string MultiReplace(std::string_view text, std::string_view finds, std::string_view replaces,
                         bool caseSensitive) {
  auto takeFirst = [](std::string_view& list) {
    size_t bar = list.find('|');
    std::string_view item = list.substr(0, bar);
    list = bar == std::string_view::npos ? std::string_view() : list.substr(bar + 1);
    return item;
  };
  std::string result(text);
  std::string log;
  while (!finds.empty()) {
    std::string_view find = takeFirst(finds);
    std::string_view replace = takeFirst(replaces);
    log += "[" + std::string(find) + "]  >  [" + std::string(replace) + "]\r\n";
    result = ReplaceAll(result, find, replace, caseSensitive);
    if (finds.empty() != replaces.empty()) {
      ShowErrorAndAbort("MultiReplace must use same number of elements.\r\r" + log);
    }
  }
  return result;
}

size_t InBarList(std::string_view item, std::string_view list) {
  std::string key = "|" + std::string(item) + "|";
  return PosCase(key, list, 1);
}

size_t InBarListNoCase(std::string_view item, std::string_view list) {
  std::string key = "|" + std::string(item) + "|";
  return PosNoCase(key, list, 1);
}

std::string UpperCaseLatin1(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    unsigned char b = Byte(c);
    if ((b >= 97 && b <= 122) || b >= 224) c = static_cast<char>(b - 32);
  }
  return out;
}

std::string UpperCaseAnsi(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(Up(c));
  return out;
}

std::string ReplaceNoCase(std::string_view text, std::string_view find, std::string_view replace) {
  return ReplaceAll(text, find, replace, false);
}

std::string ReplaceCase(std::string_view text, std::string_view find, std::string_view replace) {
  return ReplaceAll(text, find, replace, true);
}

std::string RightChars(std::string_view text, size_t n) {
  return std::string(n >= text.size() ? text : text.substr(text.size() - n));
}

std::string CopyToEnd(std::string_view text, size_t from) {
  if (from < 1) from = 1;
  if (from > text.size()) return {};
  return std::string(text.substr(from - 1));
}

}  // namespace quorrel
