#include "serve_address.h"

namespace recorder::web {

std::optional<ServeAddress> parseServeAddress(std::string_view text) {
  ServeAddress address;
  std::string_view port = text;
  if (const auto colon = text.rfind(':'); colon != std::string_view::npos) {
    std::string_view host = text.substr(0, colon);
    port = text.substr(colon + 1);
    if (host.starts_with('[')) {
      if (!host.ends_with(']') || host.size() < 3) return std::nullopt;
      host = host.substr(1, host.size() - 2);
    } else if (host.find(':') != std::string_view::npos) {
      return std::nullopt;  // an IPv6 address needs its brackets before the port
    }
    if (host.empty()) return std::nullopt;
    for (const char c : host) {
      const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
                         (c >= 'A' && c <= 'Z') || c == '.' || c == '-' || c == ':';
      if (!plain) return std::nullopt;
    }
    address.host = std::string(host);
  }
  if (port.empty() || port.size() > 5) return std::nullopt;
  int value = 0;
  for (const char c : port) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > 65535) return std::nullopt;
  address.port = value;
  return address;
}

std::string serveUrl(const std::string& host, int port) {
  const bool v6 = host.find(':') != std::string::npos;
  return "http://" + (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port) + "/";
}

}  // namespace recorder::web
