// A sample converter turns one dimension of a block of raw samples into device coordinates in
// a channel's point buffer. One class per data type and display mode, plus the auto-increment
// converter that reads no data; the trace item owns two of them (X and Y) and the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "gdi/geometry.h"
#include "render/axis_mapping.h"
#include "render/converter_params.h"

namespace kvplotax {

// Where a converter stands in its buffer: what an emptied trace puts back when the client does
// not send its samples again.
struct ConverterState {
  std::int32_t writePosition = 0;
  std::int32_t first = 0;
  Extremes extremes;
  double lastX = 0.0;      // world X of the newest sample (ScrollRight X)
  double remainder = 0.0;  // fraction of a pixel not yet scrolled (ScrollRight X)
};

class SampleConverter {
 public:
  virtual ~SampleConverter();
  SampleConverter(const SampleConverter&) = delete;
  SampleConverter& operator=(const SampleConverter&) = delete;

  // Converts count samples into the point buffer. source is the caller's array from the
  // element that ChartData's offset argument selects to the end of the array; the converter
  // applies ChnDataOffset and ChnDataIncr itself and, for the second member of a pair, steps
  // over the first (pass the same source to both converters of a pair). skip is the number of
  // leading points of the block that are not shown (a restarted sweep keeps only the tail).
  // No element outside source is read. Returns kAppendOk, kAppendBounds or
  // kAppendInvalidScroll; on failure nothing is written.
  virtual int append(std::span<const std::byte> source, std::int32_t count, std::int32_t skip) = 0;
  // Folds a new transform (or the identity) into the converter's gain and offset.
  virtual void setTransform(const std::optional<SampleTransform>& transform) = 0;
  // Moves the coordinates of points [first, first + count) by the change of the display
  // offset (world units); true when anything moved.
  virtual bool translate(float displayOffset, std::int32_t first, std::int32_t count);
  // True when a new display offset differs from the current one beyond single-precision
  // rounding.
  virtual bool offsetChanged(float displayOffset) const;
  // True when any coordinate of points [first, first + count) sits on a 16-bit limit.
  virtual bool isSaturated(std::int32_t first, std::int32_t count) const;
  // Starts over at the beginning of the buffer (a new sweep, an emptied trace).
  virtual void reset();
  // Maps the data onto a new window range or new viewport edges. The write position, the first
  // index and the carried X stay: only the gain and offset are folded again, so the next block
  // continues where the last one ended. The held points are left for the caller to move.
  virtual void remap(float worldMin, float worldMax, std::int32_t pixelStart,
                     std::int32_t pixelEnd);
  virtual ConverterState saveState() const;
  virtual void restoreState(const ConverterState& state);
  // Takes the extremes from the coordinates of points [first, first + count), after the
  // caller moved them.
  void measure(std::int32_t first, std::int32_t count);
  // What append would return for the same arguments, without writing anything. A ScrollRight
  // channel asks both converters before appending to either, so a refused block leaves the
  // whole buffer untouched.
  virtual int check(std::span<const std::byte> source, std::int32_t count,
                    std::int32_t skip) const = 0;

  Axis axis() const { return axis_; }
  std::int32_t dataType() const { return dataType_; }
  std::int32_t shape() const { return shape_; }
  std::int32_t bufferLength() const { return length_; }
  // Index of the next sample (CRT); the buffer length for ScrollRight converters.
  std::int32_t writePosition() const { return writePosition_; }
  // Index of the oldest point shown: 0 for CRT, buffer length - held points for ScrollRight.
  std::int32_t firstIndex() const { return first_; }
  // Smallest and largest coordinate written (CRT: by the last append; ScrollRight: of the
  // whole trace after it).
  std::int32_t minimum() const { return extremes_.minimum; }
  std::int32_t maximum() const { return extremes_.maximum; }
  const AxisMapping& mapping() const { return mapping_; }

 protected:
  SampleConverter(const ConverterParams& params, std::span<gdi::Point> points);

  // Where the samples of a block lie in the caller's array, once checked.
  struct SampleWalk {
    const std::byte* first = nullptr;  // sample of point `skip`
    std::ptrdiff_t stride = 0;         // bytes between consecutive points
  };
  // Checks that every element that count points starting at point skip would read lies
  // inside source.
  bool locate(std::span<const std::byte> source, std::int32_t count, std::int32_t skip,
              SampleWalk& walk) const;

  int gdi::Point::*member() const { return member_; }
  gdi::Point* points() const { return points_; }
  void setExtremes(Extremes e) { extremes_ = e; }
  void setWritePosition(std::int32_t p) { writePosition_ = p; }
  void setFirstIndex(std::int32_t f) { first_ = f; }
  AxisMapping& mutableMapping() { return mapping_; }
  std::int32_t dataOffset() const { return dataOffset_; }
  std::int32_t dataIncrement() const { return dataIncrement_; }

 private:
  Axis axis_;
  int gdi::Point::*member_;
  std::int32_t dataType_;
  std::int32_t shape_;
  std::int32_t dataOffset_;
  std::int32_t dataIncrement_;
  gdi::Point* points_;
  std::int32_t length_;
  std::int32_t writePosition_ = 0;
  std::int32_t first_ = 0;
  Extremes extremes_;
  AxisMapping mapping_;
};

}  // namespace kvplotax
