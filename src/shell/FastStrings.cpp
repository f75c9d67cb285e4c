#include "shell/FastStrings.h"

#include <algorithm>
#include <cstdio>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/Abort.h"
#include "platform/CodePage.h"
#include "platform/UserDialogs.h"
#include "shell/DBoxUnit.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

constexpr std::array<unsigned char, 256> MakeUpperCaseTable() {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = AnsiUpperChar(static_cast<unsigned char>(i));
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

// The two bytes a pattern character matches: itself and, without regard to case,
// the other case of its letter (the same byte twice for anything else).
struct TBytePair {
  unsigned char a, b;
};

template <bool NoCase>
TBytePair PairOf(char c) {
  if constexpr (NoCase) {
    const unsigned char u = Up(c);
    return {u, OtherCase[u]};
  } else {
    return {Byte(c), Byte(c)};
  }
}

template <bool NoCase>
bool SameFrom(const char* t, const char* p, size_t k, size_t m) {
  for (; k < m; ++k) {
    if (NoCase ? Up(t[k]) != Up(p[k]) : t[k] != p[k]) return false;
  }
  return true;
}

// Forward search; 0-based index of the first occurrence at or after from, or npos.
// Sixteen places are tried at once by their first two characters (either case),
// so the text goes by at memory speed and only likely places are compared in full.
template <bool NoCase>
size_t Search(std::string_view pattern, std::string_view text, size_t from) {
  const size_t m = pattern.size();
  const size_t n = text.size();
  if (m == 0 || m > n || from > n - m) return std::string_view::npos;
  const char* p = pattern.data();
  const char* t = text.data();
  const size_t lastStart = n - m;
  const TBytePair first = PairOf<NoCase>(p[0]);
  const TBytePair second = PairOf<NoCase>(m > 1 ? p[1] : p[0]);
  size_t i = from;
#ifdef __SSE2__
  const __m128i a0 = _mm_set1_epi8(static_cast<char>(first.a));
  const __m128i b0 = _mm_set1_epi8(static_cast<char>(first.b));
  const __m128i a1 = _mm_set1_epi8(static_cast<char>(second.a));
  const __m128i b1 = _mm_set1_epi8(static_cast<char>(second.b));
  // Bytes i .. i + 16 are read: the second character of the sixteenth place.
  while (i + 17 <= n && i <= lastStart) {
    const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i));
    const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i + 1));
    __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(v0, a0), _mm_cmpeq_epi8(v0, b0));
    if (m > 1) {
      hits = _mm_and_si128(hits, _mm_or_si128(_mm_cmpeq_epi8(v1, a1), _mm_cmpeq_epi8(v1, b1)));
    }
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
    while (mask != 0) {
      const size_t at = i + static_cast<size_t>(__builtin_ctz(mask));
      if (at > lastStart) return std::string_view::npos;
      if (SameFrom<NoCase>(t + at, p, 2, m)) return at;
      mask &= mask - 1;
    }
    i += 16;
  }
#endif
  for (; i <= lastStart; ++i) {
    const unsigned char c = Byte(t[i]);
    if ((c == first.a || c == first.b) && SameFrom<NoCase>(t + i, p, 1, m)) return i;
  }
  return std::string_view::npos;
}

size_t FindFrom(std::string_view pattern, std::string_view text, size_t from, bool caseSensitive) {
  return caseSensitive ? Search<false>(pattern, text, from) : Search<true>(pattern, text, from);
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
  size_t at = Search<true>(pattern, text, start - 1);
  return at == std::string_view::npos ? 0 : at + 1;
}

size_t PosCase(std::string_view pattern, std::string_view text, size_t start) {
  if (pattern.empty()) return 0;
  if (start < 1) start = 1;
  size_t at = Search<false>(pattern, text, start - 1);
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

bool ContainsNoCase(std::string_view text, std::string_view part) {
  return PosNoCase(part, text) > 0;
}

std::string NotFoundMessage(std::string_view pattern, std::string_view text, size_t start) {
  std::string shown(pattern);
  if (pattern.size() == 1 && Byte(pattern[0]) < ' ') shown = "$" + HexDigits(Byte(pattern[0]));
  std::string msg =
      "The text:\r" + shown + "\rwas not found in\r" + std::string(text.substr(0, 100)) + " ...";
  if (start > 1) msg += "\rwhen searching beyond position " + std::to_string(start);
  msg += std::string(20, ' ');
  return msg;
}

size_t PosNoCaseOrAbort(std::string_view pattern, std::string_view text, size_t start) {
  size_t at = PosNoCase(pattern, text, start);
  if (at > 0) return at;
  UserDialogs().ShowBox(
      {DialogKind::Message, NotFoundMessage(pattern, text, start), ApplicationTitle, {}, 0, 0});
  Abort();
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replace,
                       bool caseSensitive) {
  if (text.empty() || find.empty()) return std::string(text);
  size_t at = FindFrom(find, text, 0, caseSensitive);
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
    at = FindFrom(find, text, pos, caseSensitive);
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

std::string ReplaceChar(std::string text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
  return text;
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
