#include "recorder/chart_data_call.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace recorder {

using automation::SafeArray;
using automation::Variant;

ChartDataCall::ChartDataCall()
    : valueArray_(SafeArray::create(automation::VT_R4, kPointCapacity)),
      xArray_(SafeArray::create(automation::VT_R8, kPointCapacity)) {
  valueData_ = static_cast<float*>(valueArray_->data());
  xData_ = static_cast<double*>(xArray_->data());
  std::fill_n(valueData_, kPointCapacity, 0.0f);
  std::fill_n(xData_, kPointCapacity, 0.0);
}

void ChartDataCall::restoreArrays() {
  const std::pair<std::shared_ptr<SafeArray>*, automation::VarType> arrays[] = {
      {&valueArray_, automation::VT_R4}, {&xArray_, automation::VT_R8}};
  for (const auto& [array, type] : arrays) {
    if (!*array || (*array)->elementType() != type || (*array)->count() < kPointCapacity) {
      *array = SafeArray::create(type, kPointCapacity);
      std::fill_n(static_cast<std::byte*>((*array)->data()),
                  kPointCapacity * (*array)->elementSize(), std::byte{0});
    }
  }
  valueData_ = static_cast<float*>(valueArray_->data());
  xData_ = static_cast<double*>(xArray_->data());
}

std::int32_t ChartDataCall::send(automation::Dispatch& chart, std::int16_t channel,
                                 std::int32_t points) {
  if (boundTo_ != &chart) {
    // Bound late, by name, at the first call on this chart.
    chartDataId_ = chart.idOfName("ChartData");
    if (chartDataId_ == automation::kDispIdUnknown) {
      throw automation::AutomationError::standard(automation::kErrNotSupported);
    }
    boundTo_ = &chart;
  }
  // The arguments are rebuilt in place each time, because the chart may change by-reference
  // arguments; none of these assignments allocates.
  pointCount_ = Variant(points);
  args_[0] = Variant(channel);
  args_[1] = Variant::ref(&pointCount_);
  args_[2] = Variant::arrayRef(automation::VT_R4, &valueArray_);
  args_[3] = Variant(std::int32_t{0});
  args_[4] = Variant::arrayRef(automation::VT_R8, &xArray_);
  args_[5] = Variant(std::int32_t{0});
  const Variant result = chart.call(chartDataId_, args_);
  // By-reference arrays may in principle be replaced by the callee; keep the form's arrays.
  if (!valueArray_ || !xArray_ || valueArray_->data() != valueData_ || xArray_->data() != xData_) {
    restoreArrays();
  }
  return result.type() == automation::VT_EMPTY ? 0 : result.toI4();
}

}  // namespace recorder
