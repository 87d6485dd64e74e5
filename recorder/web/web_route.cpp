#include "web_route.h"

#include <optional>

#include "util/text.h"

namespace recorder::web {

namespace {

// Empty when an escape is malformed or decodes to a NUL.
std::optional<std::string> percentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '%') {
      if (i + 2 >= text.size()) return std::nullopt;
      const int high = util::hexDigitValue(text[i + 1]);
      const int low = util::hexDigitValue(text[i + 2]);
      if (high < 0 || low < 0) return std::nullopt;
      c = static_cast<char>(high * 16 + low);
      i += 2;
    }
    if (c == '\0') return std::nullopt;
    out.push_back(c);
  }
  return out;
}

std::optional<std::size_t> find(std::span<const std::string> names, std::string_view name) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) return i;
  }
  return std::nullopt;
}

WebRoute refused(int status) { return {WebPage::Refused, status, 0}; }

WebRoute logRoute(std::string_view encoded, std::span<const std::string> names) {
  const auto name = percentDecode(encoded);
  if (!name || name->empty() || *name == "." || *name == ".." ||
      name->find('/') != std::string::npos) {
    return refused(400);
  }
  if (const auto i = find(names, *name)) return {WebPage::LogFile, 200, *i};
  for (const auto& [suffix, page] : {std::pair{std::string_view(".csv"), WebPage::LogCsv},
                                     std::pair{std::string_view(".png"), WebPage::LogPlot}}) {
    if (name->size() > suffix.size() && name->ends_with(suffix)) {
      const auto i = find(names, std::string_view(*name).substr(0, name->size() - suffix.size()));
      if (i) return {page, 200, *i};
    }
  }
  return refused(404);
}

}  // namespace

WebRoute routeWebRequest(std::string_view method, std::string_view target,
                         std::span<const std::string> logNames) {
  if (method != "GET" && method != "HEAD") return refused(405);
  const std::string_view path = target.substr(0, target.find('?'));
  if (!path.starts_with('/')) return refused(400);
  // Dot segments are refused wherever they stand, escaped or not, so that no reading of the
  // path (ours, a proxy's, a browser's) can take it somewhere else.
  const auto decoded = percentDecode(path);
  if (!decoded) return refused(400);
  for (std::size_t start = 1; start <= decoded->size();) {
    std::size_t end = decoded->find('/', start);
    if (end == std::string::npos) end = decoded->size();
    const std::string_view segment = std::string_view(*decoded).substr(start, end - start);
    if (segment == "." || segment == "..") return refused(400);
    start = end + 1;
  }
  if (path == "/") return {WebPage::Index, 200, 0};
  if (path == "/chart.png") return {WebPage::Chart, 200, 0};
  if (path == "/status.json") return {WebPage::Status, 200, 0};
  if (path == "/day.png") return {WebPage::Today, 200, 0};
  if (path == "/logs/") return {WebPage::LogList, 200, 0};
  constexpr std::string_view kLogs = "/logs/";
  if (path.starts_with(kLogs) && path.size() > kLogs.size())
    return logRoute(path.substr(kLogs.size()), logNames);
  return refused(404);
}

std::string percentEncodeName(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '-' ||
        u == '.' || u == '_' || u == '~') {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(kHex[u >> 4]);
      out.push_back(kHex[u & 15]);
    }
  }
  return out;
}

}  // namespace recorder::web
