// The pixel size and measurements of a face for a logical font's height.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include "gdi/log_font.h"
#include "gdi/text_metrics.h"

namespace gdi::detail {

// Heights beyond this are taken as this; no display needs more and glyphs stay small.
inline constexpr int kMaxPixelHeight = 1024;
// Height 0 asks for a default size: the system font's cell.
inline constexpr int kDefaultCellHeight = 16;

// A horizontal stroke across the whole text: its top row relative to the baseline (negative =
// above) and its thickness.
struct TextLine {
  int top = 0;
  int thickness = 1;
};

struct FaceMetrics {
  int emHeight = 0;  // pixels per em; the size the glyphs are rendered at
  TextMetrics text;
  TextLine underline;
  TextLine strikeOut;
};

// `face` may be null (no font installed): the measurements then follow common sans-serif
// proportions. `emboldened` widens every advance by the one pixel that emboldening adds.
FaceMetrics measureFace(FT_Face face, const LogFont& logFont, bool emboldened);

}  // namespace gdi::detail
