// A drawable object registered with a viewport and a window: a channel's trace or a scale axis.
// The drawing layers derive from it; the object model only owns and removes items.
#pragma once

#include "gdi/geometry.h"

namespace kvplotax {

class ChartItem {
 public:
  virtual ~ChartItem() = default;
  // The area the item last drew, repainted when the item goes away.
  virtual gdi::Rect drawnRect() const = 0;
};

}  // namespace kvplotax
