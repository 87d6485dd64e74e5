// --serve [ADDR:]PORT: where the web view listens. Without an address only this machine can
// reach it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace recorder::web {

struct ServeAddress {
  std::string host = "127.0.0.1";  // an IPv6 address without its brackets
  int port = 0;                    // 0: any free port, said on standard error
  // --serve-name: the names users reach it by besides the address (requests that name no
  // address or name of its own are refused, so that no other site can borrow it).
  std::vector<std::string> names;
};

// "8080", "0.0.0.0:8080", "[::1]:8080", "localhost:8080"; empty when the text is none of these
// or the port is outside 0..65535.
std::optional<ServeAddress> parseServeAddress(std::string_view text);

// "127.0.0.1:8080", "[::1]:8080": how the address is written back, for the URL to open.
std::string serveUrl(const std::string& host, int port);

}  // namespace recorder::web
