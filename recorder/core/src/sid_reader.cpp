#include "recorder/sid_reader.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "recorder/sid_file.h"
#include "recorder/stations.h"

namespace recorder {

namespace {

std::string trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::vector<std::string> split(const std::string& text, char at) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const auto end = text.find(at, start);
    parts.push_back(trim(text.substr(start, end - start)));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

bool number(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && end == text.c_str() + text.size() && std::isfinite(value);
}

// "YYYY-MM-DD HH:MM:SS" with, in the extended form, ".ffffff" after the seconds.
bool stamp(const std::string& text, double& seconds) {
  std::int64_t whole = 0;
  if (text.size() < 19 || !parseUtcStamp(text.substr(0, 19), whole)) return false;
  double fraction = 0.0;
  if (text.size() > 19) {
    if (text[19] != '.') return false;
    std::string decimals = "0";
    decimals.append(text, 19);
    if (!number(decimals, fraction)) return false;
  }
  seconds = static_cast<double>(whole) + fraction;
  return true;
}

}  // namespace

bool isSidFile(const std::string& path) {
  // Only a file is looked into: a pipe's first byte would be gone for the reader of the log.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream in(path);
  char first = 0;
  return in.get(first) && first == '#';
}

SidReadResult readSidFile(const std::string& path) {
  SidReadResult result;
  std::ifstream in(path);
  if (!in) {
    result.error = "The SID file " + path + " cannot be read.";
    return result;
  }
  std::map<std::string, std::string> header;
  bool columnsKnown = false;
  double firstDay = 0.0;
  std::string line;
  for (int number_ = 1; std::getline(in, line); ++number_) {
    const std::string text = trim(line);
    if (text.empty()) continue;
    if (text.front() == '#') {
      const auto equals = text.find('=');
      if (equals != std::string::npos) {
        header[lower(trim(text.substr(1, equals - 1)))] = trim(text.substr(equals + 1));
      }
      continue;
    }
    if (!columnsKnown) {
      // The header is over: one series per station it names, or one for the file's.
      std::vector<std::string> calls, frequencies;
      if (header.count("stations") != 0) {
        calls = split(header["stations"], ',');
        frequencies = split(header["frequencies"], ',');
      } else {
        calls = {header.count("stationid") != 0 ? header["stationid"] : std::string("?")};
        frequencies = {header["frequency"]};
      }
      for (std::size_t i = 0; i < calls.size(); ++i) {
        double hz = 0.0;
        SidStationSeries s;
        s.label = i < frequencies.size() && number(frequencies[i], hz) && hz > 0
                      ? stationLabel({calls[i], hz})
                      : calls[i];
        result.stations.push_back(std::move(s));
      }
      columnsKnown = true;
    }
    const auto fields = split(text, ',');
    double t = 0.0;
    if (fields.size() != result.stations.size() + 1 || !stamp(fields[0], t)) {
      result.error = "Line " + std::to_string(number_) + " of " + path +
                     " is not a SID reading (YYYY-MM-DD HH:MM:SS, value).";
      return result;
    }
    if (result.firstDay.empty()) {
      firstDay = std::floor(t / 86400.0) * 86400.0;
      result.firstDay = fields[0].substr(0, 10);
    }
    for (std::size_t i = 0; i < result.stations.size(); ++i) {
      double v = 0.0;
      if (!number(fields[i + 1], v)) {
        result.error = "Line " + std::to_string(number_) + " of " + path + " has a value that " +
                       "is not a number (" + fields[i + 1] + ").";
        return result;
      }
      if (v <= 0.0) continue;
      result.stations[i].series.time.push_back(t - firstDay);
      result.stations[i].series.value.push_back(static_cast<float>(10.0 * std::log10(v)));
    }
  }
  if (result.firstDay.empty()) result.error = path + " holds no SID readings.";
  // Lines stop where readings are missing for longer than two log intervals (a restart, a full
  // disk); without a LogInterval the shortest step stands for it.
  double interval = 0.0;
  if (!number(header["loginterval"], interval) || interval <= 0.0) interval = 0.0;
  for (SidStationSeries& station : result.stations) {
    const std::vector<double>& time = station.series.time;
    double step = interval;
    for (std::size_t i = 1; interval == 0.0 && i < time.size(); ++i) {
      const double d = time[i] - time[i - 1];
      if (d > 0.0 && (step == 0.0 || d < step)) step = d;
    }
    for (std::size_t i = 0; i < time.size(); ++i) {
      if (i == 0 || time[i] <= time[i - 1] || time[i] - time[i - 1] > 2.0 * step)
        station.series.runStarts.push_back(i);
    }
  }
  return result;
}

}  // namespace recorder
