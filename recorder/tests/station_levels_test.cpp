// Stations measured from known carriers, and their SID files as an outside reader sees them.
#include <gtest/gtest.h>

#include <fstream>

#include "recorder/sid_file.h"
#include "recorder/sid_reader.h"
#include "recorder/station_chart.h"
#include "recorder/station_recorder.h"
#include "scratch_folder.h"
#include "station_signal.h"
#include "util/calendar.h"

namespace recorder {
namespace {

using test::Carrier;
using test::db;

constexpr int kRate = 96000;
const std::int64_t kMarch1 = util::daysFromCivil(2026, 3, 1) * 86400;

class StationFiles : public zelk::test::ScratchFolder {
 protected:
  StationRecorder::Settings settings(std::vector<Station> stations, std::int64_t start) const {
    StationRecorder::Settings s;
    s.stations = std::move(stations);
    s.sampleRate = kRate;
    s.intervalSeconds = 5;
    s.startUtc = start;
    s.sidFolder = dir.string();
    s.site = {"TEST", "51.5", "-0.1", 5};
    return s;
  }
  // Feeds the samples in blocks of an awkward size, as an input's converter would.
  static void record(StationRecorder& recorder, const std::vector<std::int16_t>& samples) {
    constexpr std::size_t kBlock = 4093;
    for (std::size_t i = 0; i < samples.size(); i += kBlock) {
      recorder.addSamples({samples.data() + i, std::min(kBlock, samples.size() - i)});
    }
    recorder.finishInput();
    ASSERT_TRUE(recorder.writeCompleted()) << recorder.error();
  }
  std::vector<std::pair<std::string, double>> readings(const std::string& name) {
    EXPECT_EQ(runCommand(test::sidReaderCommand(dir) + p(name)), 0) << read("stderr.txt");
    return test::readerRows(read("stdout.txt"));
  }
};

TEST_F(StationFiles, KnownCarriersReadTheirPowerAStepItsIntervalAndAnEmptyBandLittle) {
  // NWC steady at 0.1 of full scale, NAA stepping from 0.02 to 0.08 in the middle of the second
  // interval (7.5 s), nothing at 30 kHz; noise at 0.001.
  StationRecorder recorder(
      settings({{"NWC", 19800}, {"NAA", 24000}, {"EMPTY", 30000, 200}}, kMarch1 + 12 * 3600));
  record(recorder, test::carriers(kRate, 20.0,
                                  {{19800, 0.1}, {24000, 0.02, 7.5, 0.08}, {27000, 0.1}}, 0.001));
  const auto nwc = readings("TEST_NWC_2026-03-01.csv");
  const auto naa = readings("TEST_NAA_2026-03-01.csv");
  const auto empty = readings("TEST_EMPTY_2026-03-01.csv");
  ASSERT_EQ(nwc.size(), 4u);
  ASSERT_EQ(naa.size(), 4u);
  ASSERT_EQ(empty.size(), 4u);
  const char* stamps[] = {"2026-03-01 12:00:00", "2026-03-01 12:00:05", "2026-03-01 12:00:10",
                          "2026-03-01 12:00:15"};
  const double low = db(0.02 * 0.02 / 2), high = db(0.08 * 0.08 / 2);
  const double mixed = db((0.02 * 0.02 + 0.08 * 0.08) / 4);
  const double naaExpected[] = {low, mixed, high, high};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(nwc[i].first, stamps[i]);
    EXPECT_NEAR(db(nwc[i].second), db(0.1 * 0.1 / 2), 0.2) << i;
    EXPECT_NEAR(db(naa[i].second), naaExpected[i], i == 1 ? 0.3 : 0.2) << i;
    // The band without a carrier, 3 kHz from a strong one, stays far under every carrier.
    EXPECT_LT(db(empty[i].second), low - 30.0) << i;
  }
}

TEST_F(StationFiles, FilesSplitAtUtcMidnightAndARestartAppendsWithoutRepeatingAStamp) {
  const std::int64_t midnight = kMarch1 + 86400;
  const auto signal = test::carriers(kRate, 30.0, {{24000, 0.05}}, 0.001);
  {
    StationRecorder first(settings({{"NAA", 24000}}, midnight - 12));
    record(first, signal);
  }
  const std::string before = read("TEST_NAA_2026-03-02.csv");
  auto day1 = readings("TEST_NAA_2026-03-01.csv");
  ASSERT_EQ(day1.size(), 3u);
  EXPECT_EQ(day1.back().first, "2026-03-01 23:59:58");
  EXPECT_NE(read("TEST_NAA_2026-03-01.csv").find("# UTC_StartTime = 2026-03-01 00:00:00\n"),
            std::string::npos);
  EXPECT_NE(before.find("# UTC_StartTime = 2026-03-02 00:00:00\n"), std::string::npos);
  // Started again two seconds before midnight: its first four readings are in the files already.
  {
    StationRecorder again(settings({{"NAA", 24000}}, midnight - 2));
    record(again, signal);
  }
  const std::string after = read("TEST_NAA_2026-03-02.csv");
  EXPECT_EQ(after.substr(0, before.size()), before);
  EXPECT_EQ(readings("TEST_NAA_2026-03-01.csv"), day1);
  std::vector<std::string> stamps;
  for (const auto& r : readings("TEST_NAA_2026-03-02.csv")) stamps.push_back(r.first);
  EXPECT_EQ(stamps, (std::vector<std::string>{"2026-03-02 00:00:03", "2026-03-02 00:00:08",
                                              "2026-03-02 00:00:13", "2026-03-02 00:00:18",
                                              "2026-03-02 00:00:23"}));
  EXPECT_EQ(after.find("# Site"), after.rfind("# Site"));
}

TEST_F(StationFiles, DayPlotsReadOurSidFilesAndOtherObserversCombinedOnes) {
  SidFileWriter ours(dir.string(), {"TEST", "", "", 5}, {"NAA", 24000}, false);
  ASSERT_TRUE(ours.append(kMarch1 + 3600, 0.001));
  ASSERT_TRUE(ours.append(kMarch1 + 3605, 0.0));  // no dB: left out
  ASSERT_TRUE(ours.append(kMarch1 + 3610, 0.01));
  std::ofstream(p("combined.csv")) << "# site = Elsewhere\n#\n# STATIONS = NWC, GBZ\n"
                                      "# frequencies=19800,19580\n"
                                      "2026-03-01 23:59:59.500000, 1e-4, 0.5\n"
                                      "2026-03-02 00:00:04.500000, 2e-4, 0.25\n";
  std::ofstream(p("broken.csv")) << "# StationID = NAA\n2026-03-01 00:00:00, 1\n00:00:05, 2\n";

  const SidReadResult single = readSidFile(p("TEST_NAA_2026-03-01.csv"));
  ASSERT_EQ(single.error, "");
  ASSERT_EQ(single.stations.size(), 1u);
  EXPECT_EQ(single.stations[0].label, "NAA 24.0 kHz");
  EXPECT_EQ(single.stations[0].series.time, (std::vector<double>{3600, 3610}));
  EXPECT_EQ(single.stations[0].series.value, (std::vector<float>{-30.0f, -20.0f}));

  const SidReadResult combined = readSidFile(p("combined.csv"));
  ASSERT_EQ(combined.error, "");
  ASSERT_EQ(combined.stations.size(), 2u);
  EXPECT_EQ(combined.stations[1].label, "GBZ 19.6 kHz");
  // Past midnight the times go on beyond a day, as a log's do.
  EXPECT_EQ(combined.stations[0].series.time, (std::vector<double>{86399.5, 86404.5}));
  EXPECT_NEAR(combined.stations[1].series.value[1], -6.0206, 1e-4);

  EXPECT_NE(readSidFile(p("broken.csv")).error.find("Line 3"), std::string::npos);
  EXPECT_TRUE(isSidFile(p("combined.csv")));
}

TEST(StationLegend, NamesEachStationInItsColourAndWrapsWithinThePicture) {
  const std::vector<Station> eight = {{"NWC", 19800}, {"NPM", 21400},  {"NAA", 24000},
                                      {"NAU", 40750}, {"GBZ", 19580},  {"JXN", 16400},
                                      {"NLK", 24800}, {"DHO38", 23400}};
  EXPECT_EQ(stationLegend({}, 601, 257).rows, 0);
  for (const std::size_t n : {std::size_t{1}, std::size_t{4}, std::size_t{8}}) {
    const StationLegend legend = stationLegend(std::span(eight).first(n), 601, 257);
    ASSERT_EQ(legend.captions.size(), n + 1) << n;  // the span in dB, then the stations
    EXPECT_EQ(legend.rows, n == 8 ? 2 : 1) << n;
    for (std::size_t i = 0; i < n; ++i) {
      const host::Caption& c = legend.captions[i + 1];
      EXPECT_EQ(c.text, stationLabel(eight[i]));
      EXPECT_EQ(c.colour, stationColour(i));
      EXPECT_LE(c.x + 7 * static_cast<int>(c.text.size()), 601 - 25) << c.text;
      EXPECT_GE(c.y, 257);
      EXPECT_LT(c.y, 257 + legend.rows * kLegendRowHeight);
    }
  }
  EXPECT_EQ(stationColour(0), stationColour(kMaxStations));
  for (std::size_t i = 1; i < kMaxStations; ++i) EXPECT_NE(stationColour(i), stationColour(i - 1));
}

}  // namespace
}  // namespace recorder
