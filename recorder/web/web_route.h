// Which answer a request to the recorder's web view gets, decided from its method and target
// alone: the server never builds a file path from a request, it names a log only by its place in
// the run's own list of logs it wrote.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace recorder::web {

enum class WebPage {
  Refused,  // status says why: 400 malformed, 404 unknown, 405 method
  Index,    // "/"
  Chart,    // "/chart.png"
  Status,   // "/status.json"
  LogList,  // "/logs/"
  LogFile,  // "/logs/NAME": the file as written
  LogCsv,   // "/logs/NAME.csv": as --export-csv writes it
  LogPlot,  // "/logs/NAME.png": its day plot
  Today,    // "/day.png": the day plot of the log being written
};

struct WebRoute {
  WebPage page = WebPage::Refused;
  int status = 404;
  std::size_t log = 0;  // for the log pages: the index into the run's list of log names
};

// Only GET and HEAD are answered; any other method is 405 on every path. The target is the raw
// request target: a path starting with "/" and an optional query, which is ignored (the page adds
// one to defeat caches). A log's NAME may be percent-encoded; once decoded it must equal, byte
// for byte, one of logNames (the file names, without folders, of the logs this run wrote). A
// name that is itself a log's whole name is that file even when it ends in .csv or .png.
// Malformed escapes, a NUL, a "/" inside NAME and the dot segments "." and ".." are 400.
WebRoute routeWebRequest(std::string_view method, std::string_view target,
                         std::span<const std::string> logNames);

// The text a log's name takes in a link of the web view: everything but unreserved characters
// percent-encoded, so that routeWebRequest decodes it back to the same bytes.
std::string percentEncodeName(std::string_view name);

}  // namespace recorder::web
