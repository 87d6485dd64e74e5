// A window needs a display; without one the toolkit aborts with a message of its own. The
// programs look first and say in one line what to do instead.
#pragma once

#include <optional>
#include <string>

#include "apps/command_line.h"

namespace apps {

// Whether the environment names a display (X11, Wayland) or a platform of Qt's own choosing.
bool displayNamed();

// Status 2 and one line on standard error when no display is named; the line suggests
// --headless when the program has such runs.
std::optional<EarlyExit> refuseWithoutDisplay(const Program& program, bool offerHeadless);

}  // namespace apps
