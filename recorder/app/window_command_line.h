// What the window takes from the command line: --start and --screenshot are its own; --input,
// --seconds, --serve and the stations it shares with headless runs.
#pragma once

#include <string>

#include "headless_options.h"
#include "window_settings.h"

namespace recorder::app {

window::WindowSettings windowSettingsOf(const HeadlessOptions& options);
std::string windowUsageText();

}  // namespace recorder::app
