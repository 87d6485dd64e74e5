#include "output/chart_painter.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fakes.h"

namespace kvplotax::output {
namespace {

using testing::FakeClipboard;
using testing::FakeHost;
using testing::RecordingItem;

std::uint32_t read32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

class ChartPainterTest : public ::testing::Test {
 protected:
  // Paints the way a container does: everything invalid, then whatever the paint invalidated.
  void paintOnce(const gdi::Rect& invalid = {}) {
    host.invalidated.clear();
    painter.paint(dc, bounds, invalid, 5);
  }

  FakeHost host;
  ChartPainter painter{host};
  gdi::Bitmap screen{40, 30, 0xFFFFFF};
  gdi::DeviceContext dc{&screen};
  gdi::Rect bounds{5, 4, 25, 16};
};

TEST_F(ChartPainterTest, FirstPaintBuildsTheSurfaceAndTheSecondShowsIt) {
  RecordingItem item("trace", 0x0000FF);
  item.area = {2, 2, 6, 6};
  host.viewport(0).addItem(&item);

  paintOnce();
  ASSERT_TRUE(painter.hasSurface());
  EXPECT_EQ(painter.surface().width(), 20);
  EXPECT_EQ(painter.surface().height(), 12);
  EXPECT_EQ(host.viewport(0).surface().body(), painter.surface().body());
  EXPECT_EQ(screen.pixel(5, 4), 0xFFFFFFu) << "nothing is copied by the paint that resizes";
  EXPECT_EQ(host.invalidated, (std::vector<gdi::Rect>{{0, 0, 20, 12}}));
  EXPECT_TRUE(painter.fullRedrawPending());

  paintOnce();
  EXPECT_EQ(host.shownCalls, 1);
  EXPECT_FALSE(painter.fullRedrawPending());
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      gdi::ColorRef expected = 0xFFFFFF;
      if (bounds.contains({x, y})) expected = 0x808000;
      if (gdi::Rect{7, 6, 11, 10}.contains({x, y})) expected = 0x0000FF;
      ASSERT_EQ(screen.pixel(x, y), expected) << x << "," << y;
    }
  }
  // The graticule goes over the full redraw and once more over what the next paint shows.
  EXPECT_EQ(host.graticuleClips, (std::vector<gdi::Rect>{{0, 0, 20, 12}, {0, 0, 20, 12}}));
}

TEST_F(ChartPainterTest, PaintCopiesOnlyTheInvalidPartAndAcknowledgesTheFrame) {
  paintOnce();
  paintOnce();
  painter.surface().fillRect(painter.surface().bounds(), gdi::Brush::solid(0x0000FF));
  paintOnce({6, 5, 8, 6});
  EXPECT_EQ(screen.pixel(6, 5), 0x0000FFu);
  EXPECT_EQ(screen.pixel(7, 5), 0x0000FFu);
  EXPECT_EQ(screen.pixel(8, 5), 0x808000u);
  EXPECT_EQ(screen.pixel(6, 6), 0x808000u);
  EXPECT_EQ(host.shownCalls, 1) << "no full redraw was waiting";
}

TEST_F(ChartPainterTest, ResizedToZeroGivesAnEmptySurfaceAndPaintsNothing) {
  paintOnce();
  paintOnce();
  const gdi::Bitmap before = screen;
  bounds = {5, 4, 5, 16};
  paintOnce();
  ASSERT_TRUE(painter.hasSurface());
  EXPECT_TRUE(painter.surface().bounds().isEmpty());
  EXPECT_TRUE(host.invalidated.empty());
  paintOnce();
  paintOnce({5, 4, 9, 9});
  EXPECT_EQ(screen, before);
  EXPECT_EQ(painter.writeToDisk("/tmp/never-written.bmp"), ChartPainter::OutputResult::kNoImage);
}

