// Transforms merged into fewer columns show, bin by bin, the loudest level of the transforms each
// column takes, exactly as levelling every transform and keeping the greatest would.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "xvtools/spectrum_levels.h"

namespace xvtools {
namespace {

using Columns = std::vector<std::vector<std::uint8_t>>;

// Every transform's levels (columns 0), or the transforms merged as if promised were coming.
Columns levelsOf(const LevelSettings& settings, const std::vector<std::int16_t>& samples,
                 std::uint64_t transforms, std::uint64_t columns, std::uint64_t promised) {
  Columns out;
  SpectrumLevels levels(settings, [&](std::span<const std::uint8_t> column) {
    out.emplace_back(column.begin(), column.end());
  });
  if (columns != 0) levels.mergeColumns(promised, columns);
  // In uneven pieces, so that columns end anywhere within a write.
  for (std::size_t at = 0; at < samples.size(); at += 1000)
    levels.write(std::span(samples).subspan(at, std::min<std::size_t>(1000, samples.size() - at)));
  levels.finish();
  EXPECT_EQ(levels.transforms(), transforms);
  return out;
}

TEST(SpectrumMerge, AMergedColumnIsTheLoudestOfItsTransformsBinByBin) {
  // Noise whose loudness swings, with silences, so that levels clip at both ends too.
  std::mt19937 random(7);
  std::normal_distribution<double> noise;
  std::vector<std::int16_t> samples(64 * 256 + 256);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const double loudness = (i / 700) % 5 == 0 ? 0.0 : std::pow(10.0, double((i / 900) % 6) - 1);
    samples[i] = static_cast<std::int16_t>(std::clamp(noise(random) * loudness, -32768.0, 32767.0));
  }
  const std::uint64_t transforms = 64;
  struct Case {
    bool logAmp;
    std::uint64_t columns;
    // A count promised short of what comes: the last column takes the rest.
    std::uint64_t promised;
  };
  for (const Case c : {Case{true, 7, 64}, Case{true, 64, 64}, Case{true, 1, 64},
                       Case{false, 10, 64}, Case{true, 5, 50}, Case{false, 3, 40}}) {
    SCOPED_TRACE(std::to_string(c.columns) + (c.logAmp ? " log" : " linear"));
    LevelSettings settings;
    settings.logAmp = c.logAmp;
    const Columns each = levelsOf(settings, samples, transforms, 0, 0);
    const Columns merged = levelsOf(settings, samples, transforms, c.columns, c.promised);
    ASSERT_EQ(each.size(), transforms);
    ASSERT_EQ(merged.size(), c.columns);
    Columns want(c.columns, std::vector<std::uint8_t>(each[0].size(), 0));
    for (std::uint64_t t = 0; t < transforms; ++t) {
      auto& column = want[std::min(c.columns - 1, t * c.columns / c.promised)];
      for (std::size_t b = 0; b < column.size(); ++b) column[b] = std::max(column[b], each[t][b]);
    }
    EXPECT_EQ(merged, want);
  }
}

}  // namespace
}  // namespace xvtools
