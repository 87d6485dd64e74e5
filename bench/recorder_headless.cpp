// The recorder's blocks drawn by the real chart control in a headless container: what one
// recorded second (two blocks and a clock tick) costs end to end, as --headless runs it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "host/headless.h"
#include "host/prompter.h"
#include "recorder/zelk_chrt_form.h"

namespace {

class SilentPrompter : public host::Prompter {
 public:
  explicit SilentPrompter(std::string logPath) : logPath_(std::move(logPath)) {}
  host::MsgBoxResult messageBox(const std::string&, const std::string&, int) override {
    return host::vbOK;
  }
  std::optional<std::string> inputBox(const std::string&, const std::string&,
                                      const std::string&) override {
    return std::nullopt;
  }
  std::string openFile(const std::string&, int) override { return logPath_; }
  bool choosePrinter() override { return false; }

 private:
  std::string logPath_;
};

class PumpingHost : public recorder::FormHost {
 public:
  explicit PumpingHost(host::HeadlessContainer& c) : container_(c) {}
  void doEvents() override { container_.pump(); }

 private:
  host::HeadlessContainer& container_;
};

// Argument 1 turns logging on, as zelkchart --headless --log does.
void BM_HeadlessSecond(benchmark::State& state) {
  const bool logging = state.range(0) != 0;
  const std::filesystem::path log = std::filesystem::temp_directory_path() /
                                    ("zelk_bench_" + std::to_string(::getpid()) + ".log");
  host::HeadlessContainer container(601, 257);
  automation::Dispatch& chart =
      container.create(*automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}"));
  // The new control's own first-paint set-up comes before the form's, as in zelkchart.
  container.pump();
  PumpingHost host(container);
  SilentPrompter prompter(log.string());
  recorder::ZelkChrtForm form(chart, host, prompter);
  form.load();
  if (logging) form.enableLoggingClick();
  form.XVWaveInX1().setInput(*xvtools::InputSpec::parse("synthetic:1"));
  form.XVWaveInX1().setMode(xvtools::XVWaveInX::Mode::Pulled);
  form.scrollClick();
  for (auto _ : state) {
    form.XVWaveInX1().pull();
    form.XVWaveInX1().pull();
    form.XVHiTimerX1().tick();
  }
  form.scrollClick();
  state.SetItemsProcessed(state.iterations() * 8000);
  state.counters["seconds_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  if (logging && !form.LogFileOpen()) state.SkipWithError("the log did not open");
  std::filesystem::remove(log);
}
BENCHMARK(BM_HeadlessSecond)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
