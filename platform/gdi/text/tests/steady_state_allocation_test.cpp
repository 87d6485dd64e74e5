// Once a font has drawn its characters, drawing and measuring them again allocates nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "gdi/font.h"
#include "gdi/text_output.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<int> allocations{0};
}  // namespace

// The replacements pair malloc with free; the compiler cannot see that through inlining.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  if (counting) ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace gdi {
namespace {

TEST(TextSteadyState, DrawingKnownCharactersAllocatesNothing) {
  LogFont f;
  f.faceName = "Arial";
  f.height = -11;
  f.underline = true;
  const auto level = Font::create(f);
  f.escapement = 900;
  const auto up = Font::create(f);
  std::vector<std::uint32_t> pixels(300 * 200, 0xFFFFFF);
  const PixelBufferView view{pixels.data(), 300, 300, 200};
  const Rect clip[] = {{0, 0, 150, 200}, {150, 0, 300, 100}};
  const TextStyle style{.textPixel = 0,
                        .backgroundPixel = 0xFFFFFF,
                        .opaque = true,
                        .align = TA_CENTER | TA_BASELINE | TA_UPDATECP};
  const char* texts[] = {"0", "-12.50", "1234.5", "Horz", "Vert \xC2\xB5V", "gjpqy"};
  const auto drawAll = [&] {
    for (const char* text : texts) {
      drawText(view, clip, *level, {150, 100}, text, style);
      drawText(view, clip, *up, {150, 100}, text, style);
      level->extent(text);
      up->extent(text);
    }
  };
  drawAll();  // renders every character once
  allocations = 0;
  counting = true;
  drawAll();
  counting = false;
  EXPECT_EQ(allocations, 0);
}

}  // namespace
}  // namespace gdi
