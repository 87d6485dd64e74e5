// The texts both programs read for sun marks and times of day: each accepted with what it
// means, or refused with the line the user is shown.
#include "apps/sun_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace apps {
namespace {

TEST(SunOptions, AcceptedOrRefusedWithTheirMessages) {
  struct Case {
    std::string option = "", text = "";
    std::string said = "";  // the refusal; "" when the text is read
    double value = 0;       // seconds of a clock, days since 1970 of a date, a site's latitude
    std::string date = "";  // with --site: --date
    bool dated = false;     // with --site: the inputs' names date them
  };
  const auto notClock = [](const std::string& o, const std::string& t) {
    return o + " " + t + " is not a time of day HH:MM[:SS]";
  };
  const auto notDate = [](const std::string& o, const std::string& t) {
    return o + " " + t + " is not a date YYYY-MM-DD";
  };
  std::vector<Case> cases = {
      {"--from", "07:38", "", 27480},  {"--from", "7:08:09", "", 25689},
      {"--from", "0:00", "", 0},       {"--from", "23:59:59", "", 86399},
      {"--to", "24:00", "", 86400},  // a span may end at midnight
      {"--to", "24:00:00", "", 86400}, {"--to", "24:01", notClock("--to", "24:01")},
      {"--from", "7:5", "", 25500},
  };
  for (const char* bad :
       {"24:00", "12:60", "12:00:60", "25:00", " 12:00", "12:00 ", "+1:00", "-1:00", "12",
        "12:", "12:00:", "12:00:00:00", "123:00", "1:234", "", "noon", "１2:00"})
    cases.push_back({"--from", bad, notClock("--from", bad)});
  cases.push_back({"--start-date", "2024-02-29", "", 19782});
  cases.push_back({"--start-date", "0001-01-01", "", -719162});
  cases.push_back({"--start-date", "9999-12-31", "", 2932896});
  for (const char* bad :
       {"2026-02-29", "2026-13-01", "2026-00-10", "2026-01-00", "0000-01-01", "2026-1-01",
        "26-01-01", "2026-01-01x", "2026/01/01", "+026-01-01", "2026--1-01", "2026-01-1 ", ""})
    cases.push_back({"--start-date", bad, notDate("--start-date", bad)});
  // The place and the day of the sun marks, from both options and the inputs' names.
  const std::vector<Case> sites = {
      {"--site", "", "", 0},
      {"--site", " 48.85, -2.5 ", "", 48.85, "2026-01-15"},
      {"--site", "-90,180", "", -90, "", true},
      {"--site", "48.8,2.3", "--site needs --date YYYY-MM-DD (no input's name carries a date)"},
      {"--site", "", "--date only places the sun marks: give --site LAT,LON with it", 0,
       "2026-01-15"},
      {"--site", "48.8,2.3", notDate("--date", "2026-02-30"), 0, "2026-02-30"},
  };
  cases.insert(cases.end(), sites.begin(), sites.end());
  for (const char* bad : {"91,0", "0,181", "48.8", "a,b", "1,2,3", "nan,0", "48.8;2.3", "48.8,"}) {
    cases.push_back(
        {"--site", bad, "--site " + std::string(bad) + " is not LAT,LON in degrees", 0, "", true});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option + " '" + c.text + "'");
    std::string said;
    std::optional<double> value;
    if (c.option == "--site") {
      SunPlace place;
      said = readSunOptions(c.text, c.date, c.dated, place);
      if (said.empty() && place.site) {
        value = place.site->latitude;
        EXPECT_EQ(place.date, util::parseIsoDate(c.date));
      } else if (said.empty()) {
        value = 0;
      }
    } else if (c.option == "--start-date") {
      std::optional<util::CivilDate> date;
      said = readDateOption(c.option, c.text, date);
      if (date)
        value = static_cast<double>(util::daysFromCivil(date->year, date->month, date->day));
    } else {
      said = readClockOption(c.option, c.text, value, c.option == "--to");
    }
    EXPECT_EQ(said, c.said);
    EXPECT_EQ(value.has_value(), c.said.empty());
    if (value && c.said.empty()) {
      EXPECT_DOUBLE_EQ(*value, c.value);
    }
  }
}

}  // namespace
}  // namespace apps
