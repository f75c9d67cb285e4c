#pragma once
// Dates of server files and how they compare with the local copies. Dates are
// TDateTime values: days since 30-Dec-1899 in local wall time, the fraction being
// the time of day, so that the comparison thresholds (0.041, 0.001 and 0.07 day)
// mean what they say. 0 is "no date".
#include <array>
#include <cstdint>
#include <string>

#include "platform/Inet.h"
#include "shell/ShellState.h"

namespace quorrel {

// A document record's ServerFileDate that is not a date (ServerDateUnknown is the
// other, in shell/Document.h).
constexpr double ServerDateNotOnServer = -1.0;

// Every tab's server date back to ServerDateUnknown.
void ForgetServerFileDates();

// The run the server window is in: ' ' normal, 'V' validate all, 'A' archive,
// 'S' synchronise. Only ' ' and 'S' compare dates.
extern char BulkRunMode;

// Icons of the server comparison.
enum TServerIcon {
  NotOnServerIcon = 0,
  SameDateIcon = 1,
  LocalNewerIcon = 2,
  ServerNewerIcon = 3,
  NotOnLocalIcon = 4,
  IgnoreDateIcon = 5,
};

// Compares a server date with a local one in the given run mode. A difference of
// one hour (a daylight-saving shift) counts as none; a server date without a time
// compares with the local date's day.
int CompareServerDate(double serverDate, double localDate, char mode);
// The same for ServerFileDate and the local side last measured by DateSize.
int CompareServerDate();

// ---- conversions --------------------------------------------------------------

double EncodeDateTime(int year, int month, int day, int hour, int minute, int second);
void DecodeDateTime(double date, int& year, int& month, int& day, int& hour, int& minute,
                    int& second);
// Seconds since the epoch (UTC) as local wall time, and back; 0 stays 0.
double UnixToDateTime(int64_t seconds);
int64_t DateTimeToUnix(double date);
double NowDateTime();
// The same date a year later (29 February becomes 28 February).
double IncYear(double date);

// A server listing's UTC time as a local date of two-second grain; 0 when the
// entry has no time or one outside the DOS range (1980 to 2107).
double ServerDateOf(const FILETIME& utc);
// A server that gives a time but no year is taken to mean the current year when
// that puts the date within 0.07 day of now; otherwise the date stands.
double CorrectServerYear(double date, double now);

// "dd-mmm-yy" + blanks + "hh.nn  " (English month names).
std::string FormatServerDate(double date, int blanks);
// "dd-mmm-yyyy hh.nn.ss".
std::string FormatLongDate(double date);

// Back to a fresh program.
void ResetServerDates();

}  // namespace quorrel
