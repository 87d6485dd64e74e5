#include "automation/automation.h"

namespace automation {
namespace {

constexpr std::int32_t kControlErrorFacility = static_cast<std::int32_t>(0x800A0000);

const char* standardText(std::uint16_t number) {
  switch (number) {
    case kErrOverflow:
      return "Overflow";
    case kErrTypeMismatch:
      return "Type mismatch";
    case kErrInvalidPropertyValue:
      return "Invalid property value";
    case kErrSetNotSupported:
      return "Property is read-only";
    case kErrGetNotSupported:
      return "Property is write-only";
    case kErrNotSupported:
      return "Object doesn't support this property or method";
    case kErrCannotCreateObject:
      return "ActiveX component can't create object";
    default:
      return "";
  }
}

}  // namespace

AutomationError::AutomationError(std::int32_t scode, const std::string& description,
                                 std::uint32_t helpContext)
    : std::runtime_error(description), scode_(scode), helpContext_(helpContext) {}

// Defined here, out of line, so that the class has one type_info for every module: an error
// thrown inside a dynamically loaded control is caught by type in the program.
AutomationError::~AutomationError() = default;

AutomationError AutomationError::standard(std::uint16_t number) {
  return AutomationError(kControlErrorFacility | number, standardText(number));
}

AutomationError AutomationError::custom(std::uint16_t number, const std::string& description) {
  return AutomationError(kControlErrorFacility | number, description);
}

}  // namespace automation
