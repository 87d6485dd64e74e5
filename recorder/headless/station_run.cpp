#include "station_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "xvtools/native_input.h"

namespace recorder::app {

namespace {

constexpr int kDefaultStationRate = 96000;
constexpr int kFallbackStationRate = 48000;

std::unique_ptr<StationRecorder> refuse(int& exitCode, int code, const std::string& line) {
  std::fprintf(stderr, "zelkchart: %s\n", line.c_str());
  exitCode = code;
  return nullptr;
}

// The rate the stations are measured at; 0 after a line saying why there is none.
int stationRate(const StationOptions& s, const xvtools::InputSpec& input, int& exitCode) {
  using Kind = xvtools::InputSpec::Kind;
  const bool card = input.kind == Kind::DefaultDevice || input.kind == Kind::Device;
  if (s.rate != 0 && input.kind != Kind::Synthetic && !card) {
    refuse(exitCode, 2, "--rate is for a sound card: a recording is measured at its own rate");
    return 0;
  }
  const int wanted = s.rate != 0 ? s.rate : kDefaultStationRate;
  int rate = 0;
  try {
    rate = xvtools::inputOwnRate(input, wanted);
    if (rate == 0 && card && s.rate == 0) {
      rate = xvtools::inputOwnRate(input, kFallbackStationRate);
      if (rate != 0) {
        std::fprintf(stderr, "zelkchart: the sound card does not capture at %d Hz: using %d Hz\n",
                     kDefaultStationRate, kFallbackStationRate);
      }
    }
  } catch (const std::exception& e) {
    refuse(exitCode, 1, e.what());
    return 0;
  }
  if (rate == 0) {
    refuse(exitCode, card ? 1 : 2,
           card ? "the sound card does not capture at " + std::to_string(wanted) + " Hz"
                : "stations are measured from a recording that is a regular file");
  }
  return rate;
}

}  // namespace

std::unique_ptr<StationRecorder> prepareStations(const HeadlessOptions& options, int& exitCode) {
  exitCode = 0;
  const StationOptions& s = options.stations;
  if (!s.any()) return nullptr;
  const auto input = xvtools::InputSpec::parse(options.input);
  if (!input) return refuse(exitCode, 2, "--input " + options.input + " is not an input");
  const int rate = stationRate(s, *input, exitCode);
  if (rate == 0) return nullptr;
  if (const std::string problem = stationRateProblem(s.list, rate); !problem.empty())
    return refuse(exitCode, 2, problem);
  struct stat folder {};
  if (!s.sidDir.empty() && (::stat(s.sidDir.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode) ||
                            ::access(s.sidDir.c_str(), W_OK | X_OK) != 0)) {
    return refuse(exitCode, 1, "cannot write SID files in " + s.sidDir + ": not a writable folder");
  }
  StationRecorder::Settings settings;
  settings.stations = s.list;
  settings.sampleRate = rate;
  settings.intervalSeconds = s.intervalSeconds;
  settings.startUtc = static_cast<std::int64_t>(std::time(nullptr));
  settings.sidFolder = s.sidDir;
  settings.site = {sidSiteName(s), s.latitude, s.longitude, s.intervalSeconds};
  settings.sync = options.sync;
  return std::make_unique<StationRecorder>(std::move(settings));
}

}  // namespace recorder::app
