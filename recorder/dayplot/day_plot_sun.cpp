#include "day_plot_sun.h"

#include <algorithm>
#include <cmath>

#include "recorder/log_rotation.h"
#include "recorder/ole_date.h"

namespace recorder::app {

std::vector<SunMark> sunMarks(const xvtools::Site& site, std::int64_t day0, double begin,
                              double end, bool utc) {
  std::vector<SunMark> marks;
  if (!(end > begin)) return marks;
  constexpr double kDay = static_cast<double>(kSecondsPerDay);
  // A day's events can stand on the day before or after it (far east or west of Greenwich).
  const auto firstDay = static_cast<std::int64_t>(std::floor(begin / kDay)) - 1;
  const auto lastDay = static_cast<std::int64_t>(std::floor(end / kDay)) + 1;
  for (std::int64_t d = firstDay; d <= lastDay; ++d) {
    const auto date = xvtools::parseCivilDate(formatIsoDay(day0 + d));
    if (!date) continue;
    const xvtools::SunEvents sun = xvtools::sunEvents(site, *date);
    if (!sun.sunrise || !sun.sunset) continue;
    for (auto [utcSeconds, name] :
         {std::pair{*sun.sunrise, "sunrise"}, std::pair{*sun.sunset, "sunset"}}) {
      const double t = static_cast<double>(d) * kDay +
                       (utc ? utcSeconds : xvtools::utcToLocalClock(*date, utcSeconds));
      if (t < begin || t >= end) continue;
      marks.push_back({t, std::string(name) + " " + xvtools::formatClockMinutes(t)});
    }
  }
  std::sort(marks.begin(), marks.end(),
            [](const SunMark& a, const SunMark& b) { return a.time < b.time; });
  return marks;
}

}  // namespace recorder::app
