// Converter of one data type for the strip-chart (ScrollRight) display: the newest points sit
// at the end of the buffer and each block pushes the older ones toward the front. The X
// converter also moves the older points left by the distance X advanced, carrying the
// fraction of a pixel that is not yet shown over to the next block.
#pragma once

#include <cmath>
#include <limits>

#include "crt_converter.h"

namespace kvplotax {

template <typename T>
class ScrollConverter : public CrtConverter<T> {
  using Base = CrtConverter<T>;
  using Walk = typename SampleConverter::SampleWalk;

 public:
  ScrollConverter(const ConverterParams& params, std::span<gdi::Point> points)
      : Base(params, points), scrolls_(params.axis == Axis::X) {
    emptyTrace();
  }

  int append(std::span<const std::byte> source, std::int32_t count, std::int32_t skip) override {
    Plan plan;
    const int status = makePlan(source, count, skip, plan);
    if (status == kAppendOk) carryOut(plan);
    return status;
  }

  void setTransform(const std::optional<SampleTransform>& transform) override {
    emptyTrace();
    Base::setTransform(transform);
  }

  void reset() override {
    emptyTrace();
    lastX_ = 0.0;
    remainder_ = 0.0;
  }

  ConverterState saveState() const override {
    ConverterState state = Base::saveState();
    state.lastX = lastX_;
    state.remainder = remainder_;
    return state;
  }

  void restoreState(const ConverterState& state) override {
    Base::restoreState(state);
    lastX_ = state.lastX;
    remainder_ = state.remainder;
  }

  int check(std::span<const std::byte> source, std::int32_t count,
            std::int32_t skip) const override {
    Plan plan;
    return makePlan(source, count, skip, plan);
  }

 private:
  struct Plan {
    Walk walk;
    std::int32_t count = 0;
    std::int32_t shift = 0;
    double newest = 0.0;  // field value of the newest sample
    double lastX = 0.0;
    double remainder = 0.0;
  };

  void emptyTrace() {
    this->setFirstIndex(this->bufferLength());
    this->setWritePosition(this->bufferLength());
  }

  int makePlan(std::span<const std::byte> source, std::int32_t count, std::int32_t skip,
               Plan& plan) const {
    const std::int32_t length = this->bufferLength();
    if (count < 1 || length < 1 || skip < 0) return kAppendBounds;
    if (count > length) {
      // Only the last buffer-length samples of the block can be shown.
      const std::int64_t later = std::int64_t{skip} + (count - length);
      if (later > std::numeric_limits<std::int32_t>::max()) return kAppendBounds;
      skip = static_cast<std::int32_t>(later);
      count = length;
    }
    if (!this->locate(source, count, skip, plan.walk)) return kAppendBounds;
    plan.count = count;
    plan.lastX = lastX_;
    plan.remainder = remainder_;
    if (!scrolls_) return kAppendOk;

    const FoldedTransform& f = this->folded();
    plan.newest = fieldValue(loadSample<T>(plan.walk.first + (count - 1) * plan.walk.stride), f);
    const double newestX = plan.newest * f.worldGain + f.worldOffset;
    // A block whose newest X is not a number has no place on a time axis.
    if (!std::isfinite(newestX)) return kAppendInvalidScroll;
    double travel = (lastX_ - newestX) * static_cast<double>(this->mapping().scale());
    if (std::isnan(travel)) travel = 0.0;  // no extent and no movement
    if (travel >= 1.0) return kAppendInvalidScroll;
    plan.shift = saturatePixel(travel);
    if (travel > static_cast<double>(kPixelMin)) {
      plan.remainder += travel - plan.shift;
      if (plan.remainder <= -1.0) {
        const double whole = std::trunc(plan.remainder);
        plan.shift = addSaturated(plan.shift, saturatePixel(whole));
        plan.remainder -= whole;
      }
    } else {
      plan.remainder = 0.0;  // the old trace has left the viewport entirely
    }
    plan.lastX = newestX;
    return kAppendOk;
  }

  void carryOut(const Plan& plan) {
    const std::int32_t length = this->bufferLength();
    const std::int32_t count = plan.count;
    gdi::Point* points = this->points();
    const std::int32_t first = this->firstIndex();
    const Extremes e =
        moveCoordinates(this->axis(), points, std::max(first, count), length, count, plan.shift);
    const FoldedTransform& f = this->folded();
    gdi::Point* out = points + (length - count);
    const std::int32_t displayOffset = this->mapping().displayOffset();
    // A scrolling X puts its newest sample on the right edge and measures the others back
    // from it; a Y converts as in a sweep.
    const Extremes added =
        scrolls_ ? convertSamples<T, true>(
                       this->axis(), plan.walk.first, plan.walk.stride, count, f,
                       {plan.newest, f.gain, static_cast<double>(this->mapping().pixelEnd()),
                        displayOffset},
                       out)
                 : convertSamples<T>(this->axis(), plan.walk.first, plan.walk.stride, count, f,
                                     {0.0, f.gain, f.offset, displayOffset}, out);
    this->setExtremes(unite(e, added));
    this->setFirstIndex(std::max(first - count, 0));
    lastX_ = plan.lastX;
    remainder_ = plan.remainder;
  }

  bool scrolls_;
  double lastX_ = 0.0;
  double remainder_ = 0.0;
};

}  // namespace kvplotax
