// Loads a chart control from arbitrary bytes in the stream form of its saved state.
#include <cstddef>
#include <cstdint>
#include <span>

#include "gdi/device_context.h"
#include "kvplotax_ctrl.h"
#include "persist_fuzz_site.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::loadPaintSave([&](kvplotax::CKvplotaxCtrl& chart) {
    chart.loadFromStream(std::span<const std::uint8_t>(data, size));
  });
  return 0;
}
