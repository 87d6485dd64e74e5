// The chart item a channel's ChnDspMode asks for when the channel is initialised: a sweeping or
// strip-chart trace item, or, for kind 101, the scale item of the scale numbered like the
// channel, which the scales make.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "output/chart_item.h"
#include "trace/trace_setup.h"

namespace kvplotax::trace {

// Makes the scale item of a scale number; null when there is no such scale.
using ScaleItemMaker = std::function<std::unique_ptr<output::ChartItem>(std::int16_t scale)>;

// Null for any other mode, for a trace without viewport or window, and for kind 101 without a
// scale maker or scale.
std::unique_ptr<output::ChartItem> createChannelItem(const TraceSetup& setup,
                                                     const ScaleItemMaker& scales);

}  // namespace kvplotax::trace
