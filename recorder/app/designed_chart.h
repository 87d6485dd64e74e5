// The chart as the recorder's form was designed: its saved settings, a property-bag file in the
// program's forms/ folder, loaded when the form's chart is created.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "automation/automation.h"

namespace recorder::app {

// forms/zelkchart.bag beside the running program, else in the installed data folder; empty
// when neither has it.
std::filesystem::path designedChartFile();

// The file's text; none when it cannot be read.
std::optional<std::string> readDesignedChart(const std::filesystem::path& file);

// Creates the chart in the container (headless or on the screen) from its designed settings, or
// as a new control when there are none. Raises what the container raises when the class cannot
// be created.
template <class Container>
automation::Dispatch& createDesignedChart(Container& container, const automation::Guid& clsid) {
  if (const auto bag = readDesignedChart(designedChartFile()))
    return container.loadBag(clsid, *bag);
  return container.create(clsid);
}

}  // namespace recorder::app
