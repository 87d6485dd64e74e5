// A channel's trace: its point buffer, its two sample converters, its pen and its place in a
// viewport. Blocks of samples are converted into the buffer and drawn on the viewport's
// surface; erasing draws the same primitives again with the erase pen, so no trace keeps a
// bitmap of its own. The sweeping (CRT) and strip-chart (ScrollRight) kinds differ only in how
// a block makes room for itself and what it draws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "output/chart_item.h"
#include "render/sample_converter.h"
#include "trace/trace_setup.h"

namespace gdi {
class DeviceContext;
class Pen;
}  // namespace gdi

namespace kvplotax::trace {

// ChartData's negative codes that a trace item can return.
enum TraceCode : std::int32_t {
  kNoYConverter = -5,
  kNullY = -6,
  kBadShape = -7,
  kNoXConverter = -8,
  kNullX = -9,
  kBounds = -10,
  kInvalidScroll = -11,
};

class TraceItem : public output::ChartItem {
 public:
  ~TraceItem() override;
  TraceItem(const TraceItem&) = delete;
  TraceItem& operator=(const TraceItem&) = delete;

  // Both a viewport and a window were named when the item was built.
  bool valid() const { return viewport_ != nullptr && window_.has_value(); }
  std::int16_t channel() const { return channel_; }
  std::int32_t mode() const { return mode_; }
  std::int32_t style() const { return style_; }
  std::int32_t bufferLength() const { return length_; }
  std::int32_t count() const { return count_; }
  // Index of the oldest shown point.
  std::int32_t start() const { return start_; }
  std::span<const gdi::Point> shownPoints() const {
    return {points_.get() + start_, static_cast<std::size_t>(count_)};
  }
  const gdi::Rect& bounds() const { return bounds_; }
  bool intense() const { return intense_; }
  int eraseIndex() const { return eraseIndex_; }

  // Converts and draws a block of n points. A source whose data() is null is an absent array;
  // each spans the caller's array from the element the call's offset names to its end.
  // Returns the number of points held, or a negative TraceCode (nothing drawn then).
  std::int32_t addBlock(std::int32_t n, std::span<const std::byte> ySource,
                        std::span<const std::byte> xSource);

  // Channel commands.
  void eraseTrace();                      // erase the picture and empty the buffer
  void setIntense(bool intense);          // erase, switch colour, draw again
  void changePen(const PenDrawing* pen);  // erase, switch pen, draw again
  void changeStyle(std::int32_t style);   // erase in the old style, draw in the new one
  void forget();                          // empty the buffer, leave the pixels
  // The line stops at the newest held point: the next point starts a new run, and lines and
  // areas are drawn run by run (a hole in the data stays a hole in the picture). Points are
  // drawn as before. Nothing is drawn or erased by the call itself.
  void endRun();
  void translate(float offsetX, float offsetY);
  // Re-maps the trace onto a window's world rectangle: the window it already uses with new
  // values (a rescale) or another window. Nothing moves when the rectangle is the same within
  // single-precision rounding.
  void changeWindow(std::int32_t number, const WorldRect& window);
  // Moves the trace into another viewport, re-mapping it onto that viewport's rectangle.
  void changeViewport(output::ViewportObject* viewport, bool storageOn);
  std::int32_t windowNumber() const { return windowNumber_; }
  output::ViewportObject* viewport() const { return viewport_; }

  // The area erased and drawn since the caller last took it; the caller invalidates it.
  gdi::Rect takeChangedArea();

  // output::ChartItem
  gdi::Rect drawnRect() const override { return bounds_; }
  bool draw(output::DrawSurface& surface, int first, int count, const gdi::Rect& clip) override;
  bool redraw(output::DrawSurface& surface, const gdi::Rect& clip) override;
  void erase(output::DrawSurface& surface, const gdi::Rect& clip) override;
  bool relayout(const gdi::Rect& oldBounds, const gdi::Rect& newBounds,
                gdi::Rect& changed) override;
  bool hitTest(gdi::Point point, output::HitInfo& hit) const override;
  void setVisible(bool visible) override { visible_ = visible; }
  void setStorage(bool storageOn) override { eraseIndex_ = storageOn ? kErase3 : kErase2; }

 protected:
  explicit TraceItem(const TraceSetup& setup);

  // Makes room for, converts and draws a block whose sources are known to be present.
  virtual std::int32_t deliver(std::int32_t n, std::span<const std::byte> ySource,
                               std::span<const std::byte> xSource) = 0;
  // Index of the oldest point once the buffer is empty.
  virtual std::int32_t emptyStart() const = 0;

