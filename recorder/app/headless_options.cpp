#include "headless_options.h"

#include <cstdlib>
#include <utility>

#include "apps/sun_options.h"
#include "recorder/log_rotation.h"
#include "recorder/ole_date.h"

namespace recorder::app {

std::string usageText() {
  return "Usage: zelkchart [--headless [options]] [--help] [--version]\n"
         "       zelkchart --export-csv LOG [--date YYYY-MM-DD]\n"
         "       zelkchart --list-devices\n"
         "       zelkchart --plot LOG... --image FILE.png|FILE.bmp [--from HH:MM] [--to HH:MM]\n"
         "                 [--size WxH] [--site LAT,LON] [--date YYYY-MM-DD]\n"
         "                 [--clock utc|local]\n"
         "\n"
         "Without --headless the recorder opens its window.\n"
         "\n"
         "Headless options:\n"
         "  --input default|device:NAME|FILE.wav|synthetic[:SEED]|synthetic:vlf[:SEED]\n"
         "                        audio to record (default: synthetic; synthetic:vlf is a\n"
         "                        96 kHz VLF signal with four keyed transmitters)\n"
         "  --seconds N           record (or play back) N seconds, then stop;\n"
         "                        default: until the input or the playback ends, or Ctrl-C\n"
         "  --log FILE            write the log of the recording to FILE\n"
         "  --image FILE.png|FILE.bmp\n"
         "                        write the chart's picture at the end\n"
         "  --playback FILE       play a log back instead of recording\n"
         "  --start-time HH:MM:SS|now|utc\n"
         "                        the clock's start, as typed for the Time button, or the\n"
         "                        system clock's local or UTC time\n"
         "  --start-date YYYY-MM-DD\n"
         "                        the date on which the recording starts, for the names of\n"
         "                        rotated logs (default: today, UTC with --start-time utc)\n"
         "  --rotate daily        a new log NAME-YYYY-MM-DD.EXT each time the clock passes\n"
         "                        midnight; the first keeps the name given\n"
         "  --sync                ask the disk to keep the log's records once a second\n"
         "                        (and each line of the SID files)\n"
         "  --image-every N       rewrite the image every N seconds of signal\n"
         "  --image-labels        put the clock's time labels under the chart in the image\n"
         "  --realtime            run at the input's pace (default: as fast as possible,\n"
         "                        the clock ticking once per 8000 samples)\n"
         "  --print FILE.pdf      print the chart at the end on a printer that writes\n"
         "                        FILE.pdf (a headless run has no window: only the chart)\n"
         "  --serve [ADDR:]PORT   serve a read-only web view of the run over HTTP (also in\n"
         "                        the window): / the live chart and status, /chart.png,\n"
         "                        /status.json, /logs/ the logs this run wrote, /logs/NAME,\n"
         "                        /logs/NAME.csv, /logs/NAME.png, /day.png the day plot\n"
         "                        of the log being written; ADDR defaults to\n"
         "                        127.0.0.1 (this machine only); port 0 picks a free one\n"
         "  --serve-name NAME     a host name the web view is reached by besides its\n"
         "                        address (requests naming others are refused); repeatable\n"
         "  --station CALL:FREQ[:WIDTH]\n"
         "                        record a VLF transmitter: the mean power in WIDTH Hz\n"
         "                        (default 300) around FREQ Hz, from the input at its own\n"
         "                        rate; repeatable, up to 8 stations\n"
         "  --stations FILE       stations from FILE, one CALL FREQ [WIDTH] a line\n"
         "  --interval S          seconds per station reading (default 5)\n"
         "  --rate HZ             a sound card's rate for stations (default 96000, else 48000)\n"
         "  --sid-dir DIR         write SID files DIR/SITE_CALL_YYYY-MM-DD.csv, one per\n"
         "                        station and UTC day, appended to after a restart\n"
         "  --site-name NAME      the site in the SID files (default: the host's name);\n"
         "                        --site LAT,LON gives its position\n"
         "  --help, --version\n"
         "\n"
         "Other commands:\n"
         "  --export-csv LOG      write the log's points as time,level lines to standard\n"
         "                        output; --date gives the date of its first day (default:\n"
         "                        the date in the log's name, else the date of the file's\n"
         "                        last change, for its last day, said on standard error)\n"
         "  --list-devices        list the audio capture devices\n"
         "  --plot LOG...         draw the logs' points against their clock times into\n"
         "                        --image, overlaid by time of day with a legend; the\n"
         "                        files of one rotation draw as one recording; damaged\n"
         "                        records and unreadable logs are named and skipped\n"
         "                        (SID files: each station in dB, times in UTC)\n"
         "  --from HH:MM, --to HH:MM\n"
         "                        the span of the day plot (default: what the logs cover)\n"
         "  --size WxH            the day plot's size in pixels (default 1200x400)\n"
         "  --db                  draw the logs' levels in dB, 10 log10 of each (the\n"
         "                        default for SID files); levels of 0 are left out\n"
         "  --site LAT,LON        mark sunrise and sunset on the day plot for each day it\n"
         "                        covers, from the --date of the first log's first day or\n"
         "                        the dates in the logs' names\n"
         "  --clock utc|local     what the logs' clock keeps, for the sun marks (default\n"
         "                        local: the time zone of TZ)\n";
}

namespace {

using apps::Option;
using apps::Runs;

std::string readDay(const std::string& option, const std::string& text,
                    std::optional<std::int64_t>& day) {
  std::optional<util::CivilDate> date;
  std::string why = apps::readDateOption(option, text, date);
  day = date ? std::optional(dayOfDate(*date)) : std::nullopt;
  return why;
}

std::vector<Option> optionTable(HeadlessOptions& o) {
  std::vector<Option> table = {
      apps::headlessOption(o),
      apps::inputOption(o),
      apps::secondsOption(o, Runs::Any),
      apps::imageOption(o),
      apps::printOption(o),
      apps::switchOption("--realtime", Runs::HeadlessOnly, o.realtime),
      apps::textOption("--log", "--log needs a file name", Runs::HeadlessOnly, o.logPath),
      apps::textOption("--playback", "--playback needs a file name", Runs::HeadlessOnly,
                       o.playbackPath),
      {"--start-time", "--start-time needs a time", Runs::HeadlessOnly,
       [&o](const std::string& text) {
         if (text != "now" && text != "utc" && !parseTimeOfDay(text))
           return "--start-time " + text + " is not a time of day (HH:MM:SS), now or utc";
         o.startTime = text;
         return std::string();
       }},
      {"--start-date", "--start-date needs a date", Runs::HeadlessOnly,
       [&o](const std::string& text) { return readDay("--start-date", text, o.startDay); }},
      {"--date", "--date needs a date", Runs::Any,
       [&o](const std::string& text) {
         o.dateText = text;
         return readDay("--date", text, o.csvDay);
       }},
      // A day plot is a run without a window: what it writes is an image, as in headless runs.
      {"--plot", "", Runs::Any,
       [&o](const std::string&) {
         o.plot = true;
         o.headless = true;
         return std::string();
       }},
      apps::textOption("--from", "--from needs a time (HH:MM)", Runs::Any, o.plotFrom),
      apps::textOption("--to", "--to needs a time (HH:MM)", Runs::Any, o.plotTo),
      apps::textOption("--size", "--size needs WxH", Runs::Any, o.plotSize),
      apps::switchOption("--db", Runs::Any, o.plotDb),
      apps::textOption("--site", "--site needs LAT,LON", Runs::Any, o.site),
      apps::textOption("--clock", "--clock needs utc or local", Runs::Any, o.plotClock),
      {"--rotate", "--rotate takes daily", Runs::HeadlessOnly,
       [&o](const std::string& text) {
         if (text != "daily") return std::string("--rotate takes daily");
         o.rotateDaily = true;
         return std::string();
       }},
      apps::switchOption("--sync", Runs::HeadlessOnly, o.sync),
      {"--image-every", "--image-every needs a number of seconds", Runs::HeadlessOnly,
       [&o](const std::string& text) {
         char* end = nullptr;
         const long n = std::strtol(text.c_str(), &end, 10);
         if (end == text.c_str() || *end != '\0' || n < 1 || n > 86400)
           return "--image-every " + text + " is not a whole number of seconds from 1 to 86400";
         o.imageEvery = static_cast<int>(n);
         return std::string();
       }},
      apps::switchOption("--image-labels", Runs::HeadlessOnly, o.imageLabels),
      apps::switchOption("--list-devices", Runs::Any, o.listDevices),
      apps::textOption("--export-csv", "--export-csv needs a log file", Runs::Any, o.exportCsvPath),
      {"--serve", "--serve needs [ADDR:]PORT", Runs::Any,
       [&o](const std::string& text) {
         o.serve = web::parseServeAddress(text);
         if (!o.serve) return "--serve " + text + " is not [ADDR:]PORT with a port from 0 to 65535";
         return std::string();
       }},
      {"--serve-name", "--serve-name needs a host name", Runs::Any,
       [&o](const std::string& text) {
         if (text.empty() || text.find_first_of(" \t/@") != std::string::npos)
           return "--serve-name " + text + " is not a host name";
         o.serveNames.push_back(text);
         return std::string();
       }},
      apps::switchOption("--start", Runs::WindowOnly, o.start),
      apps::textOption("--screenshot", "--screenshot needs a file name", Runs::WindowOnly,
                       o.screenshotPath),
  };
  for (auto& option : stationOptionTable(o.stations)) table.push_back(std::move(option));
  return table;
}

}  // namespace

ParseResult parseCommandLine(const std::vector<std::string>& args) {
  ParseResult result;
  HeadlessOptions& o = result.options;
  std::vector<std::string> operands;
  static_cast<apps::ParsedLine&>(result) = apps::parseOptions(args, o, optionTable(o), &operands);
  auto fail = [&result](std::string text) {
    result.error = std::move(text);
    return result;
  };
  if (!result.error.empty() || o.help || o.version) return result;
  if (o.plot) {
    if (operands.empty()) return fail("--plot needs at least one log");
    if (o.imagePath.empty()) return fail("--plot needs --image FILE.png");
    if (!o.logPath.empty() || !o.playbackPath.empty() || !o.printPath.empty() || o.realtime ||
        o.serve) {
      return fail(
          "--plot draws logs into --image only: no --log, --playback, --print, --realtime or "
          "--serve");
    }
    if (o.stations.any() || !o.stations.sidDir.empty())
      return fail("--plot draws files: no --station, --stations or --sid-dir");
    o.plotLogs = std::move(operands);
    return result;
  }
  if (!operands.empty()) return fail("unknown option " + operands.front());
  if (auto problem = stationOptionsProblem(o.stations, o.site, !o.playbackPath.empty());
      !problem.empty()) {
    result.tryHelp = false;
    return fail(std::move(problem));
  }
  if (o.plotDb) return fail("--db needs --plot");
  for (const auto& [value, name] : {std::pair{&o.plotFrom, "--from"},
                                    {&o.plotTo, "--to"},
                                    {&o.plotSize, "--size"},
                                    {&o.site, "--site"},
                                    {&o.plotClock, "--clock"}}) {
    if (!value->empty() && !(value == &o.site && o.stations.any())) {
      return fail(std::string(name) + " needs --plot");
    }
  }
  if (o.headless && !o.playbackPath.empty() && !o.logPath.empty()) {
    return fail("--log and --playback exclude each other: a playback writes no log");
  }
  if ((o.rotateDaily || (o.sync && o.stations.sidDir.empty())) && o.logPath.empty()) {
    return fail(std::string(o.rotateDaily ? "--rotate" : "--sync") + " needs --log");
  }
  if ((o.imageEvery > 0 || o.imageLabels) && o.imagePath.empty()) {
    return fail(std::string(o.imageEvery > 0 ? "--image-every" : "--image-labels") +
                " needs --image");
  }
  if (!o.serveNames.empty() && !o.serve) return fail("--serve-name needs --serve");
  if (o.serve) o.serve->names = o.serveNames;
  if (o.serve && (!o.exportCsvPath.empty() || o.listDevices))
    return fail("--serve shows a recording: not with --export-csv or --list-devices");
  if (o.csvDay && o.exportCsvPath.empty()) return fail("--date needs --export-csv or --plot");
  return result;
}

}  // namespace recorder::app
