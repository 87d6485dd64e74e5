// The texts the web view answers with: the page, the status as JSON, the list of logs. Every
// value from the recorder is escaped for where it stands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "web_snapshot.h"

namespace recorder::web {

// {"clock":...,"date":...,"level":N,"chartLevel":N,"recording":B,"logging":B,"log":...,"input":...,
//  "sampleMs":N,"chartSecondsPerDiv":N}
std::string statusJson(const WebStatus& status);

// The page: the chart, its three clock times and the status line, the values of status.json
// (the level in the chart's units) and links to today's day plot and the logs. Complete without
// scripting; with it, a small inline script fetches the page again each second, copies the values
// over and swaps the chart in once it has loaded.
std::string indexPage(const WebStatus& status);

struct LogEntry {
  std::string name;
  std::uint64_t bytes = 0;
  bool csv = false;  // CSV already (a SID file): served as it is for its CSV link
};
std::string logListPage(const std::vector<LogEntry>& logs);

// HTML text and attribute values: & < > " ' as references.
std::string htmlEscape(const std::string& text);

}  // namespace recorder::web
