#include "window_command_line.h"

namespace recorder::app {

window::WindowSettings windowSettingsOf(const HeadlessOptions& options) {
  window::WindowSettings window;
  window.start = options.start;
  window.screenshotPath = options.screenshotPath;
  if (options.inputGiven) window.input = options.input;
  window.seconds = options.seconds;
  window.serve = options.serve;
  window.stations = options.stations;
  return window;
}

std::string windowUsageText() {
  return "\n"
         "Window options (--input as above; without it the default capture device):\n"
         "  --start               press Start once the window is shown\n"
         "  --seconds N           close the window (as Exit does) after N seconds\n"
         "  --screenshot FILE.png write a picture of the window before it closes\n"
         "  --station, --stations, --interval, --rate, --sid-dir, --site-name and --site as\n"
         "                        above: the stations it records (else those last set in\n"
         "                        Options > Stations...), measured from each Start\n";
}

}  // namespace recorder::app
