// zelkchart --headless with stations: the refusals, and recordings of known carriers through the
// whole program, their SID files read back by Python's csv module.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "png_picture.h"
#include "recorder/station_chart.h"
#include "scratch_folder.h"
#include "station_signal.h"
#include "web_pages.h"

namespace recorder {
namespace {

using test::db;

class StationRun : public zelk::test::ScratchFolder {
 protected:
  int zelkchart(const std::string& args) {
    return runCommand(std::string(ZELKCHART_PATH) + " --headless " + args);
  }
  std::vector<std::pair<std::string, double>> readings(const std::string& path) {
    EXPECT_EQ(runCommand(test::sidReaderCommand(dir) + path), 0) << read("stderr.txt");
    return test::readerRows(read("stdout.txt"));
  }
};

TEST_F(StationRun, RefusesStationsItCannotMeasureWithOneLineBeforeWritingAnything) {
  test::writeWav(p("48k.wav"), 48000, std::vector<std::int16_t>(48000));
  test::writeWav(p("96k.wav"), 96000, std::vector<std::int16_t>(96000));
  std::ofstream(p("bad.txt")) << "# call frequency width\nNAA 24000\nNWC nineteen\n";
  std::string nine;
  for (int i = 0; i < 9; ++i)
    nine += " --station S" + std::to_string(i) + ":" + std::to_string(16000 + 1000 * i);
  const std::string sid = " --sid-dir " + p("sid");
  std::filesystem::create_directory(p("sid"));
  const struct {
    std::string args;
    std::string says;
  } cases[] = {
      {"--station NAA:24000 --station NAA:19800", "NAA is given twice"},
      {"--station N-A:24000", "not letters and digits"},
      {"--station 'N A:24000'", "not letters and digits"},
      {nine, "9 stations: at most 8"},
      {"--station A:24000 --station B:24200", "bands of A and B overlap"},
      {"--station NAA", "CALL:FREQ[:WIDTH]"},
      {"--station NAA:24kHz", "no frequency"},
      {"--station NAA:24000:0", "no band width"},
      {"--stations " + p("missing.txt"), "cannot read the stations file"},
      {"--stations " + p("bad.txt"), "bad.txt line 3"},
      {"--station NAA:24000 --interval 0", "--interval 0"},
      {"--interval 10", "--interval needs --station"},
      {"--rate 96000", "--rate needs --station"},
      {"--station NAA:24000 --rate 44", "--rate 44"},
      {"--station NAA:24000 --site-name a_b" + sid, "--site-name a_b"},
      {"--station NAA:24000 --site 91,0" + sid, "--site 91,0"},
      {"--playback x.log --station NAA:24000", "--playback plays a log"},
      {"--input " + p("48k.wav") + " --station NAA:24000" + sid, "at or above half"},
      {"--input " + p("96k.wav") + " --station NAA:24000:40" + sid, "narrower than two bins"},
      {"--input " + p("96k.wav") + " --rate 96000 --station NAA:24000" + sid, "for a sound card"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(zelkchart(c.args + " --seconds 1"), 2) << c.args;
    const std::string err = read("stderr.txt");
    EXPECT_NE(err.substr(0, err.find('\n')).find(c.says), std::string::npos)
        << c.args << ": " << err;
    EXPECT_TRUE(std::filesystem::is_empty(p("sid"))) << c.args;
  }
}

TEST_F(StationRun, ARecordingsCarriersAndStepReachTheSidFiles) {
  // 25 s at 96 kHz: NAA steps from 0.02 to 0.08 of full scale at 12.5 s, in the middle of the
  // third interval.
  test::writeWav(
      p("vlf.wav"), 96000,
      test::carriers(96000, 25.0, {{19800, 0.1}, {24000, 0.02, 12.5, 0.08}, {40750, 0.05}}, 0.001));
  std::filesystem::create_directory(p("sid"));
  ASSERT_EQ(zelkchart("--input " + p("vlf.wav") +
                      " --station NWC:19800 --station NAA:24000:200 --station NAU:40750 "
                      "--station NONE:30000 --sid-dir " +
                      p("sid") + " --site-name TEST"),
            0)
      << read("stderr.txt");
  std::map<std::string, std::vector<std::pair<std::string, double>>> files;
  for (const auto& f : std::filesystem::directory_iterator(p("sid"))) {
    const std::string name = f.path().filename().string();
    ASSERT_EQ(name.substr(0, 5), "TEST_") << name;
    files[name.substr(5, name.find('_', 5) - 5)] = readings(f.path().string());
  }
  ASSERT_EQ(files.size(), 4u);
  const double naa[] = {db(0.0002), db(0.0002), db(0.0017), db(0.0032), db(0.0032)};
  for (const auto& [call, rows] : files) ASSERT_EQ(rows.size(), 5u) << call;
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_NEAR(db(files["NWC"][i].second), db(0.005), 0.2) << i;
    EXPECT_NEAR(db(files["NAA"][i].second), naa[i], i == 2 ? 0.3 : 0.2) << i;
    EXPECT_NEAR(db(files["NAU"][i].second), db(0.00125), 0.2) << i;
    EXPECT_LT(db(files["NONE"][i].second), db(0.0002) - 30) << i;
  }
}

TEST_F(StationRun, TheVlfSignalCarriesItsFourStationsAboveAnEmptyBand) {
  std::filesystem::create_directory(p("sid"));
  ASSERT_EQ(zelkchart("--input synthetic:vlf --seconds 10 --station NWC:19800 --station NPM:21400 "
                      "--station NAA:24000 --station NAU:40750 --station NONE:30000 --sid-dir " +
                      p("sid") + " --site-name TEST"),
            0)
      << read("stderr.txt");
  double weakest = 1.0, empty = 0.0;
  for (const auto& f : std::filesystem::directory_iterator(p("sid"))) {
    const auto rows = readings(f.path().string());
    ASSERT_EQ(rows.size(), 2u) << f.path();
    for (const auto& r : rows) {
      if (f.path().string().find("_NONE_") != std::string::npos) {
        empty = std::max(empty, r.second);
      } else {
        weakest = std::min(weakest, r.second);
      }
    }
  }
  EXPECT_GT(db(weakest) - db(empty), 20.0);
}

TEST_F(StationRun, EachStationIsATraceOfItsColourNamedInTheLegendOnlyWhenGiven) {
  test::writeWav(p("vlf.wav"), 96000,
                 test::carriers(96000, 30.0, {{19800, 0.1}, {24000, 0.02}, {40750, 0.3}}, 0.001));
  const std::string stations = " --station NWC:19800 --station NAA:24000 --station NAU:40750";
  for (const bool labels : {false, true}) {
    for (const bool withStations : {false, true}) {
      const std::string what = std::string(labels ? "labels" : "plain") +
                               (withStations ? " with stations" : " without stations");
      ASSERT_EQ(zelkchart("--input " + p("vlf.wav") + (withStations ? stations : "") + " --image " +
                          p("c.png") + (labels ? " --image-labels" : "")),
                0)
          << what << ": " << read("stderr.txt");
      const zelk::test::RgbPicture picture = zelk::test::readPng(p("c.png"));
      constexpr int kChartHeight = 257;
      const int strip = labels ? 18 : 0;
      ASSERT_EQ(picture.width, 601) << what;
      ASSERT_EQ(picture.height == kChartHeight + strip, !withStations) << what;
      for (std::size_t i = 0; i < 3; ++i) {
        const std::uint32_t c = stationColour(i);
        int trace = 0, legend = 0;
        for (int y = 0; y < picture.height; ++y) {
          for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* px = &picture.rgb[(std::size_t(y) * picture.width + x) * 3];
            if (px[0] == (c & 0xFF) && px[1] == (c >> 8 & 0xFF) && px[2] == (c >> 16 & 0xFF))
              ++(y < kChartHeight ? trace : legend);
          }
        }
        // A trace across most of 30 s of chart, and the station's name in its colour under it.
        EXPECT_EQ(trace > 20, withStations) << what << " station " << i << ": " << trace;
        EXPECT_EQ(legend > 20, withStations) << what << " station " << i << ": " << legend;
      }
    }
  }
}

TEST(StationStatus, StatusJsonNamesStationsOnlyInRunsWithStations) {
  web::WebStatus status;
  const std::string plain = web::statusJson(status);
  EXPECT_EQ(plain.find("stations"), std::string::npos);
  status.stations = {{"NAA", "24000", "-21.5"}, {"NWC", "19800", "null"}};
  const std::string json = web::statusJson(status);
  EXPECT_EQ(json.substr(0, plain.size() - 2), plain.substr(0, plain.size() - 2));
  EXPECT_EQ(json.substr(plain.size() - 2),
            ",\"stations\":[{\"call\":\"NAA\",\"frequency_hz\":24000,\"level_db\":-21.5},"
            "{\"call\":\"NWC\",\"frequency_hz\":19800,\"level_db\":null}]}\n");
}

TEST(StationStatus, ALogListOffersASidFileItselfAsItsCsv) {
  const std::string page =
      web::logListPage({{"night.csv", 10, false}, {"h_NAA_2026-03-01.csv", 20, true}});
  EXPECT_NE(page.find("href=\"/logs/night.csv.csv\">CSV"), std::string::npos);
  EXPECT_NE(page.find("href=\"/logs/h_NAA_2026-03-01.csv\">CSV"), std::string::npos);
}

}  // namespace
}  // namespace recorder
