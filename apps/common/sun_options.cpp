#include "apps/sun_options.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace apps {

std::optional<xvtools::Site> parseSite(std::string_view text) {
  const std::string s(text);
  double lat = 0, lon = 0;
  int used = 0;
  if (std::sscanf(s.c_str(), " %lf , %lf %n", &lat, &lon, &used) != 2 ||
      used != static_cast<int>(s.size())) {
    return std::nullopt;
  }
  if (!std::isfinite(lat) || !std::isfinite(lon) || std::fabs(lat) > 90 || std::fabs(lon) > 180)
    return std::nullopt;
  return xvtools::Site{lat, lon};
}

std::string readDateOption(std::string_view option, std::string_view text,
                           std::optional<util::CivilDate>& out) {
  out = util::parseIsoDate(text);
  if (out) return {};
  return std::string(option) + " " + std::string(text) + " is not a date YYYY-MM-DD";
}

std::string readClockOption(std::string_view option, std::string_view text,
                            std::optional<double>& out, bool endOfDay) {
  out.reset();
  if (const auto seconds = util::parseClock(text, endOfDay)) {
    out = *seconds;
    return {};
  }
  return std::string(option) + " " + std::string(text) + " is not a time of day HH:MM[:SS]";
}

std::string readSunOptions(std::string_view site, std::string_view date, bool inputsDated,
                           SunPlace& out) {
  out = {};
  if (site.empty()) {
    if (date.empty()) return {};
    return "--date only places the sun marks: give --site LAT,LON with it";
  }
  out.site = parseSite(site);
  if (!out.site) return "--site " + std::string(site) + " is not LAT,LON in degrees";
  if (!date.empty()) return readDateOption("--date", date, out.date);
  if (!inputsDated) return "--site needs --date YYYY-MM-DD (no input's name carries a date)";
  return {};
}

std::vector<SunMark> sunMarks(const xvtools::Site& site, const util::CivilDate& day0, double begin,
                              double end, bool utc) {
  std::vector<SunMark> marks;
  if (!(end > begin)) return marks;
  constexpr double kDay = 86400.0;
  const std::int64_t first = util::daysFromCivil(day0.year, day0.month, day0.day);
  const auto firstDay = static_cast<std::int64_t>(std::floor(begin / kDay)) - 1;
  const auto lastDay = static_cast<std::int64_t>(std::floor(end / kDay)) + 1;
  for (std::int64_t d = firstDay; d <= lastDay; ++d) {
    const util::CivilDate date = util::civilFromDays(first + d);
    const xvtools::SunEvents sun = xvtools::sunEvents(site, date);
    if (!sun.sunrise || !sun.sunset) continue;
    for (auto [utcSeconds, name] :
         {std::pair{*sun.sunrise, "sunrise"}, std::pair{*sun.sunset, "sunset"}}) {
      const double t = static_cast<double>(d) * kDay +
                       (utc ? utcSeconds : xvtools::utcToLocalClock(date, utcSeconds));
      if (t < begin || t >= end) continue;
      marks.push_back({t, std::string(name) + " " + xvtools::formatClockMinutes(t)});
    }
  }
  std::sort(marks.begin(), marks.end(),
            [](const SunMark& a, const SunMark& b) { return a.time < b.time; });
  return marks;
}

}  // namespace apps
