// Sunrise and sunset for every day a day plot's time line covers, each on its own day.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "xvtools/sun_times.h"

namespace recorder::app {

struct SunMark {
  double time = 0;  // seconds on the time line
  std::string text;
};

// The marks within [begin, end) of a time line whose 00:00 of day 0 is on the date `day0` (a day
// number, days since 1899-12-30). On a UTC clock the marks stand at UTC times; on a local one at
// the times of the time zone (TZ), each day's by its own offset.
std::vector<SunMark> sunMarks(const xvtools::Site& site, std::int64_t day0, double begin,
                              double end, bool utc);

}  // namespace recorder::app
