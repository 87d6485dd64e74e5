#include "window_choices.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "apps/qt/remembered_printer.h"
#include "host/printers.h"
#include "recorder_window.h"
#include "stations_dialog.h"
#include "window_stations.h"

namespace recorder::window {

namespace {

using Kind = xvtools::InputSpec::Kind;

bool stillThere(const xvtools::InputSpec& input, const std::vector<std::string>& devices) {
  switch (input.kind) {
    case Kind::DefaultDevice:
      return !devices.empty();
    case Kind::Device:
      return std::find(devices.begin(), devices.end(), input.name) != devices.end();
    case Kind::File: {
      std::error_code error;
      if (!std::filesystem::is_regular_file(input.name, error)) return false;
      std::FILE* file = std::fopen(input.name.c_str(), "rb");
      if (file != nullptr) std::fclose(file);
      return file != nullptr;
    }
    case Kind::Synthetic:
    case Kind::SyntheticVlf:
    case Kind::SyntheticMeteors:
      break;
  }
  return true;
}

// The default in place of a remembered input that is gone.
StartInput fallback(const xvtools::InputSpec& remembered, const std::vector<std::string>& devices) {
  StartInput start = chooseStartInput(std::nullopt, devices);
  // Without any capture device the default's own note says what is used instead.
  if (remembered.kind == Kind::DefaultDevice) return start;
  start.note =
      "Input " + remembered.name + " is gone: using " +
      (start.input.kind == Kind::Synthetic ? "the synthetic signal" : "the default capture device");
  return start;
}

StartInput startInput(const std::optional<std::string>& requested,
                      const InputMenu::DeviceLister& devices,
                      const apps::RememberedChoices& choices) {
  if (requested) return chooseStartInput(requested, {});
  const auto text = choices.get(apps::kInputChoice);
  const auto remembered = text ? xvtools::InputSpec::parse(*text) : std::nullopt;
  const std::vector<std::string> present = devices ? devices() : std::vector<std::string>{};
  if (!remembered) return chooseStartInput(std::nullopt, present);
  if (stillThere(*remembered, present)) return {*remembered, {}};
  return fallback(*remembered, present);
}

void warnUnkept(const apps::RememberedChoices& choices) {
  std::fprintf(stderr, "zelkchart: cannot keep the choice for the next start in %s\n",
               choices.file().c_str());
}

}  // namespace

StartInput startWithRememberedChoices(const std::optional<std::string>& requested,
                                      const InputMenu::DeviceLister& devices,
                                      const apps::RememberedChoices& choices) {
  StartInput start = startInput(requested, devices, choices);
  if (const std::string printer = apps::qt::useRememberedPrinter(choices); !printer.empty()) {
    start.note = start.note.empty() ? printer : start.note + "; " + printer;
  }
  return start;
}

void keepChoices(RecorderWindow& window, const apps::RememberedChoices& choices) {
  xvtools::XVWaveInX& waveIn = window.form().XVWaveInX1();
  window.inputMenu()->onChosen([&waveIn, &choices] {
    const std::string chosen = waveIn.input().toString();
    if (choices.get(apps::kInputChoice) != chosen && !choices.set(apps::kInputChoice, chosen))
      warnUnkept(choices);
  });
  // After the form's own handler, which runs the dialog.
  QObject::connect(window.printerSetupAction(), &QAction::triggered, &window, [&choices] {
    const auto chosen = host::chosenPrinter();
    if (chosen && !chosen->empty() && !apps::qt::rememberChosenPrinter(choices))
      warnUnkept(choices);
  });
}

std::vector<Station> startStations(const std::vector<Station>& requested,
                                   const apps::RememberedChoices& choices) {
  if (!requested.empty()) return requested;
  const auto text = choices.get(kStationsChoice);
  return text ? stationsOfChoiceText(*text) : std::vector<Station>{};
}

void keepStations(WindowStations& stations, const apps::RememberedChoices& choices) {
  stations.onChanged([&choices](const std::vector<Station>& list) {
    const std::string text = stationsChoiceText(list);
    if (choices.get(kStationsChoice).value_or("") != text && !choices.set(kStationsChoice, text))
      warnUnkept(choices);
  });
}

}  // namespace recorder::window
