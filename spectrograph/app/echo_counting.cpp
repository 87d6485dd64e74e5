#include "echo_counting.h"

#include <chrono>
#include <cmath>
#include <cstdio>

#include "util/calendar.h"
#include "xvtools/sun_times.h"

namespace spectrograph::app {

namespace {

std::optional<double> parseTimeOfDay(const std::string& text) {
  int h = 0, m = 0, s = 0, used = 0;
  const int n = std::sscanf(text.c_str(), "%2d:%2d%n:%2d%n", &h, &m, &used, &s, &used);
  if (n < 2 || used != static_cast<int>(text.size()) || h < 0 || h > 23 || m < 0 || m > 59 ||
      s < 0 || s > 59) {
    return std::nullopt;
  }
  return h * 3600.0 + m * 60.0 + s;
}

double systemClock() {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

}  // namespace

std::optional<double> echoStartTime(const HeadlessOptions& o, const xvtools::InputSpec& input,
                                    std::string& error) {
  const bool recording = input.kind == xvtools::InputSpec::Kind::File;
  if (o.startDate.empty() && o.startTime.empty() && !recording) return systemClock();
  std::optional<xvtools::CivilDate> date;
  if (!o.startDate.empty()) {
    date = xvtools::parseCivilDate(o.startDate);
    if (!date) {
      error = "--start-date " + o.startDate + " is not a date YYYY-MM-DD";
      return std::nullopt;
    }
  } else if (recording) {
    date = xvtools::dateInFileName(input.name);
  }
  double days = 0;
  if (date) {
    days = static_cast<double>(
        util::daysFromCivil(date->year, unsigned(date->month), unsigned(date->day)));
  } else {
    days = std::floor(systemClock() / 86400.0);
  }
  double clock = 0;
  if (!o.startTime.empty()) {
    const auto t = parseTimeOfDay(o.startTime);
    if (!t) {
      error = "--start-time " + o.startTime + " is not a time of day HH:MM[:SS]";
      return std::nullopt;
    }
    clock = *t;
  }
  return days * 86400.0 + clock;
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
