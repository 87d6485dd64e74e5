// A day plot of a whole day's log at 50 ms a point (1,728,000 points): reading the log, fitting
// it to the plot's columns and drawing it with the chart control into a 1200 x 400 picture. The
// target is under a second per plot on the project's machine.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "day_plot_run.h"

namespace {

// 24 h of the recorder's records: 20 data records, then the second's time record.
std::string writeDayLog(const std::filesystem::path& path) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  for (int s = 1; s <= 86400; ++s) {
    for (int i = 0; i < 20; ++i) std::fprintf(out, "\"D\",%d.%d\r\n", 1000 + (s * 7 + i) % 900, i);
    std::fprintf(out, "\"T\",#%02d:%02d:%02d#,4\r\n", s / 3600 % 24, s / 60 % 60, s % 60);
  }
  std::fclose(out);
  return path.string();
}

void BM_DayPlotOfADay(benchmark::State& state) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("zelk_bench_dayplot_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  recorder::dayplot::DayPlotOptions options;
  options.logs = {writeDayLog(dir / "day.log")};
  options.imagePath = (dir / "day.png").string();
  std::ostringstream err;
  for (auto _ : state) {
    if (recorder::dayplot::runDayPlot(options, err) != 0) {
      state.SkipWithError(err.str().c_str());
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * 1728000);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_DayPlotOfADay)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
