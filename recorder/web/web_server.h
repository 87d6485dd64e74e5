// zelkchart --serve: the read-only web view of a run over HTTP/1.1. A few worker threads answer
// from the snapshot board and the run's own list of logs; the recorder never waits for them.
// Requests are bounded in count, size and time.
//
// The server lives in a module of its own (libzelkchart_web.so, cpp-httplib and the TLS and
// compression libraries it brings), loaded only by runs that serve: a run that does not serve
// does not carry them.
#pragma once

#include <memory>
#include <string>

#include "serve_address.h"
#include "web_snapshot.h"

namespace recorder::app {

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
using MakeWebServer = WebServer*(const SnapshotBoard& board);
inline constexpr char kMakeWebServer[] = "zelkchartMakeWebServer";

// A server answering from the board (its day plots of /logs/NAME.png are drawn by this program,
// /proc/self/exe --plot, in a process of their own); null with the reason when the module cannot
// be loaded. The module stays loaded for the rest of the process.
std::unique_ptr<WebServer> loadWebServer(const SnapshotBoard& board, std::string& error);

}  // namespace recorder::app
