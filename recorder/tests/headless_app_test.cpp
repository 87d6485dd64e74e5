// The unattended program: its command line, the default answers, and whole runs of the binary.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "headless_options.h"
#include "headless_prompter.h"

namespace recorder::app {
namespace {

ParseResult parse(std::vector<std::string> args) { return parseCommandLine(args); }

TEST(HeadlessOptions, ReadsTheDocumentedCommandLine) {
  const auto r = parse({"--headless", "--input", "synthetic:3", "--seconds", "2.5", "--log",
                        "a.log", "--image", "a.png", "--start-time", "23:59:58", "--realtime"});
  ASSERT_EQ(r.error, "");
  EXPECT_TRUE(r.options.headless);
  EXPECT_EQ(r.options.input, "synthetic:3");
  EXPECT_EQ(r.options.seconds, 2.5);
  EXPECT_EQ(r.options.logPath, "a.log");
  EXPECT_EQ(r.options.imagePath, "a.png");
  EXPECT_EQ(r.options.startTime, "23:59:58");
  EXPECT_TRUE(r.options.realtime);
  EXPECT_TRUE(parse({"--help"}).options.help);
  EXPECT_TRUE(parse({"--version"}).options.version);
}

TEST(HeadlessOptions, RefusesWhatCannotRun) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--seconds", "0"},
           {"--seconds", "abc"},
           {"--seconds"},
           {"--image", "x.jpg"},
           {"--start-time", "25:00:00"},
           {"--input", "device:"},
           {"--headless", "--playback", "a.log", "--log", "b.log"},
           {"--frobnicate"}}) {
    EXPECT_NE(parse(args).error, "") << args[0];
  }
}

TEST(HeadlessPrompter, MessageBoxesTakeTheirDefaultButton) {
  using namespace xvtools;
  EXPECT_EQ(defaultButton(vbOKOnly | vbCritical), vbOK);
  EXPECT_EQ(defaultButton(vbYesNo | vbInformation), vbYes);
  EXPECT_EQ(defaultButton(vbYesNo | vbDefaultButton2), vbNo);
  EXPECT_EQ(defaultButton(vbRetryCancel), vbRetry);
  EXPECT_EQ(defaultButton(vbYesNoCancel | 0x200), vbCancel);
}

#ifdef ZELKCHART_PATH
class HeadlessRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("zelkchart_run_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  int run(const std::string& args) {
    const std::string command =
        std::string(ZELKCHART_PATH) + " " + args + " 2>" + (dir / "stderr.txt").string();
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string read(const std::string& name) {
    std::ifstream in(dir / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string p(const std::string& name) { return (dir / name).string(); }
  std::filesystem::path dir;
};

TEST_F(HeadlessRunTest, RecordsLogsDrawsAndPlaysBack) {
  ASSERT_EQ(run("--headless --input synthetic:5 --seconds 4 --start-time 10:00:00 --log " +
                p("r.log") + " --image " + p("r.png")),
            0)
      << read("stderr.txt");
  const std::string log = read("r.log");
  std::size_t data = 0, time = 0;
  for (std::size_t at = log.find("\"D\","); at != std::string::npos;
       at = log.find("\"D\",", at + 1)) {
    ++data;
  }
  for (std::size_t at = log.find("\"T\","); at != std::string::npos;
       at = log.find("\"T\",", at + 1)) {
    ++time;
  }
  EXPECT_EQ(data, 80u);  // 8 blocks of 10 points
  EXPECT_EQ(time, 4u);   // one per 8000 samples
  EXPECT_NE(log.find("\"T\",#10:00:04#,4\r\n"), std::string::npos);
  EXPECT_EQ(read("r.png").substr(1, 3), "PNG");
  ASSERT_EQ(run("--headless --playback " + p("r.log") + " --image " + p("p.bmp")), 0)
      << read("stderr.txt");
  EXPECT_EQ(read("p.bmp").substr(0, 2), "BM");
}

// Columns of a 24-bit bottom-up bitmap file that hold the trace's red.
std::pair<int, int> redColumns(const std::string& bmp) {
  const auto u32 = [&](std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 3])) << 24;
  };
  const int width = static_cast<int>(u32(18)), height = static_cast<int>(u32(22));
  const std::size_t offset = u32(10), stride = (static_cast<std::size_t>(width) * 3 + 3) & ~3u;
  int first = width, last = -1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::size_t at = offset + static_cast<std::size_t>(y) * stride + x * 3u;
      if (at + 2 < bmp.size() && bmp[at] == 0 && bmp[at + 1] == 0 &&
          static_cast<unsigned char>(bmp[at + 2]) == 0xFF) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
    }
  }
  return {first, last};
}

TEST_F(HeadlessRunTest, SixMinutesFillTheChartAndPlaybackDrawsTheSameChart) {
  // Six minutes span the chart's twelve divisions of 30 s: the trace reaches both edges of the
  // plot area, so the recorder's set-up was not replaced by the new control's own defaults.
  ASSERT_EQ(run("--headless --input synthetic:3 --seconds 400 --log " + p("r.log") + " --image " +
                p("r.bmp")),
            0)
      << read("stderr.txt");
  const std::string recorded = read("r.bmp");
  const auto [first, last] = redColumns(recorded);
  EXPECT_LT(first, 40);
  EXPECT_GT(last, 560);
  ASSERT_EQ(run("--headless --playback " + p("r.log") + " --image " + p("p.bmp")), 0)
      << read("stderr.txt");
  EXPECT_EQ(redColumns(read("p.bmp")), redColumns(recorded));
}

TEST_F(HeadlessRunTest, UnusableInputsAndOutputsFailClearly) {
  EXPECT_NE(run("--headless --input " + p("missing.wav") + " --seconds 1"), 0);
  EXPECT_NE(read("stderr.txt").find("missing.wav"), std::string::npos);
  EXPECT_NE(run("--headless --seconds 1 --log " + p("no/folder/x.log")), 0);
  EXPECT_NE(run("--headless --playback " + p("missing.log")), 0);
  EXPECT_NE(run("--headless --seconds 1 --image " + p("no/folder/x.png")), 0);
  EXPECT_EQ(run("--help"), 0);
  EXPECT_NE(run("--bogus"), 0);
}

TEST_F(HeadlessRunTest, PrintsTheWindowAtTheEndOnTheFilePrinter) {
  ASSERT_EQ(run("--headless --input synthetic:2 --seconds 3 --print " + p("chart.pdf")), 0)
      << read("stderr.txt");
  const std::string pdf = read("chart.pdf");
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  EXPECT_NE(pdf.find("/MediaBox [0 0 595.2 841.92]"), std::string::npos);
  EXPECT_NE(read("stderr.txt").find("Print Bitmap: Printing 'ZelkChart'"), std::string::npos);
  EXPECT_NE(run("--headless --seconds 1 --print " + p("no/folder/x.pdf")), 0);
  EXPECT_NE(parse({"--headless", "--print", "x.png"}).error, "");
}
#endif

}  // namespace
}  // namespace recorder::app
