#include "day_plot_logs.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "recorder/log_rotation.h"
#include "recorder/ole_date.h"

namespace recorder::dayplot {

namespace {

// Named one by one up to here, then counted: a damaged file can hold a great many bad lines.
constexpr std::size_t kSkipsNamed = 10;

struct File {
  std::string path;
  LogNameParts name;
  LogSeriesResult read;
  std::int64_t day = 0;  // the day its time line starts on, as a date where names tell it
};

}  // namespace

std::vector<Recording> readRecordings(const std::vector<std::string>& paths, std::ostream& err,
                                      std::span<std::FILE* const> streams) {
  std::vector<std::string> order;  // rotations in the order their first file was given
  std::map<std::string, std::vector<File>> rotations;
  for (std::size_t at = 0; at < paths.size(); ++at) {
    const std::string& path = paths[at];
    std::FILE* stream = at < streams.size() ? streams[at] : nullptr;
    File f{path, splitLogName(path), stream ? readLogSeries(stream, path) : readLogSeries(path)};
    if (!f.read.error.empty()) {
      err << "zelkchart: " << f.read.error << " It is skipped.\n";
      continue;
    }
    const auto& skipped = f.read.skipped;
    for (std::size_t i = 0; i < std::min(skipped.size(), kSkipsNamed); ++i)
      err << "zelkchart: " << skipped[i] << "; skipped\n";
    if (skipped.size() > kSkipsNamed)
      err << "zelkchart: " << path << ": " << skipped.size() - kSkipsNamed
          << " more records skipped\n";
    if (f.read.series.time.empty()) {
      err << "zelkchart: " << path << " holds no point. It is skipped.\n";
      continue;
    }
    auto& files = rotations[f.name.base];
    if (files.empty()) order.push_back(f.name.base);
    files.push_back(std::move(f));
  }

  std::vector<Recording> out;
  for (const std::string& base : order) {
    auto& files = rotations[base];
    // A dated file starts on its name's day; an undated one is placed by its clock's days from
    // the earliest dated file (the clock counts days on from the first file's), else by its own.
    const File* anchor = nullptr;
    for (const File& f : files) {
      if (f.name.day && (!anchor || *f.name.day < *anchor->name.day)) anchor = &f;
    }
    for (File& f : files) {
      f.day = f.name.day          ? *f.name.day
              : anchor != nullptr ? *anchor->name.day - (anchor->read.firstDay - f.read.firstDay)
                                  : f.read.firstDay;
    }
    std::stable_sort(files.begin(), files.end(), [](const File& a, const File& b) {
      return a.day != b.day ? a.day < b.day : a.read.series.time[0] < b.read.series.time[0];
    });
    Recording r;
    const std::int64_t first = files.front().day;
    for (const File& f : files) {
      r.series.append(f.read.series, static_cast<double>((f.day - first) * kSecondsPerDay));
    }
    r.name = std::filesystem::path(files.front().path).filename().string();
    if (files.size() > 1) r.name += " +" + std::to_string(files.size() - 1);
    if (anchor != nullptr) r.firstDate = first;
    out.push_back(std::move(r));
  }
  return out;
}

}  // namespace recorder::dayplot
