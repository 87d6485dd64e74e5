// The sweeping trace: blocks are drawn left to right until the buffer would overflow; then the
// whole trace is erased and the sweep restarts at the left with the tail of the block.
#include <algorithm>
#include <cstdint>

#include "trace_kinds.h"

namespace kvplotax::trace {

namespace {

class CrtTraceItem final : public TraceItem {
 public:
  explicit CrtTraceItem(const TraceSetup& setup) : TraceItem(setup) {}

 protected:
  std::int32_t emptyStart() const override { return 0; }

  std::int32_t deliver(std::int32_t n, std::span<const std::byte> ys,
                       std::span<const std::byte> xs) override {
    std::int32_t skip = 0;
    bool restart = erasePending_;
    if (std::int64_t{count_} + n > length_) {
      // The samples that would have completed the old sweep are not drawn.
      std::int64_t tail = std::int64_t{count_} + n - length_;
      if (tail > length_ && length_ > 0) {
        tail %= length_;
        // A tail of whole sweeps still fills the buffer with its last sweep, rather than
        // showing nothing and refusing the block.
        if (tail == 0) tail = length_;
      }
      skip = n - static_cast<std::int32_t>(tail);
      n = static_cast<std::int32_t>(tail);
      restart = true;
    }
    // Both sources are checked, from where the block would be written, before anything is
    // erased or written: a refused block leaves the trace and its buffer as they were.
    const ConverterState yState = yConverter()->saveState();
    const ConverterState xState = xConverter()->saveState();
    if (restart) resetConverters();
    int code = yConverter()->check(ys, n, skip);
    if (code == 0) code = xConverter()->check(xs, n, skip);
    if (code != 0) {
      yConverter()->restoreState(yState);
      xConverter()->restoreState(xState);
      return code;
    }
    if (restart) {
      eraseWhole();
      bounds_ = {};
      erasePending_ = false;
      count_ = 0;
    }
    yConverter()->append(ys, n, skip);
    xConverter()->append(xs, n, skip);
    pointsWritten();

    gdi::Rect rect = converterRect();
    bounds_ = bounds_.unite(rect);
    const std::int32_t old = count_;
    count_ = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{old} + n, length_));
    pointsAppended(skip + n);
    std::int32_t first = old;
    std::int32_t drawn = n;
    if (isLines() && old > 0 && !endsRun(old - 1)) {
      // Joined to the last point of the previous block, unless the line stopped there.
      first = old - 1;
      drawn = n + 1;
      rect = rect.unite(coveredRect(first, 1));
    }
    markChanged(first, drawn, rect);
    return count_;
  }
};

}  // namespace

std::unique_ptr<TraceItem> makeCrtTraceItem(const TraceSetup& setup) {
  return std::make_unique<CrtTraceItem>(setup);
}

}  // namespace kvplotax::trace
