// The graticule's properties as drawing needs them: switches, styles, resolved colours and the
// division counts the plot geometry was laid out with.
#pragma once

#include "gdi/geometry.h"

namespace kvplotax::graticule {

enum GridType : int { kHorzVertGrid = 0, kHorzGrid = 1, kVertGrid = 2, kNoGrid = 3 };
enum AxesType : int { kHorzVertAxes = 0, kHorzAxis = 1, kVertAxis = 2, kNoAxes = 3 };
enum TicsType : int { kMajorMinorTics = 0, kMajorTics = 1, kNoTics = 2 };

struct GraticuleSettings {
  bool gridOn = true;
  int gridType = kHorzVertGrid;
  int axesType = kHorzVertAxes;
  int axesTics = kMajorMinorTics;
  bool frameOn = true;
  int frameTics = kMajorMinorTics;
  gdi::ColorRef frameColor = 0xFFFF00;
  gdi::ColorRef axesColor = 0xFFFF00;
  gdi::ColorRef gridColor = 0x808080;
  int majorDivHorz = 10;
  int majorDivVert = 8;
  int minorDiv = 5;
  int viewports = 1;
};

}  // namespace kvplotax::graticule
