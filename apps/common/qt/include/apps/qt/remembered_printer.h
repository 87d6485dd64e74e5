// The printer chosen in Printer Setup, kept from one run of a window to the next.
#pragma once

#include <string>

#include "apps/remembered_choices.h"

namespace apps::qt {

// At a window's start, once the printing system's queues are installed: the remembered printer
// becomes the one later prints go to, unless ZELK_PRINTER names one. Returns a line for the
// operator when the remembered queue is no longer known (prints then go to the default printer),
// empty otherwise.
std::string useRememberedPrinter(const RememberedChoices& choices);

// After Printer Setup: keeps the printer now chosen for the next start. False when there is none
// to keep or the file cannot be written.
bool rememberChosenPrinter(const RememberedChoices& choices);

}  // namespace apps::qt
