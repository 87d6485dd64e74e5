// Sunrise and sunset against a published table (a high-precision ephemeris, upper limb on a
// sea-level horizon with standard refraction), the dates in names, and local clocks.
#include "xvtools/sun_times.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace xvtools {
namespace {

TEST(SunTimes, AgreeWithThePublishedTableWithinAMinute) {
  struct Row {
    const char* place;
    double lat, lon;
    util::CivilDate date;
    double rise, set;  // seconds from 00:00 UTC of the date
  };
  auto hms = [](int day, int h, int m, int s) { return day * 86400.0 + h * 3600 + m * 60 + s; };
  for (const Row& r : std::vector<Row>{
           {"Paris", 48.8566, 2.3522, {2026, 1, 15}, hms(0, 7, 38, 44), hms(0, 16, 21, 36)},
           {"Paris", 48.8566, 2.3522, {2026, 7, 4}, hms(0, 3, 53, 11), hms(0, 19, 56, 30)},
           {"New York", 40.7128, -74.006, {2026, 7, 4}, hms(0, 9, 30, 16), hms(1, 0, 30, 28)},
           {"Tokyo", 35.6762, 139.6503, {2026, 1, 15}, hms(-1, 21, 50, 36), hms(0, 7, 50, 58)},
           {"Buenos Aires",
            -34.6037,
            -58.3816,
            {2026, 12, 7},
            hms(0, 8, 33, 28),
            hms(0, 22, 56, 49)},
           {"Reykjavik", 64.1466, -21.9426, {2026, 4, 10}, hms(0, 6, 13, 53), hms(0, 20, 46, 9)},
           {"Nairobi", -1.2921, 36.8219, {2026, 10, 31}, hms(0, 3, 11, 36), hms(0, 15, 21, 3)},
       }) {
    const SunEvents sun = sunEvents({r.lat, r.lon}, r.date);
    ASSERT_TRUE(sun.sunrise && sun.sunset) << r.place;
    EXPECT_NEAR(*sun.sunrise, r.rise, 60) << r.place << " " << r.date.month;
    EXPECT_NEAR(*sun.sunset, r.set, 60) << r.place << " " << r.date.month;
  }
  // Beyond the polar circles the sun neither rises nor sets for days.
  EXPECT_TRUE(sunEvents({78.2, 15.6}, {2026, 6, 21}).alwaysUp);
  const SunEvents night = sunEvents({78.2, 15.6}, {2026, 12, 21});
  EXPECT_FALSE(night.alwaysUp || night.sunrise || night.sunset);
}

TEST(SunTimes, DatedNamesAndLocalClocks) {
  EXPECT_EQ(dateInFileName("/var/log/Zelk-2026-12-07.log"), (util::CivilDate{2026, 12, 7}));
  EXPECT_EQ(dateInFileName("night-2026-03-01"), (util::CivilDate{2026, 3, 1}));
  EXPECT_FALSE(dateInFileName("Zelk.log"));
  // In Paris's zone, 07:38 UTC on a winter day is 08:38 local, 22:30 UTC in summer 00:30 the
  // day after.
  ::setenv("TZ", "Europe/Paris", 1);
  ::tzset();
  EXPECT_DOUBLE_EQ(utcToLocalClock({2026, 1, 15}, 7 * 3600 + 38 * 60), 8 * 3600 + 38 * 60);
  EXPECT_DOUBLE_EQ(utcToLocalClock({2026, 7, 4}, 22.5 * 3600), 24.5 * 3600);
  ::unsetenv("TZ");
  ::tzset();
}

}  // namespace
}  // namespace xvtools
