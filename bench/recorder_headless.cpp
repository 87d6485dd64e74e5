// The recorder's blocks drawn by the real chart control in a headless container: what one
// recorded second (two blocks and a clock tick) costs end to end, as --headless runs it.
#include <benchmark/benchmark.h>

#include "host/headless.h"
#include "recorder/zelk_chrt_form.h"
#include "xvtools/prompter.h"

namespace {

class SilentPrompter : public xvtools::Prompter {
 public:
  xvtools::MsgBoxResult messageBox(const std::string&, const std::string&, int) override {
    return xvtools::vbOK;
  }
  std::optional<std::string> inputBox(const std::string&, const std::string&,
                                      const std::string&) override {
    return std::nullopt;
  }
  std::string openFile(const std::string&, int) override { return {}; }
  bool choosePrinter() override { return false; }
};

class PumpingHost : public recorder::FormHost {
 public:
  explicit PumpingHost(host::HeadlessContainer& c) : container_(c) {}
  void doEvents() override { container_.pump(); }

 private:
  host::HeadlessContainer& container_;
};

void BM_HeadlessSecond(benchmark::State& state) {
  host::HeadlessContainer container(601, 257);
  automation::Dispatch& chart =
      container.create(*automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}"));
  PumpingHost host(container);
  SilentPrompter prompter;
  recorder::ZelkChrtForm form(chart, host, prompter);
  form.load();
  form.XVWaveInX1().setInput(*xvtools::InputSpec::parse("synthetic:1"));
  form.XVWaveInX1().setMode(xvtools::XVWaveInX::Mode::Pulled);
  form.scrollClick();
  for (auto _ : state) {
    form.XVWaveInX1().pull();
    form.XVWaveInX1().pull();
    form.XVHiTimerX1().tick();
  }
  state.SetItemsProcessed(state.iterations() * 8000);
  state.counters["seconds_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HeadlessSecond);

}  // namespace

BENCHMARK_MAIN();
