#include "platform/InetListing.h"

#include <ctime>

#include "platform/Chars.h"
#include "platform/CodePage.h"
#include "platform/Inet.h"

namespace quorrel::inet {

namespace {

const char* const kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                               "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

bool AllDigits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!IsDigit(c)) return false;
  return true;
}

// Digits only, at most 19 of them: a 64-bit size.
bool ParseSize(const std::string& s, uint64_t& value) {
  if (!AllDigits(s) || s.size() > 19) return false;
  value = std::stoull(s);
  return true;
}

int ToInt(const std::string& s, size_t from, size_t count) {
  int v = 0;
  for (size_t i = from; i < from + count && i < s.size(); ++i) v = v * 10 + (s[i] - '0');
  return v;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

int MonthOf(const std::string& token) {
  if (token.size() != 3) return 0;
  std::string upper;
  for (char c : token) upper += UpperAnsi(c);
  for (int m = 0; m < 12; ++m)
    if (upper == kMonths[m]) return m + 1;
  return 0;
}

struct Token {
  size_t start, end;
};

std::vector<Token> Tokens(const std::string& line) {
  std::vector<Token> result;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    result.push_back({start, i});
  }
  return result;
}

std::vector<std::string> Lines(const std::string& data) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < data.size()) {
    size_t end = data.find('\n', start);
    if (end == std::string::npos) end = data.size();
    std::string line = data.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

void CivilFromSeconds(int64_t seconds, int& year) {
  time_t t = static_cast<time_t>(seconds);
  struct tm parts {};
  gmtime_r(&t, &parts);
  year = parts.tm_year + 1900;
}

// "Mmm dd hh:mm" carries no year: this year, unless that lies more than a day
// ahead, when it must be last year's.
int64_t YearlessTime(int month, int day, int hour, int minute, int64_t now) {
  int year;
  CivilFromSeconds(now, year);
  int64_t t = UtcSeconds(year, month, day, hour, minute, 0);
  if (t == kNoTime || t > now + 86400) t = UtcSeconds(year - 1, month, day, hour, minute, 0);
  return t;
}

std::optional<TListingEntry> ParseUnixLine(const std::string& line, int64_t now) {
  std::vector<Token> tokens = Tokens(line);
  if (tokens.size() < 6) return std::nullopt;
  auto text = [&](size_t i) {
    return line.substr(tokens[i].start, tokens[i].end - tokens[i].start);
  };
  std::string perms = text(0);
  if (perms.size() < 10) return std::nullopt;
  TListingEntry entry;
  switch (perms[0]) {
    case '-':
      break;
    case 'd':
      entry.isDir = true;
      break;
    case 'l':
      entry.isLink = true;
      break;
    default:
      return std::nullopt;  // devices, pipes, sockets: nothing to transfer
  }
  // The date is the first "Mmm dd hh:mm|yyyy" after a size; owner and group
  // columns vary between servers, and an owner may be called "Jan".
  for (size_t i = 2; i + 2 < tokens.size(); ++i) {
    int month = MonthOf(text(i));
    std::string day = text(i + 1), clock = text(i + 2);
    uint64_t size;
    if (!month || !AllDigits(day) || day.size() > 2 || !ParseSize(text(i - 1), size)) continue;
    int dayNumber = ToInt(day, 0, 2);
    if (clock.size() == 5 && clock[2] == ':' && IsDigit(clock[0]) && IsDigit(clock[1]) &&
        IsDigit(clock[3]) && IsDigit(clock[4])) {
      entry.time = YearlessTime(month, dayNumber, ToInt(clock, 0, 2), ToInt(clock, 3, 2), now);
    } else if (clock.size() == 4 && AllDigits(clock)) {
      entry.time = UtcSeconds(ToInt(clock, 0, 4), month, dayNumber, 0, 0, 0);
    } else {
      continue;
    }
    size_t nameStart = tokens[i + 2].end + 1;  // one blank separates the name
    if (nameStart >= line.size()) return std::nullopt;
    entry.name = line.substr(nameStart);
    entry.size = size;
    if (entry.isLink) {
      size_t arrow = entry.name.find(" -> ");
      if (arrow != std::string::npos) {
        entry.linkTarget = entry.name.substr(arrow + 4);
        entry.name.erase(arrow);
      }
    }
    return entry;
  }
  return std::nullopt;
}

// IIS pads "<DIR>" to the width of the size column: the name begins this many
// characters after it, at the column where the names of files begin.
constexpr size_t kDirFieldPadding = 10;

// "01-15-24  10:30AM  <DIR>  name", "01-15-2024  22:30  1234 name", "2024-01-15 ...".
// nameColumn: where the names of files begin in this listing (npos when unknown).
std::optional<TListingEntry> ParseDosLine(const std::string& line, size_t nameColumn) {
  std::vector<Token> tokens = Tokens(line);
  if (tokens.size() < 4) return std::nullopt;
  auto text = [&](size_t i) {
    return line.substr(tokens[i].start, tokens[i].end - tokens[i].start);
  };
  std::string date = text(0);
  int year, month, day;
  if (date.size() >= 8 && (date[2] == '-' || date[2] == '/') && date[5] == date[2] &&
      AllDigits(date.substr(0, 2)) && AllDigits(date.substr(3, 2)) && AllDigits(date.substr(6)) &&
      (date.size() == 8 || date.size() == 10)) {
    month = ToInt(date, 0, 2);
    day = ToInt(date, 3, 2);
    year = ToInt(date, 6, date.size() - 6);
    if (date.size() == 8) year += year < 70 ? 2000 : 1900;
  } else if (date.size() == 10 && date[4] == '-' && date[7] == '-' &&
             AllDigits(date.substr(0, 4)) && AllDigits(date.substr(5, 2)) &&
             AllDigits(date.substr(8, 2))) {
    year = ToInt(date, 0, 4);
    month = ToInt(date, 5, 2);
    day = ToInt(date, 8, 2);
  } else {
    return std::nullopt;
  }
  std::string clock = text(1);
  size_t next = 2;
  std::string suffix;
  if (clock.size() > 2) {
    std::string tail = clock.substr(clock.size() - 2);
    if (tail == "AM" || tail == "PM" || tail == "am" || tail == "pm") {
      suffix = tail;
      clock.erase(clock.size() - 2);
    }
  }
  if (suffix.empty() && next < tokens.size()) {
    std::string t = text(next);
    if (t == "AM" || t == "PM" || t == "am" || t == "pm") {
      suffix = t;
      ++next;
    }
  }
  bool withSeconds = clock.size() == 8 && clock[5] == ':';
  if (!((clock.size() == 5 || withSeconds) && clock[2] == ':' && AllDigits(clock.substr(0, 2)) &&
        AllDigits(clock.substr(3, 2)) && (!withSeconds || AllDigits(clock.substr(6, 2)))))
    return std::nullopt;
  int hour = ToInt(clock, 0, 2), minute = ToInt(clock, 3, 2);
  int second = withSeconds ? ToInt(clock, 6, 2) : 0;
  if (!suffix.empty()) {
    if (hour < 1 || hour > 12) return std::nullopt;
    hour %= 12;
    if (UpperAnsi(suffix[0]) == 'P') hour += 12;
  }
  if (next >= tokens.size()) return std::nullopt;
  TListingEntry entry;
  std::string kind = text(next);
  if (kind == "<DIR>") {
    entry.isDir = true;
  } else if (!ParseSize(kind, entry.size)) {
    return std::nullopt;
  }
  // The name starts one blank after the size, or at the same column after "<DIR>",
  // and runs to the line's end: blanks at its start, inside and at its end are
  // part of it.
  size_t nameStart = tokens[next].end + 1;
  if (entry.isDir) {
    const size_t fieldEnd = tokens[next].end;
    auto blanksUpTo = [&](size_t column) {
      if (column <= fieldEnd || column >= line.size()) return false;
      for (size_t i = fieldEnd; i < column; ++i)
        if (line[i] != ' ') return false;
      return true;
    };
    if (nameColumn != std::string::npos && blanksUpTo(nameColumn)) {
      nameStart = nameColumn;
    } else if (blanksUpTo(fieldEnd + kDirFieldPadding)) {
      nameStart = fieldEnd + kDirFieldPadding;
    } else if (next + 1 < tokens.size()) {
      nameStart = tokens[next + 1].start;  // a layout of its own: no leading blanks
    }
  }
  if (nameStart >= line.size()) return std::nullopt;
  entry.name = line.substr(nameStart);
  entry.time = UtcSeconds(year, month, day, hour, minute, second);
  entry.hasSeconds = withSeconds;
  return entry;
}

bool MatchFrom(const std::string& pattern, const std::string& name) {
  size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || UpperAnsi(pattern[p]) == UpperAnsi(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

std::vector<TListingEntry> ParseMlsdListing(const std::string& data) {
  std::vector<TListingEntry> result;
  for (const std::string& line : Lines(data)) {
    if (line.empty()) continue;
    size_t blank = line.find(' ');
    if (blank == std::string::npos) continue;
    TListingEntry entry;
    entry.name = line.substr(blank + 1);
    bool skip = false;
    size_t pos = 0;
    std::string facts = line.substr(0, blank);
    while (pos < facts.size()) {
      size_t end = facts.find(';', pos);
      if (end == std::string::npos) end = facts.size();
      std::string fact = facts.substr(pos, end - pos);
      pos = end + 1;
      size_t eq = fact.find('=');
      if (eq == std::string::npos) continue;
      std::string key = Lower(fact.substr(0, eq)), value = fact.substr(eq + 1);
      std::string lowerValue = Lower(value);
      if (key == "type") {
        if (lowerValue == "dir") {
          entry.isDir = true;
        } else if (lowerValue == "cdir" || lowerValue == "pdir") {
          skip = true;
        } else if (lowerValue.starts_with("os.unix=slink") ||
                   lowerValue.starts_with("os.unix=symlink")) {
          entry.isLink = true;
          size_t colon = value.find(':');
          if (colon != std::string::npos) entry.linkTarget = value.substr(colon + 1);
        } else if (lowerValue != "file") {
          skip = true;  // devices and other things that cannot be transferred
        }
      } else if (key == "size" || key == "sizd") {
        uint64_t size;
        if (ParseSize(value, size)) entry.size = size;
      } else if (key == "modify") {
        entry.time = ParseFtpTimeVal(value);
        entry.hasSeconds = entry.time != kNoTime;
      }
    }
    if (!skip) result.push_back(std::move(entry));
  }
  return result;
}

std::optional<TListingEntry> ParseListLine(const std::string& line, int64_t now) {
  if (line.empty()) return std::nullopt;
  if (IsDigit(line[0])) return ParseDosLine(line, std::string::npos);
  return ParseUnixLine(line, now);
}

std::vector<TListingEntry> ParseListListing(const std::string& data, int64_t now) {
  const std::vector<std::string> lines = Lines(data);
  // The column where a DOS listing's file names begin, from its first file.
  size_t nameColumn = std::string::npos;
  for (const std::string& line : lines) {
    if (line.empty() || !IsDigit(line[0])) continue;
    const auto entry = ParseDosLine(line, std::string::npos);
    if (entry && !entry->isDir) {
      nameColumn = line.size() - entry->name.size();
      break;
    }
  }
  std::vector<TListingEntry> result;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    auto entry = IsDigit(line[0]) ? ParseDosLine(line, nameColumn) : ParseUnixLine(line, now);
    if (entry) result.push_back(std::move(*entry));
  }
  return result;
}

int64_t ParseFtpTimeVal(const std::string& text) {
  if (text.size() < 14 || !AllDigits(text.substr(0, 14))) return kNoTime;
  return UtcSeconds(ToInt(text, 0, 4), ToInt(text, 4, 2), ToInt(text, 6, 2), ToInt(text, 8, 2),
                    ToInt(text, 10, 2), ToInt(text, 12, 2));
}

int ReplyCode(const std::string& reply) {
  if (reply.size() < 3 || !IsDigit(reply[0]) || !IsDigit(reply[1]) || !IsDigit(reply[2])) return 0;
  return ToInt(reply, 0, 3);
}

std::string ParsePwdReply(const std::string& reply) {
  size_t i = reply.find('"');
  if (i == std::string::npos) return "";
  std::string path;
  for (++i; i < reply.size(); ++i) {
    if (reply[i] == '"') {
      if (i + 1 < reply.size() && reply[i + 1] == '"') {
        path += '"';
        ++i;
      } else {
        return path;
      }
    } else if (reply[i] == '\r' || reply[i] == '\n') {
      break;
    } else {
      path += reply[i];
    }
  }
  return "";
}

std::vector<std::string> ParseFeatReply(const std::string& reply) {
  std::vector<std::string> features;
  std::vector<std::string> lines = Lines(reply);
  for (size_t i = 1; i + 1 < lines.size(); ++i) {
    std::vector<Token> tokens = Tokens(lines[i]);
    if (tokens.empty()) continue;
    std::string word = lines[i].substr(tokens[0].start, tokens[0].end - tokens[0].start);
    for (char& c : word) c = UpperAnsi(c);
    features.push_back(word);
  }
  return features;
}

bool IsAcceptableServerName(const std::string& name) {
  if (name.empty() || name == "." || name == ".." || name.size() >= MAX_PATH) return false;
  for (char c : name) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || c == '/' || c == '\\') return false;
  }
  return true;
}

