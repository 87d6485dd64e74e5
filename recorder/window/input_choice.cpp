#include "input_choice.h"

namespace recorder::window {

StartInput chooseStartInput(const std::optional<std::string>& requested,
                            const std::vector<std::string>& devices) {
  if (requested) {
    if (const auto parsed = xvtools::InputSpec::parse(*requested)) return {*parsed, {}};
  }
  if (devices.empty()) return {xvtools::InputSpec{}, kNoCaptureDevice};
  xvtools::InputSpec device;
  device.kind = xvtools::InputSpec::Kind::DefaultDevice;
  return {device, {}};
}

}  // namespace recorder::window
