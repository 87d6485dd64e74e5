#include "headless_run.h"

#include <unistd.h>

#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>

#include "apps/user_chart_style.h"
#include "designed_chart.h"
#include "host/headless.h"
#include "host/headless_prompter.h"
#include "live_image.h"
#include "output_checks.h"
#include "recorder/form_host.h"
#include "recorder/log_rotation.h"
#include "recorder/ole_date.h"
#include "recorder/zelk_chrt_form.h"
#include "web_view.h"
#include "xvtools/audio_source.h"
#include "xvtools/form_thread.h"
#include "xvtools/input_spec.h"
#include "xvtools/input_stop.h"

namespace recorder::app {

namespace {

using apps::kChartClassId;
constexpr int kChartWidth = 601;
constexpr int kChartHeight = 257;

class ContainerHost : public FormHost {
 public:
  explicit ContainerHost(host::HeadlessContainer& container) : container_(container) {}
  void doEvents() override { container_.pump(); }
  void endProgram() override { ended_ = true; }
  std::int32_t windowHandle() const override {
    return static_cast<std::int32_t>(container_.windowHandle());
  }
  bool ended() const { return ended_; }

 private:
  host::HeadlessContainer& container_;
  bool ended_ = false;
};

// A one-line display of how far the run is, redrawn in place on a terminal only.
class ProgressLine {
 public:
  ProgressLine() : enabled_(isatty(STDERR_FILENO) == 1) {}
  void show(const char* what, long seconds, const std::string& clock) {
    if (!enabled_) return;
    std::fprintf(stderr, "\rzelkchart: %s %ld s, clock %s   ", what, seconds, clock.c_str());
    std::fflush(stderr);
    shown_ = true;
  }
  void finish() {
    if (shown_) std::fputc('\n', stderr);
    shown_ = false;
  }

 private:
  bool enabled_;
  bool shown_ = false;
};

std::string systemTimeOfDay(bool utc) {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  if (utc) {
    gmtime_r(&now, &t);
  } else {
    localtime_r(&now, &t);
  }
  return formatTimeOfDay(t.tm_hour * 3600 + t.tm_min * 60 + t.tm_sec);
}

}  // namespace

int runHeadless(const HeadlessOptions& options, const apps::StopRequest& stop) {
  // A recording piped in that stalls must not keep the run from stopping.
  xvtools::setInputStopFlag(&apps::stopSignalFlag());
  if (const std::string problem = checkRunFiles(options); !problem.empty()) {
    std::fprintf(stderr, "zelkchart: %s\n", problem.c_str());
    return 1;
  }
  // The port is taken before anything is recorded: a port in use ends the run here.
  std::unique_ptr<WebView> web;
  if (options.serve) {
    std::string error;
    web = WebView::start(*options.serve,
                         options.startDay.value_or(today(options.startTime == "utc")), error);
    if (!web) {
      std::fprintf(stderr, "zelkchart: %s\n", error.c_str());
      return 2;
    }
    std::fprintf(stderr, "zelkchart: serving the web view at %s\n", web->url().c_str());
  }
  const bool playback = !options.playbackPath.empty();
  const auto choice = xvtools::InputSpec::parse(options.input);

  host::HeadlessContainer container(kChartWidth, kChartHeight);
  automation::Dispatch* chart = nullptr;
  try {
    chart = &createDesignedChart(container, *automation::Guid::parse(kChartClassId));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zelkchart: the chart control %s cannot be created: %s\n", kChartClassId,
                 e.what());
    return 1;
  }
  // The chart's first paint comes before the form's start-up, which then rewrites every setting
  // the recorder relies on (a chart without designed settings would otherwise overwrite them
  // with a new control's defaults at that paint).
  container.pump();
  ContainerHost formHost(container);
  host::HeadlessPrompter prompter;
  apps::StyledChart styledChart(*chart, kDesignedChartFile);
  // The form's components post to the queue until the form has stopped them: it outlives the
  // form.
  xvtools::FormQueue queue;
  ZelkChrtForm form(styledChart, formHost, prompter);
  form.load();
  if (const std::string note = styledChart.applyOverSetUp(); !note.empty())
    std::fprintf(stderr, "zelkchart: %s\n", note.c_str());
  container.pump();

  form.XVWaveInX1().setInput(*choice);
  if (options.realtime) {
    form.XVWaveInX1().setMode(xvtools::XVWaveInX::Mode::RealTime);
    form.XVWaveInX1().setFormThread(&queue);
    form.XVHiTimerX1().setFormThread(&queue);
    form.PlayBackTimer().setFormThread(&queue);
  } else {
    form.XVWaveInX1().setMode(xvtools::XVWaveInX::Mode::Pulled);
  }
  if (!options.startTime.empty()) {
    // now and utc answer the Time box with the system clock's time, as an operator would.
    prompter.answerNextInput(options.startTime == "now" || options.startTime == "utc"
                                 ? systemTimeOfDay(options.startTime == "utc")
                                 : options.startTime);
    form.command2Click();
  }
  form.setLogSync(options.sync);
  // A restarted run never empties what an earlier one logged.
  form.setKeepLogRecords(true);
  if (options.rotateDaily) {
    form.setDailyLogRotation(options.startDay.value_or(today(options.startTime == "utc")));
  }
  LiveImage image(container, form, options);

