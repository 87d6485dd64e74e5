// Once a font has drawn its characters, drawing and measuring them again allocates nothing.
#include <gtest/gtest.h>

#include <vector>

#include "allocation_counter.h"
#include "gdi/font.h"
#include "gdi/text_output.h"

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
  zelk::testing::startCountingAllocations();
  drawAll();
  EXPECT_EQ(zelk::testing::stopCountingAllocations(), 0);
}

}  // namespace
}  // namespace gdi
