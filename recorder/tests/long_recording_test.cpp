// Recordings of days: X keeps the chart speed, so a burst after 48 hours lands on the chart where
// it lands after one minute, in recording and in playback.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <vector>

#include "fake_front_end.h"
#include "recorder/zelk_chrt_form.h"

namespace recorder::testing {
namespace {

// Keeps only the last ChartData call's X positions: days of blocks must not pile up records.
class LastBlockChart : public automation::Dispatch {
 public:
  automation::DispId idOfName(std::string_view name) const override {
    return name == "ChartData" ? 0x70 : 1;
  }
  automation::Variant get(automation::DispId) override { return {}; }
  void put(automation::DispId, const automation::Variant&) override {}
  automation::Variant call(automation::DispId, std::span<automation::Variant> args) override {
    previousNewest = points > 0 ? xs[points - 1] : previousNewest;
    points = std::clamp(args[1].toI4(), 0, 401);
    const auto* x = static_cast<const double*>(args[4].arrayValue()->data());
    std::copy(x, x + points, xs.begin());
    return automation::Variant(points);
  }
  // Where the chart puts the block's points: measured from the newest point of the block before.
  std::vector<double> offsets() const {
    std::vector<double> out;
    for (int i = 0; i < points; ++i) out.push_back(xs[i] - previousNewest);
    return out;
  }

  std::array<double, 401> xs{};
  int points = 0;
  double previousNewest = 0;
};

struct Run {
  LastBlockChart chart;
  FakeHost host;
  ScriptedPrompter prompter;
  ZelkChrtForm form{chart, host, prompter};
  Run(int sampleSizeRow, int chartSpeedRow) {
    form.load();
    form.XVSpinButtonX1().setValue(sampleSizeRow);
    form.XVSpinButtonX2().setValue(chartSpeedRow);
  }
};

std::vector<double> burstOffsetsAfterRecording(int sampleSizeRow, int chartSpeedRow, long seconds) {
  Run run(sampleSizeRow, chartSpeedRow);
  run.form.scrollClick();
  std::vector<std::int16_t> silence(4000, 0), burst(4000, 20000);
  WAVEHDR hdr{};
  hdr.dwBufferLength = hdr.dwBytesRecorded = 8000;
  hdr.lpData = reinterpret_cast<char*>(silence.data());
  for (long block = 0; block < 2 * seconds; ++block) run.form.bufferReady(&hdr);
  hdr.lpData = reinterpret_cast<char*>(burst.data());
  run.form.bufferReady(&hdr);
  return run.chart.offsets();
}

void expectSamePlaces(const std::vector<double>& later, const std::vector<double>& early) {
  ASSERT_EQ(later.size(), early.size());
  ASSERT_FALSE(early.empty());
  for (std::size_t i = 0; i < early.size(); ++i) EXPECT_NEAR(later[i], early[i], 1e-6) << i;
}

TEST(LongRecording, ABurstAfterTwoDaysLandsWhereItLandsAfterOneMinute) {
  // The default settings, and the finest sample size at the slowest chart speed, where a
  // single-precision X stopped moving altogether.
  for (const auto& [row, speed] : {std::pair{4, 2}, std::pair{2, 4}}) {
    SCOPED_TRACE(::testing::Message() << "sample-size row " << row << ", speed row " << speed);
    expectSamePlaces(burstOffsetsAfterRecording(row, speed, 48 * 3600),
                     burstOffsetsAfterRecording(row, speed, 60));
  }
}

std::vector<double> burstOffsetsAfterPlayback(const std::filesystem::path& log, long seconds) {
  {
    std::ofstream out(log, std::ios::binary);
    std::string second;
    for (int i = 0; i < 10; ++i) second += "\"D\",0\r\n";
    second += "\"T\",#12:00:00#,5\r\n";
    for (long s = 0; s < seconds; ++s) out << second;
    for (int i = 0; i < 10; ++i) out << "\"D\",20000\r\n";
    out << "\"T\",#12:00:01#,5\r\n";
  }
  Run run(5, 4);
  run.prompter.files.push_back(log.string());
  run.form.playbackButtonClick();
  while (run.form.Playing()) run.form.playBackTimerTick();
  return run.chart.offsets();
}

TEST(LongRecording, PlaybackOfTwoDaysKeepsTheChartSpeed) {
  const auto log = std::filesystem::temp_directory_path() /
                   ("zelk_long_playback_" + std::to_string(::getpid()) + ".log");
  const auto late = burstOffsetsAfterPlayback(log, 48 * 3600);
  const auto early = burstOffsetsAfterPlayback(log, 60);
  std::filesystem::remove(log);
  expectSamePlaces(late, early);
}

}  // namespace
}  // namespace recorder::testing