TEST_F(ChartPainterTest, SameSizeBoundsElsewhereRedrawsWithoutRebuilding) {
  paintOnce();
  const SurfaceBody* body = painter.surface().body();
  bounds = bounds.offset(3, 3);
  paintOnce();
  EXPECT_EQ(painter.surface().body(), body);
  EXPECT_EQ(host.invalidated.size(), 1u) << "the full redraw asks for a paint";
}

TEST_F(ChartPainterTest, ColourDepthRebuildsOnlyOnChange) {
  EXPECT_FALSE(painter.setColorDepth(0));
  EXPECT_TRUE(painter.setColorDepth(2)) << "no surface yet: only recorded";
  EXPECT_EQ(painter.colorCount(), 256);
  paintOnce();
  // Holding a handle keeps the old body alive, so a rebuilt one cannot reuse its address.
  const DrawSurface old = painter.surface();
  const SurfaceBody* body = old.body();
  host.invalidated.clear();
  EXPECT_FALSE(painter.setColorDepth(2));
  EXPECT_EQ(painter.surface().body(), body);
  EXPECT_TRUE(host.invalidated.empty());
  EXPECT_TRUE(painter.setColorDepth(1));
  EXPECT_NE(painter.surface().body(), body);
  EXPECT_EQ(painter.surface().width(), 20);
  EXPECT_EQ(painter.colorCount(), 16);
  EXPECT_EQ(host.invalidated.size(), 1u);
}

TEST_F(ChartPainterTest, NestedDisableKeepsPaintingOffUntilTheLastEnable) {
  paintOnce();
  paintOnce();
  painter.disablePaint();
  painter.disablePaint();
  painter.surface().fillRect({0, 0, 20, 12}, gdi::Brush::solid(0x00FF00));
  painter.invalidate({1, 1, 3, 3});
  painter.fullRedraw();
  host.back = 0x0000FF;
  EXPECT_TRUE(host.invalidated.empty());
  paintOnce({10, 10, 12, 12});
  EXPECT_EQ(screen.pixel(10, 10), 0x808000u) << "nothing reaches the screen";

  EXPECT_FALSE(painter.enablePaint());
  EXPECT_TRUE(painter.paintDisabled());
  EXPECT_TRUE(host.invalidated.empty());
  EXPECT_TRUE(painter.enablePaint());
  EXPECT_FALSE(painter.paintDisabled());
  // Everything collected meanwhile is asked for in one piece.
  EXPECT_EQ(host.invalidated, (std::vector<gdi::Rect>{{0, 0, 20, 12}}));
  EXPECT_TRUE(painter.enablePaint());
  EXPECT_EQ(painter.paintDisableCount(), 0);
}

TEST_F(ChartPainterTest, ImmediatePaintFollowsNegativeFrameRateUnlessDisabled) {
  paintOnce();
  painter.dataDelivered({1, 1, 2, 2});
  EXPECT_EQ(host.paintNowCalls, 0);
  painter.restoreFramesPerSec(-1);
  EXPECT_FALSE(painter.frameTimer().running());
  painter.dataDelivered({1, 1, 2, 2});
  EXPECT_EQ(host.paintNowCalls, 1);
  painter.disablePaint();
  painter.dataDelivered({1, 1, 2, 2});
  painter.paintIfImmediate();
  EXPECT_EQ(host.paintNowCalls, 1);
}

TEST_F(ChartPainterTest, FlushForOutputRedrawsErasedAreasThenTheGraticule) {
  RecordingItem a("a"), b("b");
  a.area = {0, 0, 5, 5};
  b.area = {3, 3, 8, 8};
  host.viewport(0).addItem(&a);
  host.viewport(0).addItem(&b);
  paintOnce();
  host.graticuleClips.clear();
  painter.flushForOutput();
  EXPECT_TRUE(host.graticuleClips.empty()) << "nothing to redraw";
  host.viewport(0).itemErased(&a, a.area);
  painter.flushForOutput();
  EXPECT_EQ(host.graticuleClips, (std::vector<gdi::Rect>{{0, 0, 20, 12}}));
}

