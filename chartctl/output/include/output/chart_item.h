// A drawable object registered with a viewport: a channel's trace or a scale axis. The viewport
// object decides when an item draws, erases or redraws itself; the item knows how.
#pragma once

#include <cstdint>

#include "gdi/geometry.h"

namespace kvplotax::output {

class DrawSurface;

// What a hit test found: the object's number, the position within it and the kind of hit
// (channel 1, scale numbers 2, scale caption 3).
struct HitInfo {
  std::int16_t obj = 0;
  std::int16_t position = 0;
  std::int16_t objType = 0;
};

class ChartItem {
 public:
  virtual ~ChartItem() = default;

  // The area the item last drew, repainted when the item goes away.
  virtual gdi::Rect drawnRect() const = 0;

  // Draws count of its points from index first, clipped to clip. True when anything was drawn.
  virtual bool draw(DrawSurface& surface, int first, int count, const gdi::Rect& clip) = 0;
  // Draws everything it holds again, clipped to clip. True when anything was drawn.
  virtual bool redraw(DrawSurface& surface, const gdi::Rect& clip) = 0;
  // Removes itself from the picture within clip (drawing the same primitives in the erase pen).
  virtual void erase(DrawSurface& surface, const gdi::Rect& clip) = 0;
  // The viewport moved from oldBounds to newBounds; true when the item re-laid itself out, with
  // the area it now covers in changed.
  virtual bool relayout(const gdi::Rect& oldBounds, const gdi::Rect& newBounds,
                        gdi::Rect& changed) = 0;
  virtual bool hitTest(gdi::Point point, HitInfo& hit) const = 0;
  virtual void setVisible(bool visible) = 0;
  virtual void setStorage(bool storageOn) = 0;
};

}  // namespace kvplotax::output
