// Signals of known carriers for the stations' tests, written as 16-bit samples or a WAV file,
// and SID files read back the way an outside reader does: Python's csv module.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace recorder::test {

struct Carrier {
  double hz;
  double amplitude;        // of full scale, before stepAt
  double stepAt = -1.0;    // seconds; negative: no step
  double afterStep = 0.0;  // amplitude from stepAt on
};

// seconds of the carriers at rate over white noise of the given deviation (of full scale).
inline std::vector<std::int16_t> carriers(int rate, double seconds,
                                          const std::vector<Carrier>& list, double noise) {
  std::vector<std::int16_t> out(static_cast<std::size_t>(seconds * rate));
  std::mt19937 random(7);
  std::normal_distribution<double> gauss(0.0, noise);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    double v = gauss(random);
    for (const Carrier& c : list) {
      const double a = c.stepAt >= 0.0 && t >= c.stepAt ? c.afterStep : c.amplitude;
      v += a * std::sin(2.0 * std::numbers::pi * c.hz * t);
    }
    out[i] = static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 32767.0 / 32768) * 32768));
  }
  return out;
}

inline void writeWav(const std::string& path, int rate, const std::vector<std::int16_t>& samples) {
  std::ofstream out(path, std::ios::binary);
  auto u32 = [&out](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&out](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  const auto bytes = static_cast<std::uint32_t>(samples.size() * 2);
  out.write("RIFF", 4);
  u32(36 + bytes);
  out.write("WAVEfmt ", 8);
  u32(16);
  u16(1);
  u16(1);
  u32(static_cast<std::uint32_t>(rate));
  u32(static_cast<std::uint32_t>(rate) * 2);
  u16(2);
  u16(16);
  out.write("data", 4);
  u32(bytes);
  out.write(reinterpret_cast<const char*>(samples.data()), bytes);
}

// An outside reader of SID files: Python's csv module, printing "stamp|float(value)" for each
// reading. Writes the script into dir; returns the command to run with a file's path after it.
inline std::string sidReaderCommand(const std::filesystem::path& dir) {
  std::ofstream(dir / "read_sid.py") << "import csv,sys\n"
                                        "for row in csv.reader(open(sys.argv[1], newline='')):\n"
                                        "    if row and not row[0].startswith('#'):\n"
                                        "        print(row[0] + '|' + repr(float(row[1])))\n";
  return "python3 " + (dir / "read_sid.py").string() + " ";
}

inline std::vector<std::pair<std::string, double>> readerRows(const std::string& printed) {
  std::vector<std::pair<std::string, double>> rows;
  std::istringstream lines(printed);
  for (std::string line; std::getline(lines, line);) {
    const auto bar = line.find('|');
    if (bar != std::string::npos) {
      rows.emplace_back(line.substr(0, bar), std::stod(line.substr(bar + 1)));
    }
  }
  return rows;
}

inline double db(double level) { return 10.0 * std::log10(level); }

}  // namespace recorder::test