  bool isArea() const { return style_ == kStyleArea; }
  bool isLines() const { return style_ == kStyleLines; }
  // Picks the sources both converters read; a negative code when one is missing.
  std::int32_t sources(std::span<const std::byte> y, std::span<const std::byte> x,
                       std::span<const std::byte>& yOut, std::span<const std::byte>& xOut) const;
  void eraseWhole();
  void resetConverters();
  // The rectangle the points [first, first + n) cover, grown for the pen.
  gdi::Rect coveredRect(std::int32_t first, std::int32_t n) const;
  gdi::Rect converterRect() const;
  void markChanged(std::int32_t first, std::int32_t n, const gdi::Rect& rect);
  // The converters or the item wrote coordinates: a merged copy of them is stale.
  void pointsWritten() { mergedRun_.n = -1; }
  // A block of n samples was appended and count_ and start_ follow it: the held points moved
  // on by n, and run ends older than the oldest shown point are dropped.
  void pointsAppended(std::int32_t n);
  // The point at this buffer index ends a run (endRun was called while it was the newest).
  bool endsRun(std::int32_t index) const;

  SampleConverter* yConverter() const { return y_.get(); }
  SampleConverter* xConverter() const { return x_.get(); }

  std::int32_t length_ = 0;
  std::int32_t start_ = 0;
  std::int32_t count_ = 0;
  bool erasePending_ = false;
  gdi::Rect bounds_;

 private:
  static constexpr int kErase2 = 2;
  static constexpr int kErase3 = 3;

  void buildConverters(const TraceSetup& setup);
  std::int32_t baseline() const;
  int penWidth() const;
  // How far the pen's pixels reach beyond the points: before (left, top) and after.
  struct Growth {
    std::int64_t before;
    std::int64_t after;
  };
  Growth growth() const;
  void drawRun(output::DrawSurface& surface, std::int32_t first, std::int32_t n,
               const gdi::Rect& clip, int penIndex);
  // One primitive over the points [first, first + n), which are shown and hold no run end
  // before their last point.
  void drawPrimitive(gdi::DeviceContext& dc, const gdi::Pen& pen, std::int32_t first,
                     std::int32_t n);
  // Which point a buffer index holds, counted over every point appended since the item was
  // built: the newest shown point is delivered_ - 1 in either kind of trace.
  std::int64_t sequenceAt(std::int32_t index) const {
    return delivered_ - (std::int64_t{start_} + count_) + index;
  }
  void drawShown();
  void prepareMerging();
  // Maps the trace onto a new window rectangle and viewport rectangle; true when an axis moved.
  bool moveTo(const WorldRect& window, const gdi::Rect& rect);
  // Empties the trace and asks the client for its samples again; true when the client sent
  // exactly the points held, otherwise the held points are put back as they were.
  bool askResend();

  std::int16_t channel_;
  std::int32_t mode_;
  std::int32_t style_;
  const PenDrawing* pen_;
  output::ViewportObject* viewport_;
  gdi::Rect viewportRect_;
  std::optional<WorldRect> window_;
  std::int32_t windowNumber_ = 0;
  RefreshRequest refresh_;
  DataDescription yDescription_;
  DataDescription xDescription_;
  struct FreeBuffer {
    void operator()(gdi::Point* p) const;
  };
  std::unique_ptr<gdi::Point[], FreeBuffer> points_;
  // Room for a merged copy of the shown points, for lines drawn with a one-pixel pen.
  std::unique_ptr<gdi::Point[], FreeBuffer> merged_;
  // The run of points merged_ holds, so that erasing a trace merges it no second time.
  struct MergedRun {
    std::int32_t first = 0;
    std::int32_t n = -1;  // none
    std::size_t size = 0;
  };
  MergedRun mergedRun_;
  std::unique_ptr<SampleConverter> y_;
  std::unique_ptr<SampleConverter> x_;
  gdi::Rect changed_;
  int eraseIndex_ = kErase2;
  bool intense_ = false;
  bool visible_ = false;
  bool spareEntries_ = false;
  float offsetX_ = 0.0f;
  float offsetY_ = 0.0f;
  // Points appended so far, and the sequence numbers (ascending) of the shown points that end
  // a run. Sequence numbers stay with their points while a strip chart shifts its buffer.
  std::int64_t delivered_ = 0;
  std::vector<std::int64_t> runEnds_;
};

// Builds the item kind that ChnDspMode names: CRT or ScrollRight. Null for any other mode
// (the scale items of mode 101 come from the scales, not from here) or an invalid item.
std::unique_ptr<TraceItem> createTraceItem(const TraceSetup& setup);

}  // namespace kvplotax::trace
