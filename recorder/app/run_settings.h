// The command line read into the settings of the run it asks for: each room runs on its own
// struct and never sees the command line.
#pragma once

#include "day_plot_run.h"
#include "headless_commands.h"
#include "headless_options.h"
#include "headless_settings.h"

namespace recorder::app {

headless::HeadlessSettings headlessSettingsOf(const HeadlessOptions& options);
headless::CsvExportSettings csvExportSettingsOf(const HeadlessOptions& options);
dayplot::DayPlotOptions dayPlotOptionsOf(const HeadlessOptions& options);

}  // namespace recorder::app
