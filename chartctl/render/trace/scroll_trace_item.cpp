// The strip-chart trace: the newest point sits at the right end of the buffer; each block
// erases the whole trace, shifts it left and draws it again.
#include <algorithm>
#include <cstdint>

#include "trace_kinds.h"

namespace kvplotax::trace {

namespace {

class ScrollTraceItem final : public TraceItem {
 public:
  explicit ScrollTraceItem(const TraceSetup& setup) : TraceItem(setup) { start_ = length_; }

 protected:
  std::int32_t emptyStart() const override { return length_; }

  std::int32_t deliver(std::int32_t n, std::span<const std::byte> ys,
                       std::span<const std::byte> xs) override {
    // A refused block (unreadable data, X moving back) must not take the shown trace away.
    if (const int code = yConverter()->check(ys, n, 0)) return code;
    if (const int code = xConverter()->check(xs, n, 0)) return code;
    if (erasePending_) {
      eraseWhole();
      bounds_ = {};
      erasePending_ = false;
    }
    yConverter()->append(ys, n, 0);
    xConverter()->append(xs, n, 0);
    pointsWritten();
    const std::int32_t appended = n;
    n = std::min(n, length_);
    start_ = std::max(start_ - n, 0);
    count_ = length_ - start_;
    pointsAppended(appended);
    bounds_ = converterRect();
    markChanged(start_, count_, bounds_);
    erasePending_ = true;
    return count_;
  }
};

}  // namespace

std::unique_ptr<TraceItem> makeScrollTraceItem(const TraceSetup& setup) {
  return std::make_unique<ScrollTraceItem>(setup);
}

}  // namespace kvplotax::trace
