#include "trace_kinds.h"

namespace kvplotax::trace {

std::unique_ptr<TraceItem> createTraceItem(const TraceSetup& setup) {
  std::unique_ptr<TraceItem> item;
  if (setup.mode == kModeCrt) item = makeCrtTraceItem(setup);
  if (setup.mode == kModeScrollRight) item = makeScrollTraceItem(setup);
  if (item && !item->valid()) item.reset();
  return item;
}

}  // namespace kvplotax::trace
