// Arbitrary caller strings and placements: text output must stay inside the buffer and the clip,
// whatever the bytes, the alignment or the reference point.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "gdi/font.h"
#include "gdi/text_output.h"

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr std::uint32_t kPaper = 0xFFFFFF;

const gdi::Font& fontFor(std::uint8_t selector) {
  static std::vector<std::shared_ptr<const gdi::Font>> fonts = [] {
    std::vector<std::shared_ptr<const gdi::Font>> all;
    for (int escapement : {0, 900, 1800, 2700}) {
      for (int height : {-11, 16, -30, 0}) {
        gdi::LogFont f;
        f.faceName = height == 16 ? "Liberation Sans" : "Arial";
        f.height = height;
        f.escapement = escapement;
        f.weight = height == -30 ? gdi::FW_BOLD : gdi::FW_NORMAL;
        f.italic = f.underline = f.strikeOut = height == 0;
        all.push_back(gdi::Font::create(f));
      }
    }
    return all;
  }();
  return *fonts[selector % fonts.size()];
}

std::int16_t read16(const std::uint8_t* p) {
  std::int16_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

}  // namespace

// fontconfig starts here, before the inputs, so that its one-time start-up allocations are not
// taken for allocations of an input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fontFor(0);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kHeader = 8;
  if (size < kHeader) return 0;
  const gdi::Font& font = fontFor(data[0]);
  const gdi::Point reference{read16(data + 1) / 256, read16(data + 3) / 256};
  const std::uint32_t align = data[5];
  const gdi::Rect clip{data[6] % kWidth, data[7] % kHeight, kWidth - 5, kHeight - 3};
  const std::string_view text(reinterpret_cast<const char*>(data + kHeader), size - kHeader);

  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight, kPaper);
  const gdi::PixelBufferView view{pixels.data(), kWidth, kWidth, kHeight};
  const gdi::TextStyle style{
      .textPixel = 1, .backgroundPixel = 2, .opaque = (align & 0x80) != 0, .align = align};
  gdi::drawText(view, clip, font, reference, text, style);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (!clip.contains({x, y}) && pixels[static_cast<std::size_t>(y) * kWidth + x] != kPaper) {
        std::abort();
      }
    }
  }
  if (font.extent(text).cy != font.metrics().tmHeight) std::abort();
  return 0;
}
