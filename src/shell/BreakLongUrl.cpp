#include "shell/BreakLongUrl.h"

#include <cstring>

#include "platform/CodePage.h"
#include "shell/FastStrings.h"

namespace quorrel {

namespace {

constexpr long kLongestPiece = 30;
constexpr char kBreak[] = "<WBr>";
constexpr char kBreakAfter[] = ",-./?_";

// Where a piece [from, end) may be broken: after its leftmost separator (before an
// "&"), so that what follows is as long as it may be; -1 when it has none.
long BreakPoint(const std::string& s, long from, long end) {
  for (long k = from; k < end; ++k) {
    long at = -1;
    if (s[k] == '&') {
      at = k;
    } else if (std::strchr(kBreakAfter, s[k]) != nullptr) {
      at = k + 1;
    }
    if (at > from && at < end) return at;
  }
  return -1;
}

}  // namespace

std::string BreakLongUrl(const std::string& linkText) {
  if (PosNoCase("<img", linkText) != 0) return linkText;
  std::string s = ReplaceNoCase(linkText, kBreak, "");
  s = ReplaceAll(s, "%20", " ", true);
  for (const char* prefix : {"http://", "https://", "www."}) {
    if (StartsWithNoCase(s, prefix)) {
      s.erase(0, std::strlen(prefix));
      break;
    }
  }
  // From the end towards the start, counting the characters of the piece since the
  // last blank or break; a piece that would grow past the longest gets its break.
  long pieceEnd = static_cast<long>(s.size());
  long lastUnit = pieceEnd;  // where the character counted last begins
  long count = 0;
  for (long i = pieceEnd - 1; i >= 0; --i) {
    if (s[i] == ' ') {
      count = 0;
      pieceEnd = lastUnit = i;
      continue;
    }
    long unit = i;
    if (s[i] == ';') {
      // An entity ("&" up to ";" within ten characters) counts as one character.
      for (long j = i - 1; j >= 0 && j >= i - 10; --j) {
        if (s[j] == '&') {
          unit = j;
          break;
        }
        if (s[j] == ' ' || s[j] == ';') break;
      }
    }
    if (++count <= kLongestPiece) {
      lastUnit = i = unit;
      continue;
    }
    long at = BreakPoint(s, unit, pieceEnd);
    if (at < 0) at = lastUnit;
    s.insert(static_cast<size_t>(at), kBreak);
    pieceEnd = lastUnit = at;
    count = 0;
    i = at;  // what lies before the break is walked again as the next piece
  }
  return s;
}

}  // namespace quorrel
