// Served logs' heavy answers, the server's module loaded into this process: a large log's CSV is
// what --export-csv writes, in a fixed amount of memory whatever its size, two exports at a time;
// a day plot is drawn only of a log within the server's limit.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "recorder/csv_export.h"
#include "recorder/log_rotation.h"
#include "recorder/log_writer.h"
#include "recorder/ole_date.h"
#include "web_server.h"

namespace recorder::web {
namespace {

using namespace std::chrono_literals;

long statusKiB(const std::string& field) {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with(field + ":")) return std::atol(line.c_str() + field.size() + 1);
  }
  return -1;
}

int connectTo(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ? fd : -1;
}

#ifndef __SANITIZE_ADDRESS__
constexpr std::int64_t kLogSeconds = 40000;
#else
// Where resident size says nothing (below), a smaller log checks the rest in a sanitizer's time.
constexpr std::int64_t kLogSeconds = 4000;
#endif

// A log of 20 points a second (about 225 bytes a second) as big.log, served by the module.
class ServedLogTest : public ::testing::Test {
 protected:
  void TearDown() override { std::filesystem::remove_all(dir); }
  void writeLog(std::int64_t seconds) {
    std::filesystem::create_directories(dir);
    LogWriter log;
    ASSERT_TRUE(log.open(logPath));
    const std::int64_t start = 46000LL * 86400;
    for (std::int64_t s = 1; s <= seconds; ++s) {
      for (int i = 0; i < 20; ++i) log.writeData(static_cast<float>((s * 7 + i) % 4096) / 8.0f);
      log.writeTime(secondsToOleDate(start + s), 4);
    }
    ASSERT_TRUE(log.close());
    ASSERT_EQ(::stat(logPath.c_str(), &info), 0);
  }
  int serve(const WebServerSettings& settings = {}) {  // the port, or -1
    // Where the module cannot be loaded, no handle finds the entry either.
    auto* make = reinterpret_cast<MakeWebServer*>(
        ::dlsym(::dlopen(ZELKCHART_WEB_MODULE, RTLD_NOW | RTLD_LOCAL), kMakeWebServer));
    EXPECT_NE(make, nullptr) << ::dlerror();
    board.publish(std::make_shared<WebSnapshot>(WebSnapshot{
        .png = {}, .status = {}, .logs = {{"big.log", logPath, info.st_dev, info.st_ino}}}));
    server.reset(make != nullptr ? make(board, settings) : nullptr);
    if (!server || server->start(ServeAddress{}) != "") return -1;
    return std::atoi(server->url().c_str() + server->url().rfind(':') + 1);
  }
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("zelkchart_web_stream_" + std::to_string(::getpid()));
  const std::string logPath = (dir / "big.log").string();
  struct stat info {};
  SnapshotBoard board;
  std::unique_ptr<WebServer> server;
};

// A day plot holds its log's points in the recorder's memory: a log over the limit is refused
// and told to the user, one at the limit is drawn.
TEST_F(ServedLogTest, ADayPlotIsDrawnOnlyOfALogWithinTheLimit) {
  writeLog(600);
  const auto size = static_cast<std::uint64_t>(info.st_size);
  const struct {
    std::uint64_t limit;
    int status;
    std::string_view body;
  } cases[] = {{size, 200, "\x89PNG"}, {size - 1, 503, "503 This log is too large to be drawn"}};
  for (const auto& c : cases) {
    httplib::Client client("127.0.0.1", serve({.plottedLogLimit = c.limit}));
    client.set_read_timeout(40, 0);
    const auto res = client.Get("/logs/big.log.png");
    ASSERT_TRUE(res) << c.limit;
    EXPECT_EQ(res->status, c.status) << c.limit << "\n" << res->body;
    EXPECT_EQ(res->body.substr(0, c.body.size()), c.body) << c.limit;
  }
}

TEST_F(ServedLogTest, ALargeLogsCsvIsStreamedInBoundedMemoryTwoAtATime) {
  // About 9 MB of log, 20 points a second over 11 hours: some 24 MB of CSV.
  writeLog(kLogSeconds);
  const std::string expectedPath = (dir / "expected.csv").string();
  {
    std::FILE* out = std::fopen(expectedPath.c_str(), "w");
    std::string error;
    ASSERT_TRUE(exportCsv(logPath, std::nullopt, dayOfChange(info.st_mtime), out, error)) << error;
    std::fclose(out);
  }
  const auto expectedSize = std::filesystem::file_size(expectedPath);

  const int port = serve();
  ASSERT_GT(port, 0);
  const std::string request =
      "GET /logs/big.log.csv HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n\r\n";

  // Two clients that read nothing hold both places once their answers have begun.
  int stalled[2];
  for (int& fd : stalled) {
    fd = connectTo(port);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::send(fd, request.data(), request.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(request.size()));
  }
  for (const int fd : stalled) {
    pollfd p{fd, POLLIN, 0};
    // A first pass over the whole log comes before the first byte: on a loaded machine it may
    // take a while.
    ASSERT_EQ(::poll(&p, 1, 120000), 1);
  }
  httplib::Client client("127.0.0.1", port);
  client.set_read_timeout(60, 0);
  const auto third = client.Get("/logs/big.log.csv");
  ASSERT_TRUE(third) << httplib::to_string(third.error());
  EXPECT_EQ(third->status, 503);
  EXPECT_FALSE(third->get_header_value("Retry-After").empty());
  for (const int fd : stalled) ::close(fd);

  // The places come free once those clients are gone; then a whole export, compared piece by
  // piece with the file as it arrives.
  std::ifstream expected(expectedPath, std::ios::binary);
  std::uint64_t received = 0;
  bool same = true;
  std::vector<char> piece;
  int status = 0;
  const long residentBefore = statusKiB("VmRSS");
  std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
  // A loaded machine may take a while to let the stalled answers go.
  for (int attempt = 0; attempt < 600 && status != 200; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(100ms);
    client.Get(
        "/logs/big.log.csv",
        [&status](const httplib::Response& r) {
          status = r.status;
          return r.status == 200;
        },
        [&](const char* data, std::size_t length) {
          piece.resize(length);
          expected.read(piece.data(), static_cast<std::streamsize>(length));
          same = same && expected.gcount() == static_cast<std::streamsize>(length) &&
                 std::memcmp(piece.data(), data, length) == 0;
          received += length;
          return same;
        });
  }
  const long peak = statusKiB("VmHWM");
  EXPECT_EQ(status, 200);
  EXPECT_TRUE(same);
  EXPECT_EQ(received, expectedSize);
#ifndef __SANITIZE_ADDRESS__
  // The address sanitizer holds freed memory back (its quarantine): there the size says nothing.
  EXPECT_GT(expectedSize, 20u << 20);
  EXPECT_LT(peak - residentBefore, 16 * 1024) << residentBefore << " KiB before, peak " << peak;
#else
  (void)peak, (void)residentBefore;
#endif
}

}  // namespace
}  // namespace recorder::web