TEST_F(ChartPainterTest, WritesATrueColourBitmapFile) {
  EXPECT_EQ(painter.writeToDisk("/tmp/x.bmp"), ChartPainter::OutputResult::kNoSurface);
  paintOnce();
  painter.surface().fillRect({0, 11, 1, 12}, gdi::Brush::solid(0x0A0B0C));
  const std::string path =
      (std::filesystem::temp_directory_path() / ("chart-" + std::to_string(getpid()) + ".bmp"))
          .string();
  EXPECT_EQ(painter.writeToDisk(""), ChartPainter::OutputResult::kInvalidFileName);
  ASSERT_EQ(painter.writeToDisk(path), ChartPainter::OutputResult::kDone);
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
  std::filesystem::remove(path);
  const std::size_t rows = 20 * 4 * 12;
  ASSERT_EQ(file.size(), 54 + rows);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(read32(file, 2), 54 + rows);
  EXPECT_EQ(read32(file, 6), 0u);
  EXPECT_EQ(read32(file, 10), 54u);
  EXPECT_EQ(read32(file, 14), 40u);
  EXPECT_EQ(read32(file, 18), 20u);
  EXPECT_EQ(read32(file, 22), 12u);
  EXPECT_EQ(file[28], 32);
  EXPECT_EQ(read32(file, 34), rows);
  // First stored row is the bottom one; its first pixel was painted.
  // Stored blue, green, red, reserved.
  EXPECT_EQ(read32(file, 54), 0x000C0B0Au);
  EXPECT_EQ(read32(file, 58), 0x00008080u);
  EXPECT_EQ(read32(file, 54 + 20 * 4), 0x00008080u);
  EXPECT_EQ(painter.writeToDisk("/nonexistent-folder/c.bmp"), ChartPainter::OutputResult::kFailed);
}

TEST_F(ChartPainterTest, ClipboardReplaceOrAdd) {
  FakeClipboard clipboard;
  EXPECT_EQ(painter.copyToClipboard(clipboard, false), ChartPainter::OutputResult::kNoSurface);
  paintOnce();
  clipboard.entries[1] = {'t', 'e', 'x', 't'};
  clipboard.entries[8] = {1, 2, 3};
  ASSERT_EQ(painter.copyToClipboard(clipboard, true), ChartPainter::OutputResult::kDone);
  EXPECT_EQ(clipboard.entries.size(), 2u) << "the text stays";
  EXPECT_EQ(clipboard.data(8).size(), 40u + 20 * 4 * 12) << "the old image is replaced";
  EXPECT_FALSE(clipboard.isOpen);

  ASSERT_EQ(painter.copyToClipboard(clipboard, false), ChartPainter::OutputResult::kDone);
  EXPECT_EQ(clipboard.empties, 1);
  EXPECT_EQ(clipboard.entries.size(), 1u);
  EXPECT_TRUE(clipboard.hasFormat(8));

  clipboard.canOpen = false;
  clipboard.entries.clear();
  EXPECT_EQ(painter.copyToClipboard(clipboard, false), ChartPainter::OutputResult::kFailed);
  EXPECT_TRUE(clipboard.entries.empty());
}

TEST_F(ChartPainterTest, FrameRateThroughThePropertyDrivesTheTimer) {
  testing::ManualTimerDevice device;
  painter.frameTimer().setDevice(&device);
  painter.setFramesPerSec(45);
  EXPECT_EQ(painter.framesPerSec(), 45);
  EXPECT_EQ(device.lastPeriod, 33u);
  // A paint tells the timer where to post and clears the outstanding request.
  paintOnce();
  device.callback();
  device.callback();
  EXPECT_EQ(device.posts.size(), 1u);
  paintOnce();
  device.callback();
  EXPECT_EQ(device.posts.size(), 2u);
  painter.setFramesPerSec(-5);
  EXPECT_EQ(painter.framesPerSec(), -5);
  EXPECT_FALSE(painter.frameTimer().running());
}

}  // namespace
}  // namespace kvplotax::output
