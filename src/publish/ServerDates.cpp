#include "publish/ServerDates.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "publish/Connection.h"
#include "shell/FileRoutines.h"

namespace quorrel {

char BulkRunMode = ' ';

namespace {

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// Days from 30-Dec-1899 to 1-Jan-1970.
constexpr int64_t kUnixEpochDay = 25569;
constexpr double kOneHour = 0.041;
constexpr double kTolerance = 0.001;
constexpr double kYearSlack = 0.07;

// Days since 1-Jan-1970 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (month <= 2));
}

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

double FromLocalTm(const struct tm& t) {
  return EncodeDateTime(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
}

}  // namespace

void ForgetServerFileDates() {
  for (TDocument& document : Documents) document.ServerFileDate = ServerDateUnknown;
}

int CompareServerDate(double serverDate, double localDate, char mode) {
  // A server that lists only the day is compared with the local file's day.
  if (serverDate == std::floor(serverDate)) localDate = std::floor(localDate);
  int icon;
  if (localDate == 0) {
    icon = NotOnLocalIcon;
  } else {
    double diff = serverDate - localDate;
    if (std::fabs(std::fabs(diff) - kOneHour) < kTolerance) diff = 0;
    icon = diff > kTolerance ? ServerNewerIcon : diff < -kTolerance ? LocalNewerIcon : SameDateIcon;
  }
  return mode == ' ' || mode == 'S' ? icon : NotOnServerIcon;
}

int CompareServerDate() {
  return CompareServerDate(ServerFileDate, UnixToDateTime(LocalFileDate), BulkRunMode);
}

double EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
  const int64_t days =
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
  return static_cast<double>(days + kUnixEpochDay) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

void DecodeDateTime(double date, int& year, int& month, int& day, int& hour, int& minute,
                    int& second) {
  int64_t days = static_cast<int64_t>(std::floor(date));
  int64_t seconds = std::llround((date - std::floor(date)) * 86400.0);
  if (seconds >= 86400) {
    ++days;
    seconds -= 86400;
  }
  CivilFromDays(days - kUnixEpochDay, year, month, day);
  hour = static_cast<int>(seconds / 3600);
  minute = static_cast<int>(seconds / 60 % 60);
  second = static_cast<int>(seconds % 60);
}

double UnixToDateTime(int64_t seconds) {
  if (seconds == 0) return 0;
  time_t t = static_cast<time_t>(seconds);
  struct tm local {};
  if (!localtime_r(&t, &local)) return 0;
  return FromLocalTm(local);
}

int64_t DateTimeToUnix(double date) {
  if (date == 0) return 0;
  struct tm local {};
  DecodeDateTime(date, local.tm_year, local.tm_mon, local.tm_mday, local.tm_hour, local.tm_min,
                 local.tm_sec);
  local.tm_year -= 1900;
  local.tm_mon -= 1;
  local.tm_isdst = -1;
  return static_cast<int64_t>(mktime(&local));
}

double NowDateTime() {
  using namespace std::chrono;
  const auto now = system_clock::now().time_since_epoch();
  const int64_t ms = duration_cast<milliseconds>(now).count();
  return UnixToDateTime(ms / 1000) + (ms % 1000) / 86400000.0;
}

double IncYear(double date) {
  int year, month, day, hour, minute, second;
  DecodeDateTime(date, year, month, day, hour, minute, second);
  ++year;
  if (month == 2 && day == 29 && !IsLeapYear(year)) day = 28;
  return EncodeDateTime(year, month, day, hour, minute, second);
}

double ServerDateOf(const FILETIME& utc) {
  const int64_t seconds = FileTimeToUnixTime(utc);
  if (utc.dwLowDateTime == 0 && utc.dwHighDateTime == 0) return 0;
  // Listing times are UTC; the comparison with local files is in local wall time.
  time_t t = static_cast<time_t>(seconds);
  struct tm local {};
  if (!localtime_r(&t, &local)) return 0;
  uint16_t dosDate = 0, dosTime = 0;
  if (!FileTimeToDosDateTime(UnixTimeToFileTime(seconds + local.tm_gmtoff), &dosDate, &dosTime) ||
      (dosDate == 0 && dosTime == 0)) {
    return 0;
  }
  return EncodeDateTime(1980 + (dosDate >> 9), (dosDate >> 5) & 15, dosDate & 31, dosTime >> 11,
                        (dosTime >> 5) & 63, (dosTime & 31) * 2);
}

double CorrectServerYear(double date, double now) {
  int year, month, day, hour, minute, second;
  DecodeDateTime(date, year, month, day, hour, minute, second);
  int nowYear, nowMonth, nowDay;
  DecodeDateTime(now, nowYear, nowMonth, nowDay, hour, minute, second);
  if (year >= nowYear) return date;
  const double later = IncYear(date);
  return std::fabs(later - now) < kYearSlack ? later : date;
}

std::string FormatServerDate(double date, int blanks) {
  int year, month, day, hour, minute, second;
  DecodeDateTime(date, year, month, day, hour, minute, second);
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%02d-%s-%02d%*s%02d.%02d  ", day, kMonths[month - 1],
                year % 100, blanks, "", hour, minute);
  return buffer;
}

std::string FormatLongDate(double date) {
  int year, month, day, hour, minute, second;
  DecodeDateTime(date, year, month, day, hour, minute, second);
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%02d-%s-%04d %02d.%02d.%02d", day, kMonths[month - 1], year,
                hour, minute, second);
  return buffer;
}

void ResetServerDates() {
  ForgetServerFileDates();
  BulkRunMode = ' ';
}

}  // namespace quorrel
