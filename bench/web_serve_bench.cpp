// What serving the web view costs the recording: a headless zelkchart run with --serve, recorded
// as fast as the machine goes, alone and with 50 clients polling /chart.png as fast as they can
// (records per second of wall time, and their ratio in the output); and a real-time recording
// beside the same 50 clients, which must keep every second.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "served_recorder.h"

namespace {

using namespace std::chrono_literals;
using recorder::testing::ServedRecorder;

struct Counts {
  double data = 0;
  double time = 0;
};

Counts countRecords(const std::filesystem::path& log) {
  std::ifstream in(log, std::ios::binary);
  Counts counts;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("\"D\",")) ++counts.data;
    if (line.starts_with("\"T\",")) ++counts.time;
  }
  return counts;
}

// Clients that fetch the chart over and over on their own keep-alive connections until told to
// stop; how many pictures they got.
class PollingClients {
 public:
  PollingClients(int count, int port) {
    for (int i = 0; i < count; ++i) {
      threads_.emplace_back([this, port] {
        httplib::Client client("127.0.0.1", port);
        client.set_connection_timeout(1, 0);
        client.set_read_timeout(2, 0);
        while (!stop_) {
          if (const auto res = client.Get("/chart.png"); res && res->status == 200) ++fetched_;
        }
      });
    }
  }
  ~PollingClients() { finish(); }
  long finish() {
    stop_ = true;
    for (std::thread& t : threads_) {
      if (t.joinable()) t.join();
    }
    return fetched_;
  }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<long> fetched_{0};
  std::vector<std::thread> threads_;
};

std::filesystem::path scratch() {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("zelkchart_web_bench_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  return dir;
}

// Args: clients, seconds of signal; args.realtime paces it to the clock.
void run(benchmark::State& state, bool realtime) {
  const int clients = static_cast<int>(state.range(0));
  const auto seconds = std::to_string(state.range(1));
  const auto dir = scratch();
  Counts counts;
  long fetched = 0;
  double wall = 0;
  for (auto _ : state) {
    std::filesystem::remove(dir / "rx.log");
    std::vector<std::string> args = {"--headless",
                                     "--input",
                                     "synthetic",
                                     "--seconds",
                                     seconds,
                                     "--log",
                                     (dir / "rx.log").string(),
                                     "--serve",
                                     "0"};
    if (realtime) args.push_back("--realtime");
    ServedRecorder recorder(ZELKCHART_PATH, args, (dir / "stderr.txt").string());
    const int port = recorder.waitForPort();
    if (port == 0) {
      state.SkipWithError(recorder.errors().c_str());
      break;
    }
    const auto start = std::chrono::steady_clock::now();
    PollingClients polling(clients, port);
    const int status = recorder.waitForExit(600s);
    wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    fetched = polling.finish();
    state.SetIterationTime(wall);
    if (status != 0) {
      state.SkipWithError(("zelkchart exited " + std::to_string(status)).c_str());
      break;
    }
    counts = countRecords(dir / "rx.log");
  }
  state.counters["records_per_s"] = (counts.data + counts.time) / wall;
  state.counters["charts_per_s"] = static_cast<double>(fetched) / wall;
  state.counters["time_records"] = counts.time;
  state.counters["data_records"] = counts.data;
  std::filesystem::remove_all(dir);
}

void BM_ServedRecordingAsFastAsPossible(benchmark::State& state) { run(state, false); }
void BM_ServedRecordingRealTime(benchmark::State& state) { run(state, true); }

BENCHMARK(BM_ServedRecordingAsFastAsPossible)
    ->Args({0, 1200})
    ->Args({50, 1200})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
// 10 seconds at the input's pace: 10 time records and 200 data records, clients or not.
BENCHMARK(BM_ServedRecordingRealTime)
    ->Args({50, 10})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
