// The chart control's output through its dispatch interface, in the headless container: what
// the screen shows, bitmap files, the clipboard, paint disabling, frame timing and resizing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "automation/automation.h"
#include "gdi/packed_dib.h"
#include "host/clipboard.h"
#include "host/headless.h"

namespace {

using automation::Variant;

const automation::Guid kClsid = *automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");

constexpr int kWidth = 61;
constexpr int kHeight = 37;

Variant i2(int v) { return Variant(static_cast<std::int16_t>(v)); }
Variant i4(std::int32_t v) { return Variant(v); }

std::uint32_t read32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

std::uint16_t errorNumber(const std::function<void()>& body) {
  try {
    body();
  } catch (const automation::AutomationError& e) {
    return e.number();
  }
  ADD_FAILURE() << "no error raised";
  return 0;
}

class ChartOutputTest : public ::testing::Test {
 protected:
  ChartOutputTest() : form(kWidth, kHeight), chart(form.create(kClsid)) {}

  std::string tempPath(const char* name) {
    const auto path = std::filesystem::temp_directory_path() /
                      (std::string(name) + "-" + std::to_string(getpid()) + ".bmp");
    std::filesystem::remove(path);
    created.push_back(path);
    return path.string();
  }
  ~ChartOutputTest() override {
    for (const auto& p : created) std::filesystem::remove(p);
  }

  // The screen inside the control, row by row.
  std::vector<std::uint32_t> screenPixels() const {
    std::vector<std::uint32_t> out;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) out.push_back(form.pixel(x, y));
    return out;
  }
  static std::vector<std::uint32_t> dibPixels(const gdi::PackedDib& dib) {
    std::vector<std::uint32_t> out;
    for (int y = 0; y < dib.height(); ++y)
      for (int x = 0; x < dib.width(); ++x) out.push_back(dib.pixel(x, y));
    return out;
  }

  host::HeadlessContainer form;
  automation::Dispatch& chart;
  std::vector<std::filesystem::path> created;
};

TEST_F(ChartOutputTest, OutputCommandsNeedASurface) {
  // Before its first paint the control has nothing to copy.
  EXPECT_EQ(errorNumber([&] { chart.put("Action", i2(1)); }), 19);
  EXPECT_EQ(errorNumber([&] { chart.put("Action", i2(2)); }), 19);
  chart.put("ImageFile", Variant(tempPath("nosurface")));
  EXPECT_EQ(errorNumber([&] { chart.put("Action", i2(4)); }), 19);
  EXPECT_FALSE(std::filesystem::exists(created.back()));
  EXPECT_FALSE(form.clipboard().hasFormat(host::kCfDib));
}

TEST_F(ChartOutputTest, WriteToDiskWritesWhatTheScreenShows) {
  form.pump();
  const std::string path = tempPath("chart");
  chart.put("ImageFile", Variant(path));
  chart.put("Action", i2(4));
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
  const std::size_t rows = std::size_t{kWidth} * 4 * kHeight;
  ASSERT_EQ(file.size(), 54 + rows);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(read32(file, 2), 54 + rows);
  EXPECT_EQ(read32(file, 6), 0u);
  EXPECT_EQ(read32(file, 10), 54u) << "true colour: no colour table";
  EXPECT_EQ(read32(file, 14), 40u);
  EXPECT_EQ(read32(file, 18), std::uint32_t{kWidth});
  EXPECT_EQ(read32(file, 22), std::uint32_t{kHeight});
  EXPECT_EQ(file[28], 32);
  EXPECT_EQ(read32(file, 46), 0u);
  const auto dib = gdi::PackedDib::fromBitmapFile(file);
  ASSERT_TRUE(dib);
  EXPECT_EQ(dibPixels(*dib), screenPixels());
  EXPECT_EQ(chart.get("Action").toI4(), 0);
}

TEST_F(ChartOutputTest, EmptyImageFileRaisesTwentyAndWritesNothing) {
  form.pump();
  chart.put("ImageFile", Variant(""));
  EXPECT_EQ(errorNumber([&] { chart.put("Action", i2(4)); }), 20);
  // With an error base the number moves with it.
  chart.put("ErrBase", i4(1000));
  EXPECT_EQ(errorNumber([&] { chart.put("Action", i2(4)); }), 1020);
  // A file that cannot be created is not reported.
  chart.put("ImageFile", Variant("/nonexistent-folder/chart.bmp"));
  chart.put("Action", i2(4));
}

TEST_F(ChartOutputTest, CopyReplacesAndAppendAddsToTheClipboard) {
  form.pump();
  host::Clipboard& clipboard = form.clipboard();
  ASSERT_TRUE(clipboard.open(1));
  clipboard.empty();
  clipboard.setData(host::kCfText, {'h', 'i', 0});
  clipboard.close();

  chart.put("Action", i2(2));
  EXPECT_EQ(clipboard.formats(), (std::vector<unsigned>{host::kCfText, host::kCfDib}));
  const auto dib = gdi::PackedDib::fromBytes(*clipboard.data(host::kCfDib));
  ASSERT_TRUE(dib);
  EXPECT_EQ(dibPixels(*dib), screenPixels());
  EXPECT_EQ(dib->layout().bitsOffset, 40u);
  chart.put("Action", i2(2));
  EXPECT_EQ(clipboard.formats().size(), 2u) << "a second picture replaces the first";

  chart.put("Action", i2(1));
  EXPECT_EQ(clipboard.formats(), (std::vector<unsigned>{host::kCfDib}));
  EXPECT_FALSE(clipboard.isOpen());
}

