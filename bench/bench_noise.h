// The benchmarks' noise: the same samples on every run, from one linear congruential sequence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bench {

// count samples of white noise at full scale, divided by `quieter` (1 for full scale).
inline std::vector<std::int16_t> noise(std::size_t count, int quieter = 1) {
  std::vector<std::int16_t> samples(count);
  std::uint32_t state = 12345;
  for (auto& s : samples) {
    state = state * 1664525u + 1013904223u;
    s = static_cast<std::int16_t>(static_cast<std::int16_t>(state >> 16) / quieter);
  }
  return samples;
}

}  // namespace bench
