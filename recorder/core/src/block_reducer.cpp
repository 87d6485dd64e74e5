#include "recorder/block_reducer.h"

#include <algorithm>

namespace recorder {

int reduceBlock(std::span<const std::int16_t> samples, int samplesPerPoint, PointSpacing spacing,
                PointClock& clock, std::span<float> values, std::span<double> xs,
                std::size_t* consumed) {
  const std::size_t capacity = std::min(values.size(), xs.size());
  std::size_t k = 0;
  int points = 0;
  if (samplesPerPoint >= 1) {
    const std::size_t run = static_cast<std::size_t>(samplesPerPoint);
    for (; k < samples.size() && static_cast<std::size_t>(points) < capacity; k += run) {
      const std::size_t end = std::min(samples.size(), k + run);
      // The sum stays a 32-bit float as the point arrays are; the absolute value is taken in
      // floating point so that -32768 does not wrap.
      float sum = 0;
      for (std::size_t j = k; j < end; ++j) sum += std::abs(static_cast<float>(samples[j]));
      xs[points] = clock.next(spacing.secondsPerPoint * spacing.speedFactor);
      values[points] = sum / static_cast<float>(end - k);
      ++points;
    }
  }
  if (consumed != nullptr) *consumed = std::min(k, samples.size());
  return points;
}

}  // namespace recorder
