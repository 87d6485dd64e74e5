// The recorder window's choices that outlast a run: the input chosen in Options > Input and the
// printer chosen in File > Printer Setup, used again at the next start. --input and ZELK_PRINTER
// win over them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "apps/remembered_choices.h"
#include "input_choice.h"
#include "input_menu.h"
#include "recorder/stations.h"

namespace recorder::window {

class RecorderWindow;
class WindowStations;

inline constexpr char kStationsChoice[] = "stations";

// The stations the window starts with: those of the command line, else the remembered ones.
std::vector<Station> startStations(const std::vector<Station>& requested,
                                   const apps::RememberedChoices& choices);
// Keeps the list the operator sets in Options > Stations... for the next start.
void keepStations(WindowStations& stations, const apps::RememberedChoices& choices);

// What the window starts with: the input --input names (requested), else the remembered one
// while it is still there, else the default; and the remembered printer (see
// useRememberedPrinter). What was remembered but is gone is said in the note.
StartInput startWithRememberedChoices(const std::optional<std::string>& requested,
                                      const InputMenu::DeviceLister& devices,
                                      const apps::RememberedChoices& choices);

// Keeps the operator's later choices of input and printer in the window for the next start.
// choices must outlive the window.
void keepChoices(RecorderWindow& window, const apps::RememberedChoices& choices);

}  // namespace recorder::window
