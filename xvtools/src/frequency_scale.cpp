#include "frequency_scale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace xvtools {

namespace {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kTickLength = 4;

struct Glyph {
  char c;
  std::array<std::uint8_t, kGlyphHeight> rows;  // bit 4 is the leftmost column
};

constexpr std::array<Glyph, 14> kGlyphs = {{
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {'k', {0x10, 0x10, 0x12, 0x14, 0x18, 0x14, 0x12}},
    {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'z', {0x00, 0x00, 0x1F, 0x02, 0x04, 0x08, 0x1F}},
}};

const Glyph* glyph(char c) {
  for (const Glyph& g : kGlyphs) {
    if (g.c == c) return &g;
  }
  return nullptr;
}

int textWidth(std::string_view text) {
  return text.empty() ? 0 : static_cast<int>(text.size()) * (kGlyphWidth + 1) - 1;
}

struct Strip {
  std::uint32_t* pixels;
  std::size_t stride;
  int width;
  int height;
  void set(int x, int y) const {
    if (x >= 0 && x < width && y >= 0 && y < height) {
      pixels[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x)] = kScaleForeColor;
    }
  }
  void text(int left, int top, std::string_view s) const {
    for (char c : s) {
      if (const Glyph* g = glyph(c)) {
        for (int row = 0; row < kGlyphHeight; ++row) {
          for (int col = 0; col < kGlyphWidth; ++col) {
            if ((g->rows[static_cast<std::size_t>(row)] >> (kGlyphWidth - 1 - col)) & 1) {
              set(left + col, top + row);
            }
          }
        }
      }
      left += kGlyphWidth + 1;
    }
  }
};

}  // namespace

double labelStepKhz(double nyquistKhz, int height) {
  const double pixelsPerKhz = (height - 1) / nyquistKhz;
  double decade = 0.001;
  for (;;) {
    for (double m : {1.0, 2.0, 5.0}) {
      if (m * decade * pixelsPerKhz >= kMinLabelSpacing) return m * decade;
    }
    decade *= 10;
  }
}

void drawFrequencyScale(std::uint32_t* pixels, std::size_t stride, int width, int height,
                        int sampleRate) {
  if (pixels == nullptr || width <= 0 || height <= 1 || sampleRate <= 0) return;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x)] = kScaleBackColor;
    }
  }
  const Strip strip{pixels, stride, width, height};
  // The unit sits under the top figure.
  strip.text(1, kGlyphHeight + 2, "kHz");
  const double nyquistKhz = sampleRate / 2000.0;
  const double step = labelStepKhz(nyquistKhz, height);
  const int decimals = step >= 1 ? 0 : step >= 0.1 ? 1 : 2;
  const int count = static_cast<int>(std::floor(nyquistKhz / step + 1e-9));
  for (int i = 0; i <= count; ++i) {
    const double khz = i * step;
    const int y = height - 1 - static_cast<int>(std::lround(khz / nyquistKhz * (height - 1)));
    for (int x = width - kTickLength; x < width; ++x) strip.set(x, y);
    char label[16];
    std::snprintf(label, sizeof label, "%.*f", decimals, khz);
    const int top = std::clamp(y - kGlyphHeight / 2, 0, height - kGlyphHeight);
    strip.text(width - kTickLength - 2 - textWidth(label), top, label);
  }
}

}  // namespace xvtools
