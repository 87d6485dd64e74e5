#include "led_segments.h"

#include <QColor>
#include <algorithm>

namespace xvtools::qt {

SegmentRects segmentRects(const QRect& cell) {
  const int margin = cell.width() / 5;
  const QRect r = cell.adjusted(margin, margin, -margin, -margin);
  const int t = std::max(1, std::min(r.width(), r.height()) / 6);  // stroke thickness
  const int midTop = r.top() + (r.height() - t) / 2;
  const int upperHeight = midTop - r.top() - t;
  const int lowerHeight = r.bottom() - t - (midTop + t) + 1;
  return {
      QRect(r.left() + t, r.top(), r.width() - 2 * t, t),             // a
      QRect(r.right() - t + 1, r.top() + t, t, upperHeight),          // b
      QRect(r.right() - t + 1, midTop + t, t, lowerHeight),           // c
      QRect(r.left() + t, r.bottom() - t + 1, r.width() - 2 * t, t),  // d
      QRect(r.left(), midTop + t, t, lowerHeight),                    // e
      QRect(r.left(), r.top() + t, t, upperHeight),                   // f
      QRect(r.left() + t, midTop, r.width() - 2 * t, t),              // g
  };
}

std::uint8_t segmentPattern(char c) {
  //                                  0     1     2     3     4     5     6     7     8     9
  static constexpr std::uint8_t kDigits[] = {0x3F, 0x06, 0x5B, 0x4F, 0x66,
                                             0x6D, 0x7D, 0x07, 0x7F, 0x6F};
  if (c >= '0' && c <= '9') return kDigits[c - '0'];
  if (c == '-') return 0x40;
  return 0;
}

QRect digitCell(const QSize& panel, int count, int i) {
  const int width = panel.width() / std::max(1, count);
  return QRect(i * width, 0, width, panel.height());
}

std::uint32_t dimmed(std::uint32_t colorRef) {
  const std::uint32_t r = (colorRef & 0xFF) / 5;
  const std::uint32_t g = ((colorRef >> 8) & 0xFF) / 5;
  const std::uint32_t b = ((colorRef >> 16) & 0xFF) / 5;
  return r | (g << 8) | (b << 16);
}

unsigned int toRgb(std::uint32_t colorRef) {
  return qRgb(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

}  // namespace xvtools::qt
