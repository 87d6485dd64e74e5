#include "apps/display.h"

#include <cstdlib>

namespace apps {

bool displayNamed() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

std::optional<EarlyExit> refuseWithoutDisplay(const Program& program, bool offerHeadless) {
  if (displayNamed()) return std::nullopt;
  return EarlyExit{2, "",
                   program.name + ": no display to open the window on" +
                       (offerHeadless ? "; use --headless\n" : "\n")};
}

}  // namespace apps
