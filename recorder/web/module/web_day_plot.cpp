#include "web_day_plot.h"

#include <cstdio>
#include <sstream>

#include "day_plot_run.h"
#include "web_served_log.h"

namespace recorder::web::module {

bool drawServedDayPlot(std::shared_ptr<util::Descriptor> file, std::uint64_t size,
                       const std::string& name, const std::atomic<bool>& stopping,
                       std::string& png) {
  // A log that takes longer to read is not drawn: the worker is wanted for other requests.
  const auto deadline = std::chrono::steady_clock::now() + kDayPlotTimeLimit;
  std::FILE* in = openFilePrefix(std::move(file), size, stopping, nullptr, deadline);
  if (in == nullptr) return false;
  dayplot::DayPlotOptions options;
  options.logs = {name};
  options.streams = {in};
  options.png = &png;
  // What --plot would say on standard error has no reader here.
  std::ostringstream said;
  const int status = dayplot::runDayPlot(options, said);
  std::fclose(in);
  return status == 0 && !stopping && std::chrono::steady_clock::now() <= deadline && !png.empty();
}

std::string httpDate(std::time_t at) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm t{};
  gmtime_r(&at, &t);
  char text[40];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT", kDays[t.tm_wday % 7],
                t.tm_mday, kMonths[t.tm_mon % 12], t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

TodayPlot::Picture TodayPlot::fresh(const ServedLog& log,
                                    std::chrono::steady_clock::time_point now) const {
  const std::lock_guard lock(mutex_);
  if (picture_.png && picture_.log == log.name && picture_.device == log.device &&
      picture_.inode == log.inode && now - picture_.drawn < kLifetime) {
    return picture_;
  }
  return {};
}

void TodayPlot::keep(Picture picture) {
  const std::lock_guard lock(mutex_);
  picture_ = std::move(picture);
}

}  // namespace recorder::web::module
