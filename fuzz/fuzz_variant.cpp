// Arbitrary text as a class identifier and as a string value coerced to every scalar type.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "automation/automation.h"

namespace {

using automation::AutomationError;
using automation::Guid;
using automation::Variant;

template <typename F>
void coerce(F&& f) {
  try {
    f();
  } catch (const AutomationError& e) {
    // Only overflow and type mismatch may come out of a coercion.
    if (e.number() != automation::kErrOverflow && e.number() != automation::kErrTypeMismatch) {
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  if (const auto guid = Guid::parse(text)) {
    // Whatever parses prints back to a form that parses to the same identifier.
    const auto again = Guid::parse(guid->toString());
    if (!again || !(*again == *guid)) std::abort();
  }

  const Variant value(text);
  coerce([&] { value.toI2(); });
  coerce([&] { value.toI4(); });
  coerce([&] { value.toR4(); });
  coerce([&] { value.toBool(); });
  coerce([&] {
    // A number read from text prints as text that reads back to the same number.
    const double number = value.toR8();
    const double again = Variant(Variant(number).toString()).toR8();
    if (again != number && !(std::isnan(number) && std::isnan(again))) std::abort();
  });
  return 0;
}
