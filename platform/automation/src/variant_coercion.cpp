#include <string>

#include "automation/automation.h"
#include "number_text.h"
#include "numeric_range.h"
#include "util/text.h"

namespace automation {
namespace {

std::string_view trimmed(std::string_view text) { return util::trim(text, " \t"); }

using util::equalsNoCase;

double parseOrThrow(const std::string& text) {
  const detail::ParsedNumber parsed = detail::parseNumber(text);
  switch (parsed.status) {
    case detail::ParseStatus::kOk:
      return parsed.value;
    case detail::ParseStatus::kOverflow:
      throw AutomationError::standard(kErrOverflow);
    default:
      throw AutomationError::standard(kErrTypeMismatch);
  }
}

}  // namespace

// Every numeric coercion goes through the double value: each integer type up to 32 bits and
// every float is exact in a double, and strings are read as doubles anyway.
double Variant::toR8() const {
  const Variant& v = deref();
  switch (v.type_) {
    case VT_EMPTY:
      return 0.0;
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_BOOL:
      return static_cast<double>(v.integer_);
    case VT_R4:
    case VT_R8:
    case VT_DATE:
      return v.real_;
    case VT_BSTR:
      return parseOrThrow(v.string_);
    default:  // objects, arrays, error values
      throw AutomationError::standard(kErrTypeMismatch);
  }
}

std::int16_t Variant::toI2() const {
  return static_cast<std::int16_t>(detail::roundToRange(toR8(), -32768, 32767));
}

std::int32_t Variant::toI4() const {
  return static_cast<std::int32_t>(detail::roundToRange(toR8(), -2147483648LL, 2147483647LL));
}

float Variant::toR4() const { return detail::toFloatChecked(toR8()); }

bool Variant::toBool() const {
  const Variant& v = deref();
  if (v.type_ == VT_BSTR) {
    const std::string_view text = trimmed(v.string_);
    if (equalsNoCase(text, "True")) return true;
    if (equalsNoCase(text, "False")) return false;
    const detail::ParsedNumber parsed = detail::parseNumber(text);
    if (parsed.status == detail::ParseStatus::kNotANumber) {
      throw AutomationError::standard(kErrTypeMismatch);
    }
    // A number too large to hold is still not zero.
    return parsed.status == detail::ParseStatus::kOverflow || parsed.value != 0.0;
  }
  return v.toR8() != 0.0;
}

std::string Variant::toString() const {
  const Variant& v = deref();
  switch (v.type_) {
    case VT_EMPTY:
      return {};
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
      return std::to_string(v.integer_);
    case VT_R4:
      return detail::formatFloat(static_cast<float>(v.real_));
    case VT_R8:
      return detail::formatDouble(v.real_);
    case VT_DATE:
      return detail::formatDate(v.real_);
    case VT_BOOL:
      return v.integer_ != 0 ? "True" : "False";
    case VT_BSTR:
      return v.string_;
    default:
      throw AutomationError::standard(kErrTypeMismatch);
  }
}

std::shared_ptr<Dispatch> Variant::toDispatch() const {
  const Variant& v = deref();
  if (v.type_ != VT_DISPATCH) throw AutomationError::standard(kErrTypeMismatch);
  return v.dispatch_;
}

}  // namespace automation
