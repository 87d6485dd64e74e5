#include "trace/channel_item.h"

#include "trace/trace_item.h"

namespace kvplotax::trace {

std::unique_ptr<output::ChartItem> createChannelItem(const TraceSetup& setup,
                                                     const ScaleItemMaker& scales) {
  if (setup.mode == kModeScaleItem) return scales ? scales(setup.channel) : nullptr;
  return createTraceItem(setup);
}

}  // namespace kvplotax::trace
