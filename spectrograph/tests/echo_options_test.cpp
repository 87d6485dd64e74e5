// The echo counter's command line, and a whole counting run of the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "headless_options.h"
#include "scratch_folder.h"

namespace spectrograph::app {
namespace {

TEST(EchoOptions, RefusesBandsAndValuesItCannotUse) {
  const std::vector<std::string> counting = {"--headless", "--events", "e.csv", "--echoes"};
  struct Case {
    std::vector<std::string> extra;  // after --echoes
    const char* error;               // a part of the message; empty when accepted
  };
  const Case cases[] = {
      {{"800:1200"}, ""},
      {{"800:1200", "--noise", "1500:1900", "--snr", "8", "--max-echo", "30"}, ""},
      {{"800:1200", "--fft", "64", "--noise", "1300:1500"}, ""},
      {{"3500:4500"}, "outside the input's 0:4000 Hz"},
      {{"3000:3900"}, "--noise 3900:4800 is outside"},  // the default reference band
      {{"1200:800"}, "LOW must be below HIGH"},
      {{"1000:1000"}, "LOW must be below HIGH"},
      {{"800:1200", "--noise", "1100:1500"}, "overlaps"},
      {{"800:1200", "--noise", "600:900"}, "overlaps"},
      {{"800:1200", "--noise", "1501:1510"}, "holds no bin"},
      {{"1000"}, "is not a band"},
      {{"800:1200", "--noise", "a:b"}, "is not a band"},
      {{"800:1200", "--snr", "0"}, "--snr must be"},
      {{"800:1200", "--max-echo", "0"}, "--max-echo must be"},
      {{"800:1200", "--max-echo", "x"}, "not a number of seconds"},
      {{"800:1200", "--full", "--image", "a.png", "--snapshots", "."}, "not with --full"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = counting;
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const std::string error = parseCommandLine(args).error;
    if (*c.error == '\0') {
      EXPECT_EQ(error, "") << c.extra[0];
    } else {
      EXPECT_NE(error.find(c.error), std::string::npos) << c.extra[0] << ": " << error;
    }
  }
  // The counter's options and files need --echoes; its files are enough to write.
  EXPECT_NE(parseCommandLine({"--headless", "--image", "a.png", "--rmob", "r.txt"}).error, "");
  EXPECT_NE(parseCommandLine({"--headless", "--image", "a.png", "--start-date", "2026-01-01"})
                .error.find("--echoes"),
            std::string::npos);
  EXPECT_EQ(parseCommandLine({"--headless", "--echoes", "800:1200", "--counts", "c.csv",
                              "--start-date", "2026-01-01", "--start-time", "10:00"})
                .error,
            "");
}

#ifdef ZELKSPEC_PATH
class EchoRunTest : public zelk::test::ScratchFolder {};

TEST_F(EchoRunTest, CountsTheSyntheticMeteorsIntoItsFiles) {
  std::filesystem::create_directory(p("snaps"));
  const std::string line = std::string(ZELKSPEC_PATH) +
                           " --headless --input synthetic:meteors:2 --seconds 600 --echoes "
                           "800:1200 --events " +
                           p("e.csv") + " --counts " + p("c.csv") + " --rmob " + p("r.txt") +
                           " --start-date 2026-05-31 --start-time 23:55 --snapshots " + p("snaps");
  ASSERT_EQ(runCommand(line), 0) << read("stderr.txt");
  const std::string events = read("e.csv");
  EXPECT_EQ(events.rfind("start,duration_s,peak_hz,peak_snr_db,peak_level_db\n2026-", 0), 0u);
  EXPECT_NE(read("c.csv").find("2026-05-31T23:00:00Z,"), std::string::npos);
  EXPECT_NE(read("c.csv").find("2026-06-01T00:00:00Z,"), std::string::npos);
  EXPECT_EQ(read("r.txt").rfind("May|00h|", 0), 0u);
  EXPECT_EQ(read("r-2026-06.txt").rfind("Jun|00h|", 0), 0u);
  // A picture of the display around each echo, named by its start.
  const std::string first = events.substr(events.find('\n') + 1, 24);
  std::string name = first;
  std::replace(name.begin(), name.end(), ':', '-');
  EXPECT_TRUE(std::filesystem::exists(p("snaps/" + name + ".png"))) << name;
  // A whole picture counts on its own transforms and gains a strip of ticks above its plot.
  auto pictureHeight = [this](const std::string& extra) {
    const std::string png = p("full.png");
    EXPECT_EQ(runCommand(std::string(ZELKSPEC_PATH) +
                         " --headless --full --input synthetic:meteors:2 --seconds 300 --width 300"
                         " --image " +
                         png + extra),
              0)
        << read("stderr.txt");
    const std::string bytes = read("full.png");
    return bytes.size() < 24 ? 0
                             : (static_cast<unsigned char>(bytes[22]) << 8) |
                                   static_cast<unsigned char>(bytes[23]);
  };
  const int plain = pictureHeight("");
  EXPECT_EQ(pictureHeight(" --echoes 800:1200 --counts " + p("full.csv")), plain + 7);
  EXPECT_NE(read("stderr.txt").find("echoes counted"), std::string::npos);
  // A refused band leaves no file behind.
  EXPECT_EQ(runCommand(std::string(ZELKSPEC_PATH) + " --headless --echoes 800:1200 --noise " +
                       "900:1000 --events " + p("x.csv")),
            2);
  EXPECT_FALSE(std::filesystem::exists(p("x.csv")));
}
#endif

}  // namespace
}  // namespace spectrograph::app
