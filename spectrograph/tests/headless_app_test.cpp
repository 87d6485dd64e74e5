// The unattended program: its command line and whole runs of the binary on a recording.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

#include "headless_options.h"
#include "page_raster.h"

namespace spectrograph::app {
namespace {

ParseResult parse(std::vector<std::string> args) { return parseCommandLine(args); }

TEST(HeadlessOptions, ReadsChoicesAndRefusesBadOnes) {
  const auto r = parse({"--headless", "--input", "synthetic:3", "--seconds", "2", "--image",
                        "a.png", "--fft", "1024", "--window", "welch", "--palette",
                        "black on white", "--gain", "+12", "--log-amp", "--relief"});
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.options.fftRow, 4);
  EXPECT_EQ(r.options.windowRow, 5);
  EXPECT_EQ(r.options.paletteRow, 2);
  EXPECT_EQ(r.options.gainRow, 2);
  EXPECT_TRUE(r.options.logAmp && r.options.relief);
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--headless", "--image", "a.png", "--fft", "2048"},
           {"--headless", "--image", "a.png", "--fft", "500"},
           {"--headless", "--image", "a.png", "--window", "Kaiser"},
           {"--headless", "--image", "a.png", "--palette", "Jet"},
           {"--headless", "--image", "a.png", "--gain", "3"},
           {"--headless", "--image", "a.jpg"},
           {"--headless", "--print", "a.ps"},
           {"--headless", "--seconds", "5"},
           {"--frobnicate"}}) {
    EXPECT_NE(parse(args).error, "") << args.back();
  }
}

#ifdef ZELKSPEC_PATH
class HeadlessRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("zelkspec_run_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  int run(const std::string& args) {
    const std::string command =
        std::string(ZELKSPEC_PATH) + " " + args + " >/dev/null 2>" + p("stderr.txt");
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

  // A stereo recording at another rate: tones in both channels.
  void writeTones(const std::string& name, int rate, double seconds) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(p(name).c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr);
    const auto frames = static_cast<std::size_t>(rate * seconds);
    std::vector<short> samples(frames * 2);
    for (std::size_t i = 0; i < frames; ++i) {
      const double t = static_cast<double>(i) / rate;
      samples[2 * i] = static_cast<short>(8000 * std::sin(2 * std::numbers::pi * 1000 * t));
      samples[2 * i + 1] = static_cast<short>(8000 * std::sin(2 * std::numbers::pi * 2500 * t));
    }
    sf_writef_short(f, samples.data(), static_cast<sf_count_t>(frames));
    sf_close(f);
  }

  std::filesystem::path dir;
};

// The display as a 24-bit bottom-up bitmap: the grey level of a pixel.
int greyAt(const std::string& bmp, int x, int y) {
  constexpr int kWidth = 569;
  constexpr int kHeight = 257;
  const int stride = (kWidth * 3 + 3) / 4 * 4;
  return static_cast<unsigned char>(bmp[54 + std::size_t((kHeight - 1 - y) * stride + x * 3)]);
}

TEST_F(HeadlessRunTest, ARecordingShowsItsTonesInTheirRows) {
  writeTones("tones.wav", 22050, 3.0);
  ASSERT_EQ(run("--headless --input " + p("tones.wav") +
                " --palette 'White on Black' --log-amp --image " + p("tones.bmp")),
            0)
      << read("stderr.txt");
  const std::string bmp = read("tones.bmp");
  ASSERT_EQ(bmp.size(), 54u + 257u * ((569 * 3 + 3) / 4 * 4));
  // The newest column at the right edge: bright at 1 and 2.5 kHz, dark half way between.
  const int x = 568;
  const int at1k = greyAt(bmp, x, 256 - 64);
  const int at2k5 = greyAt(bmp, x, 256 - 160);
  EXPECT_GT(at1k, 150);
  EXPECT_GT(at2k5, 150);
  EXPECT_LT(greyAt(bmp, x, 256 - 112), at1k - 60);
  // The scale: "kHz" and the top tick in white at the left.
  EXPECT_EQ(greyAt(bmp, 39, 0), 255);
}

TEST_F(HeadlessRunTest, ClearErrorsAndNonZeroExits) {
  struct Case {
    std::string args;
    int exitCode;
    std::string says;
  };
  const Case cases[] = {
      {"--headless --image " + p("a.png") + " --window Kaiser", 2, "not a window"},
      {"--headless --image " + p("a.png") + " --palette jet", 2, "not a palette"},
      {"--headless --input " + p("missing.wav") + " --image " + p("a.png"), 1, "cannot read"},
      {"--headless --seconds 1 --image /nonexistent/folder/a.png", 1, "does not exist"},
      {"--bogus", 2, "unknown option"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(run(c.args), c.exitCode) << c.args;
    EXPECT_NE(read("stderr.txt").find(c.says), std::string::npos) << read("stderr.txt");
  }
  EXPECT_FALSE(std::filesystem::exists(p("a.png")));
  EXPECT_EQ(run("--help"), 0);
  EXPECT_EQ(run("--version"), 0);
}

// Without a window system the run prints the spectrogram display as the window shows it, on the
// file printer at the page's width, each pixel a block of its own colour.
TEST_F(HeadlessRunTest, PrintPutsTheSpectrogramDisplayOnThePage) {
  ASSERT_EQ(
      run("--headless --seconds 2 --palette Hot --image " + p("a.bmp") + " --print " + p("a.pdf")),
      0)
      << read("stderr.txt");
  const std::string bmp = read("a.bmp");
  ASSERT_EQ(bmp.size(), 54u + 257u * ((569 * 3 + 3) / 4 * 4));
  EXPECT_FALSE(zelk::testing::rasterisePage(p("a.pdf"), {0, 0, 8, 8}, 2));  // one page
  const auto page = zelk::testing::rasterisePage(p("a.pdf"), {0, 0, 2480, 1200});
  ASSERT_TRUE(page);
  const double scale = 2480.0 / 569;
  int wrong = 0;
  for (int y = 0; y < 257; ++y) {
    for (int x = 0; x < 569; ++x) {
      const std::size_t at = 54 + std::size_t((256 - y) * ((569 * 3 + 3) / 4 * 4) + x * 3);
      const std::uint32_t want = static_cast<unsigned char>(bmp[at + 2]) |
                                 static_cast<unsigned char>(bmp[at + 1]) << 8 |
                                 std::uint32_t(static_cast<unsigned char>(bmp[at])) << 16;
      const int px = static_cast<int>((x + 0.5) * scale), py = static_cast<int>((y + 0.5) * scale);
      if (page->at(px, py) != want && ++wrong < 5) ADD_FAILURE() << "at " << x << "," << y;
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(page->at(1000, static_cast<int>(257 * scale) + 2), 0x00FFFFFFu);  // nothing below
}
#endif

}  // namespace
}  // namespace spectrograph::app
