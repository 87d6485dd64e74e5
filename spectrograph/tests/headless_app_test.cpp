// The unattended program: its command line and whole runs of the binary on a recording.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

#include "headless_options.h"
#include "page_raster.h"
#include "scratch_folder.h"

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
class HeadlessRunTest : public zelk::test::ScratchFolder {
 protected:
  int run(const std::string& args) { return runCommand(std::string(ZELKSPEC_PATH) + " " + args); }

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

// A 24-bit bottom-up bitmap of any width: its size and the grey (blue) level of a pixel.
struct Bitmap {
  std::string bytes;
  int width() const { return field(18); }
  int height() const { return field(22); }
  std::size_t stride() const { return std::size_t(width() * 3 + 3) / 4 * 4; }
  int grey(int x, int y) const {
    return static_cast<unsigned char>(
        bytes[54 + std::size_t(height() - 1 - y) * stride() + std::size_t(x) * 3]);
  }
  std::string row(int y, int pixels) const {
    return bytes.substr(54 + std::size_t(height() - 1 - y) * stride(), std::size_t(pixels) * 3);
  }
  int field(std::size_t at) const {
    int v = 0;
    std::memcpy(&v, bytes.data() + at, sizeof v);
    return v;
  }
};

// The display's levels move with --ref and --range as a whole recording's do: logarithmic levels
// put ref at the top and ref - range at the bottom, linear ones the amplitude over ref's. The
// tone's level in the run without them gives its level in dB; every other run is predicted from
// it. --colorbar appends the palette's scale to the right of the unchanged display.
TEST_F(HeadlessRunTest, LevelOptionsMoveTheDisplaysPalette) {
  writeTones("tones.wav", 22050, 3.0);
  const std::string common = "--headless --input " + p("tones.wav") + " --palette 'White on Black'";
  auto picture = [&](const std::string& options, const std::string& name) {
    const int code = run(common + " " + options + " --image " + p(name));
    EXPECT_EQ(code, 0) << options << ": " << read("stderr.txt");
    return Bitmap{read(name)};
  };
  constexpr int kX = 568, kToneY = 256 - 64;  // the newest column, the 1 kHz row
  const Bitmap logDefault = picture("--log-amp", "log.bmp");
  const Bitmap linearDefault = picture("", "linear.bmp");
  ASSERT_EQ(logDefault.width(), 569);
  const double toneDb = logDefault.grey(kX, kToneY) * 80.0 / 255 - 80;
  ASSERT_GT(toneDb, -30);
  ASSERT_LT(toneDb, -10);

  struct Case {
    std::string options;
    bool logAmp;
    double ref;
    double range;
    const Bitmap* sameAs;  // the run whose picture this one repeats, if any
  };
  const Case cases[] = {
      {"--log-amp --ref 0 --range 80", true, 0, 80, &logDefault},
      {"--ref -30", false, -30, 0, &linearDefault},
      {"--log-amp --ref -10", true, -10, 80, nullptr},
      {"--log-amp --ref 10 --range 50", true, 10, 50, nullptr},
      {"--log-amp --range 160", true, 0, 160, nullptr},
      {"--log-amp --ref -5.5 --range 200", true, -5.5, 200, nullptr},
      {"--ref 0", false, 0, 0, nullptr},
      {"--ref -12 --gain 0", false, -12, 0, nullptr},
  };
  for (const Case& c : cases) {
    const Bitmap got = picture(c.options, "case.bmp");
    if (c.sameAs != nullptr) {
      EXPECT_EQ(got.bytes, c.sameAs->bytes) << c.options;
      continue;
    }
    const double want = c.logAmp ? (toneDb - c.ref + c.range) * 255 / c.range
                                 : std::pow(10.0, (toneDb - c.ref) / 20) * 255;
    ASSERT_LT(want, 250) << c.options;  // a level the palette shows unclipped
    // The tone's dB is known to half a level of the default span.
    const double slack = c.logAmp ? 0.5 + 0.5 * 80 / c.range : 1 + want * 0.02;
    EXPECT_NEAR(got.grey(kX, kToneY), want, slack) << c.options;
  }

  // The bar: the display unchanged at its left, the palette from top to bottom at its right, on
  // the image and on the printed page alike.
  const Bitmap barred = [&] {
    const int code =
        run(common + " --log-amp --colorbar --image " + p("bar.bmp") + " --print " + p("bar.pdf"));
    EXPECT_EQ(code, 0) << read("stderr.txt");
    return Bitmap{read("bar.bmp")};
  }();
  ASSERT_EQ(barred.width(), 569 + 52);
  ASSERT_EQ(barred.height(), 257);
  for (int y = 0; y < 257; y += 32) EXPECT_EQ(barred.row(y, 569), logDefault.row(y, 569)) << y;
  EXPECT_EQ(barred.grey(569 + 5, 0), 255);
  EXPECT_EQ(barred.grey(569 + 5, 128), 128);
  EXPECT_EQ(barred.grey(569 + 5, 256), 0);
  const auto page = zelk::testing::rasterisePage(p("bar.pdf"), {0, 0, 2480, 1200});
  ASSERT_TRUE(page);
  const double scale = 2480.0 / (569 + 52);
  const auto tone = static_cast<std::uint32_t>(barred.grey(kX, kToneY));
  EXPECT_EQ(
      page->at(static_cast<int>((kX + 0.5) * scale), static_cast<int>((kToneY + 0.5) * scale)),
      tone | tone << 8 | tone << 16);

  // What the display cannot show is refused before the run.
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--headless", "--image", "a.png", "--range", "60"},
           {"--headless", "--image", "a.png", "--log-amp", "--range", "0.5"},
           {"--headless", "--image", "a.png", "--ref", "300"},
           {"--headless", "--image", "a.png", "--ref", "-20", "--width", "100"}}) {
    EXPECT_NE(parse(args).error, "") << args[3];
  }
}
#endif

}  // namespace
}  // namespace spectrograph::app
