// Arbitrary bytes as the choices file and as a name to keep: reading never fails hard, a name
// kept reads back whole, and the other lines of the file stay as they were.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "apps/remembered_choices.h"
#include "fuzz_scratch_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const apps::RememberedChoices choices(fuzzScratchFolder() / "choices");
  std::ofstream(choices.file(), std::ios::binary | std::ios::trunc) << bytes;
  const auto printer = choices.get(apps::kPrinterChoice);
  choices.get(apps::kInputChoice);
  // The bytes as a name: kept whole, and the printer as it was.
  if (choices.set(apps::kInputChoice, bytes)) {
    const auto input = choices.get(apps::kInputChoice);
    if (bytes.empty() ? input.has_value() : input != bytes) std::abort();
    if (choices.get(apps::kPrinterChoice) != printer) std::abort();
  }
  const std::string line = apps::RememberedChoices::entryLine(apps::kPrinterChoice, bytes);
  const auto entry = apps::RememberedChoices::parseEntry(line);
  if (!entry || entry->first != apps::kPrinterChoice || entry->second != bytes) std::abort();
  return 0;
}
