// The VLF transmitters a run records: each a call sign and a band around its carrier, given as
// --station CALL:FREQ[:WIDTH] or as lines of a stations file, and the checks that refuse a list
// the measurement cannot serve.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace recorder {

inline constexpr std::size_t kMaxStations = 8;
inline constexpr double kDefaultStationWidthHz = 300.0;

struct Station {
  std::string call;
  double frequencyHz = 0.0;
  double widthHz = kDefaultStationWidthHz;

  double lowHz() const { return frequencyHz - widthHz / 2.0; }
  double highHz() const { return frequencyHz + widthHz / 2.0; }
  bool operator==(const Station&) const = default;
};

// "CALL:FREQ[:WIDTH]", frequency and width in Hz. nullopt with why in error.
std::optional<Station> parseStation(std::string_view text, std::string& error);

// One "CALL FREQ [WIDTH]" a line; blank lines and those starting with # are skipped. Appends to
// stations; false with why (naming the file and line) in error.
bool readStationsFile(const std::string& path, std::vector<Station>& stations, std::string& error);

// What refuses the list whatever the input: a call sign that is not letters and digits or is
// given twice, more than kMaxStations, bands that overlap. Empty when the list is usable.
std::string stationListProblem(const std::vector<Station>& stations);

// What refuses the list at the input's rate: a carrier at or above half the rate, a band narrower
// than two of the measurement's frequency bins. Empty when the list is usable.
std::string stationRateProblem(const std::vector<Station>& stations, int sampleRate);

// "NAA 24.0 kHz".
std::string stationLabel(const Station& station);

}  // namespace recorder
