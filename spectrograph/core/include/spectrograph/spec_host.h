// What the spectrograph's form needs from the program around it: its window handle for printing
// and the end of the program. The GUI and the headless run each provide one.
#pragma once

#include <cstdint>

namespace spectrograph {

class SpecHost {
 public:
  virtual ~SpecHost() = default;
  // The form's window handle for printing; 0 when there is no window.
  virtual std::int32_t windowHandle() const { return 0; }
  // Ends the program after the current handler returns.
  virtual void endProgram() {}
};

}  // namespace spectrograph
