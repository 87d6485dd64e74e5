#include "station_options.h"

#include <cmath>
#include <cstdlib>

namespace recorder::app {

namespace {

using apps::Option;
using apps::Runs;

std::optional<long> wholeNumber(const std::string& text, long low, long high) {
  char* end = nullptr;
  const long n = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || end != text.c_str() + text.size() || n < low || n > high) return std::nullopt;
  return n;
}

bool isSiteName(const std::string& name) {
  if (name.empty() || name.size() > 64) return false;
  for (const char c : name) {
    const bool ok =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    if (!ok) return false;
  }
  return true;
}

bool degrees(const std::string& text, double limit) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  return !text.empty() && end == text.c_str() + text.size() && std::isfinite(v) &&
         std::fabs(v) <= limit;
}

}  // namespace

std::vector<Option> stationOptionTable(StationSettings& s) {
  return {
      {"--station", "--station needs CALL:FREQ[:WIDTH]", Runs::Any,
       [&s](const std::string& text) {
         std::string error;
         const auto station = parseStation(text, error);
         if (!station) return error;
         s.list.push_back(*station);
         return std::string();
       }},
      {"--stations", "--stations needs a file", Runs::Any,
       [&s](const std::string& path) {
         std::string error;
         return readStationsFile(path, s.list, error) ? std::string() : error;
       }},
      {"--interval", "--interval needs a number of seconds", Runs::Any,
       [&s](const std::string& text) {
         const auto n = wholeNumber(text, 1, 3600);
         if (!n) return "--interval " + text + " is not a whole number of seconds from 1 to 3600";
         s.intervalSeconds = static_cast<int>(*n);
         s.intervalGiven = true;
         return std::string();
       }},
      {"--rate", "--rate needs a sample rate in Hz", Runs::Any,
       [&s](const std::string& text) {
         const auto n = wholeNumber(text, 8000, 192000);
         if (!n) return "--rate " + text + " is not a whole number of Hz from 8000 to 192000";
         s.rate = static_cast<int>(*n);
         return std::string();
       }},
      apps::textOption("--sid-dir", "--sid-dir needs a folder", Runs::Any, s.sidDir),
      {"--site-name", "--site-name needs a name", Runs::Any,
       [&s](const std::string& text) {
         if (!isSiteName(text))
           return "--site-name " + text + " is not letters, digits and - (64 at most)";
         s.siteName = text;
         return std::string();
       }},
  };
}

std::string stationOptionsProblem(StationSettings& s, const std::string& site, bool playback) {
  if (!s.any()) {
    if (s.intervalGiven) return "--interval needs --station or --stations";
    if (s.rate != 0) return "--rate needs --station or --stations";
    if (!s.sidDir.empty()) return "--sid-dir needs --station or --stations";
    if (!s.siteName.empty()) return "--site-name needs --sid-dir";
    return {};
  }
  if (playback) return "--playback plays a log: stations are measured from an input";
  if (!s.siteName.empty() && s.sidDir.empty()) return "--site-name needs --sid-dir";
  if (const std::string problem = stationListProblem(s.list); !problem.empty()) return problem;
  if (!site.empty()) {
    const auto comma = site.find(',');
    const std::string lat = site.substr(0, comma);
    const std::string lon = comma == std::string::npos ? "" : site.substr(comma + 1);
    if (!degrees(lat, 90) || !degrees(lon, 180))
      return "--site " + site + " is not LAT,LON in decimal degrees";
    if (s.sidDir.empty()) return "--site needs --plot or --sid-dir";
    s.latitude = lat;
    s.longitude = lon;
  }
  return {};
}

}  // namespace recorder::app
