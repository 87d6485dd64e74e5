#include "web_server.h"

#include <httplib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "headless_commands.h"
#include "recorder/csv_export.h"
#include "web_connection.h"
#include "web_pages.h"
#include "web_route.h"
#include "web_served_log.h"
#include "web_worker_pool.h"

namespace recorder::app {

namespace {

constexpr int kWorkers = 8;
// Connections accepted but not yet taken by a worker; past this the listening thread waits and
// further connections wait in the kernel's backlog.
constexpr std::size_t kQueued = 32;
// A client is dropped when it sends or reads nothing for 3 s, or takes over 5 s to send a
// request or over 2 minutes to read an answer.
constexpr ConnectionLimits kLimits{.wait = std::chrono::seconds(3),
                                   .idle = std::chrono::seconds(2),
                                   .request = std::chrono::seconds(5),
                                   .answer = std::chrono::minutes(2)};
constexpr std::size_t kMaxBody = 1024;

void answerText(httplib::Response& res, int status, const std::string& text) {
  res.status = status;
  res.set_content(text, "text/plain; charset=utf-8");
}

}  // namespace

// The server on cpp-httplib.
class HttpWebServer final : public WebServer {
 public:
  explicit HttpWebServer(const SnapshotBoard& board);
  ~HttpWebServer() override;
  std::string start(const ServeAddress& address) override;
  const std::string& url() const override;
  void stop() override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

struct HttpWebServer::Impl {
  explicit Impl(const SnapshotBoard& b) : board(b) {}

  void answer(const httplib::Request& req, httplib::Response& res);
  void answerLog(const WebRoute& route, const WebSnapshot& snapshot, httplib::Response& res);
  // The log's whole lines copied into a scratch folder of its own under the server's, named as
  // the log: what the CSV export and the day plot read.
  std::string scratchCopy(const ServedLog& log, const std::string& text);

  const SnapshotBoard& board;
  TimedServer server{kLimits};
  std::thread listener;
  std::string url;
  std::filesystem::path scratch;
  std::atomic<bool> stopping{false};
  std::atomic<unsigned> scratchCount{0};
  std::mutex plotting;  // one day plot at a time
  bool started = false;
};

void HttpWebServer::Impl::answer(const httplib::Request& req, httplib::Response& res) {
  // Nothing here reads a body: one that is announced is refused and the connection closed, so
  // that its bytes are never taken for the next request.
  const std::string length = req.get_header_value("Content-Length");
  if (req.has_header("Transfer-Encoding") || (!length.empty() && length != "0")) {
    res.set_header("Connection", "close");
    const bool large = req.has_header("Transfer-Encoding") ||
                       std::strtoull(length.c_str(), nullptr, 10) > kMaxBody;
    answerText(res, large ? 413 : 400, large ? "413 Payload Too Large\n" : "400 Bad Request\n");
    return;
  }
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
                 route.status == 405   ? "405 Method Not Allowed\n"
                 : route.status == 400 ? "400 Bad Request\n"
                                       : "404 Not Found\n");
      return;
    case WebPage::Index:
      res.set_header("Content-Security-Policy",
                     "default-src 'none'; img-src 'self'; connect-src 'self'; "
                     "style-src 'unsafe-inline'; script-src 'unsafe-inline'");
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
      res.set_content(logListPage(entries), "text/html; charset=utf-8");
      return;
    }
    case WebPage::LogFile:
    case WebPage::LogCsv:
    case WebPage::LogPlot:
      answerLog(route, *snapshot, res);
      return;
  }
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
  std::string text;
  readWholeLines(file->get(), size, text);
  const std::string copy = scratchCopy(log, text);
  if (copy.empty()) {
    answerText(res, 500, "500 Cannot read the log\n");
    return;
  }
  const auto cleanUp = [&copy] {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(copy).parent_path(), ignored);
  };
  if (route.page == WebPage::LogCsv) {
    char* buffer = nullptr;
    std::size_t length = 0;
    std::FILE* out = ::open_memstream(&buffer, &length);
    std::string error;
    const bool ok =
        out != nullptr && exportCsv(copy, std::nullopt, dayOfChange(info.st_mtime), out, error);
    if (out != nullptr) std::fclose(out);
    std::string csv(buffer != nullptr ? buffer : "", length);
    std::free(buffer);
    cleanUp();
    if (!ok) {
      answerText(res, 500, "500 The log cannot be exported: " + error + "\n");
      return;
    }
    res.set_content(std::move(csv), "text/csv; charset=utf-8");
    return;
  }
  std::unique_lock lock(plotting, std::try_to_lock);
  if (!lock.owns_lock()) {
    cleanUp();
    res.set_header("Retry-After", "2");
    answerText(res, 503, "503 Another day plot is being drawn\n");
    return;
  }
  std::string png;
  const bool ok = drawDayPlot(copy, stopping, png);
  cleanUp();
  if (!ok) {
    answerText(res, 500, "500 The day plot cannot be drawn\n");
    return;
  }
  res.set_content(std::move(png), "image/png");
}

