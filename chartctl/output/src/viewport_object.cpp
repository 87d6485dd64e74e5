#include "output/viewport_object.h"

#include <algorithm>

namespace kvplotax::output {

bool ViewportObject::has(const std::vector<ChartItem*>& set, const ChartItem* item) {
  return std::find(set.begin(), set.end(), item) != set.end();
}

void ViewportObject::drop(std::vector<ChartItem*>& set, const ChartItem* item) {
  set.erase(std::remove(set.begin(), set.end(), item), set.end());
}

void ViewportObject::reserveSets() {
  redraw_.reserve(all_.size());
  late_.reserve(all_.size());
}

void ViewportObject::addItem(ChartItem* item) {
  if (!item || has(all_, item)) return;
  all_.push_back(item);
  reserveSets();
  item->setVisible(visible_);
}

void ViewportObject::removeItem(ChartItem* item) {
  if (!item || !has(all_, item)) return;
  drop(redraw_, item);
  drop(late_, item);
  drop(all_, item);
  if (surface_ && !bounds_.isEmpty()) item->erase(surface_, bounds_);
}

bool ViewportObject::contains(const ChartItem* item) const { return has(all_, item); }

void ViewportObject::itemChanged(ChartItem* item, int first, int count, const gdi::Rect& rect) {
  if (!item) return;
  if (!redraw_.empty()) {
    // An erase waits for its flush, which redraws over the erased area: drawing now would be
    // covered or drawn twice.
    if (!has(late_, item)) late_.push_back(item);
    lateRect_ = lateRect_.unite(rect);
    return;
  }
  const gdi::Rect clip = rect.intersect(bounds_);
  if (!clip.isEmpty() && surface_) item->draw(surface_, first, count, clip);
}

void ViewportObject::itemErased(ChartItem* item, const gdi::Rect& rect) {
  if (!item) return;
  const gdi::Rect clip = rect.intersect(bounds_);
  if (!clip.isEmpty() && surface_) item->erase(surface_, clip);
  if (redraw_.empty()) {
    for (ChartItem* other : all_)
      if (!has(late_, other)) redraw_.push_back(other);
  }
  drop(redraw_, item);
  erased_ = erased_.unite(rect);
  // Whatever the item changed before is gone with the erase; its next draw comes afresh.
  drop(late_, item);
}

bool ViewportObject::flush() {
  bool drew = false;
  const gdi::Rect erasedClip = erased_.intersect(bounds_);
  const gdi::Rect lateClip = lateRect_.intersect(bounds_);
  if (surface_) {
    // An item that was waiting under the erase and changed meanwhile is in both sets; it is
    // redrawn once, over both areas.
    const gdi::Rect bothClip = erasedClip.unite(lateClip);
    if (!erasedClip.isEmpty())
      for (ChartItem* item : redraw_)
        drew = item->redraw(surface_, has(late_, item) ? bothClip : erasedClip) || drew;
    if (!lateClip.isEmpty())
      for (ChartItem* item : late_)
        if (erasedClip.isEmpty() || !has(redraw_, item))
          drew = item->redraw(surface_, lateClip) || drew;
  }
  redraw_.clear();
  late_.clear();
  erased_ = {};
  lateRect_ = {};
  return drew;
}

void ViewportObject::redrawAll() {
  if (bounds_.isEmpty() || !surface_) return;
  for (ChartItem* item : all_) item->redraw(surface_, bounds_);
}

gdi::Rect ViewportObject::setBounds(const gdi::Rect& bounds) {
  const bool wasHidden = bounds_.isEmpty();
  bounds_ = bounds;
  gdi::Rect changed;
  // While hidden the items keep the bounds they were last laid out for, and follow from there
  // when the viewport comes back.
  if (bounds.isEmpty()) return changed;
  const gdi::Rect old = laidOutFor_;
  laidOutFor_ = bounds;
  if (old.isEmpty() || (wasHidden && old == bounds)) return changed;
  for (ChartItem* item : all_) {
    gdi::Rect area;
    if (item->relayout(old, bounds, area)) changed = changed.unite(area);
  }
  return changed;
}

void ViewportObject::setVisible(bool visible) {
  visible_ = visible;
  for (ChartItem* item : all_) item->setVisible(visible);
}

void ViewportObject::applyStorage(bool storageOn) {
  for (ChartItem* item : all_) item->setStorage(storageOn);
}

bool ViewportObject::hitTest(gdi::Point point, HitInfo& hit) const {
  if (!visible_ || !bounds_.contains(point)) return false;
  for (const ChartItem* item : all_)
    if (item->hitTest(point, hit)) return true;
  return false;
}

}  // namespace kvplotax::output
