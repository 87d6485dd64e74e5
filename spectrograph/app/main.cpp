// zelkspec: the spectrograph. --headless runs the same form unattended and writes its display.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "headless_options.h"
#include "headless_run.h"
#ifdef ZELKSPEC_WINDOW
#include "window_run.h"
#endif

namespace {

void requestStop(int) { spectrograph::app::gStopRequested = true; }

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const auto parsed = spectrograph::app::parseCommandLine(args);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "zelkspec: %s\n\n%s", parsed.error.c_str(),
                 spectrograph::app::usageText().c_str());
    return 2;
  }
  const auto& options = parsed.options;
  if (options.help) {
    std::fputs(spectrograph::app::usageText().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("zelkspec %s\n", ZELK_VERSION);
    return 0;
  }
  if (!options.headless) {
#ifdef ZELKSPEC_WINDOW
    return spectrograph::app::runWindow(argc, argv, options);
#else
    std::fputs("zelkspec: this build has no window front end; use --headless\n", stderr);
    return 2;
#endif
  }
  struct sigaction action {};
  action.sa_handler = requestStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  return spectrograph::app::runHeadless(options);
}
