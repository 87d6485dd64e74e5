#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "xvtools/audio_source.h"

namespace xvtools {
namespace {

constexpr int kRate = 8000;
constexpr std::size_t kBlock = 4000;  // half a second

std::vector<std::int16_t> generate(std::uint64_t seed, std::size_t samples) {
  auto source = openAudioSource(InputSpec{InputSpec::Kind::Synthetic, {}, seed}, kRate);
  std::vector<std::int16_t> out(samples);
  EXPECT_EQ(source->read(out), samples);
  EXPECT_FALSE(source->atEnd());
  return out;
}

// Mean absolute sample of each half-second block, as the recorder reduces them.
std::vector<double> blockLevels(const std::vector<std::int16_t>& samples) {
  std::vector<double> levels;
  for (std::size_t start = 0; start + kBlock <= samples.size(); start += kBlock) {
    double sum = 0;
    for (std::size_t i = start; i < start + kBlock; ++i)
      sum += std::abs(static_cast<double>(samples[i]));
    levels.push_back(sum / kBlock);
  }
  return levels;
}

double percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(p * (v.size() - 1))];
}

TEST(SyntheticSignal, SameSeedSameSamplesWhateverTheReadSizes) {
  const auto whole = generate(42, 40000);
  auto source = openAudioSource(InputSpec{InputSpec::Kind::Synthetic, {}, 42}, kRate);
  std::vector<std::int16_t> pieces(40000);
  std::size_t at = 0;
  for (std::size_t step : {1u, 333u, 4000u, 7u, 12345u}) {
    at += source->read({pieces.data() + at, std::min<std::size_t>(step, pieces.size() - at)});
  }
  at += source->read({pieces.data() + at, pieces.size() - at});
  EXPECT_EQ(at, pieces.size());
  EXPECT_EQ(pieces, whole);
  EXPECT_NE(generate(43, 40000), whole);
}

TEST(SyntheticSignal, NightLikeLevelsWithDriftsAndBursts) {
  // Twenty minutes, as a chart would show them.
  const auto levels = blockLevels(generate(7, kRate * 60 * 20));
  const double median = percentile(levels, 0.5);
  // The background sits well inside the recorder's smallest full scale, well above silence.
  EXPECT_GT(median, 500.0);
  EXPECT_LT(median, 4000.0);
  // Bursts: blocks several times the background, but not a constant roar.
  const auto bursts =
      std::count_if(levels.begin(), levels.end(), [&](double l) { return l > 2.5 * median; });
  EXPECT_GE(bursts, 10);
  EXPECT_LT(bursts, static_cast<long>(levels.size() / 10));
  // The background drifts: one-minute means differ noticeably over the twenty minutes.
  std::vector<double> minutes;
  for (std::size_t m = 0; m + 120 <= levels.size(); m += 120) {
    std::vector<double> minute(levels.begin() + m, levels.begin() + m + 120);
    minutes.push_back(percentile(minute, 0.5));
  }
  const auto [low, high] = std::minmax_element(minutes.begin(), minutes.end());
  EXPECT_GT(*high / *low, 1.15);
}

TEST(SyntheticSignal, BackgroundNoiseIsNormal) {
  // Within half a second the level barely drifts, so a block of background is normal noise:
  // kurtosis 3 (a uniform noise gives 1.8, a sum of a few uniforms 2.5 to 2.7, a bad table of
  // the generator's layers a misshapen tail). Bursts only add blocks above the median.
  const auto samples = generate(11, kRate * 60 * 10);
  std::vector<double> kurtosis;
  for (std::size_t start = 0; start + kBlock <= samples.size(); start += kBlock) {
    double m2 = 0, m4 = 0;
    for (std::size_t i = start; i < start + kBlock; ++i) {
      const double x2 = static_cast<double>(samples[i]) * samples[i];
      m2 += x2;
      m4 += x2 * x2;
    }
    kurtosis.push_back(m4 * kBlock / (m2 * m2));
  }
  EXPECT_NEAR(percentile(kurtosis, 0.5), 3.0, 0.1);
}

TEST(SyntheticSignal, SeedsGiveDifferentNights) {
  int differing = 0;
  const auto a = blockLevels(generate(1, kRate * 60));
  const auto b = blockLevels(generate(2, kRate * 60));
  for (std::size_t i = 0; i < a.size(); ++i) differing += std::abs(a[i] - b[i]) > 1.0;
  EXPECT_GT(differing, static_cast<int>(a.size()) / 2);
}

}  // namespace
}  // namespace xvtools
