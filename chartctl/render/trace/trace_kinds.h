// The two kinds of trace item, built by createTraceItem.
#pragma once

#include <memory>

#include "trace/trace_item.h"

namespace kvplotax::trace {

std::unique_ptr<TraceItem> makeCrtTraceItem(const TraceSetup& setup);
std::unique_ptr<TraceItem> makeScrollTraceItem(const TraceSetup& setup);

}  // namespace kvplotax::trace
