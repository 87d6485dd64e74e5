// The point arrays and the one ChartData call per block that hands them to the chart. The arrays
// are automation arrays of 401 elements kept for the form's life: values as 32-bit floats, X as
// 64-bit floats so that positions stay exact however long a recording runs. The call's arguments
// are built once, so a block allocates nothing.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "automation/automation.h"

namespace recorder {

constexpr std::size_t kPointCapacity = 401;

class ChartDataCall {
 public:
  ChartDataCall();
  ChartDataCall(const ChartDataCall&) = delete;
  ChartDataCall& operator=(const ChartDataCall&) = delete;

  // PointValue and PointX: the arrays the chart reads.
  std::span<float> values() { return {valueData_, kPointCapacity}; }
  std::span<double> xs() { return {xData_, kPointCapacity}; }

  // ChartData(channel, nPts, PointValue, 0, PointX, 0) with nPts passed by reference and the
  // whole arrays passed by reference. Returns the chart's result.
  std::int32_t send(automation::Dispatch& chart, std::int16_t channel, std::int32_t points);

 private:
  void restoreArrays();

  std::shared_ptr<automation::SafeArray> valueArray_;
  std::shared_ptr<automation::SafeArray> xArray_;
  float* valueData_ = nullptr;
  double* xData_ = nullptr;
  automation::Variant pointCount_;
  std::array<automation::Variant, 6> args_;
  const automation::Dispatch* boundTo_ = nullptr;
  automation::DispId chartDataId_ = automation::kDispIdUnknown;
};

}  // namespace recorder
