// Integer device geometry and colours shared by every drawing layer.
#pragma once

#include <algorithm>
#include <cstdint>

namespace gdi {

// 0x00BBGGRR, as the platform's COLORREF.
using ColorRef = std::uint32_t;

constexpr ColorRef rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<ColorRef>(r) | (static_cast<ColorRef>(g) << 8) |
         (static_cast<ColorRef>(b) << 16);
}
constexpr std::uint8_t redOf(ColorRef c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t greenOf(ColorRef c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t blueOf(ColorRef c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

struct Point {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(const Point&, const Point&) = default;
};

// Right and bottom are exclusive, as the platform's RECT.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  constexpr bool isEmpty() const { return right <= left || bottom <= top; }
  constexpr bool contains(Point p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  constexpr Rect offset(int dx, int dy) const {
    return {left + dx, top + dy, right + dx, bottom + dy};
  }
  constexpr Rect intersect(const Rect& o) const {
    Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
           std::min(bottom, o.bottom)};
    return r.isEmpty() ? Rect{} : r;
  }
  // The smallest rectangle holding both; an empty operand does not count.
  constexpr Rect unite(const Rect& o) const {
    if (isEmpty()) return o;
    if (o.isEmpty()) return *this;
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
            std::max(bottom, o.bottom)};
  }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace gdi
