#include "run_settings.h"

namespace recorder::app {

headless::HeadlessSettings headlessSettingsOf(const HeadlessOptions& options) {
  headless::HeadlessSettings run;
  run.input = options.input;
  run.seconds = options.seconds;
  run.logPath = options.logPath;
  run.playbackPath = options.playbackPath;
  run.imagePath = options.imagePath;
  run.printPath = options.printPath;
  run.startTime = options.startTime;
  run.realtime = options.realtime;
  run.sync = options.sync;
  run.rotateDaily = options.rotateDaily;
  run.startDay = options.startDay;
  run.imageEvery = options.imageEvery;
  run.imageLabels = options.imageLabels;
  run.serve = options.serve;
  run.stations = options.stations;
  return run;
}

headless::CsvExportSettings csvExportSettingsOf(const HeadlessOptions& options) {
  return {options.exportCsvPath, options.csvDay};
}

dayplot::DayPlotOptions dayPlotOptionsOf(const HeadlessOptions& options) {
  return {options.plotLogs, options.imagePath, options.plotFrom,  options.plotTo, options.plotSize,
          options.site,     options.dateText,  options.plotClock, options.plotDb};
}

}  // namespace recorder::app
