#include "control_errors.h"

#include <array>
#include <string>

#include "automation/automation.h"

namespace kvplotax {

std::string_view controlErrorText(std::int16_t code) {
  static constexpr std::array<std::string_view, 24> kTexts{"Invalid/undefined window specified",
                                                           "Invalid/undefined pen specified",
                                                           "Invalid/undefined viewport specified",
                                                           "Window width <= 0",
                                                           "Window height <= 0",
                                                           "Invalid/undefined horz or vert data",
                                                           "Invalid data increment",
                                                           "Invalid # of points specified",
                                                           "",
                                                           "Invalid transform index",
                                                           "",
                                                           "",
                                                           "Invalid MSB",
                                                           "Invalid LSB",
                                                           "Horz/vert shapes incompatible",
                                                           "",
                                                           "",
                                                           "",
                                                           "",
                                                           "Invalid display surface",
                                                           "Invalid file name specified",
                                                           "Channel not initialized",
                                                           "Unrecognized transform type",
                                                           "Gain is zero"};
  if (code < 0 || code >= static_cast<std::int16_t>(kTexts.size())) return {};
  return kTexts[static_cast<std::size_t>(code)];
}

void raiseControlError(std::int16_t errBase, ControlError code) {
  const auto value = static_cast<std::int16_t>(code);
  const auto number = static_cast<std::uint16_t>(errBase + value);
  throw automation::AutomationError::custom(number, std::string(controlErrorText(value)));
}

void raiseInvalidValue() {
  throw automation::AutomationError::standard(automation::kErrInvalidPropertyValue);
}

}  // namespace kvplotax
