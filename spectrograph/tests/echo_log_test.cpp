// The echo counter's files: hours and months rolling over, hours nobody observed, a run started
// again, and files it will not append to.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "scratch_folder.h"
#include "spectrograph/echo_log.h"
#include "util/calendar.h"

namespace spectrograph {
namespace {

double at(int year, unsigned month, unsigned day, int h, int m) {
  return static_cast<double>(util::daysFromCivil(year, month, day)) * 86400.0 + h * 3600 + m * 60;
}

Echo echoAt(double start) { return Echo{start, 0.5, 1000.25, 18.04, -31.26}; }

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// The cell of a matrix line for an hour, trimmed.
std::string cell(const std::string& line, int hour) {
  std::string field = line.substr(std::size_t(4 + 5 * hour), 4);
  return field.substr(field.find_first_not_of(' '));
}

class EchoLogTest : public zelk::test::ScratchFolder {
 protected:
  EchoFiles files() const { return {p("events.csv"), p("counts.csv"), p("rmob.txt")}; }

  // One run: echoes at the given times, the clock advancing a minute at a time to the end.
  void run(double from, double to, const std::vector<double>& echoes) {
    EchoLog log;
    ASSERT_EQ(log.open(files(), from), "");
    std::size_t next = 0;
    for (double now = from; now < to; now += 60) {
      while (next < echoes.size() && echoes[next] <= now) log.add(echoAt(echoes[next++]));
      log.advance(now, std::nullopt);
    }
    log.finish(to);
    EXPECT_EQ(log.error(), "");
  }
};

TEST_F(EchoLogTest, HoursAndMonthsRollOverAndARestartAppends) {
  run(at(2026, 11, 30, 23, 30), at(2026, 12, 1, 0, 20),
      {at(2026, 11, 30, 23, 40), at(2026, 11, 30, 23, 50), at(2026, 12, 1, 0, 10)});
  // Started again after a break, within the same hour of the new month.
  run(at(2026, 12, 1, 0, 40), at(2026, 12, 1, 1, 10), {at(2026, 12, 1, 0, 45)});

  EXPECT_EQ(lines(read("counts.csv")),
            (std::vector<std::string>{"hour,echoes,observed_s", "2026-11-30T23:00:00Z,2,1800",
                                      "2026-12-01T00:00:00Z,1,1200", "2026-12-01T00:00:00Z,1,1200",
                                      "2026-12-01T01:00:00Z,0,600"}));
  const auto events = lines(read("events.csv"));
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0], EchoLog::kEventsHeader);
  EXPECT_EQ(events[1], "2026-11-30T23:40:00.000Z,0.500,1000.2,18.0,-31.3");

  const auto november = lines(read("rmob.txt"));
  ASSERT_EQ(november.size(), 31u);
  EXPECT_EQ(november[0].substr(0, 16), "Nov|00h|01h|02h|");
  EXPECT_EQ(november[0].substr(november[0].size() - 8), "22h|23h|");
  EXPECT_EQ(november[30].substr(0, 4), " 30|");
  EXPECT_EQ(cell(november[30], 23), "2");
  EXPECT_EQ(cell(november[30], 22), "???");
  EXPECT_EQ(cell(november[1], 0), "???");
  // The second month has a file of its own; both runs' counts of 00h are added up.
  const auto december = lines(read("rmob-2026-12.txt"));
  ASSERT_EQ(december.size(), 32u);
  EXPECT_EQ(december[0].substr(0, 4), "Dec|");
  EXPECT_EQ(cell(december[1], 0), "2");
  EXPECT_EQ(cell(december[1], 1), "0");
  EXPECT_EQ(cell(december[1], 2), "???");
  EXPECT_EQ(cell(december[31], 23), "???");
}

TEST_F(EchoLogTest, AnHourStaysOpenWhileAnEchoStartedInItIsUndecided) {
  EchoLog log;
  ASSERT_EQ(log.open(files(), at(2026, 3, 1, 5, 0)), "");
  log.advance(at(2026, 3, 1, 6, 0) + 5, at(2026, 3, 1, 5, 59) + 50);
  EXPECT_EQ(lines(read("counts.csv")).size(), 1u);
  log.add(echoAt(at(2026, 3, 1, 5, 59) + 50));
  log.advance(at(2026, 3, 1, 6, 0) + 12, std::nullopt);
  EXPECT_EQ(lines(read("counts.csv")).back(), "2026-03-01T05:00:00Z,1,3600");
  EXPECT_EQ(cell(lines(read("rmob.txt"))[1], 5), "1");
}

TEST_F(EchoLogTest, WillNotAppendToAnotherKindOfFile) {
  std::ofstream(p("events.csv")) << "time,value\n1,2\n";
  EchoLog log;
  EXPECT_NE(log.open(files(), 0).find("first line"), std::string::npos);
}

}  // namespace
}  // namespace spectrograph
