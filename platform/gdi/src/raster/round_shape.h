// Rectangles with elliptic corners, row by row. The shape over the pixel box [left, right] x
// [top, bottom] (inclusive) holds the pixels whose centres lie inside the box with each corner
// cut by the ellipse inscribed in a cornerWidth x cornerHeight pixel box; a 2 x 2 (or smaller)
// corner leaves the corner pixel in, so the shape is the plain box.
#pragma once

#include <optional>
#include <utility>

namespace gdi::raster {

struct RowRun {
  int left;
  int right;  // inclusive
};

class RoundShape {
 public:
  RoundShape(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
  bool isEmpty() const { return right_ < left_ || bottom_ < top_; }
  int top() const { return top_; }
  int bottom() const { return bottom_; }
  // The pixels of row y, if any.
  std::optional<RowRun> row(int y) const;

 private:
  int left_, top_, right_, bottom_;
  long long ew_, eh_;
};

// The pixels of a border band: the shape minus the pixels whose neighbours up to `thickness`
// pixels away left, right, up and down are all in the shape. Fills up to two runs; returns how
// many. `inner` receives the run the band leaves inside, if any.
int bandRow(const RoundShape& shape, int thickness, int y, RowRun runs[2],
            std::optional<RowRun>& inner);

}  // namespace gdi::raster
