#include "face_metrics.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include FT_TRUETYPE_TABLES_H

namespace gdi::detail {
namespace {

int roundToInt(double v) { return static_cast<int>(std::lround(v)); }

// The face's design measures in font units, from the tables the platform uses for text cells.
struct DesignMeasures {
  double unitsPerEm = 2048;
  double ascent = 1854;  // common sans-serif proportions for a missing face
  double descent = 434;
  double lineGap = 67;
  double averageWidth = 904;
  double maxAdvance = 2048;
  double underlinePosition = -217;  // centre of the stroke
  double underlineThickness = 150;
  double strikeOutPosition = 530;  // top of the stroke
  double strikeOutSize = 102;
};

DesignMeasures designMeasuresOf(FT_Face face) {
  DesignMeasures d;
  if (!face || face->units_per_EM == 0) return d;
  d.unitsPerEm = face->units_per_EM;
  d.ascent = face->ascender;
  d.descent = -face->descender;
  d.lineGap = std::max(0, face->height - face->ascender + face->descender);
  d.maxAdvance = face->max_advance_width;
  d.underlinePosition = face->underline_position;
  d.underlineThickness = face->underline_thickness;
  d.averageWidth = d.unitsPerEm / 2;
  d.strikeOutPosition = d.unitsPerEm * 0.26;
  d.strikeOutSize = d.underlineThickness;
  if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
    if (os2->usWinAscent + os2->usWinDescent > 0) {
      // The cell the platform measures: the Windows ascent and descent; the line gap is what
      // the typographic line spacing adds beyond them.
      const double typographic = d.ascent + d.descent + d.lineGap;
      d.ascent = os2->usWinAscent;
      d.descent = os2->usWinDescent;
      d.lineGap = std::max(0.0, typographic - d.ascent - d.descent);
    }
    if (os2->xAvgCharWidth > 0) d.averageWidth = os2->xAvgCharWidth;
    if (os2->yStrikeoutSize > 0) {
      d.strikeOutPosition = os2->yStrikeoutPosition;
      d.strikeOutSize = os2->yStrikeoutSize;
    }
  }
  if (d.ascent + d.descent <= 0) {
    d.ascent = d.unitsPerEm * 0.8;
    d.descent = d.unitsPerEm * 0.2;
  }
  return d;
}

}  // namespace

FaceMetrics measureFace(FT_Face face, const LogFont& logFont, bool emboldened) {
  const DesignMeasures d = designMeasuresOf(face);
  const int requested = logFont.height == 0 ? kDefaultCellHeight : logFont.height;
  const int pixels =
      std::min(kMaxPixelHeight, requested == INT_MIN ? kMaxPixelHeight : std::abs(requested));

  FaceMetrics m;
  TextMetrics& tm = m.text;
  double scale = 0;  // pixels per font unit
  if (requested < 0) {
    m.emHeight = pixels;
    scale = pixels / d.unitsPerEm;
    tm.tmAscent = roundToInt(d.ascent * scale);
    tm.tmDescent = roundToInt(d.descent * scale);
  } else {
    // A cell height: the em is what makes ascent plus descent that tall.
    scale = pixels / (d.ascent + d.descent);
    m.emHeight = std::max(1, roundToInt(d.unitsPerEm * scale));
    tm.tmAscent = roundToInt(d.ascent * scale);
    tm.tmDescent = pixels - tm.tmAscent;
  }
  m.emHeight = std::max(1, m.emHeight);
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max(0, tm.tmHeight - m.emHeight);
  tm.tmExternalLeading = roundToInt(d.lineGap * scale);
  const int widen = emboldened ? 1 : 0;
  tm.tmAveCharWidth = std::max(1, roundToInt(d.averageWidth * scale)) + widen;
  tm.tmMaxCharWidth = std::max(1, static_cast<int>(std::ceil(d.maxAdvance * scale))) + widen;
  tm.tmWeight = logFont.weight <= 0 ? FW_NORMAL : std::clamp(logFont.weight, 1, 1000);
  tm.tmItalic = logFont.italic;
  tm.tmUnderlined = logFont.underline;
  tm.tmStruckOut = logFont.strikeOut;

  m.underline.thickness = std::max(1, roundToInt(d.underlineThickness * scale));
  m.underline.top = roundToInt(-d.underlinePosition * scale - m.underline.thickness / 2.0);
  // Keep the underline inside the cell, where an opaque background erases it too.
  m.underline.top =
      std::clamp(m.underline.top, 0, std::max(0, tm.tmDescent - m.underline.thickness));
  m.strikeOut.thickness = std::max(1, roundToInt(d.strikeOutSize * scale));
  m.strikeOut.top = -roundToInt(d.strikeOutPosition * scale);
  return m;
}

}  // namespace gdi::detail
