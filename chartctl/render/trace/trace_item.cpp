#include "trace/trace_item.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "gdi/device_context.h"
#include "output/draw_surface.h"
#include "output/viewport_object.h"
#include "polyline_compaction.h"
#include "render/converter_factory.h"
#include "render/pixel_saturation.h"
#include "trace/pen_drawing.h"

namespace kvplotax::trace {

namespace {

// Above this many entries the two spare entries of an area polygon are not allocated.
constexpr std::int64_t kMaxEntries = (std::int64_t{1} << 29) - 1;

// The chart's point distance: the longer leg plus half the shorter one.
std::int64_t distance(gdi::Point a, gdi::Point b) {
  const std::int64_t dx = std::llabs(std::int64_t{a.x} - b.x);
  const std::int64_t dy = std::llabs(std::int64_t{a.y} - b.y);
  return dx + dy - std::min(dx, dy) / 2;
}

// The chart distance from m to the segment a-b: to the nearer end when m lies beyond either end
// along the segment, else |cross product| over the segment's chart length.
std::int64_t segmentDistance(gdi::Point m, gdi::Point a, gdi::Point b) {
  const std::int64_t ex = std::int64_t{b.x} - a.x;
  const std::int64_t ey = std::int64_t{b.y} - a.y;
  const std::int64_t mx = std::int64_t{m.x} - a.x;
  const std::int64_t my = std::int64_t{m.y} - a.y;
  const std::int64_t along = ex * mx + ey * my;
  if (along <= 0) return distance(m, a);
  if (along >= ex * ex + ey * ey) return distance(m, b);
  return std::llabs(ex * my - ey * mx) / distance(b, a);
}

bool contains(const gdi::Rect& outer, const gdi::Rect& inner) {
  return !inner.isEmpty() && inner.left >= outer.left && inner.top >= outer.top &&
         inner.right <= outer.right && inner.bottom <= outer.bottom;
}

gdi::Rect saturated(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
  return {clampPixel(l), clampPixel(t), clampPixel(r), clampPixel(b)};
}

}  // namespace

TraceItem::TraceItem(const TraceSetup& setup)
    : channel_(setup.channel),
      mode_(setup.mode),
      style_(setup.style),
      pen_(setup.pen),
      viewport_(setup.viewport),
      viewportRect_(setup.viewportRect),
      window_(setup.window),
      windowNumber_(setup.windowNumber),
      refresh_(setup.refresh),
      yDescription_(setup.y),
      xDescription_(setup.x),
      eraseIndex_(setup.storageOn ? kErase3 : kErase2),
      offsetX_(setup.offsetX),
      offsetY_(setup.offsetY) {
  const std::int64_t length = std::max<std::int32_t>(setup.bufferLength, 0);
  spareEntries_ = length + 2 <= kMaxEntries;
  const std::int64_t entries = spareEntries_ ? length + 2 : length;
  // Zeroed pages from the system: a large buffer costs address space only until points arrive.
  points_.reset(static_cast<gdi::Point*>(std::calloc(
      static_cast<std::size_t>(std::max<std::int64_t>(entries, 1)), sizeof(gdi::Point))));
  length_ = points_ ? static_cast<std::int32_t>(length) : 0;
  if (!points_) spareEntries_ = false;
  buildConverters(setup);
  prepareMerging();
  if (valid()) viewport_->addItem(this);
}

void TraceItem::FreeBuffer::operator()(gdi::Point* p) const { std::free(p); }

TraceItem::~TraceItem() {
  if (viewport_ && viewport_->contains(this)) viewport_->removeItem(this);
}

void TraceItem::prepareMerging() {
  pointsWritten();
  if (!isLines() || merged_ || length_ == 0) return;
  merged_.reset(
      static_cast<gdi::Point*>(std::calloc(static_cast<std::size_t>(length_), sizeof(gdi::Point))));
}

void TraceItem::buildConverters(const TraceSetup& setup) {
  if (!window_) return;
  const WorldRect& w = *window_;
  const std::span<gdi::Point> buffer{points_.get(),
                                     static_cast<std::size_t>(length_) + (spareEntries_ ? 2u : 0u)};
  auto params = [&](Axis axis, const DataDescription& d) {
    ConverterParams p;
    p.axis = axis;
    p.dataType = d.type;
    p.shape = d.shape;
    p.dataOffset = d.offset;
    p.dataIncrement = d.increment;
    p.transform = d.transform;
    p.scrollRight = setup.mode == kModeScrollRight;
    if (axis == Axis::X) {
      p.worldMin = w.xmin;
      p.worldMax = w.xmin + w.width;
      p.pixelStart = viewportRect_.left;
      p.pixelEnd = viewportRect_.right;
      p.displayOffset = offsetX_;
    } else {
      p.worldMin = w.ymin;
      p.worldMax = w.ymin + w.height;
      p.pixelStart = viewportRect_.bottom;
      p.pixelEnd = viewportRect_.top;
      p.displayOffset = offsetY_;
    }
    return p;
  };
  y_ = createSampleConverter(params(Axis::Y, yDescription_), buffer, length_);
  // Both members of a pair come from the vertical array and its description.
  const bool pair = yDescription_.shape == static_cast<std::int32_t>(SampleShape::Pair);
  x_ =
      createSampleConverter(params(Axis::X, pair ? yDescription_ : xDescription_), buffer, length_);
}

std::int32_t TraceItem::sources(std::span<const std::byte> y, std::span<const std::byte> x,
                                std::span<const std::byte>& yOut,
                                std::span<const std::byte>& xOut) const {
  if (!y_) return kNoYConverter;
  switch (static_cast<SampleShape>(y_->shape())) {
    case SampleShape::Scalar:
    case SampleShape::Pair:
      if (y.data() == nullptr) return kNullY;
      yOut = y;
      break;
    case SampleShape::AutoIncr:
      yOut = {};
      break;
    default:
      return kBadShape;
  }
  if (!x_) return kNoXConverter;
  switch (static_cast<SampleShape>(x_->shape())) {
    case SampleShape::Scalar:
      if (x.data() == nullptr) return kNullX;
      xOut = x;
      break;
    case SampleShape::Pair:
      if (y.data() == nullptr) return kNullY;
      xOut = y;
      break;
    case SampleShape::AutoIncr:
      xOut = {};
      break;
    default:
      return kBadShape;
  }
  return 0;
}

std::int32_t TraceItem::addBlock(std::int32_t n, std::span<const std::byte> ySource,
                                 std::span<const std::byte> xSource) {
  if (n < 1) return kBounds;
  if (!visible_ && viewport_ && viewport_->visible()) visible_ = true;
  std::span<const std::byte> ys;
  std::span<const std::byte> xs;
  if (const std::int32_t code = sources(ySource, xSource, ys, xs)) return code;
  return deliver(n, ys, xs);
}

void TraceItem::eraseWhole() {
  if (!bounds_.isEmpty() && viewport_) {
    viewport_->itemErased(this, bounds_);
    changed_ = changed_.unite(bounds_);
  }
}

void TraceItem::resetConverters() {
  pointsWritten();
  if (y_) y_->reset();
  if (x_) x_->reset();
}

int TraceItem::penWidth() const { return pen_ ? pen_->width() : 0; }

TraceItem::Growth TraceItem::growth() const {
  const std::int64_t w = penWidth();
  if (style_ != kStyleLines && style_ != kStyleArea && w > 1) {
    // A wide point is a square ending at the point, outlined by the wide pen: it reaches
    // (width + 1) / 2 plus half the pen beyond the point on the left and top.
    return {(w + 1) / 2 + w / 2 + 1, w / 2 + 2};
  }
  return {w / 2, w / 2 + 1};
}

std::int32_t TraceItem::baseline() const {
  if (!y_) return 0;
  return y_->mapping().pixel(0.0);
}

gdi::Rect TraceItem::converterRect() const {
  if (!x_ || !y_) return {};
  std::int64_t top = y_->minimum();
  std::int64_t bottom = y_->maximum();
  if (isArea()) {
    top = std::min<std::int64_t>(top, baseline());
    bottom = std::max<std::int64_t>(bottom, baseline());
  }
  const Growth g = growth();
  return saturated(x_->minimum() - g.before, top - g.before, std::int64_t{x_->maximum()} + g.after,
                   bottom + g.after);
}

gdi::Rect TraceItem::coveredRect(std::int32_t first, std::int32_t n) const {
  if (n <= 0) return {};
  // 32-bit minima and maxima: the loop over a long trace vectorises.
  std::int32_t l32 = std::numeric_limits<std::int32_t>::max(), t32 = l32;
  std::int32_t r32 = std::numeric_limits<std::int32_t>::min(), b32 = r32;
  const gdi::Point* p = points_.get() + first;
  for (std::int32_t i = 0; i < n; ++i) {
    l32 = std::min(l32, p[i].x);
    r32 = std::max(r32, p[i].x);
    t32 = std::min(t32, p[i].y);
    b32 = std::max(b32, p[i].y);
  }
  std::int64_t l = l32, t = t32, r = r32, b = b32;
  if (isArea()) {
    t = std::min<std::int64_t>(t, baseline());
    b = std::max<std::int64_t>(b, baseline());
  }
  const Growth g = growth();
  return saturated(l - g.before, t - g.before, r + g.after, b + g.after);
}

void TraceItem::markChanged(std::int32_t first, std::int32_t n, const gdi::Rect& rect) {
  if (n <= 0) return;
  changed_ = changed_.unite(rect);
  if (viewport_) viewport_->itemChanged(this, first, n, rect);
}

gdi::Rect TraceItem::takeChangedArea() {
  const gdi::Rect area = changed_;
  changed_ = {};
  return area;
}

void TraceItem::drawShown() { markChanged(start_, count_, bounds_); }

void TraceItem::eraseTrace() {
  eraseWhole();
  bounds_ = {};
  count_ = 0;
  start_ = emptyStart();
  erasePending_ = false;
  runEnds_.clear();
  resetConverters();
}

void TraceItem::setIntense(bool intense) {
  eraseWhole();
  intense_ = intense;
  drawShown();
}

void TraceItem::changePen(const PenDrawing* pen) {
  if (!pen) return;
  eraseWhole();
  pen_ = pen;
  if (count_ > 0) bounds_ = coveredRect(start_, count_);
  drawShown();
}

void TraceItem::changeStyle(std::int32_t style) {
  if (style == style_) return;
  eraseWhole();
  style_ = style;
  prepareMerging();
  if (count_ > 0) bounds_ = coveredRect(start_, count_);
  drawShown();
}

void TraceItem::forget() {
  bounds_ = {};
  count_ = 0;
  start_ = emptyStart();
  erasePending_ = false;
  runEnds_.clear();
  resetConverters();
}

void TraceItem::endRun() {
  if (count_ == 0) return;
  const std::int64_t newest = delivered_ - 1;
  if (runEnds_.empty() || runEnds_.back() != newest) runEnds_.push_back(newest);
}

void TraceItem::pointsAppended(std::int32_t n) {
  delivered_ += n;
  if (runEnds_.empty()) return;
  const auto oldest = std::lower_bound(runEnds_.begin(), runEnds_.end(), sequenceAt(start_));
  runEnds_.erase(runEnds_.begin(), oldest);
}

bool TraceItem::endsRun(std::int32_t index) const {
  return std::binary_search(runEnds_.begin(), runEnds_.end(), sequenceAt(index));
}

void TraceItem::translate(float offsetX, float offsetY) {
  eraseWhole();
  offsetX_ = offsetX;
  offsetY_ = offsetY;
  if (x_) x_->translate(offsetX, start_, count_);
  if (y_) y_->translate(offsetY, start_, count_);
  pointsWritten();
  // The whole trace moved: its bounds come from every shown point, not from the extremes of
  // the last block that an axis which did not move still holds.
  bounds_ = coveredRect(start_, count_);
  drawShown();
}

void TraceItem::drawRun(output::DrawSurface& surface, std::int32_t first, std::int32_t n,
                        const gdi::Rect& clipRect, int penIndex) {
  if (!pen_ || !surface) return;
  // Only points that are shown are ever drawn, whatever the caller asks.
  const std::int32_t begin = std::clamp(first, start_, start_ + count_);
  const std::int32_t end =
      std::clamp<std::int64_t>(std::int64_t{first} + n, begin, start_ + count_);
  n = end - begin;
  first = begin;
  if (n <= 0) return;
  gdi::Rect clip = clipRect;
  if (isLines() && (clip.width() <= 2 || clip.height() <= 2)) {
    // A short segment's own rectangle would clip it away.
    clip = saturated(std::int64_t{clip.left} - 1, std::int64_t{clip.top} - 1,
                     std::int64_t{clip.right} + 1, std::int64_t{clip.bottom} + 1)
               .intersect(viewportRect_);
  }
  if (clip.isEmpty()) return;
  gdi::DeviceContext& dc = surface.dc();
  // A run that lies wholly inside the clip needs no clip region (selecting one costs an
  // allocation on every block).
  // The bounds hold every shown point: when they lie inside the clip, so does the run.
  const bool clipped = !contains(clip, bounds_) && !contains(clip, coveredRect(first, n));
  if (clipped) surface.selectClipRect(clip);
  const gdi::Pen& pen = pen_->pen(penIndex);
  const gdi::Pen oldPen = dc.selectPen(pen);
  const gdi::Brush oldBrush = dc.selectBrush(pen_->brush(penIndex));
  // Gaps of a dashed outline stay untouched in every style, so that the erase pen, drawing the
  // same primitive again, removes exactly what was drawn.
  const int oldMode = dc.setBkMode(gdi::TRANSPARENT);
  if (runEnds_.empty() || n == 1 || (!isLines() && !isArea())) {
    drawPrimitive(dc, pen, first, n);
  } else {
    // One primitive per run: the points after a run end start a line of their own.
    const std::int64_t base = sequenceAt(0);
    std::int32_t from = first;
    for (auto it = std::lower_bound(runEnds_.begin(), runEnds_.end(), sequenceAt(first));
         it != runEnds_.end() && *it < sequenceAt(end - 1); ++it) {
      const auto last = static_cast<std::int32_t>(*it - base);
      drawPrimitive(dc, pen, from, last + 1 - from);
      from = last + 1;
    }
    drawPrimitive(dc, pen, from, end - from);
  }
  dc.setBkMode(oldMode);
  dc.selectBrush(oldBrush);
  dc.selectPen(oldPen);
  if (clipped) surface.selectClipRegion(nullptr);
}

void TraceItem::drawPrimitive(gdi::DeviceContext& dc, const gdi::Pen& pen, std::int32_t first,
                              std::int32_t n) {
  const std::int32_t end = first + n;
  const std::span<const gdi::Point> run{points_.get() + first, static_cast<std::size_t>(n)};
  const bool asPoints = style_ == kStylePoints || (isLines() && n == 1) ||
                        (style_ != kStyleLines && style_ != kStyleArea);
  if (asPoints) {
    if (pen.width() <= 1) {
      dc.setPixels(run, pen.color());
    } else {
      const int h = (pen.width() + 1) / 2;
      for (const gdi::Point& p : run) dc.rectangle(p.x - h, p.y - h, p.x, p.y);
    }
  } else if (isLines()) {
    if (merged_ && pen.isCosmetic()) {
      if (mergedRun_.first != first || mergedRun_.n != n)
        mergedRun_ = {first, n, compactPolyline(run, merged_.get())};
      dc.polyline({merged_.get(), mergedRun_.size});
    } else {
      dc.polyline(run);
    }
  } else {
    if (spareEntries_) {
      // The polygon closes along the baseline through the two entries after the run: the two
      // spare entries when the run ends the buffer. Inside a sweep those entries belong to later
      // points (an autoincrementing axis wrote its positions ahead), so they are put back.
      const std::int32_t base = baseline();
      const gdi::Point kept[2] = {points_[end], points_[end + 1]};
      points_[end] = {run.back().x, base};
      points_[end + 1] = {run.front().x, base};
      dc.polygon({points_.get() + first, run.size() + 2});
      points_[end] = kept[0];
      points_[end + 1] = kept[1];
    } else {
      dc.polygon(run);
    }
  }
}

bool TraceItem::draw(output::DrawSurface& surface, int first, int n, const gdi::Rect& clip) {
  if (!visible_ || count_ == 0) return false;
  drawRun(surface, first, n, clip, intense_ ? kPenIntense : kPenNormal);
  return true;
}

bool TraceItem::redraw(output::DrawSurface& surface, const gdi::Rect& clip) {
  return draw(surface, start_, count_, clip);
}

void TraceItem::erase(output::DrawSurface& surface, const gdi::Rect& clip) {
  if (count_ == 0) return;
  drawRun(surface, start_, count_, clip, eraseIndex_);
}

bool TraceItem::hitTest(gdi::Point m, output::HitInfo& hit) const {
  if (count_ == 0) return false;
  const gdi::Point* p = points_.get() + start_;
  std::int32_t position = -1;
  if (count_ == 1) {
    if (distance(m, p[0]) <= 4) position = 0;
  } else if (count_ == 2) {
    if (segmentDistance(m, p[0], p[1]) <= 4)
      position = distance(m, p[0]) <= distance(m, p[1]) ? 0 : 1;
  } else {
    if (!bounds_.contains(m)) return false;
    for (std::int32_t i = 0; i < count_; ++i) {
      if (p[i].x < std::int64_t{m.x} - 4) continue;
      if (p[i].x > std::int64_t{m.x} + 4) break;
      if (distance(m, p[i]) < 5) {
        position = i;
        break;
      }
    }
  }
  if (position < 0) return false;
  hit.obj = channel_;
  hit.position = static_cast<std::int16_t>(std::min<std::int32_t>(position, 32767));
  hit.objType = 1;
  return true;
}

}  // namespace kvplotax::trace
