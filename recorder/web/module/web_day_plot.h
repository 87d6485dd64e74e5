// The day plots the web view answers with, drawn in this process on the worker that answers:
// the served log is read in place, through the descriptor checked when it was opened and only up
// to its last whole line, and the chart control draws it as zelkchart --plot does. Today's plot
// (/day.png) is kept for a minute and shared by the requests in between.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <memory>
#include <mutex>
#include <string>

#include "util/descriptor.h"
#include "web_snapshot.h"

namespace recorder::web::module {

// The day plot of the log's first `size` bytes as PNG, in --plot's default size; name stands for
// the log in the legend. False when it holds no point to draw, once `stopping` is set, or when
// the log is not read within kDayPlotTimeLimit (the reading then ends at once).
inline constexpr std::chrono::seconds kDayPlotTimeLimit{30};
bool drawServedDayPlot(std::shared_ptr<util::Descriptor> file, std::uint64_t size,
                       const std::string& name, const std::atomic<bool>& stopping,
                       std::string& png);

// A time as HTTP dates it: "Thu, 10 Dec 2026 08:00:00 GMT", whatever the locale.
std::string httpDate(std::time_t at);

// Today's day plot: one picture, of the log being written, redrawn at most once a minute.
class TodayPlot {
 public:
  static constexpr std::chrono::seconds kLifetime{60};

  struct Picture {
    std::shared_ptr<const std::string> png;  // null: none fresh
    std::string log;                         // the served name of the log it shows
    dev_t device = 0;
    ino_t inode = 0;
    std::time_t drawnAt = 0;  // the wall clock's time, for Last-Modified
    std::chrono::steady_clock::time_point drawn{};
  };

  // The picture of that log drawn less than kLifetime before `now`, or one without png.
  Picture fresh(const ServedLog& log, std::chrono::steady_clock::time_point now) const;
  void keep(Picture picture);

 private:
  mutable std::mutex mutex_;
  Picture picture_;
};

}  // namespace recorder::web::module
