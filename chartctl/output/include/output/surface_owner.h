// The window a drawing surface belongs to: the surface asks it to repaint changed areas.
#pragma once

#include "gdi/geometry.h"

namespace kvplotax::output {

class SurfaceOwner {
 public:
  virtual ~SurfaceOwner() = default;
  // rect is in surface pixels, already clipped to the surface.
  virtual void invalidateSurfaceRect(const gdi::Rect& rect, bool erase) = 0;
};

}  // namespace kvplotax::output
