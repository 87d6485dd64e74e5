#include "echo_counting.h"

#include <chrono>
#include <cmath>
#include <cstdio>

#include "apps/sun_options.h"
#include "util/calendar.h"
#include "xvtools/sun_times.h"

namespace spectrograph::app {

namespace {

double systemClock() {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

}  // namespace

std::optional<double> echoStartTime(const HeadlessOptions& o, const xvtools::InputSpec& input,
                                    std::string& error) {
  const bool recording = input.kind == xvtools::InputSpec::Kind::File;
  if (o.startDate.empty() && o.startTime.empty() && !recording) return systemClock();
  std::optional<util::CivilDate> date;
  if (!o.startDate.empty()) {
    error = apps::readDateOption("--start-date", o.startDate, date);
    if (!date) return std::nullopt;
  } else if (recording) {
    date = xvtools::dateInFileName(input.name);
  }
  double days = 0;
  if (date) {
    days = static_cast<double>(util::daysFromCivil(date->year, date->month, date->day));
  } else {
    days = std::floor(systemClock() / 86400.0);
  }
  std::optional<double> clock;
  if (!o.startTime.empty()) {
    error = apps::readClockOption("--start-time", o.startTime, clock);
    if (!clock) return std::nullopt;
  }
  return days * 86400.0 + clock.value_or(0);
}

EchoCounting::EchoCounting(const EchoSettings& settings, const HeadlessOptions& options,
                           const xvtools::InputSpec& input, int sampleRate) {
  const auto start = echoStartTime(options, input, error_);
  if (!start) return;
  error_ = log_.open({options.eventsPath, options.countsPath, options.rmobPath}, *start);
  if (!error_.empty()) return;
  start_ = *start;
  detector_ = std::make_unique<EchoDetector>(settings, sampleRate, *start, [this](const Echo& e) {
    log_.add(e);
    offsets_.push_back(e.start - start_);
    if (onEcho_) onEcho_(e);
    ++counted_;
  });
}

xvtools::TransformTap EchoCounting::tap() {
  if (!detector_) return {};
  return [this](const xvtools::TransformView& view) {
    detector_->transform(view);
    advance();
  };
}

void EchoCounting::advance() {
  if (detector_) log_.advance(detector_->clock(), detector_->undecidedStart());
}

bool EchoCounting::finish() {
  if (!detector_ || finished_) return error_.empty();
  finished_ = true;
  detector_->flush();
  log_.finish(detector_->clock());
  if (!log_.error().empty()) error_ = log_.error();
  return error_.empty();
}

}  // namespace spectrograph::app