TEST_F(ChartOutputTest, NestedDisableHoldsTheScreenUntilTheSecondEnable) {
  form.pump();
  const auto before = screenPixels();
  chart.put("Action", i2(5));
  chart.put("Action", i2(5));
  chart.put("BackColor", i4(0x0000FF));
  form.pump();
  chart.put("Action", i2(6));
  form.pump();
  EXPECT_EQ(screenPixels(), before) << "still disabled after one enable";

  chart.put("Action", i2(6));
  // The enable paints at once, without waiting for the message loop.
  const auto after = screenPixels();
  EXPECT_NE(after, before);
  form.pump();
  EXPECT_EQ(screenPixels(), after);
  chart.put("ImageFile", Variant(tempPath("enabled")));
  chart.put("Action", i2(4));
  std::ifstream in(created.back(), std::ios::binary);
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
  const auto dib = gdi::PackedDib::fromBitmapFile(file);
  ASSERT_TRUE(dib);
  EXPECT_EQ(dibPixels(*dib), after);
  chart.put("Action", i2(6));
  chart.put("Action", i2(7));  // unknown actions do nothing
}

TEST_F(ChartOutputTest, FrameRateDrivesTimerPostsAndStops) {
  form.pump();
  chart.put("FramesPerSec", i2(45));
  EXPECT_EQ(chart.get("FramesPerSec").toI4(), 45);
  EXPECT_TRUE(form.waitForMessage(std::chrono::milliseconds(2000)));
  form.pump();
  chart.put("FramesPerSec", i2(-1));
  EXPECT_EQ(chart.get("FramesPerSec").toI4(), -1);
  form.pump();
  EXPECT_FALSE(form.waitForMessage(std::chrono::milliseconds(120)));
  chart.put("FramesPerSec", i2(20));
  chart.put("FramesPerSec", i2(0));
  form.pump();
  EXPECT_FALSE(form.waitForMessage(std::chrono::milliseconds(120)));
}

TEST_F(ChartOutputTest, ResizedToZeroPaintsNothingAndComesBack) {
  form.pump();
  form.resize(0, kHeight);
  form.pump();
  chart.put("ImageFile", Variant(tempPath("zero")));
  chart.put("Action", i2(4));  // nothing to write, nothing raised
  chart.put("Action", i2(1));
  EXPECT_FALSE(std::filesystem::exists(created.back()));
  form.resize(kWidth, kHeight);
  form.pump();
  chart.put("Action", i2(4));
  EXPECT_TRUE(std::filesystem::exists(created.back()));
}

TEST_F(ChartOutputTest, ColourDepthAcceptsItsValuesAndReadsBack) {
  form.pump();
  const auto before = screenPixels();
  chart.put("ColorDepth", i2(0));
  chart.put("ColorDepth", i2(2));
  EXPECT_EQ(chart.get("ColorDepth").toI4(), 2);
  form.pump();
  EXPECT_EQ(screenPixels(), before) << "the picture is drawn again the same way";
}

// Channel 1 with float samples and a red one-pixel line; two points at the window's middle.
void deliverTwoPoints(automation::Dispatch& chart) {
  chart.put("Pen_Select", i2(1));
  chart.put("PenColor", i4(0x0000FF));
  chart.put("Chn_Select", i2(1));
  chart.put("ChnDspMode", i2(0));
  chart.put("ChnDspStyle", i2(1));
  chart.put("ChnDspBufLen", i4(500));
  chart.put("ChnDspAction", i2(1));
  auto y = automation::SafeArray::create(automation::VT_R4, 2);
  static_cast<float*>(y->data())[0] = 7.0f;
  static_cast<float*>(y->data())[1] = 7.0f;
  std::vector<Variant> args{i2(1),
                            i4(2),
                            Variant::array(automation::VT_R4, y),
                            i4(0),
                            Variant::array(automation::VT_R4, nullptr),
                            i4(0)};
  ASSERT_EQ(chart.call("ChartData", args).toI4(), 2);
}

TEST(ChartFrameRate, NegativeRateShowsEachDeliveryAtOnceZeroWaitsForTheLoop) {
  for (const int rate : {-1, 0}) {
    host::HeadlessContainer form(500, 300);
    automation::Dispatch& chart = form.create(kClsid);
    form.pump();
    chart.put("FramesPerSec", i2(rate));
    deliverTwoPoints(chart);
    EXPECT_EQ(form.pixel(40, 102) == 0x0000FFu, rate < 0) << rate;
    form.pump();
    EXPECT_EQ(form.pixel(40, 102), 0x0000FFu) << rate;
  }
}

}  // namespace
