#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "bitmap_file_writer.h"
#include "bitmap_surface.h"
#include "dib_snapshot.h"
#include "fakes.h"
#include "gdi/packed_dib.h"
#include "output/dib_conversions.h"
#include "output/dib_errors.h"
#include "output/draw_surface.h"
#include "pooled_memory_dc.h"

namespace kvplotax::output {
namespace {

std::uint32_t read32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

TEST(MemoryDCPoolTest, ThirdContextIsMadeOutsideThePoolAndEntriesComeBack) {
  MemoryDCPool pool;
  {
    PooledMemoryDC first(pool);
    PooledMemoryDC second(pool);
    EXPECT_EQ(pool.inUse(), 2);
    EXPECT_TRUE(pool.isPoolEntry(&first.dc()));
    EXPECT_TRUE(pool.isPoolEntry(&second.dc()));
    EXPECT_NE(&first.dc(), &second.dc());
    PooledMemoryDC third(pool);
    EXPECT_FALSE(pool.isPoolEntry(&third.dc()));
    EXPECT_EQ(pool.inUse(), 2);
  }
  EXPECT_EQ(pool.inUse(), 0);
  PooledMemoryDC again(pool);
  EXPECT_TRUE(pool.isPoolEntry(&again.dc()));
}

TEST(MemoryDCPoolTest, ContextGoesBackToThePoolAsItWasLent) {
  MemoryDCPool pool;
  gdi::DeviceContext* lent = nullptr;
  gdi::Bitmap bitmap(4, 4);
  {
    PooledMemoryDC dc(pool);
    lent = &dc.dc();
    dc.selectBitmap(&bitmap);
    dc.selectPen(gdi::Pen(gdi::PS_DASH, 1, 0x0000FF));
    dc.selectPen(gdi::Pen(gdi::PS_DOT, 1, 0x00FF00));
    dc.selectBrush(gdi::Brush::solid(0x123456));
    const gdi::Region clip(gdi::Rect{1, 1, 2, 2});
    dc.selectClipRegion(&clip);
  }
  EXPECT_EQ(lent->bitmap(), nullptr);
  EXPECT_EQ(lent->pen(), gdi::Pen());
  EXPECT_EQ(lent->brush(), gdi::Brush());
  EXPECT_EQ(lent->clipRegion(), nullptr);
}

// Charts drawn on several threads at once (the recorder's and the web view's day plots) borrow
// from one pool: no entry is ever lent to two borrowers at a time, and every one comes back.
TEST(MemoryDCPoolTest, ThreadsBorrowingAtOnceNeverShareAContext) {
  MemoryDCPool pool;
  std::array<const gdi::DeviceContext*, MemoryDCPool::kEntries> entries{};
  {
    PooledMemoryDC first(pool), second(pool);
    entries = {&first.dc(), &second.dc()};
  }
  std::array<std::atomic<int>, MemoryDCPool::kEntries> holders{};
  std::atomic<bool> shared = false;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      gdi::Bitmap bitmap(2, 2);
      for (int i = 0; i < 2000; ++i) {
        PooledMemoryDC dc(pool);
        const auto at = std::find(entries.begin(), entries.end(), &dc.dc());
        std::atomic<int>* holder = at == entries.end() ? nullptr : &holders[at - entries.begin()];
        if (holder != nullptr && holder->fetch_add(1) != 0) shared = true;
        dc.selectBitmap(&bitmap);
        dc.dc().setPixel(i % 2, 0, 0x0000FF);
        if (holder != nullptr) holder->fetch_sub(1);
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_FALSE(shared);
  EXPECT_EQ(pool.inUse(), 0);
}

TEST(DrawSurfaceTest, HandlesShareOneBodyThatReturnsItsContextWithTheLast) {
  const int before = MemoryDCPool::shared().inUse();
  gdi::DeviceContext* lent = nullptr;
  {
    DrawSurface surface = DrawSurface::createBitmapSurface(8, 6, nullptr);
    DrawSurface other = surface;
    EXPECT_EQ(surface.references(), 2);
    EXPECT_EQ(surface.body(), other.body());
    lent = &surface.dc();
    surface.trackingDc().selectPen(gdi::Pen(gdi::PS_SOLID, 3, 0xFF));
    // Drawing layers clip the context directly too, past the wrapper.
    surface.dc().excludeClipRect({1, 1, 3, 3});
    EXPECT_EQ(MemoryDCPool::shared().inUse(), before + 1);
  }
  EXPECT_EQ(MemoryDCPool::shared().inUse(), before);
  // The next surface to borrow the context finds it as it was lent: unclipped, stock pen.
  ASSERT_TRUE(MemoryDCPool::shared().isPoolEntry(lent));
  EXPECT_EQ(lent->clipRegion(), nullptr);
  EXPECT_EQ(lent->pen(), gdi::Pen());
  EXPECT_EQ(lent->bitmap(), nullptr);
}

TEST(DrawSurfaceTest, DrawsAndCopiesExactPixels) {
  DrawSurface surface = DrawSurface::createBitmapSurface(10, 8, nullptr);
  surface.fillRect(surface.bounds(), gdi::Brush::solid(0x808000));
  surface.trackingDc().selectPen(gdi::Pen(gdi::PS_SOLID, 1, 0x0000FF));
  surface.line(1, 1, 5, 1);  // end pixel excluded

  gdi::Bitmap screen(20, 20, 0xFFFFFF);
  gdi::DeviceContext dc(&screen);
  ASSERT_TRUE(surface.copyToDc(dc, {0, 0, 6, 3}, {10, 10}));
  for (int x = 0; x < 6; ++x) {
    EXPECT_EQ(screen.pixel(10 + x, 11), (x >= 1 && x < 5) ? 0x0000FFu : 0x808000u) << x;
    EXPECT_EQ(screen.pixel(10 + x, 10), 0x808000u);
  }
  EXPECT_EQ(screen.pixel(16, 10), 0xFFFFFFu);
  EXPECT_EQ(screen.pixel(10, 13), 0xFFFFFFu);
}

TEST(DrawSurfaceTest, ZeroSizeGivesAnEmptySurfaceThatDrawsAndCopiesNothing) {
  for (const auto& [w, h] : {std::pair{0, 10}, std::pair{10, 0}, std::pair{-3, 5}}) {
    DrawSurface surface = DrawSurface::createBitmapSurface(w, h, nullptr);
    ASSERT_TRUE(surface);
    EXPECT_TRUE(surface.bounds().isEmpty());
    surface.fillRect({0, 0, 5, 5}, gdi::Brush::solid(1));
    surface.line(0, 0, 4, 4);
    gdi::Bitmap screen(4, 4, 7);
    gdi::DeviceContext dc(&screen);
    EXPECT_FALSE(surface.copyToDc(dc, {0, 0, 4, 4}, {0, 0}));
    EXPECT_EQ(screen, gdi::Bitmap(4, 4, 7));
    EXPECT_FALSE(surface.makeCopy(kCopyAsDib, false)) << "no image to copy";
  }
}

TEST(DrawSurfaceTest, InvalidateIsClippedToTheSurfaceAndReachesTheOwner) {
  testing::FakeHost owner;
  DrawSurface surface = DrawSurface::createBitmapSurface(10, 10, &owner);
  surface.invalidate({5, 5, 50, 50}, true);
  surface.invalidate({20, 20, 30, 30}, true);
  ASSERT_EQ(owner.invalidated.size(), 1u);
  EXPECT_EQ(owner.invalidated[0], (gdi::Rect{5, 5, 10, 10}));
}

TEST(DibSnapshotTest, TrueColourCopyHasNoColourTableAndBottomUpRows) {
  DrawSurface surface = DrawSurface::createBitmapSurface(3, 2, nullptr);
  surface.fillRect({0, 0, 3, 1}, gdi::Brush::solid(0x112233));
  surface.fillRect({0, 1, 3, 2}, gdi::Brush::solid(0x445566));
  DrawSurface copy = surface.makeCopy(kCopyAsDib, false);
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy.bounds(), surface.bounds());
  const auto dib = static_cast<DibSnapshot*>(copy.body())->packedDib();
  ASSERT_EQ(dib.size(), 40u + 3 * 4 * 2);
  EXPECT_EQ(read32(dib, 0), 40u);
  EXPECT_EQ(read32(dib, 4), 3u);
  EXPECT_EQ(read32(dib, 8), 2u);
  EXPECT_EQ(dib[12] | dib[13] << 8, 1);
  EXPECT_EQ(dib[14] | dib[15] << 8, 32);
  EXPECT_EQ(read32(dib, 16), 0u);
  EXPECT_EQ(read32(dib, 20), 24u);
  EXPECT_EQ(read32(dib, 32), 0u) << "no colours used";
  // The bottom row comes first, blue-green-red-reserved.
  EXPECT_EQ(std::vector<std::uint8_t>(dib.begin() + 40, dib.begin() + 44),
            (std::vector<std::uint8_t>{0x44, 0x55, 0x66, 0}));
  EXPECT_EQ(std::vector<std::uint8_t>(dib.begin() + 52, dib.begin() + 56),
            (std::vector<std::uint8_t>{0x11, 0x22, 0x33, 0}));

  // Copied back to a screen, the snapshot shows the same pixels.
  gdi::Bitmap screen(5, 5, 0);
  gdi::DeviceContext dc(&screen);
  ASSERT_TRUE(copy.copyToDc(dc, {1, 0, 3, 2}, {2, 3}));
  EXPECT_EQ(screen.pixel(2, 3), 0x112233u);
  EXPECT_EQ(screen.pixel(3, 4), 0x445566u);
  EXPECT_EQ(screen.pixel(4, 3), 0u);
}

TEST(DibSnapshotTest, ClipboardTakesTheImageOverAndBitmapCopyIsIndependent) {
  DrawSurface surface = DrawSurface::createBitmapSurface(2, 2, nullptr);
  surface.fillRect({0, 0, 2, 2}, gdi::Brush::solid(0xABCDEF));
  DrawSurface bitmapCopy = surface.makeCopy(kCopyAsBitmap, true);
  surface.fillRect({0, 0, 2, 2}, gdi::Brush::solid(0));
  EXPECT_EQ(static_cast<BitmapSurface*>(bitmapCopy.body())->bitmap().pixel(1, 1), 0xABCDEFu);
  EXPECT_FALSE(surface.makeCopy(7, false)) << "unknown copy kind";
  EXPECT_FALSE(surface.putOnClipboard(*std::make_unique<testing::FakeClipboard>()));

  DrawSurface copy = bitmapCopy.makeCopy(kCopyAsDib, true);
  testing::FakeClipboard clipboard;
  clipboard.open();
  ASSERT_TRUE(copy.putOnClipboard(clipboard));
  const auto on = gdi::PackedDib::fromBytes(clipboard.data(8));
  ASSERT_TRUE(on);
  EXPECT_EQ(on->pixel(0, 0), 0xABCDEFu);
  EXPECT_TRUE(copy.detachImage().dib.empty()) << "the snapshot forgot what it handed over";
}

TEST(BitmapFileTest, HeaderPointsPastHeaderAndColourTable) {
  const gdi::PackedDib paletted = gdi::PackedDib::fromBitmap(gdi::Bitmap(1, 1, 0xFFFFFF), 1);
  const auto header = bitmapFileHeader(paletted.bytes());
  ASSERT_TRUE(header);
  EXPECT_EQ((*header)[0], 'B');
  EXPECT_EQ((*header)[1], 'M');
  EXPECT_EQ(read32(*header, 2), paletted.bytes().size() + 14);
  EXPECT_EQ(read32(*header, 6), 0u);
  EXPECT_EQ(read32(*header, 10), 14u + 40 + 2 * 4);
  // A one-pixel row of 1 bit still takes 4 bytes.
  EXPECT_EQ(paletted.bytes().size(), 40u + 8 + 4);

  const std::vector<std::uint8_t> junk(30, 0xFF);
  EXPECT_FALSE(bitmapFileHeader(junk));
  EXPECT_FALSE(writeBitmapFile("/nonexistent-folder/x.bmp", paletted.bytes()));
  EXPECT_FALSE(writeBitmapFile("", paletted.bytes()));
}

TEST(DibConversionsTest, DeviceBitmapsBecomeTwentyFourBitDibsAndTrueColourHasNoPalette) {
  gdi::Bitmap bitmap(2, 1, 0x010203);
  const auto dib = BitmapToPackedDib(&bitmap, nullptr);
  ASSERT_TRUE(dib);
  EXPECT_EQ(dib->layout().bitCount, 24);
  EXPECT_EQ(dib->layout().imageSize, 8u);
  EXPECT_EQ(dib->pixel(1, 0), 0x010203u);
  EXPECT_FALSE(BitmapToPackedDib(nullptr, nullptr));
  const gdi::Bitmap empty;
  EXPECT_FALSE(BitmapToPackedDib(&empty, nullptr));

  gdi::DeviceContext screen(&bitmap);
  EXPECT_FALSE(CaptureSystemPalette(screen));
}

TEST(DibErrorsTest, TextsAndTheFallback) {
  EXPECT_EQ(dibErrorText(0), "Not a Windows DIB file!");
  EXPECT_EQ(dibErrorText(7), "Error creating Device Dependent Bitmap");
  EXPECT_EQ(dibErrorText(12), "Printing: GetModuleHandle() couldn't find GDI!");
  EXPECT_EQ(dibErrorText(19), "File Not Found!");
  EXPECT_EQ(dibErrorText(21), "General Error on call to DIB function");
  EXPECT_EQ(dibErrorText(22), "Undefined Error!");
  EXPECT_EQ(dibErrorText(-1), "Undefined Error!");
}

}  // namespace
}  // namespace kvplotax::output
