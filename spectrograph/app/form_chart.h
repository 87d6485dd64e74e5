// The form's chart control, created with its designed settings (forms/zelkspec.bag), else as a
// new control (see apps/designed_chart.h for where they are looked for and the failure rule).
#pragma once

#include "apps/designed_chart.h"

namespace spectrograph::app {

using apps::kChartClassId;
// The chart control's size on the form.
inline constexpr int kChartWidth = 105;
inline constexpr int kChartHeight = 49;

template <typename Container>
automation::Dispatch& createFormChart(Container& container) {
  return apps::createDesignedChart(container, "zelkspec.bag");
}

}  // namespace spectrograph::app
