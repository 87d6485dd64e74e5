// One audio block through the recorder's form: copy, reduce, (log,) hand to the chart. The
// chart here answers at once, so the figures are the form's own cost per block.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "host/prompter.h"
#include "quiet_chart.h"
#include "recorder/block_reducer.h"
#include "recorder/zelk_chrt_form.h"

namespace {

class LogChooser : public host::Prompter {
 public:
  explicit LogChooser(std::string path) : path_(std::move(path)) {}
  host::MsgBoxResult messageBox(const std::string&, const std::string&, int) override {
    return host::vbOK;
  }
  std::optional<std::string> inputBox(const std::string&, const std::string&,
                                      const std::string&) override {
    return std::nullopt;
  }
  std::string openFile(const std::string&, int) override { return path_; }
  bool choosePrinter() override { return false; }

 private:
  std::string path_;
};

std::vector<std::int16_t> noiseBlock() {
  std::vector<std::int16_t> samples(4000);
  std::uint32_t seed = 1;
  for (auto& s : samples) {
    seed = seed * 1664525u + 1013904223u;
    s = static_cast<std::int16_t>(seed >> 16);
  }
  return samples;
}

void BM_ReduceBlock(benchmark::State& state) {
  const auto samples = noiseBlock();
  std::vector<float> values(401);
  std::vector<double> xs(401);
  recorder::PointClock clock;
  const int perPoint = static_cast<int>(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        recorder::reduceBlock(samples, perPoint, {0.05f, 26.5417f}, clock, values, xs));
    clock.reset();
  }
  state.SetItemsProcessed(state.iterations() * 4000);
}
BENCHMARK(BM_ReduceBlock)->Arg(16)->Arg(400)->Arg(800);

// The whole BufferReady handler, with logging off (0) or on (1).
void BM_BufferReady(benchmark::State& state) {
  const auto log = std::filesystem::temp_directory_path() / "zelk_bench_block.log";
  recorder::testing::QuietChart chart;
  recorder::FormHost host;
  LogChooser prompter(log.string());
  recorder::ZelkChrtForm form(chart, host, prompter);
  form.load();
  form.XVWaveInX1().setMode(xvtools::XVWaveInX::Mode::Pulled);
  if (state.range(0) == 1) form.enableLoggingClick();
  form.scrollClick();
  auto samples = noiseBlock();
  WAVEHDR hdr{};
  hdr.lpData = reinterpret_cast<char*>(samples.data());
  hdr.dwBufferLength = hdr.dwBytesRecorded = 8000;
  for (auto _ : state) form.bufferReady(&hdr);
  state.SetItemsProcessed(state.iterations() * 4000);
  form.closeFiles();
  std::filesystem::remove(log);
}
BENCHMARK(BM_BufferReady)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
