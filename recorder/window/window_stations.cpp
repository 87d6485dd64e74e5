#include "window_stations.h"

#include <QStatusBar>
#include <cmath>
#include <cstdio>

#include "recorder/station_run.h"
#include "recorder_window.h"
#include "stations_dialog.h"
#include "web_view.h"

namespace recorder::window {

WindowStations::WindowStations(RecorderWindow& window, const StationSettings& settings)
    : window_(window), settings_(settings), list_(settings.list) {
  action_ = window.optionsMenu()->addAction("&Stations...", this, [this] { showDialog(); });
  // Pressed comes before the Start button's click starts the input: the tap is in place first.
  connect(window.scrollButton(), &QPushButton::pressed, this, [this] {
    if (window_.form().Running() != 1) starting();
  });
  connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
  timer_.start(1000);
  setStations(list_);
}

WindowStations::~WindowStations() {
  window_.form().XVWaveInX1().Stop();
  stopped();
  window_.form().XVWaveInX1().setNativeTap(0, {});
  replaceRecorder(nullptr);
}

void WindowStations::serve(web::WebView& web) {
  web_ = &web;
  web.setStations(recorder_.get());
}

void WindowStations::replaceRecorder(std::unique_ptr<StationRecorder> recorder) {
  if (web_ != nullptr) web_->setStations(recorder.get());
  recorder_ = std::move(recorder);
}

void WindowStations::setStations(std::vector<Station> list) {
  list_ = std::move(list);
  if (measuring_) {
    showLevels();
    return;  // the next start measures the new list
  }
  automation::Dispatch& chart = window_.chart().control();
  if (traces_) traces_->clear(chart);
  traces_.reset();
  // No start may hand samples to the recorder about to go.
  window_.form().XVWaveInX1().setNativeTap(0, {});
  replaceRecorder(nullptr);
  problem_.clear();
  if (!list_.empty()) {
    traces_ = std::make_unique<StationTraces>(list_);
    traces_->setUp(chart);
  }
  showLevels();
}

void WindowStations::starting() {
  stopped();  // a restart within the second after a stop
  setStations(list_);
  auto& waveIn = window_.form().XVWaveInX1();
  if (list_.empty()) return;
  StationSettings settings = settings_;
  settings.list = list_;
  int exitCode = 0;
  replaceRecorder(prepareStations(settings, waveIn.input().toString(), false, exitCode));
  if (!recorder_) {
    problem_ = "Stations not measured from this input (see the terminal)";
    showLevels();
    return;
  }
  waveIn.setNativeTap(
      recorder_->sampleRate(),
      [r = recorder_.get()](std::span<const std::int16_t> samples) { r->addSamples(samples); });
  measuring_ = true;
}

void WindowStations::stopped() {
  if (!measuring_) return;
  measuring_ = false;
  recorder_->finishInput();
  if (!recorder_->writeCompleted()) problem_ = recorder_->error();
  showLevels();
}

void WindowStations::tick() {
  if (!recorder_) return;
  if (measuring_ && window_.form().Running() != 1) {
    // The input has stopped with the recording: no more samples come.
    window_.form().XVWaveInX1().Stop();
    stopped();
    return;
  }
  if (!recorder_->writeCompleted()) problem_ = recorder_->error();
  if (traces_ && measuring_) {
    traces_->plot(window_.chart().control(), recorder_->latestLevels(),
                  window_.form().lastPointX());
  }
  showLevels();
}

void WindowStations::showLevels() {
  if (list_.empty() && levels_ == nullptr) return;
  if (levels_ == nullptr) {
    levels_ = new QLabel(&window_);
    window_.statusBar()->addPermanentWidget(levels_, 1);
  }
  // While a recording measures a list changed since its start, that list's levels.
  const std::vector<Station>& shown = recorder_ ? recorder_->stations() : list_;
  const std::vector<double> levels =
      recorder_ ? recorder_->latestLevels() : std::vector<double>(shown.size(), 0.0);
  QString text;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const std::uint32_t c = stationColour(i);
    char colour[16];
    std::snprintf(colour, sizeof colour, "#%02x%02x%02x", c & 0xFF, c >> 8 & 0xFF, c >> 16 & 0xFF);
    QString level = QString::fromUtf8("\u2013 dB");
    if (i < levels.size() && levels[i] > 0.0)
      level = QString::number(10.0 * std::log10(levels[i]), 'f', 1) + " dB";
    text += QString("<span style=\"color:%1\">%2 %3</span>&nbsp;&nbsp; ")
                .arg(colour, QString::fromStdString(stationLabel(shown[i])).toHtmlEscaped(), level);
  }
  if (!problem_.empty()) text += QString::fromStdString(problem_).toHtmlEscaped();
  levels_->setText(text);
}

void WindowStations::showDialog() {
  StationsDialog dialog(list_, &window_);
  if (dialog.exec() != QDialog::Accepted) return;
  setStations(dialog.stations());
  if (changed_) changed_(list_);
}

}  // namespace recorder::window
