#include "xvtools/sun_times.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <numbers>

#include "util/calendar.h"

namespace xvtools {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
// 90 degrees plus the refraction at the horizon (34') and the sun's semi-diameter (16').
constexpr double kZenith = 90.833;
constexpr double kSecondsPerDay = 86400.0;

std::int64_t daysSince1970(const util::CivilDate& date) {
  return util::daysFromCivil(date.year, date.month, date.day);
}

struct SolarPosition {
  double declination;     // radians
  double equationOfTime;  // minutes
};

// The sun at a moment given as a Julian day number.
SolarPosition solarPosition(double julianDay) {
  const double t = (julianDay - 2451545.0) / 36525.0;
  const double meanLongitude = std::fmod(280.46646 + t * (36000.76983 + t * 0.0003032), 360.0);
  const double meanAnomaly = 357.52911 + t * (35999.05029 - 0.0001537 * t);
  const double eccentricity = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
  const double m = meanAnomaly * kDegree;
  const double centre = std::sin(m) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
                        std::sin(2 * m) * (0.019993 - 0.000101 * t) + std::sin(3 * m) * 0.000289;
  const double omega = (125.04 - 1934.136 * t) * kDegree;
  const double apparentLongitude =
      (meanLongitude + centre - 0.00569 - 0.00478 * std::sin(omega)) * kDegree;
  const double meanObliquity =
      23.0 + (26.0 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60.0) / 60.0;
  const double obliquity = (meanObliquity + 0.00256 * std::cos(omega)) * kDegree;
  const double declination = std::asin(std::sin(obliquity) * std::sin(apparentLongitude));
  const double y = std::pow(std::tan(obliquity / 2), 2);
  const double l0 = meanLongitude * kDegree;
  const double e = eccentricity;
  const double eot = y * std::sin(2 * l0) - 2 * e * std::sin(m) +
                     4 * e * y * std::sin(m) * std::cos(2 * l0) - 0.5 * y * y * std::sin(4 * l0) -
                     1.25 * e * e * std::sin(2 * m);
  return {declination, 4.0 * eot / kDegree};
}

// Seconds from 00:00 UTC of the day whose midnight is julianMidnight; direction -1 for sunrise,
// +1 for sunset. Empty when the sun does not cross the horizon; alwaysUp then tells which way.
std::optional<double> event(const Site& site, double julianMidnight, int direction,
                            bool& alwaysUp) {
  double seconds = 43200.0 - site.longitude * 240.0;  // local noon, near enough to start
  for (int pass = 0; pass < 3; ++pass) {
    const SolarPosition sun = solarPosition(julianMidnight + seconds / kSecondsPerDay);
    const double lat = site.latitude * kDegree;
    const double cosHour =
        std::cos(kZenith * kDegree) / (std::cos(lat) * std::cos(sun.declination)) -
        std::tan(lat) * std::tan(sun.declination);
    if (cosHour < -1 || cosHour > 1) {
      alwaysUp = cosHour < -1;
      return std::nullopt;
    }
    const double hourAngle = std::acos(cosHour) / kDegree;
    const double noonMinutes = 720.0 - 4.0 * site.longitude - sun.equationOfTime;
    seconds = (noonMinutes + direction * 4.0 * hourAngle) * 60.0;
  }
  return seconds;
}

}  // namespace

SunEvents sunEvents(const Site& site, const util::CivilDate& date) {
  const double julianMidnight = static_cast<double>(daysSince1970(date)) + 2440587.5;
  SunEvents events;
  bool up = false;
  events.sunrise = event(site, julianMidnight, -1, up);
  events.sunset = event(site, julianMidnight, +1, up);
  if (!events.sunrise || !events.sunset) {
    events.sunrise.reset();
    events.sunset.reset();
    events.alwaysUp = up;
  }
  return events;
}

std::optional<util::CivilDate> dateInFileName(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  if (name.size() < 11 || name[name.size() - 11] != '-') return std::nullopt;
  return util::parseIsoDate(name.substr(name.size() - 10));
}

double utcToLocalClock(const util::CivilDate& date, double utcSeconds) {
  const std::int64_t day = daysSince1970(date);
  const double whole = std::floor(utcSeconds);
  const std::time_t moment =
      static_cast<std::time_t>(day * 86400 + static_cast<std::int64_t>(whole));
  std::tm local{};
  localtime_r(&moment, &local);
  const std::int64_t localDay =
      daysSince1970({local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                     static_cast<unsigned>(local.tm_mday)});
  return static_cast<double>((localDay - day) * 86400 + local.tm_hour * 3600 + local.tm_min * 60 +
                             local.tm_sec) +
         (utcSeconds - whole);
}

std::string formatClockMinutes(double seconds) {
  long minutes = std::lround(seconds / 60.0) % 1440;
  if (minutes < 0) minutes += 1440;
  char text[8];
  std::snprintf(text, sizeof text, "%02ld:%02ld", minutes / 60, minutes % 60);
  return text;
}

}  // namespace xvtools
