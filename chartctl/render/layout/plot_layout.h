// Where the chart goes inside the control: bezel thickness, plot area of whole divisions centred
// inside the margins, and the viewport strips cut from it.
#pragma once

#include <vector>

#include "gdi/geometry.h"

namespace kvplotax::layout {

struct BezelGeometry {
  int bevelInner = 0;
  int bevelOuter = 2;
  int bevelWidthInner = 1;
  int bevelWidthOuter = 1;
  int borderWidth = 3;
};

// Pixels the bezel takes on each side, not counting the one-pixel outline.
int bezelThickness(const BezelGeometry& bezel);

// The client rectangle less the outline and the bezel on every side.
gdi::Rect drawableArea(const gdi::Rect& client, int thickness);

struct GraticuleCounts {
  int majorDivHorz = 10;
  int majorDivVert = 8;
  int minorDiv = 5;
  int viewports = 1;
  int marginLeft = 20;
  int marginTop = 20;
  int marginRight = 20;
  int marginBottom = 20;
  bool isotropic = false;
};

// Brings counts and margins that no layout can use back into range: division counts below 1
// become 1, negative margins 0. Returns true when something was changed.
bool correctCounts(GraticuleCounts& counts);

struct PlotGeometry {
  gdi::Rect plot;
  int minorPitchX = 0;
  int minorPitchY = 0;
  int majorPitchX = 0;
  int majorPitchY = 0;
  int minorCountX = 0;
  int minorCountY = 0;
};

// Lays the plot area out in the drawable rectangle. The counts must have been corrected. When the
// margins leave no room the pitches become 0 and the previous plot rectangle stays.
void computePlotArea(const gdi::Rect& drawable, const GraticuleCounts& counts,
                     PlotGeometry& geometry);

// Viewport 0 is the drawable area; viewport i (1..count) is the i-th equal strip of the plot
// rectangle. Empty for any other index.
gdi::Rect viewportRect(const gdi::Rect& drawable, const gdi::Rect& plot, int index, int count);

// The largest side AutoSize asks the container for: wider than a 4K screen, and a surface that
// is made and drawn at once. Only bezels and margins no chart has ask for more.
inline constexpr int kMaxAutoSizeExtent = 4096;

// The extent that fits the plot area exactly (AutoSize), each side at most kMaxAutoSizeExtent.
gdi::Point autoSizeExtent(const PlotGeometry& geometry, int thickness,
                          const GraticuleCounts& counts);

// Twips from pixels at the screen's logical pixels per inch, truncating.
constexpr int pixelsToTwips(int pixels, int logPixels) {
  return logPixels > 0 ? static_cast<int>(static_cast<long long>(pixels) * 1440 / logPixels) : 0;
}

}  // namespace kvplotax::layout