bool IsSafeForCommand(const std::string& text) {
  return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

bool WireToAnsi(const std::string& wire, std::string& ansi) {
  return Utf8ToAnsiStrict(wire, ansi);
}

bool IsUtf8(const std::string& text) {
  return IsValidUtf8(text);
}

std::string AnsiToWire(const std::string& ansi) {
  return AnsiToUtf8(ansi);
}

char UpperAnsi(char c) {
  return static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(c)));
}

bool HasWildcard(const std::string& pattern) {
  return pattern.find_first_of("*?") != std::string::npos;
}

bool WildcardMatch(const std::string& pattern, const std::string& name) {
  if (pattern == "*.*" || pattern == "*") return true;
  if (MatchFrom(pattern, name)) return true;
  size_t dot = pattern.rfind('.');
  if (dot != std::string::npos && pattern.size() - dot == 4 &&
      !HasWildcard(pattern.substr(dot + 1)))
    return MatchFrom(pattern + "*", name);
  return false;
}

std::string PercentEncodePath(const std::string& path) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : path) {
    unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || IsDigit(c) || c == '-' || c == '.' ||
        c == '_' || c == '~' || c == '/') {
      out += c;
    } else {
      out += '%';
      out += hex[u >> 4];
      out += hex[u & 15];
    }
  }
  return out;
}

