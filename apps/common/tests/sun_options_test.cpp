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
    double value = 0;       // seconds of a clock, days since 1970 of a date, a site's latitude
    std::string date = "";  // with --site: --date
    bool dated = false;     // with --site: the inputs' names date them
    std::string said = "";  // the refusal, "" when read; "-": the option's usual refusal
  };
  std::vector<Case> cases = {
      {"--from", "07:38", 27480},
      {"--from", "7:08:09", 25689},
      {"--from", "7:5", 25500},
      {"--from", "23:59:59", 86399},
      {"--to", "24:00", 86400},
      {"--to", "24:00:00", 86400},
      {"--to", "24:01", 0, "", false, "-"},
      {"--start-date", "2024-02-29", 19782},
      {"--start-date", "0001-01-01", -719162},
      {"--start-date", "9999-12-31", 2932896},
      {"--site", "", 0, "", false, ""},
      {"--site", " 48.85, -2.5 ", 48.85, "2026-01-15", false, ""},
      {"--site", "-90,180", -90, "", true, ""},
      {"--site", "48.8,2.3", 0, "", false,
       "--site needs --date YYYY-MM-DD (no input's name carries a date)"},
      {"--site", "", 0, "2026-01-15", false,
       "--date only places the sun marks: give --site LAT,LON with it"},
      {"--site", "48.8,2.3", 0, "2026-02-30", false, "--date 2026-02-30 is not a date YYYY-MM-DD"},
  };
  for (const char* bad : {"24:00", "12:60", "12:00:60", " 12:00", "12:00 ", "+1:00", "-1:00", "12",
                          "12:", "12:00:", "12:00:00:00", "123:00", "1:234", "", "noon"})
    cases.push_back({"--from", bad, 0, "", false, "-"});
  for (const char* bad : {"2026-02-29", "2026-13-01", "2026-00-10", "2026-01-00", "0000-01-01",
                          "2026-1-01", "2026-01-01x", "2026/01/01", "+026-01-01", "2026--1-01", ""})
    cases.push_back({"--start-date", bad, 0, "", false, "-"});
  for (const char* bad : {"91,0", "0,181", "48.8", "a,b", "1,2,3", "nan,0", "48.8;2.3", "48.8,"})
    cases.push_back({"--site", bad, 0, "", true, "-"});
  for (Case& c : cases) {
    SCOPED_TRACE(c.option + " '" + c.text + "'");
    if (c.said == "-") {
      c.said = c.option + " " + c.text +
               (c.option == "--site"         ? " is not LAT,LON in degrees"
                : c.option == "--start-date" ? " is not a date YYYY-MM-DD"
                                             : " is not a time of day HH:MM[:SS]");
    }
    std::string said;
    std::optional<double> value;
    if (c.option == "--site") {
      SunPlace place;
      said = readSunOptions(c.text, c.date, c.dated, place);
      if (said.empty()) {
        value = place.site ? place.site->latitude : 0;
        EXPECT_EQ(place.date, util::parseIsoDate(c.date));
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
