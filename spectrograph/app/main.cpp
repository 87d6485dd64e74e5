// zelkspec: the spectrograph, with its window, or --headless running the same form unattended
// and writing its display.
#include <iostream>
#include <string>
#include <vector>

#include "apps/command_line.h"
#include "apps/stop_signals.h"
#include "full_spectrogram_run.h"
#include "headless_options.h"
#include "headless_run.h"
#ifdef ZELKSPEC_WINDOW
#include "apps/display.h"
#include "apps/qt/quit_on_stop_signals.h"
#include "window_run.h"
#endif

int main(int argc, char** argv) {
  const auto parsed = spectrograph::app::parseCommandLine({argv + 1, argv + argc});
  const apps::Program program{"zelkspec", ZELK_VERSION, spectrograph::app::usageText()};
  const auto& options = parsed.options;
  if (const auto done = apps::answerBeforeRun(program, options, {parsed.error, parsed.tryHelp}))
    return apps::finish(*done);
  if (!options.headless) {
#ifdef ZELKSPEC_WINDOW
    if (const auto done = apps::refuseWithoutDisplay(program, true)) return apps::finish(*done);
    apps::qt::quitOnStopSignals();
    return spectrograph::app::runWindow(argc, argv, options);
#else
    return apps::finish({2, "", "zelkspec: this build has no window front end; use --headless\n"});
#endif
  }
  const apps::StopRequest& stop = apps::catchStopSignals();
  if (options.full) {
    return spectrograph::app::runFullSpectrogram(options, std::cerr, &apps::stopSignalFlag());
  }
  return spectrograph::app::runHeadless(options, stop);
}
