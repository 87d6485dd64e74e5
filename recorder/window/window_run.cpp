#include "window_run.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>

#include "apps/qt/quit_on_stop_signals.h"
#include "host/qt/print_services.h"
#include "recorder/log_rotation.h"
#include "recorder_window.h"
#include "web_view.h"
#include "window_choices.h"
#include "window_stations.h"
#include "xvtools/audio_source.h"
#include "xvtools/input_spec.h"

namespace recorder::window {

using web::WebView;

namespace {

// False, with a line on standard error, when the picture asked for could not be written.
bool writeScreenshot(QWidget& window, const std::string& path) {
  if (path.empty()) return true;
  if (window.grab().save(QString::fromStdString(path))) return true;
  std::fprintf(stderr, "zelkchart: cannot write the screenshot %s\n", path.c_str());
  return false;
}

// A recording named on the command line must be there to record from: say so before any window
// opens, as the unattended run does.
bool inputReadable(const std::optional<std::string>& requested) {
  if (!requested) return true;
  const auto input = xvtools::InputSpec::parse(*requested);
  if (!input || input->kind != xvtools::InputSpec::Kind::File) return true;
  std::FILE* file = std::fopen(input->name.c_str(), "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  std::error_code error;
  return !std::filesystem::is_directory(input->name, error);
}

}  // namespace

int runWindow(const WindowSettings& settings, int& argc, char** argv) {
  if (!inputReadable(settings.input)) {
    std::fprintf(stderr, "zelkchart: cannot read the input %s\n", settings.input->c_str());
    return 1;
  }
  std::unique_ptr<WebView> web;
  if (settings.serve) {
    std::string error;
    web = WebView::start(*settings.serve, today(false), error);
    if (!web) {
      std::fprintf(stderr, "zelkchart: %s\n", error.c_str());
      return 2;
    }
    std::fprintf(stderr, "zelkchart: serving the web view at %s\n", web->url().c_str());
  }
  // From here on a stop signal is kept until the window can act on it: one that comes while the
  // window is being made closes it as soon as it is there.
  bool stoppedEarly = false;
  std::function<void()> onStop = [&stoppedEarly] { stoppedEarly = true; };
  apps::qt::quitOnStopSignals([&onStop] { onStop(); });
  QApplication application(argc, argv);
  QApplication::setApplicationName("zelkchart");
  QApplication::setApplicationVersion(ZELK_VERSION);
  QApplication::setDesktopFileName("zelkchart");
  // Besides the file printer, the printing system's queues.
  host::qt::installQueuePrinters();

  const auto devices = [] { return xvtools::captureDeviceNames(); };
  const apps::RememberedChoices choices;
  const StartInput input = startWithRememberedChoices(settings.input, devices, choices);
  std::unique_ptr<RecorderWindow> window;
  try {
    window = std::make_unique<RecorderWindow>(input, devices);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zelkchart: %s\n", e.what());
    return 1;
  }
  keepChoices(*window, choices);
  if (web) window->serve(*web);
  StationSettings started = settings.stations;
  started.list = startStations(settings.stations.list, choices);
  auto stations = std::make_unique<WindowStations>(*window, started);
  keepStations(*stations, choices);
  if (web) stations->serve(*web);

  bool screenshotFailed = false;
  const auto leave = [&] {
    screenshotFailed = !writeScreenshot(*window, settings.screenshotPath);
    window->close();
  };
  // A stop leaves as the time limit does; the form's end then closes its log.
  onStop = leave;
  if (stoppedEarly) QTimer::singleShot(0, window.get(), leave);
  if (settings.start) {
    QTimer::singleShot(0, window.get(), [&] { window->scrollButton()->click(); });
  }
  if (settings.seconds) {
    QTimer::singleShot(static_cast<int>(*settings.seconds * 1000), window.get(), leave);
  }
  const int status = QApplication::exec();
  stations.reset();  // the last interval measured is written
  window.reset();    // the form's end closes its files
  return status == 0 && screenshotFailed ? 1 : status;
}

}  // namespace recorder::window
