#include "web_server.h"

#include <httplib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "recorder/csv_export.h"
#include "recorder/log_rotation.h"
#include "web_connection.h"
#include "web_day_plot.h"
#include "web_listener.h"
#include "web_pages.h"
#include "web_request_head.h"
#include "web_route.h"
#include "web_served_log.h"

namespace recorder::web::module {

namespace {

// A client is dropped when it sends or reads nothing for 3 s, or takes over 5 s to send a
// request or over 2 minutes to read an answer.
constexpr ConnectionLimits kLimits{.wait = std::chrono::seconds(3),
                                   .idle = std::chrono::seconds(2),
                                   .request = std::chrono::seconds(5),
                                   .answer = std::chrono::minutes(2)};
// CSV exports and day plots read a whole log: no more than this many at a time.
constexpr int kHeavyAnswers = 2;
// What the CSV export writes goes out in pieces of this size.
constexpr std::size_t kCsvPiece = 16 * 1024;

constexpr char kPagePolicy[] =
    "default-src 'none'; img-src 'self'; connect-src 'self'; style-src 'unsafe-inline'; "
    "script-src 'unsafe-inline'";

// A size for a reader, rounded up: a log just over a limit of whole MiB never reads as equal.
std::string sizeText(std::uint64_t bytes) {
  const int shift = bytes >= (std::uint64_t{1} << 20) ? 20 : 10;
  const std::uint64_t unit = std::uint64_t{1} << shift;
  return std::to_string((bytes + unit - 1) >> shift) + (shift == 20 ? " MiB" : " KiB");
}

void answerText(httplib::Response& res, int status, const std::string& text) {
  res.status = status;
  res.set_content(text, "text/plain; charset=utf-8");
}

void answerBusy(httplib::Response& res, const char* why) {
  res.set_header("Retry-After", "2");
  answerText(res, 503, std::string("503 ") + why + "\n");
}

// One of the few places for an export or a plot, held while its answer lives.
class HeavySlot {
 public:
  static std::shared_ptr<HeavySlot> take(std::atomic<int>& taken) {
    if (taken.fetch_add(1) >= kHeavyAnswers) {
      --taken;
      return nullptr;
    }
    return std::shared_ptr<HeavySlot>(new HeavySlot(taken));
  }
  ~HeavySlot() { --taken_; }
  HeavySlot(const HeavySlot&) = delete;
  HeavySlot& operator=(const HeavySlot&) = delete;

 private:
  explicit HeavySlot(std::atomic<int>& taken) : taken_(taken) {}
  std::atomic<int>& taken_;
};

// A stdio stream that hands what is written to httplib's sink; once the client is gone it
// fails, and `broken` tells the reading side to stop.
struct SinkStream {
  httplib::DataSink* sink;
  std::atomic<bool>* broken;
};

ssize_t writeToSink(void* cookie, const char* data, std::size_t length) {
  auto& s = *static_cast<SinkStream*>(cookie);
  if (*s.broken || !s.sink->write(data, length)) {
    *s.broken = true;
    return -1;
  }
  return static_cast<ssize_t>(length);
}

ssize_t discard(void*, const char*, std::size_t length) { return static_cast<ssize_t>(length); }

int closeSinkStream(void* cookie) {
  delete static_cast<SinkStream*>(cookie);
  return 0;
}

}  // namespace

// The server: httplib parses requests and writes answers on connections the web view's own
// listener accepts and hands out.
class HttpWebServer final : public WebServer {
 public:
  HttpWebServer(const SnapshotBoard& board, const WebServerSettings& settings);
  ~HttpWebServer() override;
  std::string start(const ServeAddress& address) override;
  const std::string& url() const override;
  void stop() override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

struct HttpWebServer::Impl {
  Impl(const SnapshotBoard& b, const WebServerSettings& s) : board(b), settings(s) {}

