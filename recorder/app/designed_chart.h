// The chart as the recorder's form was designed: its saved settings, a property-bag file in the
// program's forms/ folder, loaded when the form's chart is created.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "automation/automation.h"
#include "host/headless.h"

namespace recorder::app {

// forms/zelkchart.bag beside the running program, else in the installed data folder; empty
// when neither has it.
std::filesystem::path designedChartFile();

// The file's text; none when it cannot be read.
std::optional<std::string> readDesignedChart(const std::filesystem::path& file);

// Creates the chart in the container from its designed settings, or as a new control when
// there are none. Raises what the container raises when the class cannot be created.
automation::Dispatch& createDesignedChart(host::HeadlessContainer& container,
                                          const automation::Guid& clsid);

}  // namespace recorder::app
