#include "web_publisher.h"

#include <sys/stat.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "live_image.h"
#include "recorder/chart_setup.h"
#include "recorder/log_rotation.h"

namespace recorder::web {

namespace {

// Shortest text that reads back as the same float: always a valid JSON number.
std::string levelText(float level) {
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, level);
  if (error != std::errc()) return "0";
  return std::string(text, end);
}

}  // namespace

WebStatus WebPublisher::statusOf(ZelkChrtForm& form, std::int64_t date) {
  WebStatus s;
  s.clock = form.TimeDisp();
  s.middle = form.Text1();
  s.left = form.Text2();
  s.statusLine = form.Text3();
  s.date = formatIsoDay(date);
  s.level = levelText(form.LastLevel());
  char text[64];
  std::snprintf(text, sizeof text, "%.3f",
                levelOnScale(form.LastLevel(), form.XVSpinButtonX3().Value()));
  s.chartLevel = text;
  std::snprintf(text, sizeof text, "%.1f to %.1f", scaleTop(0.0f), scaleTop(form.VertFraction()));
  s.scale = text;
  s.recording = form.Running() == 1;
  s.logging = form.LoggingEnabled() && form.LogFileOpen();
  if (s.logging) s.log = std::filesystem::path(form.LogFileName()).filename().string();
  s.input = form.XVWaveInX1().input().toString();
  s.sampleMs = form.XVLEDPanelX1().Value();
  s.chartSecondsPerDiv = form.XVLEDPanelX2().Value();
  return s;
}

void WebPublisher::noteLog(const ZelkChrtForm& form) {
  if (form.LogFileOpen()) notePath(form.LogFileName(), false);
  // The stations' SID files are served as the run's logs are.
  if (stations_ != nullptr) {
    for (const std::string& path : stations_->files()) notePath(path, true);
  }
}

void WebPublisher::notePath(const std::string& path, bool csv) {
  for (const ServedLog& log : logs_) {
    if (log.path == path) return;
  }
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return;
  logs_.push_back(
      {std::filesystem::path(path).filename().string(), path, info.st_dev, info.st_ino, csv});
}

void WebPublisher::secondPassed(const host::PixelView& chart, ZelkChrtForm& form, bool force) {
  // A log opened (or rotated to) is noted at once, even between snapshots.
  noteLog(form);
  const auto now = std::chrono::steady_clock::now();
  if (!force && published_ && now - last_ < std::chrono::milliseconds(950)) return;
  published_ = true;
  last_ = now;
  const std::int64_t clockDay = dayOf(form.CurrentTime());
  if (!firstClockDay_) firstClockDay_ = clockDay;
  auto snapshot = std::make_shared<WebSnapshot>();
  const ChartPictureText text =
      chartPictureText(chart, form, true,
                       stations_ != nullptr ? std::span<const Station>(stations_->stations())
                                            : std::span<const Station>());
  snapshot->png = host::captionedPng(chart, text.captions, text.strip);
  snapshot->status = statusOf(form, firstDay_ + clockDay - *firstClockDay_);
  if (stations_ != nullptr) {
    const std::vector<double> levels = stations_->latestLevels();
    for (std::size_t i = 0; i < levels.size(); ++i) {
      const Station& station = stations_->stations()[i];
      char hz[32];
      std::snprintf(hz, sizeof hz, "%.10g", station.frequencyHz);
      char db[32] = "null";
      if (levels[i] > 0.0) std::snprintf(db, sizeof db, "%.2f", 10.0 * std::log10(levels[i]));
      snapshot->status.stations.push_back({station.call, hz, db});
    }
  }
  snapshot->logs = logs_;
  board_.publish(std::move(snapshot));
}

}  // namespace recorder::web
