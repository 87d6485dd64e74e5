// A user's chart style as the programs meet it: a style that changes the grid and the trace pen
// shows in the headless picture, and a file that cannot be used is said in one line while the
// program draws exactly what it draws without one.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "apps/designed_chart.h"
#include "host/headless.h"

namespace {

namespace fs = std::filesystem;
using automation::Variant;

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// How many pixels of each colour (0xRRGGBB) a 24-bit bitmap file holds.
std::map<std::uint32_t, int> colourCounts(const std::string& bmp) {
  const auto u32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bmp.at(at + i));
    return v;
  };
  std::map<std::uint32_t, int> counts;
  const int width = static_cast<int>(u32(18)), height = static_cast<int>(u32(22));
  const std::size_t offset = u32(10), stride = (static_cast<std::size_t>(width) * 3 + 3) & ~3u;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::size_t at = offset + static_cast<std::size_t>(y) * stride + x * 3u;
      const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bmp.at(at + i)); };
      ++counts[static_cast<std::uint32_t>(byte(2)) << 16 | byte(1) << 8 | byte(0)];
    }
  }
  return counts;
}

class UserChartStyleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("zelk_style_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(forms());
  }
  void TearDown() override {
    fs::permissions(forms(), fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir);
  }
  fs::path forms() const { return dir / "config/zelk/forms"; }
  // Runs the program with our configuration folder; its status, and its standard error in err.
  int run(const std::string& program, const std::string& args) {
    const std::string command = "XDG_CONFIG_HOME=" + (dir / "config").string() + " " + program +
                                " " + args + " 2>" + (dir / "stderr.txt").string();
    const int status = std::system(command.c_str());
    err = readFile(dir / "stderr.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string recorderImage(const std::string& name) {
    const fs::path image = dir / name;
    EXPECT_EQ(run(ZELKCHART_PATH,
                  "--headless --input synthetic:5 --seconds 20 --image " + image.string()),
              0)
        << err;
    return readFile(image);
  }
  fs::path dir;
  std::string err;
};

// The designed recorder chart with a green grid and a blue trace pen three pixels wide, as the
// designer saves it; with a larger font and two number places on the scale when asked.
std::string greenGridBluePen(bool scaleText = false) {
  host::HeadlessContainer box(601, 257);
  automation::Dispatch& chart =
      box.loadBag(apps::chartClass(), readFile(fs::path(ZELK_SOURCE_FORMS) / "zelkchart.bag"));
  chart.put("GridColor", Variant(std::int32_t{0x0000FF00}));
  chart.put("Pen_Select", Variant(std::int16_t{1}));
  chart.put("PenColor", Variant(std::int32_t{0x00FF0000}));
  chart.put("PenWidth", Variant(std::int16_t{3}));
  if (scaleText) {
    chart.put("FontSize", Variant(12.0f));
    chart.put("Scale_Select", Variant(std::int16_t{1}));
    chart.put("ScaleDimension", Variant(std::int16_t{1}));
    chart.put("ScalePlaces", Variant(std::int16_t{2}));
    chart.put("ScaleAction", Variant(std::int16_t{1}));
  }
  return box.saveBag();
}

TEST_F(UserChartStyleTest, TheUsersGridAndTracePenShowInTheRecordersPicture) {
  const auto plain = colourCounts(recorderImage("plain.bmp"));
  std::ofstream(forms() / "zelkchart.bag") << greenGridBluePen();
  const auto styled = colourCounts(recorderImage("styled.bmp"));
  EXPECT_EQ(err, "");
  const auto count = [](const std::map<std::uint32_t, int>& counts, std::uint32_t rgb) {
    const auto it = counts.find(rgb);
    return it == counts.end() ? 0 : it->second;
  };
  // Grey grid and red trace become green and blue; the wider pen paints more of the chart.
  EXPECT_GT(count(plain, 0xC0C0C0), 500);
  EXPECT_GT(count(plain, 0xFF0000), 50);
  EXPECT_EQ(count(styled, 0xFF0000), 0);
  EXPECT_GT(count(styled, 0x00FF00), count(plain, 0xC0C0C0) / 2);
  EXPECT_GT(2 * count(styled, 0x0000FF), 3 * count(plain, 0xFF0000));

  // The scale's font and number places outlast the set-up that recording starts with.
  std::ofstream(forms() / "zelkchart.bag") << greenGridBluePen(true);
  EXPECT_NE(recorderImage("scale.bmp"), readFile(dir / "styled.bmp"));
  EXPECT_EQ(err, "");

  // Without the file, the picture is today's again, pixel for pixel.
  fs::remove(forms() / "zelkchart.bag");
  EXPECT_EQ(recorderImage("again.bmp"), readFile(dir / "plain.bmp"));
}

TEST_F(UserChartStyleTest, AFileThatCannotBeUsedIsSaidInOneLineAndTheFormsStyleIsUsed) {
  const std::string plain = recorderImage("plain.bmp");
  const std::string designed = readFile(fs::path(ZELK_SOURCE_FORMS) / "zelkchart.bag");
  struct Case {
    const char* what;
    std::string text;  // empty: a folder stands in the file's place
  };
  const Case cases[] = {
      {"a refused colour", designed + "GridColor = banana\n"},
      {"a refused font size", designed + "FontSize = -4\n"},
      {"too large", designed + std::string(apps::kMaxSettingsBytes, ' ')},
      {"not a file", ""},
  };
  for (const Case& c : cases) {
    fs::remove_all(forms() / "zelkchart.bag");
    if (c.text.empty()) {
      fs::create_directory(forms() / "zelkchart.bag");
    } else {
      std::ofstream(forms() / "zelkchart.bag") << c.text;
    }
    EXPECT_EQ(recorderImage("bad.bmp"), plain) << c.what;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << c.what << ": " << err;
    EXPECT_NE(err.find("zelkchart: "), std::string::npos) << c.what << ": " << err;
    EXPECT_NE(err.find("own chart style is used"), std::string::npos) << c.what << ": " << err;

    std::error_code ignored;
    fs::rename(forms() / "zelkchart.bag", forms() / "zelkspec.bag", ignored);
    EXPECT_EQ(run(ZELKSPEC_PATH, "--headless --input synthetic --seconds 1 --image " +
                                     (dir / "spec.png").string()),
              0)
        << c.what << ": " << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << c.what << ": " << err;
    EXPECT_NE(err.find("zelkspec: "), std::string::npos) << c.what << ": " << err;
    fs::remove_all(forms() / "zelkspec.bag");
  }
}

}  // namespace
