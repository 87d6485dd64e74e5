// The recorder with its window: the Qt event loop around the form, ended by Exit, by closing the
// window or by SIGINT/SIGTERM (each closes the log first), exit status 0.
#pragma once

#include "window_settings.h"

namespace recorder::window {

int runWindow(const WindowSettings& settings, int& argc, char** argv);

}  // namespace recorder::window
