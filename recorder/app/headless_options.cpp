#include "headless_options.h"

#include <cmath>
#include <cstdlib>

#include "recorder/ole_date.h"
#include "xvtools/input_spec.h"

namespace recorder::app {

std::string usageText() {
  return "Usage: zelkchart [--headless [options]] [--help] [--version]\n"
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
         "  --start-time HH:MM:SS the clock's start, as typed for the Time button\n"
         "  --realtime            run at the input's pace (default: as fast as possible,\n"
         "                        the clock ticking once per 8000 samples)\n"
         "  --print FILE.pdf      print the window at the end, as the Print button does,\n"
         "                        on a printer that writes FILE.pdf\n"
         "  --help, --version\n";
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
      if (!parseTimeOfDay(o.startTime)) {
        return fail("--start-time " + o.startTime + " is not a time of day (HH:MM:SS)");
      }
    } else if (a == "--print") {
      if (!value(o.printPath)) return fail("--print needs a file name");
      if (!o.printPath.ends_with(".pdf") && !o.printPath.ends_with(".PDF"))
        return fail("--print " + o.printPath + ": the name must end in .pdf");
    } else {
      return fail("unknown option " + a);
    }
  }
  if (!o.help && !o.version && o.headless && !o.playbackPath.empty() && !o.logPath.empty()) {
    return fail("--log and --playback exclude each other: a playback writes no log");
  }
  return result;
}

}  // namespace recorder::app
