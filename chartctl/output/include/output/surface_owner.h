// The window a drawing surface belongs to: the surface asks it to repaint changed areas.
#pragma once

#include <cstdint>

#include "gdi/geometry.h"

namespace kvplotax::output {

class SurfaceOwner {
 public:
  virtual ~SurfaceOwner() = default;
  // rect is in surface pixels, already clipped to the surface.
  virtual void invalidateSurfaceRect(const gdi::Rect& rect, bool erase) = 0;
  // The owner's window, which printing captures from the screen; 0 for an owner without one.
  virtual std::uintptr_t surfaceWindow() const { return 0; }
};

}  // namespace kvplotax::output
