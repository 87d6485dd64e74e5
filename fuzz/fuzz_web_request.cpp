// The web view's request routing on arbitrary methods, targets and log names: it must never
// crash, never name a log outside the list, and never route a target holding a dot segment.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "web_route.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Lines: the method, the target, then the run's log names.
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  if (lines.size() < 2) return 0;
  const std::vector<std::string> names(lines.begin() + 2, lines.end());
  const auto route = recorder::web::routeWebRequest(lines[0], lines[1], names);
  using recorder::web::WebPage;
  const bool isLog = route.page == WebPage::LogFile || route.page == WebPage::LogCsv ||
                     route.page == WebPage::LogPlot;
  if (isLog && route.log >= names.size()) std::abort();
  if (route.page != WebPage::Refused && lines[0] != "GET" && lines[0] != "HEAD") std::abort();
  if (route.page == WebPage::Refused && route.status < 400) std::abort();
  const std::string_view path = std::string_view(lines[1]).substr(0, lines[1].find('?'));
  if (route.page != WebPage::Refused &&
      (path.find("/../") != std::string_view::npos || path.ends_with("/.."))) {
    std::abort();
  }
  // A link the log list writes leads back to the same log.
  if (!names.empty() && !names[0].empty() &&
      names[0].find_first_of(std::string("/\0", 2)) == std::string::npos && names[0] != "." &&
      names[0] != "..") {
    const auto back = recorder::web::routeWebRequest(
        "GET", "/logs/" + recorder::web::percentEncodeName(names[0]), names);
    if (back.page != WebPage::LogFile || names[back.log] != names[0]) std::abort();
  }
  return 0;
}
