#include "headless_options.h"

#include <cmath>
#include <cstdlib>

#include "recorder/log_rotation.h"
#include "recorder/ole_date.h"
#include "xvtools/input_spec.h"

namespace recorder::app {

std::string usageText() {
  return "Usage: zelkchart [--headless [options]] [--help] [--version]\n"
         "       zelkchart --export-csv LOG [--date YYYY-MM-DD]\n"
         "       zelkchart --list-devices\n"
         "\n"
         "Without --headless the recorder opens its window.\n"
         "\n"
         "Headless options:\n"
         "  --input default|device:NAME|FILE.wav|synthetic[:SEED]\n"
         "                        audio to record (default: synthetic)\n"
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
         "  --image-every N       rewrite the image every N seconds of signal\n"
         "  --image-labels        put the clock's time labels under the chart in the image\n"
         "  --realtime            run at the input's pace (default: as fast as possible,\n"
         "                        the clock ticking once per 8000 samples)\n"
         "  --print FILE.pdf      print the window at the end, as the Print button does,\n"
         "                        on a printer that writes FILE.pdf\n"
         "  --help, --version\n"
         "\n"
         "Other commands:\n"
         "  --export-csv LOG      write the log's points as time,level lines to standard\n"
         "                        output; --date gives the date of its first day (default:\n"
         "                        the date of the file's last change, for its last day)\n"
         "  --list-devices        list the audio capture devices\n";
}

ParseResult parseCommandLine(const std::vector<std::string>& args) {
  ParseResult result;
  HeadlessOptions& o = result.options;
  auto fail = [&result](std::string text) {
    result.error = std::move(text);
    return result;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size() || args[i + 1].empty()) return false;
      out = args[++i];
      return true;
    };
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--headless") {
      o.headless = true;
    } else if (a == "--realtime") {
      o.realtime = true;
    } else if (a == "--input") {
      if (!value(o.input)) return fail("--input needs a value");
      if (!xvtools::InputSpec::parse(o.input))
        return fail("--input " + o.input + " is not an input");
    } else if (a == "--seconds") {
      std::string text;
      if (!value(text)) return fail("--seconds needs a value");
      char* end = nullptr;
      const double s = std::strtod(text.c_str(), &end);
      if (end == text.c_str() || *end != '\0' || !std::isfinite(s) || s <= 0 || s > 1e7) {
        return fail("--seconds " + text + " is not a positive number of seconds");
      }
      o.seconds = s;
    } else if (a == "--log") {
      if (!value(o.logPath)) return fail("--log needs a file name");
    } else if (a == "--image") {
      if (!value(o.imagePath)) return fail("--image needs a file name");
      const auto dot = o.imagePath.rfind('.');
      const std::string ext = dot == std::string::npos ? "" : o.imagePath.substr(dot);
      if (ext != ".png" && ext != ".bmp" && ext != ".PNG" && ext != ".BMP") {
        return fail("--image " + o.imagePath + ": the name must end in .png or .bmp");
      }
    } else if (a == "--playback") {
      if (!value(o.playbackPath)) return fail("--playback needs a file name");
    } else if (a == "--start-time") {
      if (!value(o.startTime)) return fail("--start-time needs a time");
      if (o.startTime != "now" && o.startTime != "utc" && !parseTimeOfDay(o.startTime)) {
        return fail("--start-time " + o.startTime + " is not a time of day (HH:MM:SS), now or utc");
      }
    } else if (a == "--start-date" || a == "--date") {
      std::string text;
      if (!value(text)) return fail(a + " needs a date");
      const auto day = parseIsoDay(text);
      if (!day) return fail(a + " " + text + " is not a date (YYYY-MM-DD)");
      (a == "--date" ? o.csvDay : o.startDay) = day;
    } else if (a == "--rotate") {
      std::string text;
      if (!value(text) || text != "daily") return fail("--rotate takes daily");
      o.rotateDaily = true;
    } else if (a == "--sync") {
      o.sync = true;
    } else if (a == "--image-every") {
      std::string text;
      if (!value(text)) return fail("--image-every needs a number of seconds");
      char* end = nullptr;
      const long n = std::strtol(text.c_str(), &end, 10);
      if (end == text.c_str() || *end != '\0' || n < 1 || n > 86400) {
        return fail("--image-every " + text + " is not a whole number of seconds from 1 to 86400");
      }
      o.imageEvery = static_cast<int>(n);
    } else if (a == "--image-labels") {
      o.imageLabels = true;
    } else if (a == "--list-devices") {
      o.listDevices = true;
    } else if (a == "--export-csv") {
      if (!value(o.exportCsvPath)) return fail("--export-csv needs a log file");
    } else if (a == "--print") {
      if (!value(o.printPath)) return fail("--print needs a file name");
      if (!o.printPath.ends_with(".pdf") && !o.printPath.ends_with(".PDF"))
        return fail("--print " + o.printPath + ": the name must end in .pdf");
    } else {
      return fail("unknown option " + a);
    }
  }
  if (o.help || o.version) return result;
  if (o.headless && !o.playbackPath.empty() && !o.logPath.empty()) {
    return fail("--log and --playback exclude each other: a playback writes no log");
  }
  if ((o.rotateDaily || o.sync) && o.logPath.empty()) {
    return fail(std::string(o.rotateDaily ? "--rotate" : "--sync") + " needs --log");
  }
  if ((o.imageEvery > 0 || o.imageLabels) && o.imagePath.empty()) {
    return fail(std::string(o.imageEvery > 0 ? "--image-every" : "--image-labels") +
                " needs --image");
  }
  if (o.csvDay && o.exportCsvPath.empty()) return fail("--date needs --export-csv");
  return result;
}

}  // namespace recorder::app
