// Moving a trace that is already drawn onto a new window or viewport rectangle: the converters
// take the new mapping and keep their place in the buffer, and the held points follow, either
// sent again by the client or carried over arithmetically.
#include <algorithm>
#include <cmath>
#include <vector>

#include "output/viewport_object.h"
#include "render/pixel_saturation.h"
#include "render/single_precision.h"
#include "trace/trace_item.h"

namespace kvplotax::trace {

namespace {

struct AxisRange {
  float worldMin;
  float worldMax;
  std::int32_t pixelStart;
  std::int32_t pixelEnd;
};

AxisRange rangeOf(Axis axis, const WorldRect& w, const gdi::Rect& r) {
  if (axis == Axis::X) return {w.xmin, w.xmin + w.width, r.left, r.right};
  return {w.ymin, w.ymin + w.height, r.bottom, r.top};
}

bool sameWorld(Axis axis, const WorldRect& a, const WorldRect& b) {
  if (axis == Axis::X)
    return sameInSinglePrecision(a.xmin, b.xmin) && sameInSinglePrecision(a.width, b.width);
  return sameInSinglePrecision(a.ymin, b.ymin) && sameInSinglePrecision(a.height, b.height);
}

bool samePixels(Axis axis, const gdi::Rect& a, const gdi::Rect& b) {
  if (axis == Axis::X) return a.left == b.left && a.right == b.right;
  return a.top == b.top && a.bottom == b.bottom;
}

// A coordinate made through the old mapping, made again through the new one. The point is
// taken at the centre of its pixel, so a coordinate that truncation pulled toward zero is not
// pulled again.
std::int32_t carried(std::int32_t c, const AxisMapping& from, const AxisMapping& to) {
  const double beforeOffset = static_cast<double>(c) - from.displayOffset() + 0.5;
  const double ratio = static_cast<double>(to.scale()) / static_cast<double>(from.scale());
  const double v =
      (beforeOffset - static_cast<double>(from.base())) * ratio + static_cast<double>(to.base());
  return addSaturated(saturatePixel(v), to.displayOffset());
}

// More pixels per world unit than the held points were made at: they cannot show the detail
// that the new mapping can.
bool finer(const AxisMapping& from, const AxisMapping& to) {
  const float a = std::fabs(from.scale());
  const float b = std::fabs(to.scale());
  return b > a && !sameInSinglePrecision(a, b);
}

}  // namespace

void TraceItem::changeWindow(std::int32_t number, const WorldRect& window) {
  windowNumber_ = number;
  if (!window_) return;
  moveTo(window, viewportRect_);
}

void TraceItem::changeViewport(output::ViewportObject* viewport, bool storageOn) {
  if (!viewport || !window_) return;
  if (viewport != viewport_) {
    eraseWhole();
    if (viewport_ && viewport_->contains(this)) viewport_->removeItem(this);
    viewport_ = viewport;
    viewport_->addItem(this);
  }
  setStorage(storageOn);
  if (!moveTo(*window_, viewport->bounds())) drawShown();
}

bool TraceItem::relayout(const gdi::Rect&, const gdi::Rect& newBounds, gdi::Rect& changed) {
  if (!valid()) return false;
  const gdi::Rect before = bounds_;
  if (!moveTo(*window_, newBounds)) return false;
  changed = before.unite(bounds_);
  return true;
}

bool TraceItem::moveTo(const WorldRect& window, const gdi::Rect& rect) {
  pointsWritten();  // a generated axis is written again by its converter's remap
  const WorldRect oldWindow = window_.value_or(window);
  const gdi::Rect oldRect = viewportRect_;
  window_ = window;
  viewportRect_ = rect;
  if (!x_ || !y_) return false;
  SampleConverter* converters[2] = {x_.get(), y_.get()};
  bool moves[2] = {false, false};
  AxisMapping before[2];
  bool resend = false;
  for (int i = 0; i < 2; ++i) {
    const Axis axis = i == 0 ? Axis::X : Axis::Y;
    moves[i] = !sameWorld(axis, oldWindow, window) || !samePixels(axis, oldRect, rect);
    if (!moves[i]) continue;
    before[i] = converters[i]->mapping();
    const AxisRange r = rangeOf(axis, window, rect);
    converters[i]->remap(r.worldMin, r.worldMax, r.pixelStart, r.pixelEnd);
    const bool generated =
        converters[i]->shape() == static_cast<std::int32_t>(SampleShape::AutoIncr);
    // Points on a 16-bit limit have lost where they really were.
    resend = resend || (!generated && (finer(before[i], converters[i]->mapping()) ||
                                       converters[i]->isSaturated(start_, count_)));
  }
  if (!moves[0] && !moves[1]) return false;
  eraseWhole();
  if (count_ == 0) {
    bounds_ = {};
    return true;
  }
  if (!resend || !refresh_ || !askResend()) {
    for (int i = 0; i < 2; ++i) {
      // Generated positions were written again by their converter.
      if (!moves[i] || converters[i]->shape() == static_cast<std::int32_t>(SampleShape::AutoIncr))
        continue;
      const auto member = coordinateOf(converters[i]->axis());
      const AxisMapping& after = converters[i]->mapping();
      for (std::int32_t k = start_; k < start_ + count_; ++k) {
        points_[k].*member = carried(points_[k].*member, before[i], after);
      }
    }
  }
  x_->measure(start_, count_);
  y_->measure(start_, count_);
  bounds_ = count_ > 0 ? coveredRect(start_, count_) : gdi::Rect{};
  drawShown();
  return true;
}

bool TraceItem::askResend() {
  const std::int32_t held = count_;
  const std::int32_t heldStart = start_;
  const bool heldPending = erasePending_;
  // A copy of the points: a client that sends some samples but not all overwrites them.
  const std::vector<gdi::Point> copy(points_.get() + start_, points_.get() + start_ + count_);
  const ConverterState xState = x_->saveState();
  const ConverterState yState = y_->saveState();
  const std::int64_t heldDelivered = delivered_;
  const std::vector<std::int64_t> heldRunEnds = runEnds_;
  count_ = 0;
  start_ = emptyStart();
  bounds_ = {};
  erasePending_ = false;
  resetConverters();
  refresh_(channel_, held);
  if (count_ == held) {
    // The same points came again, the newest last: the runs end where they ended.
    runEnds_ = heldRunEnds;
    for (std::int64_t& end : runEnds_) end += delivered_ - heldDelivered;
    return true;
  }
  // Whatever the client did send leaves the picture again.
  eraseWhole();
  std::copy(copy.begin(), copy.end(), points_.get() + heldStart);
  pointsWritten();
  start_ = heldStart;
  count_ = held;
  erasePending_ = heldPending;
  delivered_ = heldDelivered;
  runEnds_ = heldRunEnds;
  x_->restoreState(xState);
  y_->restoreState(yState);
  return false;
}

}  // namespace kvplotax::trace
