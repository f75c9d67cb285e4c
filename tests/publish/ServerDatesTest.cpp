// Server dates: the comparison with local dates, the conversions and the year
// correction.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "publish/Connection.h"
#include "publish/ServerDates.h"
#include "shell/FileRoutines.h"
#include "support/OpenDocuments.h"
#include "support/TimeZone.h"

namespace quorrel {
namespace {

double At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return EncodeDateTime(year, month, day, hour, minute, second);
}

TEST(CompareServerDateTest, TheIconFollowsTheDifference) {
  struct Case {
    std::string what;
    double server;
    double local;
    int icon;
  } cases[] = {
      {"an hour apart counts as none", At(2025, 6, 5, 10), At(2025, 6, 5, 11), SameDateIcon},
      {"an hour the other way", At(2025, 6, 5, 11), At(2025, 6, 5, 10), SameDateIcon},
      {"two minutes local newer", At(2025, 6, 5, 10), At(2025, 6, 5, 10, 2), LocalNewerIcon},
      {"two minutes server newer", At(2025, 6, 5, 10, 2), At(2025, 6, 5, 10), ServerNewerIcon},
      {"one minute is the same", At(2025, 6, 5, 10, 1), At(2025, 6, 5, 10), SameDateIcon},
      {"an hour and three minutes", At(2025, 6, 5, 11, 3), At(2025, 6, 5, 10), ServerNewerIcon},
      {"fifty-five minutes", At(2025, 6, 5, 10, 55), At(2025, 6, 5, 10), ServerNewerIcon},
      {"a server day against a time that day", At(2025, 6, 5), At(2025, 6, 5, 15), SameDateIcon},
      {"a server day against the day before", At(2025, 6, 5), At(2025, 6, 4, 23, 59),
       ServerNewerIcon},
      {"a server day against the day after", At(2025, 6, 5), At(2025, 6, 6, 0, 1), LocalNewerIcon},
      {"no local file", At(2025, 6, 5, 10), 0, NotOnLocalIcon},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareServerDate(c.server, c.local, ' '), c.icon) << c.what;
    EXPECT_EQ(CompareServerDate(c.server, c.local, 'S'), c.icon) << c.what;
    // Validating and archiving compare nothing.
    EXPECT_EQ(CompareServerDate(c.server, c.local, 'V'), NotOnServerIcon) << c.what;
    EXPECT_EQ(CompareServerDate(c.server, c.local, 'A'), NotOnServerIcon) << c.what;
  }
}

TEST(CompareServerDateTest, TheStateFormComparesTheLastMeasuredFiles) {
  ServerFileDate = At(2025, 6, 5, 10);
  LocalFileDate = 0;
  BulkRunMode = ' ';
  EXPECT_EQ(CompareServerDate(), NotOnLocalIcon);
  LocalFileDate = DateTimeToUnix(At(2025, 6, 5, 9));
  EXPECT_EQ(CompareServerDate(), SameDateIcon);
  LocalFileDate = DateTimeToUnix(At(2025, 6, 4, 9));
  EXPECT_EQ(CompareServerDate(), ServerNewerIcon);
  BulkRunMode = 'V';
  EXPECT_EQ(CompareServerDate(), NotOnServerIcon);
}

TEST(ServerDateConversionTest, DatesCountDaysFromTheEndOf1899) {
  EXPECT_EQ(At(1899, 12, 30), 0);
  EXPECT_EQ(At(1970, 1, 1), 25569);
  EXPECT_EQ(At(2000, 3, 1, 12), 36586.5);
  int y, mo, d, h, mi, s;
  DecodeDateTime(At(2024, 2, 29, 23, 59, 59), y, mo, d, h, mi, s);
  EXPECT_EQ((std::vector<int>{y, mo, d, h, mi, s}), (std::vector<int>{2024, 2, 29, 23, 59, 59}));
  EXPECT_EQ(IncYear(At(2024, 2, 29, 8)), At(2025, 2, 28, 8));
  EXPECT_EQ(IncYear(At(2023, 7, 1, 8)), At(2024, 7, 1, 8));
  EXPECT_EQ(FormatServerDate(At(2026, 6, 5, 14, 7, 9), 2), "05-Jun-26  14.07  ");
  EXPECT_EQ(FormatServerDate(At(2026, 12, 10, 9, 5), 3), "10-Dec-26   09.05  ");
  EXPECT_EQ(FormatLongDate(At(2026, 6, 5, 14, 7, 9)), "05-Jun-2026 14.07.09");
}

using test::TimeZone;

TEST(ServerDateConversionTest, ServerTimesBecomeLocalTimesOfTwoSecondGrain) {
  const int64_t moment = 1709634031;  // 5 March 2024 10:20:31 UTC
  struct Case {
    const char* zone;
    double local;
  } cases[] = {{"UTC", At(2024, 3, 5, 10, 20, 30)},
               {"CET-1", At(2024, 3, 5, 11, 20, 30)},
               {"EST5", At(2024, 3, 5, 5, 20, 30)}};
  for (const Case& c : cases) {
    TimeZone zone(c.zone);
    EXPECT_EQ(ServerDateOf(UnixTimeToFileTime(moment)), c.local) << c.zone;
    EXPECT_EQ(UnixToDateTime(moment - 1), c.local) << c.zone;
    EXPECT_EQ(DateTimeToUnix(c.local), moment - 1) << c.zone;
  }
  TimeZone zone("UTC");
  EXPECT_EQ(ServerDateOf(FILETIME{}), 0);                      // no time
  EXPECT_EQ(ServerDateOf(UnixTimeToFileTime(157766400)), 0);   // 1975
  EXPECT_EQ(ServerDateOf(UnixTimeToFileTime(4354819200)), 0);  // 2108
  EXPECT_EQ(UnixToDateTime(0), 0);
  EXPECT_EQ(DateTimeToUnix(0), 0);
}

TEST(ServerDateConversionTest, LastYearsDateCloseToNowIsTakenAsThisYears) {
  const double now = At(2026, 1, 1, 0, 30);
  struct Case {
    std::string what;
    double date;
    double result;
  } cases[] = {
      {"20 minutes before now", At(2025, 1, 1, 0, 10), At(2026, 1, 1, 0, 10)},
      {"100 minutes before now", At(2024, 12, 31, 22, 50), At(2025, 12, 31, 22, 50)},
      {"an hour after now", At(2025, 1, 1, 1, 30), At(2026, 1, 1, 1, 30)},
      {"102 minutes before now", At(2024, 12, 31, 22, 48), At(2024, 12, 31, 22, 48)},
      {"last year, far from now", At(2025, 6, 1, 12), At(2025, 6, 1, 12)},
      {"this year", At(2026, 1, 1, 0, 10), At(2026, 1, 1, 0, 10)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CorrectServerYear(c.date, now), c.result) << c.what;
  }
}

TEST(ServerDateConversionTest, ForgettingTheTabsDatesMakesThemAllUnknown) {
  for (int slot = 0; slot < MaxTabs; ++slot) test::RecordOfSlot(slot).ServerFileDate = 45000;
  ForgetServerFileDates();
  for (const TDocument& document : Documents) EXPECT_EQ(document.ServerFileDate, ServerDateUnknown);
  EXPECT_EQ(Documents.size(), 40u);
}

}  // namespace
}  // namespace quorrel
