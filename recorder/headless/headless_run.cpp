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
#include "host/headless.h"
#include "host/headless_prompter.h"
#include "live_image.h"
#include "output_checks.h"
#include "recorder/designed_chart.h"
#include "recorder/form_host.h"
#include "recorder/log_rotation.h"
#include "recorder/ole_date.h"
#include "recorder/station_chart.h"
#include "recorder/station_recorder.h"
#include "recorder/station_run.h"
#include "recorder/zelk_chrt_form.h"
#include "web_view.h"
#include "xvtools/audio_source.h"
#include "xvtools/form_thread.h"
#include "xvtools/input_spec.h"

namespace recorder::headless {

using web::LiveImage;
using web::WebView;

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

// One unattended run over a created chart: the form set up as the command line asks, the
// recording or playback started, driven second by second, and ended with its outputs.
class HeadlessRecording {
 public:
  HeadlessRecording(const HeadlessSettings& options, const apps::StopRequest& stop,
                    host::HeadlessContainer& container, automation::Dispatch& chart, WebView* web,
                    StationRecorder* stations)
      : options_(options),
        stop_(stop),
        container_(container),
        chart_(chart),
        formHost_(container),
        styledChart_(chart, kDesignedChartFile),
        form_(styledChart_, formHost_, prompter_),
        image_(container, form_, {options.imagePath, options.imageEvery, options.imageLabels}),
        web_(web),
        stations_(stations),
        playback_(!options.playbackPath.empty()) {}

  // False, with a line on standard error, when the run did not start.
  bool start() {
    setUpForm();
    return playback_ ? startPlayback() : startRecording();
  }

  void run() {
    publish(true);
    if (options_.realtime && !playback_) {
      recordInRealTime();
    } else if (options_.realtime) {
      playInRealTime();
    } else if (playback_) {
      playAsFastAsPossible();
    } else {
      recordAsFastAsPossible();
    }
    progress_.finish();
    if (stop_.requested()) std::fprintf(stderr, "zelkchart: stopped; keeping what was recorded\n");
  }

  // Stops, closes the files and writes the outputs; the run's exit status.
  int finish();

 private:
  void setUpForm();
  bool startPlayback();
  bool startRecording();
  void recordInRealTime();
  void playInRealTime();
  void playAsFastAsPossible();
  void recordAsFastAsPossible();

  bool running() const { return playback_ ? form_.Playing() : form_.Running() == 1; }
  bool withinLimit(double seconds) const {
    return !options_.seconds || seconds < *options_.seconds;
  }
  bool keepGoing() const { return running() && !stop_.requested(); }
  // After each second of signal: the progress line, the live picture and the web view.
  void secondPassed(long elapsed) {
    elapsed_ = elapsed;
    progress_.show(playback_ ? "played" : "recorded", elapsed, form_.TimeDisp());
    writeStations();
    plotStations();
    if (!image_.secondPassed(elapsed)) exitCode_ = 1;
    publish(false);
  }
  void plotStations() {
    if (!traces_) return;
    traces_->plot(chart_, stations_->latestLevels(), form_.lastPointX());
    container_.pump();
  }
  void writeStations() {
    if (stations_ == nullptr || stations_->writeCompleted()) return;
    if (!stationsFailed_) std::fprintf(stderr, "zelkchart: %s\n", stations_->error().c_str());
    stationsFailed_ = true;
    exitCode_ = 1;
  }
  void publish(bool force) {
    if (web_ != nullptr) web_->secondPassed(container_.screen(), form_, force);
  }

