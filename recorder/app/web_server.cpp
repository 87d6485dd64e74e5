#include "web_server.h"

#include <fcntl.h>
#include <httplib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <thread>
#include <vector>

#include "headless_commands.h"
#include "recorder/csv_export.h"
#include "web_pages.h"
#include "web_route.h"

extern char** environ;

namespace recorder::app {

namespace {

constexpr int kWorkers = 8;
// Connections accepted but not yet taken by a worker; past this the listening thread waits and
// further connections wait in the kernel's backlog.
constexpr std::size_t kQueued = 32;
constexpr int kTimeoutSeconds = 3;
constexpr int kKeepAliveSeconds = 2;
constexpr std::size_t kMaxBody = 1024;
constexpr auto kPlotTimeLimit = std::chrono::seconds(30);

// Answering runs at a lower priority than the recording: on a busy machine the clients wait,
// not the recorder.
void yieldToTheRecorder() { ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10); }

// httplib's own pool queues without limit; this one holds at most kQueued connections.
class BoundedPool final : public httplib::TaskQueue {
 public:
  explicit BoundedPool(int workers) {
    for (int i = 0; i < workers; ++i) threads_.emplace_back([this] { work(); });
  }
  void enqueue(std::function<void()> job) override {
    std::unique_lock lock(mutex_);
    room_.wait(lock, [this] { return jobs_.size() < kQueued || shutdown_; });
    jobs_.push_back(std::move(job));
    ready_.notify_one();
  }
  // Runs what is queued (each ends at once once the server has stopped), then ends the workers.
  void shutdown() override {
    {
      std::lock_guard lock(mutex_);
      shutdown_ = true;
    }
    ready_.notify_all();
    room_.notify_all();
    for (std::thread& t : threads_) t.join();
  }

 private:
  void work() {
    yieldToTheRecorder();
    for (;;) {
      std::function<void()> job;
      {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return shutdown_ || !jobs_.empty(); });
        if (jobs_.empty()) return;
        job = std::move(jobs_.front());
        jobs_.pop_front();
      }
      room_.notify_one();
      job();
    }
  }

  std::mutex mutex_;
  std::condition_variable ready_, room_;
  std::deque<std::function<void()>> jobs_;
  std::vector<std::thread> threads_;
  bool shutdown_ = false;
};

struct FileDescriptor {
  int fd = -1;
  explicit FileDescriptor(int f) : fd(f) {}
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
};

// The log as the run wrote it, or nothing when the file at its path is no longer that file (a
// link or another file put in its place is never followed).
std::shared_ptr<FileDescriptor> openServedLog(const ServedLog& log, struct stat& info) {
  auto file = std::make_shared<FileDescriptor>(
      ::open(log.path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (file->fd < 0) return nullptr;
  if (::fstat(file->fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_dev != log.device ||
      info.st_ino != log.inode) {
    return nullptr;
  }
  return file;
}

// The log's whole lines: a log being written may end in half a record.
void readWholeLines(int fd, std::uint64_t size, std::string& text) {
  text.resize(size);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, text.data() + done, size - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  text.resize(done);
  const auto end = text.rfind('\n');
  text.resize(end == std::string::npos ? 0 : end + 1);
}

void answerText(httplib::Response& res, int status, const std::string& text) {
  res.status = status;
  res.set_content(text, "text/plain; charset=utf-8");
}

}  // namespace

struct WebServer::Impl {
  explicit Impl(const SnapshotBoard& b) : board(b) {}

  void answer(const httplib::Request& req, httplib::Response& res);
  void answerLog(const WebRoute& route, const WebSnapshot& snapshot, httplib::Response& res);
  // The log's whole lines copied into a scratch folder of its own under the server's, named as
  // the log: what the CSV export and the day plot read.
  std::string scratchCopy(const ServedLog& log, const std::string& text);
  bool drawDayPlot(const std::string& logCopy, std::string& png);

  const SnapshotBoard& board;
  httplib::Server server;
  std::thread listener;
  std::string url;
  std::filesystem::path scratch;
  std::atomic<bool> stopping{false};
  std::atomic<unsigned> scratchCount{0};
  std::mutex plotting;  // one day plot at a time
  bool started = false;
};

void WebServer::Impl::answer(const httplib::Request& req, httplib::Response& res) {
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
          entries.push_back({log.name, static_cast<std::uint64_t>(info.st_size)});
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

void WebServer::Impl::answerLog(const WebRoute& route, const WebSnapshot& snapshot,
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
          const ssize_t n = ::pread(file->fd, buffer, std::min(length, sizeof buffer),
                                    static_cast<off_t>(offset));
          return n > 0 && sink.write(buffer, static_cast<std::size_t>(n));
        });
    return;
  }
  std::string text;
  readWholeLines(file->fd, size, text);
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
  const bool ok = drawDayPlot(copy, png);
  cleanUp();
  if (!ok) {
    answerText(res, 500, "500 The day plot cannot be drawn\n");
    return;
  }
  res.set_content(std::move(png), "image/png");
}

std::string WebServer::Impl::scratchCopy(const ServedLog& log, const std::string& text) {
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

bool WebServer::Impl::drawDayPlot(const std::string& logCopy, std::string& png) {
  // In a process of its own: the chart control that draws it shares drawing state across its
  // instances without locks, and the recorder's own chart is drawing on another thread.
  const std::string image = (std::filesystem::path(logCopy).parent_path() / "plot.png").string();
  const std::string program = "/proc/self/exe";
  std::vector<std::string> words = {"zelkchart", "--plot", logCopy, "--image", image};
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  // Not the listening socket nor the clients' connections.
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  const auto deadline = std::chrono::steady_clock::now() + kPlotTimeLimit;
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(child, &status, WNOHANG);
    if (done == child) break;
    if (done < 0 && errno != EINTR) return false;
    if (stopping || std::chrono::steady_clock::now() > deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  std::ifstream in(image, std::ios::binary);
  png.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !png.empty();
}

WebServer::WebServer(const SnapshotBoard& board) : impl_(std::make_unique<Impl>(board)) {}

WebServer::~WebServer() { stop(); }

const std::string& WebServer::url() const { return impl_->url; }

std::string WebServer::start(const ServeAddress& address) {
  Impl& s = *impl_;
  // A client that goes away mid-answer must not end the recorder.
  ::signal(SIGPIPE, SIG_IGN);
  s.server.new_task_queue = [] { return new BoundedPool(kWorkers); };
  s.server.set_read_timeout(kTimeoutSeconds, 0);
  s.server.set_write_timeout(kTimeoutSeconds, 0);
  s.server.set_keep_alive_timeout(kKeepAliveSeconds);
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

void WebServer::stop() {
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
