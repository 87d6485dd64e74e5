// Reduces one audio block to chart points: each point is the mean absolute sample value of one
// run of samplesPerPoint samples, placed secondsPerPoint x speedFactor further right than the
// point before it.
#pragma once

#include <cstdint>
#include <span>

#include "recorder/point_clock.h"

namespace recorder {

struct PointSpacing {
  float secondsPerPoint = 0.05f;
  float speedFactor = 26.5417f;
};

// Fills values[i] and xs[i] for every run of the block and returns the number of points. A run
// cut short by the end of the block becomes a point of its own, averaged over the samples it
// has, so nothing is dropped and the clock moves once per returned point. Stops at the arrays'
// capacity; *consumed tells how many samples went into the points. Returns 0 for a sample size
// below 1.
int reduceBlock(std::span<const std::int16_t> samples, int samplesPerPoint, PointSpacing spacing,
                PointClock& clock, std::span<float> values, std::span<double> xs,
                std::size_t* consumed = nullptr);

}  // namespace recorder
