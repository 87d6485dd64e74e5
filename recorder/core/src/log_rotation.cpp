#include "recorder/log_rotation.h"

#include <cstdio>
#include <ctime>

#include "recorder/ole_date.h"

namespace recorder {

std::int64_t dayOf(double date) {
  const std::int64_t seconds = oleDateToSeconds(date);
  return seconds >= 0 ? seconds / kSecondsPerDay
                      : -((-seconds + kSecondsPerDay - 1) / kSecondsPerDay);
}

std::optional<std::int64_t> parseIsoDay(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto date = parseLogDate(text);
  if (!date) return std::nullopt;
  return dayOf(*date);
}

std::string formatIsoDay(std::int64_t day) {
  // The log's date form without its # marks; the day's midnight is written as the date alone.
  const std::string text = formatLogDate(secondsToOleDate(day * kSecondsPerDay));
  return text.substr(1, text.size() - 2);
}

namespace {

// NAME.EXT with "-" and suffix after NAME; a name without an extension gets it at its end.
std::string withSuffix(const std::string& path, const std::string& suffix) {
  const auto slash = path.rfind('/');
  const auto dot = path.rfind('.');
  const bool hasExtension =
      dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  const std::string stem = hasExtension ? path.substr(0, dot) : path;
  const std::string extension = hasExtension ? path.substr(dot) : "";
  return stem + "-" + suffix + extension;
}

}  // namespace

std::string datedLogName(const std::string& path, std::int64_t day) {
  return withSuffix(path, formatIsoDay(day));
}

std::string numberedLogName(const std::string& path, int number) {
  return withSuffix(path, std::to_string(number));
}

LogNameParts splitLogName(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  auto dot = path.rfind('.');
  if (dot == std::string::npos || dot <= nameStart) dot = path.size();
  std::string stem = path.substr(0, dot);
  const std::string extension = path.substr(dot);
  LogNameParts parts;
  auto endsWithNumber = [&stem, nameStart](std::size_t& at) {
    at = stem.rfind('-');
    if (at == std::string::npos || at <= nameStart || at + 1 == stem.size() || stem.size() - at > 4)
      return false;
    for (std::size_t i = at + 1; i < stem.size(); ++i)
      if (stem[i] < '0' || stem[i] > '9') return false;
    return stem[at + 1] != '0';
  };
  auto dateAtEnd = [&stem, nameStart]() -> std::optional<std::int64_t> {
    if (stem.size() < nameStart + 11 || stem[stem.size() - 11] != '-') return std::nullopt;
    return parseIsoDay(std::string_view(stem).substr(stem.size() - 10));
  };
  std::size_t at = 0;
  // "-N" after a date. A plain NAME-N is left as a name of its own: restarts before the first
  // midnight name their files so, but so do people numbering their receivers.
  if (!dateAtEnd() && endsWithNumber(at)) {
    const std::string before = stem.substr(0, at);
    if (before.size() >= nameStart + 11 && before[before.size() - 11] == '-' &&
        parseIsoDay(std::string_view(before).substr(before.size() - 10))) {
      parts.number = std::stoi(stem.substr(at + 1));
      stem.resize(at);
    }
  }
  if ((parts.day = dateAtEnd())) stem.resize(stem.size() - 11);
  parts.base = stem + extension;
  return parts;
}

std::int64_t today(bool utc) {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  if (utc) {
    gmtime_r(&now, &t);
  } else {
    localtime_r(&now, &t);
  }
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
  return *parseIsoDay(text);
}

std::int64_t dayOfChange(std::time_t changedAt) {
  std::tm changed{};
  localtime_r(&changedAt, &changed);
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", changed.tm_year + 1900, changed.tm_mon + 1,
                changed.tm_mday);
  return parseIsoDay(text).value_or(0);
}

}  // namespace recorder
