#include "headless_options.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <utility>

#include "spectrograph/echo_detector.h"
#include "xvtools/spectrogram_palette.h"
#include "xvtools/spectrum_window.h"

namespace spectrograph::app {

namespace {

// The lengths the FFT spin button reaches, by row.
constexpr int kFFTChoices[] = {64, 128, 256, 512, 1024};

bool endsWith(const std::string& text, const char* tail) {
  const std::string t(tail);
  if (text.size() < t.size()) return false;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[text.size() - t.size() + i])) != t[i])
      return false;
  }
  return true;
}

}  // namespace

std::string usageText() {
  return "Usage: zelkspec [--headless [options]] [--help] [--version]\n"
         "\n"
         "Without --headless the spectrograph opens its window.\n"
         "\n"
         "Headless options:\n"
         "  --input default|device:NAME|FILE|synthetic[:SEED]|synthetic:meteors[:SEED]\n"
         "                        audio to show (default: synthetic)\n"
         "  --seconds N           run N seconds of audio, then stop; default: until the\n"
         "                        input ends, or Ctrl-C\n"
         "  --image FILE.png|FILE.bmp\n"
         "                        write the spectrogram display (569 x 257) at the end\n"
         "  --fft 64|128|256|512|1024\n"
         "                        FFT length (default 512)\n"
         "  --window NAME         Rectangular, Hamming, Hanning, Blackman, Gaussian, Welch\n"
         "                        or Parzen (default: the stored Gaussian)\n"
         "  --palette NAME        HSV, Threshold, \"Black on White\", \"White on Black\", Bone,\n"
         "                        Copper, Cool or Hot (default Threshold)\n"
         "  --gain 0|6|12         gain in dB (default 0)\n"
         "  --log-amp             logarithmic amplitude (the Log Amp switch down)\n"
         "  --relief              relief shading (the Relief switch down)\n"
         "  --print FILE.pdf      press Print at the end, printing to FILE.pdf\n"
         "  --ref DB              the level at the top of the palette (default 0 dB with\n"
         "                        --log-amp, else -30 dB)\n"
         "  --range DB            the span of the palette with --log-amp (default 80)\n"
         "  --colorbar            draw the palette's scale of dB beside the picture\n"
         "\n"
         "The whole recording as one picture (with --image):\n"
         "  --full                one column per transform over the whole input, oldest at\n"
         "                        the left, with a kHz scale and a time axis; a recording\n"
         "                        of more than 16384 transforms is fitted into 16384\n"
         "  --width PX            fit the picture into PX columns, keeping each bin's maximum\n"
         "                        (0: one column per transform whatever the length)\n"
         "  --start-time HH:MM[:SS]\n"
         "                        the clock time of the input's start (default 00:00:00)\n"
         "  --ref, --range, --colorbar as above\n"
         "  --site LAT,LON        mark local sunrise and sunset on the time axis, for\n"
         "                        every day the recording reaches\n"
         "  --date YYYY-MM-DD     the date of its first day (default: from the input's name)\n"
         "\n"
         "Counting meteor echoes:\n"
         "  --echoes LOW:HIGH     count echoes whose tone lies in this band (Hz)\n"
         "  --noise LOW:HIGH      the reference band (default: as wide, just above)\n"
         "  --snr DB              how far the tone must rise over the reference (default 10)\n"
         "  --max-echo S          longer is an aircraft or a carrier, not counted (default 20)\n"
         "  --events FILE.csv     append one line per echo\n"
         "  --counts FILE.csv     append one line per UTC hour\n"
         "  --rmob FILE.txt       the month's matrix of hourly counts, replaced each hour\n"
         "  --snapshots DIR       a PNG of the display around each echo (not with --full)\n"
         "  --start-date YYYY-MM-DD\n"
         "                        the UTC date of the input's start (default: from the\n"
         "                        input's name, else today); with --start-time, its time\n"
         "                        of day; live and synthetic inputs without either start\n"
         "                        at the system clock\n"
         "  --help, --version\n";
}

