#include "recorder/station_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "xvtools/native_input.h"

namespace recorder {

namespace {

constexpr int kDefaultStationRate = 96000;
constexpr int kFallbackStationRate = 48000;

std::unique_ptr<StationRecorder> refuse(int& exitCode, int code, const std::string& line) {
  std::fprintf(stderr, "zelkchart: %s\n", line.c_str());
  exitCode = code;
  return nullptr;
}

// The rate the stations are measured at; 0 after a line saying why there is none.
int stationRate(const StationSettings& s, const xvtools::InputSpec& input, int& exitCode) {
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

std::string sidSiteName(const StationSettings& s) {
  if (!s.siteName.empty()) return s.siteName;
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0 || host[0] == '\0') return "zelk";
  std::string name;
  for (const char* c = host; *c != '\0' && *c != '.'; ++c) {
    const bool ok =
        (*c >= 'A' && *c <= 'Z') || (*c >= 'a' && *c <= 'z') || (*c >= '0' && *c <= '9');
    name += ok ? *c : '-';
  }
  return name.empty() ? "zelk" : name;
}

std::unique_ptr<StationRecorder> prepareStations(const StationSettings& s,
                                                 const std::string& inputText, bool sync,
                                                 int& exitCode) {
  exitCode = 0;
  if (!s.any()) return nullptr;
  const auto input = xvtools::InputSpec::parse(inputText);
  if (!input) return refuse(exitCode, 2, "--input " + inputText + " is not an input");
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
  settings.sync = sync;
  return std::make_unique<StationRecorder>(std::move(settings));
}

}  // namespace recorder