std::string HttpWebServer::Impl::scratchCopy(const ServedLog& log, const std::string& text) {
  const auto folder = scratch / std::to_string(++scratchCount);
  std::error_code error;
  if (!std::filesystem::create_directory(folder, error)) return {};
  const auto path = folder / log.name;
  std::ofstream out(path, std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) return {};
  return path.string();
}

HttpWebServer::HttpWebServer(const SnapshotBoard& board) : impl_(std::make_unique<Impl>(board)) {}

HttpWebServer::~HttpWebServer() { stop(); }

const std::string& HttpWebServer::url() const { return impl_->url; }

std::string HttpWebServer::start(const ServeAddress& address) {
  Impl& s = *impl_;
  // A client that goes away mid-answer must not end the recorder.
  ::signal(SIGPIPE, SIG_IGN);
  s.server.new_task_queue = [] { return new BoundedPool(kWorkers, kQueued); };
  s.server.set_keep_alive_max_count(20);
  s.server.set_payload_max_length(kMaxBody);
  s.server.set_default_headers({{"Cache-Control", "no-store"},
                                {"X-Content-Type-Options", "nosniff"},
                                {"Referrer-Policy", "no-referrer"},
                                {"X-Frame-Options", "DENY"}});
  s.server.set_pre_routing_handler([&s](const httplib::Request& req, httplib::Response& res) {
    s.answer(req, res);
    return httplib::Server::HandlerResponse::Handled;
  });
  // Whatever httplib refuses itself (a malformed line, an oversized one) gets a body that says
  // no more than its status.
  s.server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (res.body.empty()) answerText(res, res.status, std::to_string(res.status) + "\n");
  });
  s.server.set_exception_handler(
      [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        answerText(res, 500, "500 Internal Server Error\n");
      });

  errno = 0;
  int port = address.port;
  bool bound = false;
  if (port == 0) {
    port = s.server.bind_to_any_port(address.host);
    bound = port > 0;
  } else {
    bound = s.server.bind_to_port(address.host, port);
  }
  const int why = errno;
  if (!bound) {
    std::string text = "cannot serve on " + serveUrl(address.host, address.port);
    if (why == EADDRINUSE) return text + ": the port is in use";
    if (why == EACCES) return text + ": the port needs privileges";
    return why != 0 ? text + ": " + std::strerror(why) : text;
  }
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/zelkchart-web-XXXXXX";
  std::vector<char> writable(pattern.begin(), pattern.end());
  writable.push_back('\0');
  const char* made = ::mkdtemp(writable.data());
  if (made != nullptr) s.scratch = made;
  s.url = serveUrl(address.host, port);
  s.listener = std::thread([&s] {
    yieldToTheRecorder();
    s.server.listen_after_bind();
  });
  // stop() only reaches a server that has begun listening.
  for (int i = 0; i < 2000 && !s.server.is_running(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  s.started = true;
  return {};
}

void HttpWebServer::stop() {
  Impl& s = *impl_;
  if (!s.started) return;
  s.started = false;
  s.stopping = true;
  s.server.stop();
  s.listener.join();
  if (!s.scratch.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(s.scratch, ignored);
  }
}

}  // namespace recorder::app

extern "C" __attribute__((visibility("default"))) recorder::app::WebServer* zelkchartMakeWebServer(
    const recorder::app::SnapshotBoard& board) {
  return new recorder::app::HttpWebServer(board);
}