  void answer(const httplib::Request& req, httplib::Response& res);
  void answerLog(const WebRoute& route, const WebSnapshot& snapshot, httplib::Response& res);
  void answerToday(const WebSnapshot& snapshot, httplib::Response& res);
  // Draws the log's day plot in png, or answers why it cannot be drawn now.
  bool plot(const ServedLog& log, const std::shared_ptr<util::Descriptor>& file, std::uint64_t size,
            httplib::Response& res, std::string& png);
  void answerCsv(const ServedLog& log, std::shared_ptr<util::Descriptor> file, std::uint64_t size,
                 std::int64_t lastDay, std::shared_ptr<HeavySlot> slot, httplib::Response& res);

  const SnapshotBoard& board;
  const WebServerSettings settings;
  WebListener listener{ListenerLimits{}, refusalAnswer(503, "Retry-After: 1\r\n")};
  TimedServer server{kLimits, listener.stopping()};
  std::string url;
  std::atomic<int> heavy{0};
  std::mutex plotting;  // one day plot at a time
  TodayPlot today;
  bool started = false;
};

void HttpWebServer::Impl::answer(const httplib::Request& req, httplib::Response& res) {
  const auto snapshot = board.current();
  std::vector<std::string> names;
  names.reserve(snapshot->logs.size());
  for (const ServedLog& log : snapshot->logs) names.push_back(log.name);
  const WebRoute route = routeWebRequest(req.method, req.target, names);
  switch (route.page) {
    case WebPage::Refused:
      res.set_header("Connection", "close");
      if (route.status == 405) res.set_header("Allow", "GET, HEAD");
      answerText(res, route.status,
                 std::to_string(route.status) + " " + reasonOf(route.status) + "\n");
      return;
    case WebPage::Index:
      res.set_header("Content-Security-Policy", kPagePolicy);
      res.set_content(indexPage(snapshot->status), "text/html; charset=utf-8");
      return;
    case WebPage::Chart:
      if (snapshot->png.empty()) {
        res.set_header("Retry-After", "1");
        answerText(res, 503, "503 No picture yet\n");
        return;
      }
      // Shared with the snapshot: no copy however many clients poll.
      res.set_content_provider(
          snapshot->png.size(), "image/png",
          [snapshot](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            return sink.write(snapshot->png.data() + offset, length);
          });
      return;
    case WebPage::Status:
      res.set_content(statusJson(snapshot->status), "application/json");
      return;
    case WebPage::LogList: {
      std::vector<LogEntry> entries;
      for (const ServedLog& log : snapshot->logs) {
        struct stat info {};
        if (openServedLog(log, info))
          entries.push_back({log.name, static_cast<std::uint64_t>(info.st_size), log.csv});
      }
      res.set_header("Content-Security-Policy", kPagePolicy);
      res.set_content(logListPage(entries), "text/html; charset=utf-8");
      return;
    }
    case WebPage::LogFile:
    case WebPage::LogCsv:
    case WebPage::LogPlot:
      answerLog(route, *snapshot, res);
      return;
    case WebPage::Today:
      answerToday(*snapshot, res);
      return;
  }
}

bool HttpWebServer::Impl::plot(const ServedLog& log, const std::shared_ptr<util::Descriptor>& file,
                               std::uint64_t size, httplib::Response& res, std::string& png) {
  if (size > settings.plottedLogLimit) {
    std::string text = "503 This log is too large to be drawn here (";
    text.append(sizeText(size))
        .append(", the limit is ")
        .append(sizeText(settings.plottedLogLimit))
        .append("): zelkchart --plot draws it\n");
    answerText(res, 503, text);
    return false;
  }
  std::unique_lock lock(plotting, std::try_to_lock);
  if (!lock.owns_lock()) {
    answerBusy(res, "Another day plot is being drawn");
    return false;
  }
  if (!drawServedDayPlot(file, size, log.name, listener.stopping(), png)) {
    answerText(res, 500, "500 The day plot cannot be drawn\n");
    return false;
  }
  return true;
}

// The log being written, drawn at most once a minute: the requests in between share the picture,
// which says when it was drawn.
void HttpWebServer::Impl::answerToday(const WebSnapshot& snapshot, httplib::Response& res) {
  const auto log = std::find_if(snapshot.logs.begin(), snapshot.logs.end(), [&](const auto& l) {
    return !l.csv && snapshot.status.logging && l.name == snapshot.status.log;
  });
  if (log == snapshot.logs.end()) {
    answerText(res, 404, "404 No log is being written\n");
    return;
  }
  const auto now = std::chrono::steady_clock::now();
  TodayPlot::Picture picture = today.fresh(*log, now);
  if (!picture.png) {
    struct stat info {};
    const auto file = openServedLog(*log, info);
    if (!file) {
      answerText(res, 404, "404 Not Found\n");
      return;
    }
    const auto slot = HeavySlot::take(heavy);
    if (!slot) {
      answerBusy(res, "Other exports and day plots are being made");
      return;
    }
    std::string png;
    if (!plot(*log, file, wholeLinesEnd(file->get(), static_cast<std::uint64_t>(info.st_size)), res,
              png)) {
      return;
    }
    picture = {std::make_shared<const std::string>(std::move(png)),
               log->name,
               log->device,
               log->inode,
               std::time(nullptr),
               now};
    today.keep(picture);
  }
  res.set_header("Last-Modified", httpDate(picture.drawnAt));
  res.set_content_provider(
      picture.png->size(), "image/png",
      [png = picture.png](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
        return sink.write(png->data() + offset, length);
      });
}

void HttpWebServer::Impl::answerLog(const WebRoute& route, const WebSnapshot& snapshot,
                                    httplib::Response& res) {
  const ServedLog& log = snapshot.logs.at(route.log);
  struct stat info {};
  const auto file = openServedLog(log, info);
  if (!file) {
    answerText(res, 404, "404 Not Found\n");
    return;
  }
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (route.page == WebPage::LogFile) {
    // The bytes there were when it was asked for, read as they are sent.
    res.set_content_provider(
        size, "text/plain; charset=utf-8",
        [file](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
          char buffer[65536];
          const ssize_t n = ::pread(file->get(), buffer, std::min(length, sizeof buffer),
                                    static_cast<off_t>(offset));
          return n > 0 && sink.write(buffer, static_cast<std::size_t>(n));
        });
    return;
  }
  auto slot = HeavySlot::take(heavy);
  if (!slot) {
    answerBusy(res, "Other exports and day plots are being made");
    return;
  }
  const std::uint64_t whole = wholeLinesEnd(file->get(), size);
  if (route.page == WebPage::LogCsv) {
    answerCsv(log, file, whole, dayOfChange(info.st_mtime), std::move(slot), res);
    return;
  }
  std::string png;
  if (plot(log, file, whole, res, png)) res.set_content(std::move(png), "image/png");
}

void HttpWebServer::Impl::answerCsv(const ServedLog& log, std::shared_ptr<util::Descriptor> file,
                                    std::uint64_t size, std::int64_t lastDay,
                                    std::shared_ptr<HeavySlot> slot, httplib::Response& res) {
  const std::atomic<bool>& stopping = listener.stopping();
  // A log that cannot be exported is told before the answer starts: a first pass writes
  // nowhere. Both read the same whole lines.
  {
    std::FILE* in = openFilePrefix(file, size, stopping);
    std::FILE* out = ::fopencookie(nullptr, "w", {nullptr, discard, nullptr, nullptr});
    std::string error;
    const bool ok = in != nullptr && out != nullptr &&
                    exportCsv(in, log.name, splitLogName(log.name).day, lastDay, out, error);
    if (in != nullptr) std::fclose(in);
    if (out != nullptr) std::fclose(out);
    if (!ok) {
      answerText(res, 500, "500 The log cannot be exported: " + error + "\n");
      return;
    }
  }
  res.set_chunked_content_provider("text/csv; charset=utf-8", [file, size, lastDay, slot,
                                                               name = log.name,
                                                               &stopping](std::size_t,
                                                                          httplib::DataSink& sink) {
    // The client gone or the server stopping ends the reading too.
    std::atomic<bool> broken = false;
    std::FILE* in = openFilePrefix(file, size, stopping, &broken);
    auto* cookie = new SinkStream{&sink, &broken};
    std::FILE* out = ::fopencookie(cookie, "w", {nullptr, writeToSink, nullptr, closeSinkStream});
    if (out == nullptr) delete cookie;
    if (out != nullptr) std::setvbuf(out, nullptr, _IOFBF, kCsvPiece);
    std::string error;
    // A rotated log's name dates its first day; otherwise the last is the day it last changed.
    bool ok = in != nullptr && out != nullptr &&
              exportCsv(in, name, splitLogName(name).day, lastDay, out, error);
    if (in != nullptr) std::fclose(in);
    if (out != nullptr && std::fclose(out) != 0) ok = false;
    ok = ok && !broken && !stopping;
    // Unfinished, the answer ends without its last chunk: the client sees it cut short.
    if (ok) sink.done();
    return ok;
  });
}

HttpWebServer::HttpWebServer(const SnapshotBoard& board, const WebServerSettings& settings)
    : impl_(std::make_unique<Impl>(board, settings)) {}

HttpWebServer::~HttpWebServer() { stop(); }

const std::string& HttpWebServer::url() const { return impl_->url; }

std::string HttpWebServer::start(const ServeAddress& address) {
  Impl& s = *impl_;
  // A client that goes away mid-answer cannot end the recorder: connections are written with
  // MSG_NOSIGNAL, so the process keeps the signal's default for everything else.
  s.server.set_keep_alive_max_count(20);
  httplib::Headers headers;
  for (const auto& [name, value] : commonHeaders()) headers.emplace(name, value);
  s.server.set_default_headers(headers);
  s.server.set_pre_routing_handler([&s](const httplib::Request& req, httplib::Response& res) {
    s.answer(req, res);
    return httplib::Server::HandlerResponse::Handled;
  });
  s.server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (res.body.empty()) answerText(res, res.status, std::to_string(res.status) + "\n");
  });
  s.server.set_exception_handler(
      [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        answerText(res, 500, "500 Internal Server Error\n");
      });