  if (playback) {
    prompter.answerNextFile(options.playbackPath);
    form.playbackButtonClick();
    if (!form.Playing()) {
      std::fprintf(stderr, "zelkchart: the playback of %s did not start\n",
                   options.playbackPath.c_str());
      return 1;
    }
  } else {
    if (!options.logPath.empty()) {
      form.enableLoggingClick();
      prompter.answerNextFile(options.logPath);
    }
    form.scrollClick();
    if (form.Running() != 1) {
      std::fprintf(stderr, "zelkchart: recording did not start (input %s)\n",
                   options.input.c_str());
      return 1;
    }
    if (!options.logPath.empty() && !form.LogFileOpen()) {
      std::fprintf(stderr, "zelkchart: cannot write the log %s\n", options.logPath.c_str());
      form.scrollClick();
      return 1;
    }
  }

  auto publish = [&](bool force) {
    if (web) web->secondPassed(container.screen(), form, force);
  };
  publish(true);
  int exitCode = 0;
  ProgressLine progress;
  const char* what = playback ? "played" : "recorded";
  const double limit = options.seconds.value_or(-1);
  long elapsed = 0;
  auto running = [&] { return playback ? form.Playing() : form.Running() == 1; };
  auto withinLimit = [&](double seconds) { return limit < 0 || seconds < limit; };

  if (options.realtime && !playback) {
    // A recording of N seconds holds N clock ticks and N seconds of samples, though the clock
    // and the input keep time each on its own thread: each is stopped when it has done its
    // share, and the run ends when both have.
    const std::uint64_t rate = static_cast<std::uint64_t>(form.XVWaveInX1().SampleRate());
    const std::uint64_t sampleShare =
        limit < 0 ? UINT64_MAX : static_cast<std::uint64_t>(std::llround(limit * rate));
    const long tickShare = limit < 0 ? LONG_MAX : static_cast<long>(std::floor(limit));
    const std::int64_t firstSecond = oleDateToSeconds(form.CurrentTime());
    while (running() && !stop.requested() && !formHost.ended()) {
      queue.waitAndRun(std::chrono::milliseconds(50));
      container.pump();
      const long ticks = static_cast<long>(oleDateToSeconds(form.CurrentTime()) - firstSecond);
      if (ticks != elapsed) {
        // After the tick: the labels are those of the second the picture shows.
        elapsed = ticks;
        progress.show(what, elapsed, form.TimeDisp());
        if (!image.secondPassed(elapsed)) exitCode = 1;
        publish(false);
      }
      const bool samplesDone = form.XVWaveInX1().samplesDelivered() >= sampleShare;
      const bool ticksDone = ticks >= tickShare;
      if (samplesDone) form.XVWaveInX1().Stop();
      if (ticksDone) form.XVHiTimerX1().setEnabled(false);
      if (samplesDone && ticksDone) break;
    }
  } else if (options.realtime) {
    const auto start = std::chrono::steady_clock::now();
    while (running() && !stop.requested() && !formHost.ended()) {
      queue.waitAndRun(std::chrono::milliseconds(50));
      container.pump();
      const double seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      if (static_cast<long>(seconds) != elapsed) {
        elapsed = static_cast<long>(seconds);
        progress.show(what, elapsed, form.TimeDisp());
        if (!image.secondPassed(elapsed)) exitCode = 1;
        publish(false);
      }
      if (!withinLimit(seconds)) break;
    }
  } else if (playback) {
    while (running() && !stop.requested() && withinLimit(static_cast<double>(elapsed))) {
      form.PlayBackTimer().tick();
      container.pump();
      progress.show(what, ++elapsed, form.TimeDisp());
      if (!image.secondPassed(elapsed)) exitCode = 1;
      publish(false);
    }
  } else {
    // The clock ticks once per 8000 samples: a recording of N whole seconds gives N ticks.
    const std::uint64_t rate = static_cast<std::uint64_t>(form.XVWaveInX1().SampleRate());
    while (running() && !stop.requested() &&
           withinLimit(static_cast<double>(form.XVWaveInX1().samplesDelivered()) / rate)) {
      if (!form.XVWaveInX1().pull()) break;
      while (static_cast<std::uint64_t>(elapsed + 1) * rate <=
             form.XVWaveInX1().samplesDelivered()) {
        form.XVHiTimerX1().tick();
        progress.show(what, ++elapsed, form.TimeDisp());
        if (!image.secondPassed(elapsed)) exitCode = 1;
        publish(false);
      }
    }
    queue.runPending();
  }
  progress.finish();
  if (stop.requested()) std::fprintf(stderr, "zelkchart: stopped; keeping what was recorded\n");

  if (form.Running() == 1) form.scrollClick();
  if (!options.logPath.empty() && !form.LogFileOpen()) {
    std::fprintf(stderr, "zelkchart: the log %s is incomplete\n", options.logPath.c_str());
    exitCode = 1;
  }
  form.closeFiles();
  if (form.logDataLost()) exitCode = 1;
  if (playback && form.playbackRefused()) {
    std::fprintf(stderr, "zelkchart: %s is not a valid log: line %d\n",
                 options.playbackPath.c_str(), form.playbackRefusedLine());
    exitCode = 1;
  }
  container.pump();
  publish(true);
  if (!options.imagePath.empty() && !image.write()) exitCode = 1;
  if (!options.printPath.empty()) {
    // The Print button's job, on a printer that writes the file.
    container.setPrinter("pdf:" + options.printPath);
    form.command1Click();
    container.pump();
    if (form.ChartResult() != 0) {
      std::fprintf(stderr, "zelkchart: the chart could not be printed to %s (result %d)\n",
                   options.printPath.c_str(), static_cast<int>(form.ChartResult()));
      exitCode = 1;
    }
  }
  if (!playback && !options.logPath.empty() && form.LogFileOpen()) exitCode = 1;
  return exitCode;
}

}  // namespace recorder::app
