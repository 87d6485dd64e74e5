// zelkchart --serve: the read-only web view of a run over HTTP/1.1. A few worker threads answer
// from the snapshot board and the run's own list of logs; the recorder never waits for them.
// Requests are bounded in count, size and time.
//
// The server lives in a module of its own (libzelkchart_web.so, cpp-httplib and the TLS and
// compression libraries it brings), loaded only by runs that serve: a run that does not serve
// does not carry them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "serve_address.h"
#include "web_snapshot.h"

namespace recorder::web {

// What a server allows beyond its request limits.
struct WebServerSettings {
  // A day plot holds every point of its log while it is drawn, in the recorder's own memory: a
  // log larger than this (a whole day at the default rate is about 20 MiB) is left to
  // zelkchart --plot, so that no request can take the memory the recording needs.
  std::uint64_t plottedLogLimit = std::uint64_t{32} << 20;
};

class WebServer {
 public:
  virtual ~WebServer() = default;
  // Binds and starts listening; returns "" or why it cannot (the port in use, say).
  virtual std::string start(const ServeAddress& address) = 0;
  // The URL it listens on, port 0 resolved.
  virtual const std::string& url() const = 0;
  // Stops taking connections and waits for the requests in progress (each bounded by the
  // timeouts). Safe to call twice.
  virtual void stop() = 0;
};

// The module's file name, beside the suite's libraries, and its one entry.
inline constexpr char kWebServerModule[] = "libzelkchart_web.so";
using MakeWebServer = WebServer*(const SnapshotBoard& board, const WebServerSettings& settings);
inline constexpr char kMakeWebServer[] = "zelkchartMakeWebServer";

// A server answering from the board with the default settings; null with the reason when the
// module cannot be loaded. The module stays loaded for the rest of the process.
std::unique_ptr<WebServer> loadWebServer(const SnapshotBoard& board, std::string& error);

}  // namespace recorder::web