  if (const std::string why = s.listener.bind(address.host, address.port); !why.empty()) {
    const int number = errno;
    const std::string text = "cannot serve on " + serveUrl(address.host, address.port);
    if (number == EADDRINUSE) return text + ": the port is in use";
    if (number == EACCES) return text + ": the port needs privileges";
    return text + ": " + why;
  }
  const int port = s.listener.port();
  s.server.setHosts(HostNames(address.host, port, address.names));
  s.url = serveUrl(address.host, port);
  s.server.setListening(s.listener.socket());
  s.listener.start([&s](int fd, const std::string& peer) {
    const IdleHooks hooks{
        .mark = [&s, &peer](bool idle) { s.listener.markIdle(peer, idle); },
        .release = [&s, &peer] { return s.listener.shouldRelease(peer); },
    };
    return s.server.serve(fd, hooks);
  });
  s.started = true;
  return {};
}

void HttpWebServer::stop() {
  Impl& s = *impl_;
  if (!s.started) return;
  s.started = false;
  s.server.setListening(-1);
  s.listener.stop();
}

}  // namespace recorder::web::module

extern "C" __attribute__((visibility("default"))) recorder::web::WebServer* zelkchartMakeWebServer(
    const recorder::web::SnapshotBoard& board, const recorder::web::WebServerSettings& settings) {
  return new recorder::web::module::HttpWebServer(board, settings);
}
