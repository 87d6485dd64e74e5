#include "window_options.h"

namespace recorder::app {

WindowOptions takeWindowOptions(std::vector<std::string>& args) {
  WindowOptions options;
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--start") {
      options.start = true;
    } else if (a == "--screenshot") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        options.error = "--screenshot needs a file name";
        return options;
      }
      options.screenshotPath = args[++i];
    } else {
      if (a == "--input" && i + 1 < args.size()) options.input = args[i + 1];
      rest.push_back(a);
    }
  }
  args = std::move(rest);
  return options;
}

std::string windowUsageText() {
  return "\n"
         "Window options (--input as above; without it the default capture device):\n"
         "  --start               press Start once the window is shown\n"
         "  --seconds N           close the window (as Exit does) after N seconds\n"
         "  --screenshot FILE.png write a picture of the window before it closes\n";
}

}  // namespace recorder::app
