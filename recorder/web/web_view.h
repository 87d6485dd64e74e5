// --serve in a run: the snapshot board, the recording side that fills it and the server that
// answers from it, started before the recording and stopped after it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "serve_address.h"
#include "web_publisher.h"
#include "web_server.h"
#include "web_snapshot.h"

namespace recorder::web {

class WebView {
 public:
  // Starts serving; on failure returns null with the one-line reason in error.
  static std::unique_ptr<WebView> start(const ServeAddress& address, std::int64_t firstDay,
                                        std::string& error);
  ~WebView() {
    if (server_) server_->stop();
  }

  const std::string& url() const { return server_->url(); }
  void setStations(const StationRecorder* stations) { publisher_.setStations(stations); }
  // After each of the recorder's seconds; forced at the start and the end of a run.
  void secondPassed(const host::PixelView& chart, ZelkChrtForm& form, bool force = false) {
    publisher_.secondPassed(chart, form, force);
  }

 private:
  explicit WebView(std::int64_t firstDay) : publisher_(board_, firstDay) {}

  SnapshotBoard board_;
  WebPublisher publisher_;
  std::unique_ptr<WebServer> server_;
};

inline std::unique_ptr<WebView> WebView::start(const ServeAddress& address, std::int64_t firstDay,
                                               std::string& error) {
  std::unique_ptr<WebView> view(new WebView(firstDay));
  view->server_ = loadWebServer(view->board_, error);
  if (!view->server_) return nullptr;
  error = view->server_->start(address);
  if (!error.empty()) return nullptr;
  return view;
}

}  // namespace recorder::web
