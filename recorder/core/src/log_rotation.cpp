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

util::CivilDate dateOfDay(std::int64_t day) { return util::civilFromDays(day - kDaysTo1970); }

std::int64_t dayOfDate(const util::CivilDate& date) {
  return util::daysFromCivil(date.year, date.month, date.day) + kDaysTo1970;
}

std::optional<std::int64_t> parseIsoDay(std::string_view text) {
  const auto date = util::parseIsoDate(text);
  if (!date) return std::nullopt;
  return dayOfDate(*date);
}

std::string formatIsoDay(std::int64_t day) {
  const util::CivilDate date = dateOfDay(day);
  char text[48];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02u", static_cast<long long>(date.year),
                date.month, date.day);
  return text;
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

std::int64_t dayOfMoment(std::time_t moment, bool utc) {
  std::tm t{};
  if (utc) {
    gmtime_r(&moment, &t);
  } else {
    localtime_r(&moment, &t);
  }
  return dayOfDate({std::int64_t{t.tm_year} + 1900, static_cast<unsigned>(t.tm_mon + 1),
                    static_cast<unsigned>(t.tm_mday)});
}

std::int64_t dayOfChange(std::time_t changedAt) { return dayOfMoment(changedAt, false); }

std::int64_t today(bool utc) { return dayOfMoment(std::time(nullptr), utc); }

}  // namespace recorder
