// Arbitrary bytes read as saved scale records: a record read back and written again must give
// the bytes it was read from, and reading never touches memory past the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "scale/scale_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::uint8_t> bytes(data, size);
  while (!bytes.empty()) {
    kvplotax::scale::ScaleInfo info;
    const std::size_t used = kvplotax::scale::readScaleInfo(bytes, info);
    if (used == 0) break;
    std::vector<std::uint8_t> again;
    kvplotax::scale::writeScaleInfo(info, again);
    if (again.size() != used || !std::equal(again.begin(), again.end(), bytes.begin())) {
      std::abort();
    }
    bytes = bytes.subspan(used);
  }
  return 0;
}
