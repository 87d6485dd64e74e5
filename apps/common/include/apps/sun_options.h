// What both programs read to mark sunrise and sunset on a time line: the place (--site LAT,LON),
// the date (--date YYYY-MM-DD), times of day, and the refusals they print for them; and the
// marks themselves, each day's on its own day.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "util/calendar.h"
#include "xvtools/sun_times.h"

namespace apps {

// "LAT,LON" in degrees (north and east positive, spaces allowed around each); empty when it is
// not a place on Earth.
std::optional<xvtools::Site> parseSite(std::string_view text);

// An option's value read into out; the refusal ("--date 2026-02-30 is not a date YYYY-MM-DD")
// when it cannot be, else "". A clock is util::parseClock's "H:MM[:SS]", in seconds.
std::string readDateOption(std::string_view option, std::string_view text,
                           std::optional<util::CivilDate>& out);
std::string readClockOption(std::string_view option, std::string_view text,
                            std::optional<double>& out, bool endOfDay = false);

struct SunPlace {
  std::optional<xvtools::Site> site;    // empty: no sun marks
  std::optional<util::CivilDate> date;  // --date; empty: the inputs' own dates
};

// --site and --date (each "" when not given). inputsDated: whether the inputs date themselves
// (a date in a name, a SID file's days), which lets --site go without --date.
std::string readSunOptions(std::string_view site, std::string_view date, bool inputsDated,
                           SunPlace& out);

struct SunMark {
  double time = 0;   // seconds on the time line
  std::string text;  // "sunrise 07:38"
};

// The marks within [begin, end) of a time line whose 00:00 of day 0 is on day0, in time order.
// On a UTC clock they stand at UTC times; on a local one at the times of the time zone (TZ),
// each day's by its own offset. A day's events may stand on the day before or after it.
std::vector<SunMark> sunMarks(const xvtools::Site& site, const util::CivilDate& day0, double begin,
                              double end, bool utc);

}  // namespace apps
