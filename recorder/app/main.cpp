// zelkchart: the strip-chart recorder. The window front end comes with the GUI; --headless runs
// the same form unattended.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "headless_commands.h"
#include "headless_options.h"
#include "headless_run.h"
#if ZELKCHART_WINDOW
#include "window_run.h"
#endif

namespace {

void requestStop(int) { recorder::app::gStopRequested = true; }

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
#if ZELKCHART_WINDOW
  const auto windowOptions = recorder::app::takeWindowOptions(args);
  if (!windowOptions.error.empty()) {
    std::fprintf(stderr, "zelkchart: %s\n", windowOptions.error.c_str());
    return 2;
  }
#endif
  const auto parsed = recorder::app::parseCommandLine(args);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "zelkchart: %s\nTry 'zelkchart --help'.\n", parsed.error.c_str());
    return 2;
  }
  const auto& options = parsed.options;
  if (options.help) {
    std::fputs(recorder::app::usageText().c_str(), stdout);
#if ZELKCHART_WINDOW
    std::fputs(recorder::app::windowUsageText().c_str(), stdout);
#endif
    return 0;
  }
  if (options.version) {
    std::printf("zelkchart %s\n", ZELK_VERSION);
    return 0;
  }
  if (!options.exportCsvPath.empty()) return recorder::app::exportCsvCommand(options);
  if (options.listDevices) return recorder::app::listDevicesCommand();
#if ZELKCHART_WINDOW
  if (!options.headless) return recorder::app::runWindow(options, windowOptions, argc, argv);
#endif
  if (!options.headless) {
    std::fputs("zelkchart: this build has no window front end; use --headless\n", stderr);
    return 2;
  }
  struct sigaction action {};
  action.sa_handler = requestStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  return recorder::app::runHeadless(options);
}
