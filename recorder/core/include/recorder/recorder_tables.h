// The recorder's three look-up tables, filled at start-up. Rows the operator cannot reach still
// exist; their unset cells hold 0.
#pragma once

#include <array>
#include <cstdint>

namespace recorder {

constexpr int kSampleSizeRows = 7;
constexpr int kChartSpeedRows = 7;
constexpr int kVertScaleRows = 4;

struct RecorderTables {
  // Columns: samples per point, milliseconds per point.
  std::array<std::array<std::int16_t, 2>, kSampleSizeRows> SampleSizeTable{};
  // Columns: SpeedFactor (x units per second of data), seconds per division.
  std::array<std::array<float, 2>, kChartSpeedRows> ChartSpeedTable{};
  // Columns: full-scale figure, VertFraction, vertical major divisions.
  std::array<std::array<float, 3>, kVertScaleRows> VertScaleTable{};

  void fill();

  // Rows that give a usable sample size (a non-zero number of samples per point).
  bool usableSampleSizeRow(int row) const;
};

}  // namespace recorder
