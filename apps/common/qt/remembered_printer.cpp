#include "apps/qt/remembered_printer.h"

#include <cstdlib>

#include "host/printers.h"

namespace apps::qt {

std::string useRememberedPrinter(const RememberedChoices& choices) {
  if (std::getenv("ZELK_PRINTER") != nullptr) return {};
  const auto remembered = choices.get(kPrinterChoice);
  if (!remembered) return {};
  // A gone queue is not made the choice: it would leave no printer at all.
  if (!host::printerNamed(*remembered)) {
    return "Printer " + *remembered + " is gone: printing to the default printer";
  }
  host::setChosenPrinter(*remembered);
  return {};
}

bool rememberChosenPrinter(const RememberedChoices& choices) {
  const auto chosen = host::chosenPrinter();
  if (!chosen || chosen->empty()) return false;
  if (choices.get(kPrinterChoice) == chosen) return true;
  return choices.set(kPrinterChoice, *chosen);
}

}  // namespace apps::qt