int64_t UtcSeconds(int year, int month, int day, int hour, int minute, int second) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1601 || year > 9999 || month < 1 || month > 12 || day < 1 || hour > 23 ||
      minute > 59 || second > 60 || hour < 0 || minute < 0 || second < 0)
    return kNoTime;
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (day > kDays[month - 1] + (month == 2 && leap ? 1 : 0)) return kNoTime;
  // Days from civil (proleptic Gregorian), 1970-01-01 = 0.
  int y = year - (month <= 2 ? 1 : 0);
  int era = (y >= 0 ? y : y - 399) / 400;
  int yoe = y - era * 400;
  int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  int64_t days = int64_t(era) * 146097 + doe - 719468;
  return days * 86400 + hour * 3600 + minute * 60 + second;
}

}  // namespace quorrel::inet

namespace quorrel {

namespace {
// Seconds between 1601-01-01 and 1970-01-01.
constexpr int64_t kEpochDifference = 11644473600LL;
}  // namespace

FILETIME UnixTimeToFileTime(int64_t seconds) {
  FILETIME ft;
  if (seconds == inet::kNoTime || seconds < -kEpochDifference) return ft;
  uint64_t ticks = uint64_t(seconds + kEpochDifference) * 10000000ULL;
  ft.dwLowDateTime = static_cast<uint32_t>(ticks);
  ft.dwHighDateTime = static_cast<uint32_t>(ticks >> 32);
  return ft;
}

int64_t FileTimeToUnixTime(const FILETIME& fileTime) {
  uint64_t ticks = (uint64_t(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
  if (ticks == 0) return inet::kNoTime;
  return int64_t(ticks / 10000000ULL) - kEpochDifference;
}

bool FileTimeToDosDateTime(const FILETIME& fileTime, uint16_t* fatDate, uint16_t* fatTime) {
  *fatDate = 0;
  *fatTime = 0;
  int64_t seconds = FileTimeToUnixTime(fileTime);
  if (seconds == inet::kNoTime) return false;
  time_t t = static_cast<time_t>(seconds);
  struct tm parts {};
  if (!gmtime_r(&t, &parts)) return false;
  int year = parts.tm_year + 1900;
  if (year < 1980 || year > 2107) return false;
  *fatDate =
      static_cast<uint16_t>(((year - 1980) << 9) | ((parts.tm_mon + 1) << 5) | parts.tm_mday);
  *fatTime =
      static_cast<uint16_t>((parts.tm_hour << 11) | (parts.tm_min << 5) | (parts.tm_sec / 2));
  return true;
}

}  // namespace quorrel
