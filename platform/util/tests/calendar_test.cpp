#include "util/calendar.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace util {
namespace {

// Day counts worked out by hand from the 400-year cycle, around leap days, the turns of
// centuries and far beyond the years the standard library's calendar holds.
TEST(Calendar, CountsDaysAndKnowsLeapDaysInEveryYear) {
  struct Case {
    std::int64_t year;
    unsigned month, day;
    bool valid;
    std::int64_t days;  // from 1970-01-01; for an invalid date, of the day it runs on to
  };
  const Case cases[] = {
      {1970, 1, 1, true, 0},
      {2000, 2, 29, true, 11016},  // divisible by 400: a leap year
      {2000, 3, 1, true, 11017},
      {1900, 2, 28, true, -25509},
      {1900, 2, 29, false, -25508},  // divisible by 100 only: none
      {2024, 2, 29, true, 19782},
      {2023, 2, 29, false, 19417},  // runs on to March 1st
      {2024, 4, 31, false, 19844},
      {1899, 12, 30, true, -25569},
      {100, 1, 1, true, -683003},
      {9999, 12, 31, true, 2932896},
      {0, 2, 29, true, -719469},
      {-1, 12, 31, true, -719529},
      {32768, 2, 29, true, 11248797},
      {-40000, 3, 1, true, -15329168},
      {1000000000, 12, 31, true, 365241780837},
      {-1000000000, 2, 29, true, -365243219469},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << '-' << c.month << '-' << c.day);
    EXPECT_EQ(isCalendarDate(c.year, c.month, c.day), c.valid);
    EXPECT_EQ(daysFromCivil(c.year, c.month, c.day), c.days);
    if (c.valid) {
      const CivilDate back = civilFromDays(c.days);
      EXPECT_EQ(back.year, c.year);
      EXPECT_EQ(back.month, c.month);
      EXPECT_EQ(back.day, c.day);
    }
  }
  // Months and days out of range, some of which a byte would wrap into range.
  for (const auto& [month, day] : {std::pair{13u, 1u}, std::pair{0u, 1u}, std::pair{1u, 0u},
                                   std::pair{1u, 32u}, std::pair{1u, 257u}, std::pair{257u, 1u}})
    EXPECT_FALSE(isCalendarDate(2024, month, day)) << month << ' ' << day;
}

}  // namespace
}  // namespace util
