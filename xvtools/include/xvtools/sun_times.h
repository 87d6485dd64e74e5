// Sunrise and sunset for a place and a date, computed offline from the usual low-precision solar
// formulas (mean longitude and anomaly, equation of centre, obliquity, equation of time): the
// moment the upper limb meets a sea-level horizon with 34 arc-minutes of refraction, good to
// about a minute at mid latitudes. Each event is evaluated at its own moment (two refinements),
// so the declination used is the one of that time of day.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "util/calendar.h"

namespace xvtools {

struct Site {
  double latitude = 0;   // degrees, north positive
  double longitude = 0;  // degrees, east positive
};

// Seconds from 00:00 UTC of the date; sunrise may be negative and sunset past 86400 (east and
// west of Greenwich the local day straddles the UTC one). Empty during polar day or night.
struct SunEvents {
  std::optional<double> sunrise;
  std::optional<double> sunset;
  bool alwaysUp = false;  // polar day: the sun does not set
};

SunEvents sunEvents(const Site& site, const util::CivilDate& date);

// The date a rotated log's name carries: "...-YYYY-MM-DD" before the extension, or at the end.
std::optional<util::CivilDate> dateInFileName(std::string_view path);

// A moment given in seconds from 00:00 UTC of date, as seconds from 00:00 local time of the same
// date in the process's time zone (TZ); negative or past 86400 when it falls on another day.
double utcToLocalClock(const util::CivilDate& date, double utcSeconds);

// "HH:MM" of seconds into a day, wrapped into 0..24 h.
std::string formatClockMinutes(double seconds);

}  // namespace xvtools
