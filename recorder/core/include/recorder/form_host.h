// What the recorder's main form needs from the program around it: its window, the desktop, the
// message loop and the system clock. The GUI and the headless run each provide one.
#pragma once

#include <cstdint>

namespace recorder {

class FormHost {
 public:
  virtual ~FormHost() = default;

  virtual void showForm() {}
  // Screen and form sizes in pixels, for centring the form.
  virtual int screenWidth() const { return 0; }
  virtual int screenHeight() const { return 0; }
  virtual int formWidth() const { return 0; }
  virtual int formHeight() const { return 0; }
  virtual void moveForm(int /*left*/, int /*top*/) {}
  // Lets pending window messages run (timer ticks, clicks, repaints).
  virtual void doEvents() {}
  // Ends the program after the current handler returns.
  virtual void endProgram() {}
  virtual void showAbout() {}
  // The main form's window handle for printing; 0 when there is no window.
  virtual std::int32_t windowHandle() const { return 0; }
  // The system's local time of day as a date on day 0.
  virtual double timeOfDay() const;
};

}  // namespace recorder
