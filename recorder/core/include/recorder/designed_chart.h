// The chart as the recorder's form was designed: forms/zelkchart.bag, loaded when the form's
// chart is created (see apps/designed_chart.h for where it is looked for and the failure rule).
#pragma once

#include "apps/designed_chart.h"

namespace recorder {

inline constexpr char kDesignedChartFile[] = "zelkchart.bag";

template <class Container>
automation::Dispatch& createDesignedChart(Container& container, const automation::Guid& clsid) {
  return apps::createDesignedChart(container, kDesignedChartFile, clsid);
}

}  // namespace recorder
