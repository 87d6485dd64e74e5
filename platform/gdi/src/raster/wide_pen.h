// Geometric solid pens wider than one pixel: every pixel whose sample point lies within half the
// width of the path. The sample point is the pixel's corner for odd widths and its centre for even
// widths, which keeps the stroke centred on the path. Round caps and joins follow from the
// distance rule.
#pragma once

#include <span>

#include "gdi/bitmap.h"

namespace gdi::raster {

// Strokes the segment a-b (a disc when a == b) with width >= 2.
void strokeWideSegment(Bitmap& bitmap, std::span<const Rect> clip, Point a, Point b, int width,
                       ColorRef color);

}  // namespace gdi::raster
