#include "recorder/stations.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "recorder/band_power.h"

namespace recorder {

namespace {

std::optional<double> positiveNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(v) || v <= 0.0) return std::nullopt;
  return v;
}

bool isCallSign(const std::string& call) {
  if (call.empty()) return false;
  for (const char c : call) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (!ok) return false;
  }
  return true;
}

std::string hz(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

// The fields as a station, whatever separated them.
std::optional<Station> fromFields(const std::vector<std::string>& fields, std::string& error) {
  if (fields.size() < 2 || fields.size() > 3) {
    error = "is not CALL FREQ[ WIDTH]";
    return std::nullopt;
  }
  Station s;
  s.call = fields[0];
  const auto frequency = positiveNumber(fields[1]);
  if (!frequency) {
    error = "has no frequency in Hz (" + fields[1] + ")";
    return std::nullopt;
  }
  s.frequencyHz = *frequency;
  if (fields.size() == 3) {
    const auto width = positiveNumber(fields[2]);
    if (!width) {
      error = "has no band width in Hz (" + fields[2] + ")";
      return std::nullopt;
    }
    s.widthHz = *width;
  }
  return s;
}

}  // namespace

std::optional<Station> parseStation(std::string_view text, std::string& error) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t colon = text.find(':', start);
    fields.emplace_back(text.substr(start, colon - start));
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
  std::string why;
  auto station = fromFields(fields, why);
  if (!station) error = "--station " + std::string(text) + " " + why + " (CALL:FREQ[:WIDTH])";
  return station;
}

bool readStationsFile(const std::string& path, std::vector<Station>& stations, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read the stations file " + path;
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::istringstream words(line);
    std::vector<std::string> fields;
    for (std::string w; words >> w;) fields.push_back(w);
    if (fields.empty() || fields[0].starts_with('#')) continue;
    std::string why;
    auto station = fromFields(fields, why);
    if (!station) {
      error = path + " line " + std::to_string(number) + " " + why;
      return false;
    }
    stations.push_back(*station);
  }
  return true;
}

std::string stationListProblem(const std::vector<Station>& stations) {
  if (stations.size() > kMaxStations) {
    return std::to_string(stations.size()) + " stations: at most " + std::to_string(kMaxStations);
  }
  for (std::size_t i = 0; i < stations.size(); ++i) {
    const Station& a = stations[i];
    if (!isCallSign(a.call)) return "the call sign '" + a.call + "' is not letters and digits";
    for (std::size_t j = 0; j < i; ++j) {
      const Station& b = stations[j];
      if (a.call == b.call) return "the station " + a.call + " is given twice";
      if (a.lowHz() < b.highHz() && b.lowHz() < a.highHz()) {
        return "the bands of " + b.call + " and " + a.call + " overlap";
      }
    }
  }
  return {};
}

std::string stationRateProblem(const std::vector<Station>& stations, int sampleRate) {
  const double binHz = BandPowerAccumulator::binWidthHz(sampleRate);
  for (const Station& s : stations) {
    if (s.frequencyHz >= sampleRate / 2.0) {
      return "the station " + s.call + " at " + hz(s.frequencyHz) +
             " Hz is at or above half the input's rate of " + std::to_string(sampleRate) + " Hz";
    }
    if (s.widthHz < 2.0 * binHz) {
      return "the band of " + s.call + " (" + hz(s.widthHz) + " Hz) is narrower than two bins of " +
             hz(binHz) + " Hz at " + std::to_string(sampleRate) + " Hz";
    }
  }
  return {};
}

std::string stationLabel(const Station& station) {
  char text[64];
  std::snprintf(text, sizeof text, " %.1f kHz", station.frequencyHz / 1000.0);
  return station.call + text;
}

}  // namespace recorder
