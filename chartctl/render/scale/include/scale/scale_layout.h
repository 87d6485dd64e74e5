// The layout of one dimension of a scale: the numbers of its window's range spread over the
// viewport's side, their texts, anchors and rectangles, the caption next to them, the thinning
// of numbers that collide, and whether the whole fits its viewport.
#pragma once

#include <string>
#include <vector>

#include "gdi/geometry.h"
#include "scale/scale_fonts.h"
#include "scale/scale_number_text.h"
#include "scale/text_placement.h"

namespace kvplotax::scale {

enum Dimension : int { kHorz = 0, kVert = 1 };
enum Position : int { kBelowRight = 0, kAboveLeft = 1, kOnScale = 2 };
enum Location : int { kAxis = 0, kFrameLeftTop = 1, kFrameRightBottom = 2 };
enum LabelLocation : int { kLeftBottom = 0, kCenter = 1, kRightTop = 2 };
enum Visibility : int { kHidden = 0, kScaleOnly = 1, kLabelOnly = 2, kScaleAndLabel = 3 };

// The settings of one dimension that the layout reads.
struct ScaleStyle {
  int places = 0;
  int gap = 5;
  int position = kBelowRight;
  int orientation = 0;
  int location = kAxis;
  int path = kRightPath;
  int visibility = kHidden;
  std::string caption;
  int labelPosition = kBelowRight;
  int labelOrientation = 0;
  int labelLocation = kRightTop;
  int labelPath = kRightPath;
};

struct ScaleFrame {
  gdi::Rect viewport;  // the scale viewport's rectangle
  int intervals = 1;
  int majorTick = 0;  // the graticule's major tick length
  int axesType = 0;   // which axes the graticule draws (for the crossing rule)
  float start = 0.0f;
  float end = 0.0f;
};

struct PlacedText {
  gdi::Point base;    // where the layout put it, before the alignment code's shifts
  gdi::Point anchor;  // the text output's reference point
  gdi::Rect rect;
  TextForm form;
  bool shown = true;
};

struct ScaleLayout {
  std::vector<NumberText> texts;
  std::vector<PlacedText> numbers;
  PlacedText label;
  bool labelShown = false;
  gdi::Rect numbersBounds;
  gdi::Rect bounds;  // numbers and caption
  // False when the bounds reach outside the scale viewport: the item is drawn in viewport 0.
  bool inOwnViewport = true;
};

// The start and end of a window's range as the scale shows it.
inline void scaleRange(float min, float extent, float factor, float& start, float& end) {
  start = min * factor;
  end = (min + extent) * factor;
}

// Numbers per dimension less one: stacked viewports share the vertical divisions.
inline int scaleIntervals(int dimension, int majorDivHorz, int majorDivVert, int viewports) {
  if (dimension == kHorz) return majorDivHorz;
  return viewports > 1 ? majorDivVert / viewports : majorDivVert;
}

void layoutScale(int dimension, const ScaleStyle& style, const ScaleFrame& frame,
                 const ScaleFonts& fonts, ScaleLayout& layout);

}  // namespace kvplotax::scale
