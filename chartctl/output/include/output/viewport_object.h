// The per-viewport record of the chart items drawn in it and of the areas that must be redrawn.
// When an item erases itself, the other items it may have covered are redrawn over the erased
// area at the next flush; items that change while such a redraw is waiting are held back and
// drawn once at that flush, so nothing is drawn twice or lost under the erase.
#pragma once

#include <vector>

#include "gdi/geometry.h"
#include "output/chart_item.h"
#include "output/draw_surface.h"

namespace kvplotax::output {

class ViewportObject {
 public:
  ViewportObject() = default;
  ViewportObject(const ViewportObject&) = delete;
  ViewportObject& operator=(const ViewportObject&) = delete;

  void addItem(ChartItem* item);
  // Forgets the item and lets it erase itself over the whole viewport.
  void removeItem(ChartItem* item);
  bool contains(const ChartItem* item) const;

  // An item's points first .. first + count - 1 changed within rect.
  void itemChanged(ChartItem* item, int first, int count, const gdi::Rect& rect);
  // An item has been, or is to be, removed from the picture over rect.
  void itemErased(ChartItem* item, const gdi::Rect& rect);
  // Redraws what the erases and late changes since the last flush left; true when an item drew.
  bool flush();
  // Every item draws itself clipped to the bounds.
  void redrawAll();

  // Stores the new bounds; when both old and new are non-empty, lets the items re-lay
  // themselves out and returns the union of the areas that changed.
  gdi::Rect setBounds(const gdi::Rect& bounds);
  const gdi::Rect& bounds() const { return bounds_; }

  void setSurface(DrawSurface surface) { surface_ = std::move(surface); }
  const DrawSurface& surface() const { return surface_; }
  void setVisible(bool visible);
  bool visible() const { return visible_; }
  void applyStorage(bool storageOn);
  // True when the viewport is shown, the point lies inside it and an item reports a hit.
  bool hitTest(gdi::Point point, HitInfo& hit) const;

  const std::vector<ChartItem*>& items() const { return all_; }
  bool erasePending() const { return !redraw_.empty(); }
  const gdi::Rect& erasedRect() const { return erased_; }
  const gdi::Rect& lateRect() const { return lateRect_; }

 private:
  // Small sets kept as vectors whose capacity follows the item count, so that marking items
  // while data arrive allocates nothing.
  static bool has(const std::vector<ChartItem*>& set, const ChartItem* item);
  static void drop(std::vector<ChartItem*>& set, const ChartItem* item);
  void reserveSets();

  std::vector<ChartItem*> redraw_;
  std::vector<ChartItem*> late_;
  std::vector<ChartItem*> all_;
  gdi::Rect bounds_;
  gdi::Rect laidOutFor_;  // the last non-empty bounds
  gdi::Rect erased_;
  gdi::Rect lateRect_;
  DrawSurface surface_;
  bool visible_ = false;
};

}  // namespace kvplotax::output
