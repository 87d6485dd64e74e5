#include "frequency_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "pixel_font.h"

namespace xvtools {

namespace {

constexpr int kTickLength = 4;

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
  const PixelCanvas strip{pixels, stride, width, height};
  // The unit sits under the top figure.
  strip.text(1, kGlyphHeight + 2, "kHz", kScaleForeColor);
  const double nyquistKhz = sampleRate / 2000.0;
  const double step = labelStepKhz(nyquistKhz, height);
  const int decimals = step >= 1 ? 0 : step >= 0.1 ? 1 : 2;
  const int count = static_cast<int>(std::floor(nyquistKhz / step + 1e-9));
  for (int i = 0; i <= count; ++i) {
    const double khz = i * step;
    const int y = height - 1 - static_cast<int>(std::lround(khz / nyquistKhz * (height - 1)));
    for (int x = width - kTickLength; x < width; ++x) strip.set(x, y, kScaleForeColor);
    char label[16];
    std::snprintf(label, sizeof label, "%.*f", decimals, khz);
    const int top = std::clamp(y - kGlyphHeight / 2, 0, height - kGlyphHeight);
    strip.text(width - kTickLength - 2 - pixelTextWidth(label), top, label, kScaleForeColor);
  }
}

}  // namespace xvtools
