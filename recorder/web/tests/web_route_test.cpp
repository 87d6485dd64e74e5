// The web view's answers decided from the request alone: what is served, what is refused and
// with which status, and where --serve listens.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "serve_address.h"
#include "web_pages.h"
#include "web_route.h"

namespace recorder::web {
namespace {

TEST(WebRoute, ServesOnlyTheViewsPagesAndTheLogsThisRunWrote) {
  const std::vector<std::string> logs = {"rx.log", "rx-2026-12-10.log", "odd name.log",
                                         "plain.csv"};
  struct Case {
    const char* method;
    const char* target;
    WebPage page;
    int status;
    std::size_t log;
  };
  const Case cases[] = {
      {"GET", "/", WebPage::Index, 200, 0},
      {"HEAD", "/", WebPage::Index, 200, 0},
      {"GET", "/chart.png", WebPage::Chart, 200, 0},
      {"GET", "/chart.png?t=1733770000000", WebPage::Chart, 200, 0},
      {"GET", "/status.json", WebPage::Status, 200, 0},
      {"GET", "/day.png?t=1", WebPage::Today, 200, 0},
      {"GET", "/logs/", WebPage::LogList, 200, 0},
      {"GET", "/logs/rx.log", WebPage::LogFile, 200, 0},
      {"GET", "/logs/rx.log.csv", WebPage::LogCsv, 200, 0},
      {"GET", "/logs/rx.log.png", WebPage::LogPlot, 200, 0},
      {"HEAD", "/logs/rx-2026-12-10.log", WebPage::LogFile, 200, 1},
      {"GET", "/logs/odd%20name.log.csv", WebPage::LogCsv, 200, 2},
      {"GET", "/logs/%72x.log", WebPage::LogFile, 200, 0},
      // A log whose own name ends in .csv is that file; its export is NAME.csv.csv.
      {"GET", "/logs/plain.csv", WebPage::LogFile, 200, 3},
      {"GET", "/logs/plain.csv.csv", WebPage::LogCsv, 200, 3},
      // Other methods, on any path.
      {"POST", "/", WebPage::Refused, 405, 0},
      {"PUT", "/logs/rx.log", WebPage::Refused, 405, 0},
      {"DELETE", "/logs/rx.log", WebPage::Refused, 405, 0},
      {"OPTIONS", "/", WebPage::Refused, 405, 0},
      {"TRACE", "/", WebPage::Refused, 405, 0},
      {"get", "/", WebPage::Refused, 405, 0},
      // Traversal, raw and percent-encoded, in every spelling.
      {"GET", "/logs/../../etc/passwd", WebPage::Refused, 400, 0},
      {"GET", "/logs/..", WebPage::Refused, 400, 0},
      {"GET", "/logs/%2e%2e/%2e%2e/etc/passwd", WebPage::Refused, 400, 0},
      {"GET", "/logs/%2E%2E%2Fsecret", WebPage::Refused, 400, 0},
      {"GET", "/logs/.%2e/rx.log", WebPage::Refused, 400, 0},
      {"GET", "/./chart.png", WebPage::Refused, 400, 0},
      {"GET", "/logs/rx.log/..", WebPage::Refused, 400, 0},
      {"GET", "/logs/%2fetc%2fpasswd", WebPage::Refused, 400, 0},
      {"GET", "/logs/sub/rx.log", WebPage::Refused, 400, 0},
      {"GET", "/logs/rx.log%00.csv", WebPage::Refused, 400, 0},
      {"GET", "/logs/rx%2", WebPage::Refused, 400, 0},
      {"GET", "/logs/rx%zz", WebPage::Refused, 400, 0},
      // Not a path of this server.
      {"GET", "http://example.com/", WebPage::Refused, 400, 0},
      {"GET", "*", WebPage::Refused, 400, 0},
      {"GET", "", WebPage::Refused, 400, 0},
      {"GET", "/index.html", WebPage::Refused, 404, 0},
      {"GET", "/logs", WebPage::Refused, 404, 0},
      {"GET", "/chart.png/", WebPage::Refused, 404, 0},
      {"GET", "/logs/day.png", WebPage::Refused, 404, 0},
      {"GET", "//logs/rx.log", WebPage::Refused, 404, 0},
      // Names this run did not write, near and far.
      {"GET", "/logs/other.log", WebPage::Refused, 404, 0},
      {"GET", "/logs/RX.LOG", WebPage::Refused, 404, 0},
      {"GET", "/logs/rx.log.bmp", WebPage::Refused, 404, 0},
      {"GET", "/logs/.csv", WebPage::Refused, 404, 0},
      {"GET", "/logs/rx.log.csv.png", WebPage::Refused, 404, 0},
      {"GET", "/logs/odd+name.log", WebPage::Refused, 404, 0},
      {"GET", "/logs/passwd", WebPage::Refused, 404, 0},
  };
  for (const Case& c : cases) {
    const WebRoute route = routeWebRequest(c.method, c.target, logs);
    EXPECT_EQ(route.page, c.page) << c.method << " " << c.target;
    EXPECT_EQ(route.status, c.status) << c.method << " " << c.target;
    if (c.page == WebPage::LogFile || c.page == WebPage::LogCsv || c.page == WebPage::LogPlot) {
      EXPECT_EQ(route.log, c.log) << c.target;
    }
  }
  // Every name, encoded as the log list links it, comes back as itself.
  const std::vector<std::string> hostile = {"a b&c<d>.log", "100%.log", "ü.log", "q?x#y.log"};
  for (std::size_t i = 0; i < hostile.size(); ++i) {
    const WebRoute route =
        routeWebRequest("GET", "/logs/" + percentEncodeName(hostile[i]), hostile);
    EXPECT_EQ(route.page, WebPage::LogFile) << hostile[i];
    EXPECT_EQ(route.log, i) << hostile[i];
  }
}

TEST(WebPages, EscapeWhatTheRecorderSaysForWhereItStands) {
  WebStatus s;
  s.clock = "12:00:00";
  s.statusLine = "Logging to <script>alert(1)</script>&\".log";
  s.log = "quote\"back\\slash\nline.log";
  s.input = "C:\\x\t";
  s.date = "caf\xe9 \xc3\xa9";  // a stray Latin-1 byte, then UTF-8
  s.level = "12.5";
  const std::string json = statusJson(s);
  EXPECT_NE(json.find(R"("log":"quote\"back\\slash\u000aline.log")"), std::string::npos) << json;
  EXPECT_NE(json.find(R"("input":"C:\\x\u0009")"), std::string::npos) << json;
  EXPECT_NE(json.find(R"("level":12.5,)"), std::string::npos) << json;
  EXPECT_NE(json.find("\"date\":\"caf\\ufffd \xc3\xa9\""), std::string::npos) << json;
  const std::string page = indexPage(s);
  EXPECT_EQ(page.find("<script>alert"), std::string::npos);
  EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;&amp;&quot;.log"), std::string::npos);
  EXPECT_EQ(page.find("src=\"http"), std::string::npos) << "nothing loads from elsewhere";
  const std::string list = logListPage({{"<b>.log", 7}});
  EXPECT_NE(list.find("href=\"/logs/%3Cb%3E.log.csv\""), std::string::npos) << list;
  EXPECT_NE(list.find("&lt;b&gt;.log</a></td><td>7 bytes"), std::string::npos) << list;
}

TEST(ServeAddress, ReadsPortAndAddress) {
  struct Case {
    const char* text;
    bool valid;
    const char* host;
    int port;
  };
  const Case cases[] = {
      {"8080", true, "127.0.0.1", 8080},
      {"0", true, "127.0.0.1", 0},
      {"0.0.0.0:80", true, "0.0.0.0", 80},
      {"localhost:65535", true, "localhost", 65535},
      {"[::1]:8080", true, "::1", 8080},
      {"[::]:1", true, "::", 1},
      {"65536", false, "", 0},
      {"-1", false, "", 0},
      {"", false, "", 0},
      {":8080", false, "", 0},
      {"host:", false, "", 0},
      {"::1:8080", false, "", 0},
      {"[::1:8080", false, "", 0},
      {"[]:80", false, "", 0},
      {"a b:80", false, "", 0},
      {"8080x", false, "", 0},
      {"0000080", false, "", 0},
  };
  for (const Case& c : cases) {
    const auto address = parseServeAddress(c.text);
    ASSERT_EQ(address.has_value(), c.valid) << c.text;
    if (!c.valid) continue;
    EXPECT_EQ(address->host, c.host) << c.text;
    EXPECT_EQ(address->port, c.port) << c.text;
  }
  EXPECT_EQ(serveUrl("::1", 80), "http://[::1]:80/");
}

}  // namespace
}  // namespace recorder::web
