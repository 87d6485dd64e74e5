// Turning device bitmaps into packed DIBs for printing and capture.
#pragma once

#include <optional>

#include "gdi/bitmap.h"
#include "gdi/device_context.h"
#include "gdi/packed_dib.h"
#include "gdi/palette.h"

namespace kvplotax::output {

// A packed DIB of the bitmap at its depth rounded up to 1, 4, 8 or 24 bits per pixel; colours
// of paletted depths are taken from palette (the stock default one when none is given). None
// for a missing or empty bitmap.
std::optional<gdi::PackedDib> BitmapToPackedDib(const gdi::Bitmap* bitmap,
                                                const gdi::Palette* palette);

// The screen's system palette as a logical palette; none on a screen without one (a true-colour
// screen reports no palette size and no colour count).
std::optional<gdi::Palette> CaptureSystemPalette(const gdi::DeviceContext& screen);

}  // namespace kvplotax::output
