// Loads a chart control from arbitrary text in the property-bag form of its saved state.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gdi/device_context.h"
#include "kvplotax_ctrl.h"
#include "persist_fuzz_site.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::loadPaintSave([&](kvplotax::CKvplotaxCtrl& chart) {
    chart.loadFromBag(std::string_view(reinterpret_cast<const char*>(data), size));
  });
  return 0;
}