namespace {

using apps::Option;
using apps::Runs;

std::vector<Option> optionTable(HeadlessOptions& o) {
  auto flag = [](const char* name, bool& set) {
    return apps::switchOption(name, Runs::HeadlessOnly, set);
  };
  auto level = [](const char* name, std::optional<double>& out) {
    const std::string option = name;
    return Option{option, option + " needs a level in dB", Runs::HeadlessOnly,
                  [option, &out](const std::string& text) {
                    char* end = nullptr;
                    const double db = std::strtod(text.c_str(), &end);
                    if (end == text.c_str() || *end != '\0' || !std::isfinite(db))
                      return option + " " + text + " is not a level in dB";
                    out = db;
                    return std::string();
                  }};
  };
  auto text = [](const char* name, const char* needs, std::string& out) {
    return apps::textOption(name, needs, Runs::HeadlessOnly, out);
  };
  return {
      apps::headlessOption(o),
      apps::inputOption(o),
      apps::secondsOption(o, Runs::HeadlessOnly),
      apps::imageOption(o),
      apps::printOption(o),
      flag("--log-amp", o.logAmp),
      flag("--relief", o.relief),
      flag("--full", o.full),
      flag("--colorbar", o.colorbar),
      {"--width", "--width needs a number of columns", Runs::HeadlessOnly,
       [&o](const std::string& text) {
         char* end = nullptr;
         const long n = std::strtol(text.c_str(), &end, 10);
         if (end == text.c_str() || *end != '\0' || n < 0 || n > 100000)
           return "--width " + text + " is not a number of columns from 0 to 100000";
         o.width = static_cast<int>(n);
         return std::string();
       }},
      level("--ref", o.refDb),
      level("--range", o.rangeDb),
      text("--start-time", "--start-time needs a time (HH:MM:SS)", o.startTime),
      text("--site", "--site needs LAT,LON", o.site),
      text("--date", "--date needs a date (YYYY-MM-DD)", o.date),
      text("--echoes", "--echoes needs a band LOW:HIGH in Hz", o.echoes),
      text("--noise", "--noise needs a band LOW:HIGH in Hz", o.noise),
      level("--snr", o.snrDb),
      {"--max-echo", "--max-echo needs a number of seconds", Runs::HeadlessOnly,
       [&o](const std::string& text) {
         char* end = nullptr;
         const double s = std::strtod(text.c_str(), &end);
         if (end == text.c_str() || *end != '\0' || !std::isfinite(s))
           return "--max-echo " + text + " is not a number of seconds";
         o.maxEchoS = s;
         return std::string();
       }},
      text("--events", "--events needs a file name", o.eventsPath),
      text("--counts", "--counts needs a file name", o.countsPath),
      text("--rmob", "--rmob needs a file name", o.rmobPath),
      text("--snapshots", "--snapshots needs a folder", o.snapshotsDir),
      text("--start-date", "--start-date needs a date (YYYY-MM-DD)", o.startDate),
      {"--fft", "--fft needs a length", Runs::HeadlessOnly,
       [&o](const std::string& text) {
         o.fftRow.reset();
         for (int row = 0; row < static_cast<int>(std::size(kFFTChoices)); ++row) {
           if (text == std::to_string(kFFTChoices[row])) {
             o.fftRow = row;
             o.fftLength = kFFTChoices[row];
           }
         }
         if (!o.fftRow) return "--fft " + text + " is not one of 64, 128, 256, 512, 1024";
         return std::string();
       }},
      {"--window", "--window needs a name", Runs::HeadlessOnly,
       [&o](const std::string& text) {
         const auto window = xvtools::windowByName(text);
         if (!window) {
           return "--window " + text +
                  " is not a window (Rectangular, Hamming, Hanning, Blackman, Gaussian, Welch, "
                  "Parzen)";
         }
         o.windowRow = static_cast<int>(*window);
         o.windowName = text;
         return std::string();
       }},
      {"--palette", "--palette needs a name", Runs::HeadlessOnly,
       [&o](const std::string& text) {
         const auto palette = xvtools::paletteByName(text);
         if (!palette) {
           return "--palette " + text +
                  " is not a palette (HSV, Threshold, Black on White, White on Black, Bone, "
                  "Copper, Cool, Hot)";
         }
         o.paletteRow = static_cast<int>(*palette);
         o.paletteName = text;
         return std::string();
       }},
      {"--gain", "--gain needs a value", Runs::HeadlessOnly,
       [&o](const std::string& text) {
         std::string digits = text;
         if (endsWith(digits, "db")) digits.resize(digits.size() - 2);
         if (!digits.empty() && digits.front() == '+') digits.erase(0, 1);
         if (digits == "0") {
           o.gainRow = 0;
         } else if (digits == "6") {
           o.gainRow = 1;
         } else if (digits == "12") {
           o.gainRow = 2;
         } else {
           return "--gain " + text + " is not 0, 6 or 12 (dB)";
         }
         return std::string();
       }},
  };
}

}  // namespace

