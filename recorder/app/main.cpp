// zelkchart: the strip-chart recorder, with its window, or --headless running the same form
// unattended.
#include <iostream>
#include <string>
#include <vector>

#include "apps/command_line.h"
#include "apps/stop_signals.h"
#include "day_plot_run.h"
#include "headless_commands.h"
#include "headless_options.h"
#include "headless_run.h"
#include "run_settings.h"
#if ZELKCHART_WINDOW
#include "apps/display.h"
#include "window_command_line.h"
#include "window_run.h"
#endif

int main(int argc, char** argv) {
  const auto parsed = recorder::app::parseCommandLine({argv + 1, argv + argc});
  apps::Program program{"zelkchart", ZELK_VERSION, recorder::app::usageText()};
#if ZELKCHART_WINDOW
  program.usage += recorder::app::windowUsageText();
#endif
  const auto& options = parsed.options;
  if (const auto done = apps::answerBeforeRun(program, options, {parsed.error, parsed.tryHelp}))
    return apps::finish(*done);
  if (!options.exportCsvPath.empty())
    return recorder::headless::exportCsvCommand(recorder::app::csvExportSettingsOf(options));
  if (options.listDevices) return recorder::headless::listDevicesCommand();
  if (options.plot)
    return recorder::dayplot::runDayPlot(recorder::app::dayPlotOptionsOf(options), std::cerr);
  if (!options.headless) {
#if ZELKCHART_WINDOW
    if (const auto done = apps::refuseWithoutDisplay(program, true)) return apps::finish(*done);
    return recorder::window::runWindow(recorder::app::windowSettingsOf(options), argc, argv);
#else
    return apps::finish({2, "", "zelkchart: this build has no window front end; use --headless\n"});
#endif
  }
  return recorder::headless::runHeadless(recorder::app::headlessSettingsOf(options),
                                         apps::catchStopSignals());
}
