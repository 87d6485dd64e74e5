// zelkchart --serve as a user runs it: a real-time headless recording served on a free port,
// every path fetched and compared with the files, hostile requests refused without leaking, a
// stop signal with clients connected, a port in use, and the page in a real browser.
#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "served_recorder.h"

namespace recorder::web {
namespace {

using namespace std::chrono_literals;
using recorder::testing::ServedRecorder;

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Sends bytes as they are (no client tidies them up) and returns what comes back until the
// server closes (closed is then set) or nothing comes for waitSeconds. Bytes the server no longer
// takes once it has answered are not sent.
std::string rawExchange(int port, const std::string& request, bool* closed = nullptr,
                        int waitSeconds = 1) {
  const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(sock);
    return "";
  }
  timeval timeout{waitSeconds, 0};
  ::setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  ::setsockopt(sock, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  for (std::size_t sent = 0; sent < request.size();) {
    const ssize_t n = ::send(sock, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<std::size_t>(n);
  }
  std::string answer;
  char buffer[4096];
  ssize_t n = 0;
  while ((n = ::recv(sock, buffer, sizeof buffer, 0)) > 0) answer.append(buffer, n);
  if (closed != nullptr) *closed = n == 0 || (n < 0 && errno == ECONNRESET);
  ::close(sock);
  return answer;
}

// The processes a run has started that are still alive, as /proc lists them.
std::string childrenOf(pid_t pid) {
  std::string all;
  std::error_code ignored;
  for (const auto& task :
       std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", ignored))
    all += readFile(task.path() / "children");
  return all;
}

// A number in a JSON text, by its key.
double jsonNumber(const std::string& json, const std::string& key) {
  const auto at = json.find("\"" + key + "\":");
  return at == std::string::npos ? -1e9 : std::atof(json.c_str() + at + key.size() + 3);
}

int statusOf(const std::string& answer) {
  return answer.size() > 12 ? std::atoi(answer.c_str() + 9) : 0;
}

class WebServeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("zelkchart_web_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string p(const std::string& name) const { return (dir / name).string(); }
  std::filesystem::path dir;
};

TEST_F(WebServeTest, ServesEveryPathRefusesTheRestAndStopsWithClientsConnected) {
  // Two seconds before midnight with daily rotation: the run writes two logs.
  ServedRecorder run(ZELKCHART_PATH,
                     {"--headless", "--realtime", "--input", "synthetic:7", "--start-time",
                      "23:59:58", "--start-date", "2026-12-09", "--rotate", "daily", "--log",
                      p("rx.log"), "--serve", "127.0.0.1:0"},
                     p("stderr.txt"));
  const int port = run.waitForPort();
  ASSERT_GT(port, 0) << run.errors();
  httplib::Client client("127.0.0.1", port);
  client.set_read_timeout(40, 0);  // a day plot on a busy machine takes its time
  std::string status;
  for (int i = 0; i < 100; ++i) {
    const auto res = client.Get("/status.json");
    ASSERT_TRUE(res) << run.errors();
    status = res->body;
    if (status.find("\"clock\":\"00:00:01\"") != std::string::npos) break;
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_EQ(status.substr(0, 48), "{\"clock\":\"00:00:01\",\"date\":\"2026-12-10\",\"level\":");
  EXPECT_NE(status.find(",\"recording\":true,\"logging\":true,\"log\":\"rx-2026-12-10.log\","
                        "\"input\":\"synthetic:7\",\"sampleMs\":50,\"chartSecondsPerDiv\":30}\n"),
            std::string::npos)
      << status;

  const auto page = client.Get("/");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=utf-8");
  EXPECT_NE(page->body.find("<img id=\"chart\" src=\"/chart.png\""), std::string::npos);
  EXPECT_NE(page->body.find("Logging to rx-2026-12-10.log"), std::string::npos) << page->body;
  EXPECT_NE(page->body.find("href=\"/logs/\""), std::string::npos);

  const auto chart = client.Get("/chart.png");
  ASSERT_TRUE(chart);
  EXPECT_EQ(chart->get_header_value("Content-Type"), "image/png");
  ASSERT_GT(chart->body.size(), 24u);
  EXPECT_EQ(chart->body.substr(1, 3), "PNG");
  // IHDR: the chart (601 by 257) and the strip of labels under it.
  const auto be32 = [&](std::size_t at) {
    const auto* b = reinterpret_cast<const unsigned char*>(chart->body.data() + at);
    return (b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3];
  };
  EXPECT_EQ(be32(16), 601);
  EXPECT_EQ(be32(20), 257 + 18);

  const auto list = client.Get("/logs/");
  ASSERT_TRUE(list);
  EXPECT_NE(list->body.find("<a href=\"/logs/rx.log\">rx.log</a>"), std::string::npos);
  EXPECT_NE(list->body.find("<a href=\"/logs/rx-2026-12-10.log\">"), std::string::npos);
  // The first day's log is closed: served whole. Today's only grows: served as it began.
  const auto log = client.Get("/logs/rx.log");
  ASSERT_TRUE(log);
  EXPECT_EQ(log->status, 200);
  EXPECT_EQ(log->body, readFile(dir / "rx.log"));
  const auto today = client.Get("/logs/rx-2026-12-10.log");
  ASSERT_TRUE(today);
  ASSERT_FALSE(today->body.empty());
  EXPECT_EQ(readFile(dir / "rx-2026-12-10.log").substr(0, today->body.size()), today->body);
  const auto csv = client.Get("/logs/rx.log.csv");
  ASSERT_TRUE(csv);
  EXPECT_EQ(csv->status, 200) << csv->body;
  EXPECT_TRUE(csv->body.find("T23:59:59.") != std::string::npos) << csv->body.substr(0, 200);
  // The day plots are drawn by the run itself while it records: no process is started for them,
  // and today's is drawn once a minute at most, the same picture in between.
  {
    std::atomic<bool> asking = true, childSeen = false;
    std::thread watcher([&] {
      while (asking) {
        if (!childrenOf(run.pid()).empty()) childSeen = true;
        std::this_thread::sleep_for(1ms);
      }
    });
    struct Plot {
      const char* path;
      std::string body, drawn;
    };
    Plot plots[] = {{"/logs/rx.log.png", {}, {}}, {"/day.png", {}, {}}, {"/day.png", {}, {}}};
    for (Plot& p : plots) {
      if (&p == &plots[2]) std::this_thread::sleep_for(1100ms);  // a redraw would be dated later
      const auto res = client.Get(p.path);
      ASSERT_TRUE(res) << p.path;
      EXPECT_EQ(res->status, 200) << p.path << "\n" << res->body;
      EXPECT_EQ(res->body.substr(1, 3), "PNG") << p.path;
      p.body = res->body;
      p.drawn = res->get_header_value("Last-Modified");
    }
    asking = false;
    watcher.join();
    EXPECT_FALSE(childSeen);
    EXPECT_NE(plots[1].drawn, "");
    EXPECT_EQ(plots[2].drawn, plots[1].drawn);
    EXPECT_TRUE(plots[2].body == plots[1].body);
  }
  // The page's level reads as the chart's scale does where the point is drawn: value 0 at the
  // bottom, 1.0, from the vertical position of 4000, and 4000 to a division of 1.0.
  {
    const std::string now = client.Get("/status.json")->body;
    EXPECT_NEAR(jsonNumber(now, "chartLevel"), (jsonNumber(now, "level") + 4000) * 0.00025, 0.0006)
        << now;
    const std::string shown = client.Get("/")->body;
    EXPECT_NE(shown.find("<span data-live=\"scale\">1.0 to 8.0</span>"), std::string::npos);
    EXPECT_NE(shown.find("href=\"/day.png\""), std::string::npos);
  }
  const auto head = client.Head("/chart.png");
  ASSERT_TRUE(head);
  EXPECT_EQ(head->status, 200);
  EXPECT_TRUE(head->body.empty());

  // A file put in the place of a log the run wrote is not that log: a link to a secret, or a
  // copy, is refused.
  {
    std::ofstream(dir / "secret.txt") << "root:secret\n";
    std::filesystem::rename(dir / "rx.log", dir / "rx.log.kept");
    std::filesystem::create_symlink(dir / "secret.txt", dir / "rx.log");
    const auto swapped = client.Get("/logs/rx.log");
    ASSERT_TRUE(swapped);
    EXPECT_EQ(swapped->status, 404);
    EXPECT_EQ(swapped->body.find("root:"), std::string::npos);
    std::filesystem::remove(dir / "rx.log");
    std::filesystem::copy_file(dir / "rx.log.kept", dir / "rx.log");
    EXPECT_EQ(client.Get("/logs/rx.log")->status, 404);
    EXPECT_EQ(client.Get("/logs/rx.log.csv")->status, 404);
  }

  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  // A client that trickles its request a byte at a time, each well within the wait for the
  // next, is dropped once the request has taken five seconds.
  {
    const int trickling = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_EQ(::connect(trickling, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string request = "GET / HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                                "\r\nX-Slow: " + std::string(200, 's');
    const auto start = std::chrono::steady_clock::now();
    std::size_t sent = 0;
    char answer[512];
    while (sent < request.size() &&
           ::send(trickling, request.data() + sent, 1, MSG_NOSIGNAL) == 1 &&
           ::recv(trickling, answer, sizeof answer, MSG_DONTWAIT) != 0) {
      ++sent;
      std::this_thread::sleep_for(100ms);
    }
    const auto lasted = std::chrono::steady_clock::now() - start;
    ::close(trickling);
    EXPECT_LT(sent, request.size());
    EXPECT_GE(lasted, 4500ms);
    EXPECT_LT(lasted, 15s);  // its workers run at a low priority
  }

  // A stop with one client in the middle of a request and another polling.
  const int stalled = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_EQ(::connect(stalled, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_GT(::send(stalled, "GET /chart.png HTTP/1.1\r\nHo", 27, MSG_NOSIGNAL), 0);
  std::atomic<bool> polling = true;
  std::thread poller([&] {
    httplib::Client c("127.0.0.1", port);
    c.set_connection_timeout(1, 0);
    while (polling) c.Get("/chart.png");
  });
  std::this_thread::sleep_for(200ms);
  run.signal(SIGTERM);
  const int exitStatus = run.waitForExit(15s);
  polling = false;
  poller.join();
  ::close(stalled);
  EXPECT_EQ(exitStatus, 0) << run.errors();
  // The log is whole: every record ends its line, and it reads back to its last time record.
  const std::string whole = readFile(dir / "rx.log");
  ASSERT_FALSE(whole.empty());
  EXPECT_TRUE(whole.ends_with("\r\n"));
  const std::string exportCommand =
      std::string(ZELKCHART_PATH) + " --export-csv " + p("rx.log") + " >" + p("rx.csv") + " 2>&1";
  EXPECT_EQ(std::system(exportCommand.c_str()), 0) << readFile(dir / "rx.csv");
}

long residentKiB(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("VmRSS:")) return std::atol(line.c_str() + 6);
  }
  return -1;
}

std::string repeated(const std::string& text, std::size_t times) {
  std::string out;
  out.reserve(text.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += text;
  return out;
}

// What a hostile client or a hostile page in the user's browser sends: each request gets the
// status given and its connection closed, no answer carries a log unless it was asked for by the
// server's own name, nothing after a refused head is taken for a request, and the recorder's
// resident size stays put however much is sent.
TEST_F(WebServeTest, HostileRequestsAreRefusedAndClosedAndCostNoMemory) {
  ServedRecorder run(ZELKCHART_PATH,
                     {"--headless", "--realtime", "--input", "synthetic:7", "--log", p("rx.log"),
                      "--serve", "127.0.0.1:0", "--serve-name", "chart.example"},
                     p("stderr.txt"));
  const int port = run.waitForPort();
  ASSERT_GT(port, 0) << run.errors();
  const std::string P = std::to_string(port);
  httplib::Client client("127.0.0.1", port);
  // The log is listed once its first second is written.
  for (int i = 0; i < 100 && client.Get("/logs/rx.log")->status != 200; ++i)
    std::this_thread::sleep_for(50ms);
  ASSERT_EQ(client.Get("/logs/rx.log")->status, 200) << run.errors();
  const long before = residentKiB(run.pid());

  const std::string get = "GET /logs/rx.log HTTP/1.1\r\n";
  const std::string host = "Host: 127.0.0.1:" + P + "\r\n";
  const std::string end = "Connection: close\r\n\r\n";
  const std::string big(10000, 'a');
  struct Case {
    const char* what;
    std::string request;
    int status;
  };
  const std::vector<Case> cases = {
      {"its own address", get + host + end, 200},
      {"localhost", get + "Host: LOCALHOST:" + P + "\r\n" + end, 200},
      {"a --serve-name", get + "Host: chart.example:" + P + "\r\n" + end, 200},
      {"HTTP/1.0 without Host", "GET /logs/rx.log HTTP/1.0\r\n\r\n", 200},
      {"another site's name", get + "Host: evil.example:" + P + "\r\n" + end, 421},
      {"another port", get + "Host: 127.0.0.1:1\r\n" + end, 421},
      {"no Host", get + end, 400},
      {"two Hosts", get + host + host + end, 400},
      {"traversal", "GET /logs/../../../../etc/passwd HTTP/1.1\r\n" + host + end, 400},
      {"escaped traversal", "GET /logs/%2e%2e%2f%2e%2e%2fetc%2fpasswd HTTP/1.1\r\n" + host + end,
       400},
      {"half-escaped traversal", "GET /logs/..%2F..%2Fetc%2Fpasswd HTTP/1.1\r\n" + host + end, 400},
      {"a log it did not write", "GET /logs/passwd HTTP/1.1\r\n" + host + end, 404},
      {"POST", "POST /logs/rx.log HTTP/1.1\r\n" + host + "Content-Length: 0\r\n\r\n", 405},
      {"DELETE", "DELETE /logs/rx.log HTTP/1.1\r\n" + host + "\r\n", 405},
      {"HTTP/2.0", "GET / HTTP/2.0\r\n" + host + "\r\n", 400},
      {"a long target", "GET /" + big + " HTTP/1.1\r\n" + host + end, 414},
      {"a long header line", get + host + "X-Big: " + big + "\r\n" + end, 431},
      {"an endless header line", get + host + "X-Big: " + std::string(4 << 20, 'a'), 431},
      {"101 header lines", get + host + repeated("X: y\r\n", 100) + end, 431},
      {"40 KiB of headers", get + host + repeated("X: " + std::string(500, 'f') + "\r\n", 80) + end,
       431},
      {"endless short header lines", get + host + repeated("X: y\r\n", 1 << 20), 431},
      {"a body", get + host + "Content-Length: 100000\r\n\r\n" + std::string(2000, 'b'), 413},
      {"a body that is a request", get + host + "Content-Length: 41\r\n\r\n" + get + host + "\r\n",
       413},
      {"Transfer-Encoding",
       get + host + "Transfer-Encoding: chunked\r\n\r\n0\r\n\r\n" + get + host + "\r\n", 400},
      {"Content-Length and Transfer-Encoding",
       get + host + "Content-Length: 5\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n", 400},
      {"two Content-Lengths", get + host + "Content-Length: 0\r\nContent-Length: 5\r\n\r\nhello",
       400},
      {"a space before the colon", get + host + "Content-Length : 5\r\n\r\nhello", 400},
      {"a folded line", get + host + "X-A: b\r\n Content-Length: 5\r\n\r\nhello", 400},
  };
  for (const Case& c : cases) {
    bool closed = false;
    const std::string answer = rawExchange(port, c.request, &closed);
    EXPECT_EQ(statusOf(answer), c.status) << c.what << "\n" << answer.substr(0, 300);
    EXPECT_TRUE(closed) << c.what;
    std::size_t statusLines = 0;
    for (auto at = answer.find("HTTP/1."); at != std::string::npos;
         at = answer.find("HTTP/1.", at + 1))
      ++statusLines;
    EXPECT_EQ(statusLines, 1u) << c.what;
    EXPECT_NE(answer.find("Cross-Origin-Resource-Policy: same-origin\r\n"), std::string::npos)
        << c.what;
    if (c.status != 200) {
      EXPECT_EQ(answer.find("\"D\","), std::string::npos) << c.what;
    }
  }

  // Four clients at once sending endless header lines, and as many posting large bodies.
  std::vector<std::thread> flood;
  for (int i = 0; i < 8; ++i) {
    flood.emplace_back([&, i] {
      rawExchange(port, i % 2 == 0
                            ? get + host + "X: " + std::string(16 << 20, 'x')
                            : "POST / HTTP/1.1\r\n" + host + "Content-Length: 200000000\r\n\r\n" +
                                  std::string(16 << 20, 'b'));
    });
  }
  for (std::thread& t : flood) t.join();
  const long after = residentKiB(run.pid());
#ifndef __SANITIZE_ADDRESS__
  // The address sanitizer holds freed memory back (its quarantine): there the size says nothing.
  EXPECT_LT(after - before, 16 * 1024) << before << " KiB before, " << after << " KiB after";
#else
  (void)before, (void)after;
#endif

  // One address is served eight connections at a time: a ninth waits its turn, and is told to
  // come back when none ends.
  std::vector<int> held;
  for (int i = 0; i < 8; ++i) {
    held.push_back(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(held.back(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  }
  std::this_thread::sleep_for(200ms);
  const std::string ninth = rawExchange(port, get + host + end, nullptr, 5);
  EXPECT_EQ(statusOf(ninth), 503) << ninth;
  EXPECT_NE(ninth.find("Retry-After: "), std::string::npos);
  for (const int fd : held) ::close(fd);
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(statusOf(rawExchange(port, get + host + end)), 200);

  run.signal(SIGTERM);
  EXPECT_EQ(run.waitForExit(15s), 0) << run.errors();
}

TEST_F(WebServeTest, APortInUseIsOneLineAndNoRecording) {
  // The port's holder would share it: the recorder must not.
  const int taken = ::socket(AF_INET, SOCK_STREAM, 0);
  const int yes = 1;
  ::setsockopt(taken, SOL_SOCKET, SO_REUSEPORT, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::bind(taken, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(taken, 1), 0);
  socklen_t length = sizeof address;
  ::getsockname(taken, reinterpret_cast<sockaddr*>(&address), &length);
  const int port = ntohs(address.sin_port);
  ServedRecorder run(
      ZELKCHART_PATH,
      {"--headless", "--seconds", "1", "--log", p("never.log"), "--serve", std::to_string(port)},
      p("stderr.txt"));
  EXPECT_EQ(run.waitForExit(10s), 2);
  ::close(taken);
  EXPECT_EQ(run.errors(), "zelkchart: cannot serve on http://127.0.0.1:" + std::to_string(port) +
                              "/: the port is in use\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "never.log"));
}

// Runs chromium headless on the page and returns the document as it stands after the given
// virtual time. As root chromium needs --no-sandbox; it is given a profile of its own.
std::string browserDom(const std::filesystem::path& dir, int port) {
  const std::string command =
      "chromium --headless --no-sandbox --disable-gpu --no-first-run --user-data-dir=" +
      (dir / "chromium").string() +
      " --virtual-time-budget=3500 --dump-dom http://127.0.0.1:" + std::to_string(port) + "/ >" +
      (dir / "dom.html").string() + " 2>" + (dir / "chromium.txt").string();
  if (std::system(command.c_str()) != 0) return "";
  return readFile(dir / "dom.html");
}

std::string liveValue(const std::string& dom, const std::string& key) {
  const std::string marker = "data-live=\"" + key + "\">";
  const auto at = dom.find(marker);
  if (at == std::string::npos) return "";
  const auto from = at + marker.size();
  return dom.substr(from, dom.find('<', from) - from);
}

TEST_F(WebServeTest, ThePageShowsTheChartAndKeepsItUpToDateInABrowser) {
  if (std::system("command -v chromium >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "chromium is not installed (scripts/install-deps.sh installs it)";
  ServedRecorder run(ZELKCHART_PATH,
                     {"--headless", "--realtime", "--start-time", "09:00:00", "--log", p("rx.log"),
                      "--serve", "0"},
                     p("stderr.txt"));
  const int port = run.waitForPort();
  ASSERT_GT(port, 0) << run.errors();
  std::this_thread::sleep_for(1500ms);

  // (Without scripting the page is the one the other test reads: chromium's --dump-dom itself
  // needs scripting.) The page is loaded with the values of one second and the chart of then;
  // a few seconds on, the values have moved on and the chart has been swapped for a newer one
  // once it loaded.
  httplib::Client client("127.0.0.1", port);
  const auto before = client.Get("/status.json");
  ASSERT_TRUE(before);
  const std::string loadedAt = before->body.substr(10, 8);
  // The browser's virtual time runs ahead of the recorder's clock while nothing loads: one that
  // starts within the second it was loaded in can see no later second, so it looks again.
  std::string live;
  for (int attempt = 0; attempt < 5; ++attempt) {
    live = browserDom(dir, port);
    if (live.empty() || liveValue(live, "clock") > loadedAt) break;
  }
  ASSERT_FALSE(live.empty()) << readFile(dir / "chromium.txt");
  EXPECT_GT(liveValue(live, "clock"), loadedAt) << live;
  EXPECT_EQ(liveValue(live, "status"), "Logging to rx.log");
  EXPECT_EQ(liveValue(live, "recording"), "yes");
  EXPECT_EQ(liveValue(live, "log"), "rx.log");
  EXPECT_EQ(liveValue(live, "sampleMs"), "50");
  EXPECT_NE(live.find("src=\"http://127.0.0.1:" + std::to_string(port) + "/chart.png?t="),
            std::string::npos)
      << live;
  run.signal(SIGTERM);
  EXPECT_EQ(run.waitForExit(15s), 0) << run.errors();
}

}  // namespace
}  // namespace recorder::web
