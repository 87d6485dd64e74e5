// A clip region: a set of non-overlapping rectangles, kept in bands sorted by top, then left.
// Changing a region in place reuses its storage (and a per-thread scratch), so a region that is
// reset and reshaped block after block allocates nothing once it has held as many rectangles.
#pragma once

#include <span>
#include <vector>

#include "gdi/geometry.h"

namespace gdi {

class Region {
 public:
  Region() = default;  // empty
  explicit Region(const Rect& rect);
  // Any rectangles, overlapping or not: the region is their union.
  static Region fromRects(std::span<const Rect> rects);

  // Becomes rect alone (nothing when rect is empty), keeping the storage.
  void assign(const Rect& rect);
  // Becomes empty, keeping the storage.
  void clear() { assign(Rect{}); }

  bool isEmpty() const { return rects_.empty(); }
  const std::vector<Rect>& rects() const { return rects_; }
  Rect bounds() const { return bounds_; }
  bool contains(Point p) const;

  void unite(const Rect& rect);
  void subtract(const Rect& rect);
  void intersect(const Rect& rect);
  void offset(int dx, int dy);

  // Same set of pixels (the rectangle split may differ).
  bool sameArea(const Region& other) const;
  friend bool operator==(const Region&, const Region&) = default;

 private:
  void normalize();
  std::vector<Rect> rects_;
  Rect bounds_{};
};

}  // namespace gdi