std::optional<EchoSettings> echoSettings(const HeadlessOptions& o, std::string& error) {
  if (o.echoes.empty()) return std::nullopt;
  EchoSettings s;
  const auto listen = parseBand(o.echoes);
  if (!listen) {
    error = "--echoes " + o.echoes + " is not a band LOW:HIGH in Hz";
    return std::nullopt;
  }
  std::tie(s.listenLow, s.listenHigh) = *listen;
  if (!o.noise.empty()) {
    const auto noise = parseBand(o.noise);
    if (!noise) {
      error = "--noise " + o.noise + " is not a band LOW:HIGH in Hz";
      return std::nullopt;
    }
    s.noiseLow = noise->first;
    s.noiseHigh = noise->second;
  }
  s.snrDb = o.snrDb.value_or(s.snrDb);
  s.maxEchoS = o.maxEchoS.value_or(s.maxEchoS);
  error = echoSettingsProblem(s, kEchoSampleRate, o.fftLength);
  if (!error.empty()) return std::nullopt;
  return s;
}

namespace {

// What the echo options need; empty when the line is usable.
std::string echoOptionsProblem(const HeadlessOptions& o) {
  if (o.echoes.empty()) {
    const std::pair<bool, const char*> echoOnly[] = {
        {!o.noise.empty(), "--noise"},          {o.snrDb.has_value(), "--snr"},
        {o.maxEchoS.has_value(), "--max-echo"}, {!o.eventsPath.empty(), "--events"},
        {!o.countsPath.empty(), "--counts"},    {!o.rmobPath.empty(), "--rmob"},
        {!o.startDate.empty(), "--start-date"}};
    for (const auto& [given, name] : echoOnly) {
      if (given) return std::string(name) + " is only for counting echoes: give --echoes LOW:HIGH";
    }
    return {};
  }
  if (o.full && !o.snapshotsDir.empty())
    return "--snapshots draws the display around each echo: not with --full";
  std::string error;
  echoSettings(o, error);
  return error;
}

}  // namespace

ParseResult parseCommandLine(const std::vector<std::string>& args) {
  ParseResult result;
  HeadlessOptions& o = result.options;
  static_cast<apps::ParsedLine&>(result) = apps::parseOptions(args, o, optionTable(o));
  if (!result.error.empty() || o.help || o.version) return result;
  result.error = echoOptionsProblem(o);
  if (!result.error.empty()) return result;
  const bool counting = !o.echoes.empty();
  if (!o.full) {
    const std::pair<bool, const char*> fullOnly[] = {
        {o.width.has_value(), "--width"},
        {!o.startTime.empty() && !counting, "--start-time"},
        {!o.site.empty(), "--site"},
        {!o.date.empty(), "--date"}};
    for (const auto& [given, name] : fullOnly) {
      if (given) {
        result.error = std::string(name) + " is only for --full pictures";
        return result;
      }
    }
    // The whole recording's run checks its own levels as it starts; the display's are checked
    // here, before the run shows anything.
    if (o.refDb && std::fabs(*o.refDb) > 200) {
      result.error = "--ref must be a level in dB between -200 and 200";
    } else if (o.rangeDb && !o.logAmp) {
      result.error = "--range sets the span of logarithmic levels: give --log-amp with it";
    } else if (o.rangeDb && (*o.rangeDb < 1 || *o.rangeDb > 200)) {
      result.error = "--range must be from 1 to 200 dB";
    }
    if (!result.error.empty()) return result;
  } else if (o.imagePath.empty() || !o.printPath.empty()) {
    result.error = "--full writes its picture with --image FILE.png only";
    return result;
  }
  const bool echoFiles = !o.eventsPath.empty() || !o.countsPath.empty() || !o.rmobPath.empty() ||
                         !o.snapshotsDir.empty();
  if (o.headless && o.imagePath.empty() && o.printPath.empty() && !echoFiles) {
    result.error =
        "nothing to write: give --image FILE.png, --print FILE.pdf, or with --echoes "
        "--events, --counts or --rmob";
  }
  return result;
}

}  // namespace spectrograph::app
