// A built-in 5 x 7 pixel font for the figures and short words drawn around a spectrogram: no
// font files, so these pixels are the same everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace xvtools {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;

// Pixels across a text: glyphs one pixel apart.
int pixelTextWidth(std::string_view text);

// A target of width x height pixels 0x00BBGGRR, rows top-down, stride in pixels; pixels outside
// it are not touched. Characters without a glyph leave a blank.
struct PixelCanvas {
  std::uint32_t* pixels;
  std::size_t stride;
  int width;
  int height;
  void set(int x, int y, std::uint32_t colour) const {
    if (x >= 0 && x < width && y >= 0 && y < height) {
      pixels[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x)] = colour;
    }
  }
  void fill(int left, int top, int right, int bottom, std::uint32_t colour) const {
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) set(x, y, colour);
    }
  }
  void text(int left, int top, std::string_view s, std::uint32_t colour) const;
};

}  // namespace xvtools
