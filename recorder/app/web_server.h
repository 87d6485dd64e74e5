// zelkchart --serve: the read-only web view of a run over HTTP/1.1 (cpp-httplib). A few worker
// threads answer from the snapshot board and the run's own list of logs; the recorder never
// waits for them. Requests are bounded in count, size and time.
#pragma once

#include <memory>
#include <string>

#include "serve_address.h"
#include "web_snapshot.h"

namespace recorder::app {

class WebServer {
 public:
  // The day plots of /logs/NAME.png are drawn by this program (/proc/self/exe --plot) in a
  // process of their own.
  explicit WebServer(const SnapshotBoard& board);
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  // Binds and starts listening; returns "" or why it cannot (the port in use, say).
  std::string start(const ServeAddress& address);
  // The URL it listens on, port 0 resolved.
  const std::string& url() const;
  // Stops taking connections and waits for the requests in progress (each bounded by the
  // timeouts). Safe to call twice.
  void stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace recorder::app