  const HeadlessSettings& options_;
  const apps::StopRequest& stop_;
  host::HeadlessContainer& container_;
  automation::Dispatch& chart_;
  ContainerHost formHost_;
  host::HeadlessPrompter prompter_;
  apps::StyledChart styledChart_;
  // The form's components post to the queue until the form has stopped them: it outlives the
  // form.
  xvtools::FormQueue queue_;
  ZelkChrtForm form_;
  LiveImage image_;
  WebView* web_;
  StationRecorder* stations_;
  std::unique_ptr<StationTraces> traces_;
  bool stationsFailed_ = false;
  const bool playback_;
  ProgressLine progress_;
  long elapsed_ = 0;
  int exitCode_ = 0;
};

void HeadlessRecording::setUpForm() {
  form_.load();
  if (const std::string note = styledChart_.applyOverSetUp(); !note.empty())
    std::fprintf(stderr, "zelkchart: %s\n", note.c_str());
  container_.pump();

  form_.XVWaveInX1().setInput(*xvtools::InputSpec::parse(options_.input));
  // A recording piped in that stalls must not keep the run from stopping.
  form_.XVWaveInX1().setStopFlag(&apps::stopSignalFlag());
  if (stations_ != nullptr) {
    // Written on the chart itself, not through the user's style: the form's pens keep it.
    traces_ = std::make_unique<StationTraces>(stations_->stations());
    traces_->setUp(chart_);
    image_.setStations(stations_->stations());
    // The stations see the input at its own rate, before the chart's conversion.
    form_.XVWaveInX1().setNativeTap(
        stations_->sampleRate(),
        [s = stations_](std::span<const std::int16_t> samples) { s->addSamples(samples); });
  }
  if (options_.realtime) {
    form_.XVWaveInX1().setMode(xvtools::XVWaveInX::Mode::RealTime);
    form_.XVWaveInX1().setFormThread(&queue_);
    form_.XVHiTimerX1().setFormThread(&queue_);
    form_.PlayBackTimer().setFormThread(&queue_);
  } else {
    form_.XVWaveInX1().setMode(xvtools::XVWaveInX::Mode::Pulled);
  }
  if (!options_.startTime.empty()) {
    // now and utc answer the Time box with the system clock's time, as an operator would.
    prompter_.answerNextInput(options_.startTime == "now" || options_.startTime == "utc"
                                  ? systemTimeOfDay(options_.startTime == "utc")
                                  : options_.startTime);
    form_.command2Click();
  }
  form_.setLogSync(options_.sync);
  // A restarted run never empties what an earlier one logged.
  form_.setKeepLogRecords(true);
  if (options_.rotateDaily) {
    form_.setDailyLogRotation(options_.startDay.value_or(today(options_.startTime == "utc")));
  }
}

bool HeadlessRecording::startPlayback() {
  prompter_.answerNextFile(options_.playbackPath);
  form_.playbackButtonClick();
  if (form_.Playing()) return true;
  std::fprintf(stderr, "zelkchart: the playback of %s did not start\n",
               options_.playbackPath.c_str());
  return false;
}

bool HeadlessRecording::startRecording() {
  if (!options_.logPath.empty()) {
    form_.enableLoggingClick();
    prompter_.answerNextFile(options_.logPath);
  }
  form_.scrollClick();
  if (form_.Running() != 1) {
    std::fprintf(stderr, "zelkchart: recording did not start (input %s)\n", options_.input.c_str());
    return false;
  }
  if (!options_.logPath.empty() && !form_.LogFileOpen()) {
    std::fprintf(stderr, "zelkchart: cannot write the log %s\n", options_.logPath.c_str());
    form_.scrollClick();
    return false;
  }
  return true;
}

void HeadlessRecording::recordInRealTime() {
  // A recording of N seconds holds N clock ticks and N seconds of samples, though the clock
  // and the input keep time each on its own thread: each is stopped when it has done its
  // share, and the run ends when both have.
  const double limit = options_.seconds.value_or(-1);
  const std::uint64_t rate = static_cast<std::uint64_t>(form_.XVWaveInX1().SampleRate());
  const std::uint64_t sampleShare =
      limit < 0 ? UINT64_MAX : static_cast<std::uint64_t>(std::llround(limit * rate));
  const long tickShare = limit < 0 ? LONG_MAX : static_cast<long>(std::floor(limit));
  const std::int64_t firstSecond = oleDateToSeconds(form_.CurrentTime());
  while (keepGoing() && !formHost_.ended()) {
    queue_.waitAndRun(std::chrono::milliseconds(50));
    container_.pump();
    const long ticks = static_cast<long>(oleDateToSeconds(form_.CurrentTime()) - firstSecond);
    // After the tick: the labels are those of the second the picture shows.
    if (ticks != elapsed_) secondPassed(ticks);
    const bool samplesDone = form_.XVWaveInX1().samplesDelivered() >= sampleShare;
    const bool ticksDone = ticks >= tickShare;
    if (samplesDone) form_.XVWaveInX1().Stop();
    if (ticksDone) form_.XVHiTimerX1().setEnabled(false);
    if (samplesDone && ticksDone) break;
  }
}

void HeadlessRecording::playInRealTime() {
  const auto start = std::chrono::steady_clock::now();
  while (keepGoing() && !formHost_.ended()) {
    queue_.waitAndRun(std::chrono::milliseconds(50));
    container_.pump();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (static_cast<long>(seconds) != elapsed_) secondPassed(static_cast<long>(seconds));
    if (!withinLimit(seconds)) break;
  }
}

void HeadlessRecording::playAsFastAsPossible() {
  while (keepGoing() && withinLimit(static_cast<double>(elapsed_))) {
    form_.PlayBackTimer().tick();
    container_.pump();
    secondPassed(elapsed_ + 1);
  }
}

void HeadlessRecording::recordAsFastAsPossible() {
  // The clock ticks once per 8000 samples: a recording of N whole seconds gives N ticks.
  auto& input = form_.XVWaveInX1();
  const std::uint64_t rate = static_cast<std::uint64_t>(input.SampleRate());
  while (keepGoing() && withinLimit(static_cast<double>(input.samplesDelivered()) / rate)) {
    if (!input.pull()) break;
    while (static_cast<std::uint64_t>(elapsed_ + 1) * rate <= input.samplesDelivered()) {
      form_.XVHiTimerX1().tick();
      secondPassed(elapsed_ + 1);
    }
  }
  queue_.runPending();
}

int HeadlessRecording::finish() {
  if (form_.Running() == 1) form_.scrollClick();
  if (stations_ != nullptr) {
    // The input has stopped: its thread no longer hands samples over.
    form_.XVWaveInX1().Stop();
    stations_->finishInput();
    writeStations();
  }
  if (!options_.logPath.empty() && !form_.LogFileOpen()) {
    std::fprintf(stderr, "zelkchart: the log %s is incomplete\n", options_.logPath.c_str());
    exitCode_ = 1;
  }
  form_.closeFiles();
  if (form_.logDataLost()) exitCode_ = 1;
  if (playback_ && form_.playbackRefused()) {
    std::fprintf(stderr, "zelkchart: %s is not a valid log: line %d\n",
                 options_.playbackPath.c_str(), form_.playbackRefusedLine());
    exitCode_ = 1;
  }
  container_.pump();
  publish(true);
  if (!options_.imagePath.empty() && !image_.write()) exitCode_ = 1;
  if (!options_.printPath.empty()) {
    // The Print button's job, on a printer that writes the file.
    container_.setPrinter("pdf:" + options_.printPath);
    form_.command1Click();
    container_.pump();
    if (form_.ChartResult() != 0) {
      std::fprintf(stderr, "zelkchart: the chart could not be printed to %s (result %d)\n",
                   options_.printPath.c_str(), static_cast<int>(form_.ChartResult()));
      exitCode_ = 1;
    }
  }
  if (!playback_ && !options_.logPath.empty() && form_.LogFileOpen()) exitCode_ = 1;
  return exitCode_;
}

// The port is taken before anything is recorded: a port in use ends the run here.
bool startWebView(const HeadlessSettings& options, std::unique_ptr<WebView>& web) {
  if (!options.serve) return true;
  std::string error;
  web = WebView::start(*options.serve, options.startDay.value_or(today(options.startTime == "utc")),
                       error);
  if (!web) {
    std::fprintf(stderr, "zelkchart: %s\n", error.c_str());
    return false;
  }
  std::fprintf(stderr, "zelkchart: serving the web view at %s\n", web->url().c_str());
  return true;
}

}  // namespace

int runHeadless(const HeadlessSettings& options, const apps::StopRequest& stop) {
  if (const std::string problem = checkAppendedOwners(options); !problem.empty()) {
    std::fprintf(stderr, "zelkchart: %s\n", problem.c_str());
    return 2;
  }
  if (const std::string problem = checkRunFiles(options); !problem.empty()) {
    std::fprintf(stderr, "zelkchart: %s\n", problem.c_str());
    return 1;
  }
  int refused = 0;
  const std::unique_ptr<StationRecorder> stations =
      prepareStations(options.stations, options.input, options.sync, refused);
  if (refused != 0) return refused;
  std::unique_ptr<WebView> web;
  if (!startWebView(options, web)) return 2;
  if (web && stations) web->setStations(stations.get());

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
  HeadlessRecording recording(options, stop, container, *chart, web.get(), stations.get());
  if (!recording.start()) return 1;
  recording.run();
  return recording.finish();
}

}  // namespace recorder::headless
