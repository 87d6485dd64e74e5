// What keeps a log's records safe: whole records only when the disk fills, logging that resumes,
// files that are never emptied in unattended runs, and readers that refuse a record cut short.
#include <sys/resource.h>

#include <csignal>

#include "form_fixture.h"
#include "recorder/csv_export.h"
#include "recorder/log_reader.h"
#include "recorder/log_rotation.h"

namespace recorder::testing {
namespace {

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Every record whole: read back, none unreadable or cut, and the file ends with a line end.
void expectWholeRecords(const std::string& file, const std::string& text) {
  std::FILE* in = std::fopen(file.c_str(), "rb");
  ASSERT_NE(in, nullptr) << file;
  LogReader reader;
  reader.attach(in);
  while (!reader.atEnd()) {
    const LogRecord r = reader.next();
    EXPECT_TRUE(r.kind == LogRecord::Kind::Data || r.kind == LogRecord::Kind::Time) << r.line;
    EXPECT_FALSE(r.unterminated) << r.line;
  }
  std::fclose(in);
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << file;
}

class LogSafetyTest : public FormTest {
 protected:
  void startLogging(const std::string& name, const char* clock) {
    prompter.inputs.push_back(std::string(clock));
    form.command2Click();
    form.enableLoggingClick();
    prompter.files.push_back(path(name));
    form.scrollClick();
  }
  // A second of signal: two blocks of ten points, then the clock's tick.
  void second() {
    feedConstant(1234, 4000);
    feedConstant(-17, 4000);
    form.clockTick();
  }
};

// The file size limit stands in for a full disk: writes past it are refused, partly at first.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    old_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, old_);
  }

 private:
  rlimit saved_{};
  void (*old_)(int) = nullptr;
};

TEST_F(LogSafetyTest, AFullDiskLosesWholeSecondsAndLoggingResumesWhenThereIsRoom) {
  startLogging("full.log", "10:00:00");
  second();
  second();
  const std::size_t kept = readFile(path("full.log")).size();
  {
    // Room for part of the next second only.
    FileSizeLimit full(kept + 50);
    second();
    EXPECT_NE(form.Text3().find("Logging paused"), std::string::npos) << form.Text3();
    second();
    second();
    EXPECT_TRUE(prompter.messages.empty());
  }
  second();
  second();
  form.closeFiles();
  const std::string log = readFile(path("full.log"));
  expectWholeRecords(path("full.log"), log);
  EXPECT_EQ(count(log, "\"T\","), 4u);
  EXPECT_EQ(count(log, "\"D\","), 80u);
  EXPECT_NE(log.find("\"T\",#10:00:02#,4\r\n\"D\""), std::string::npos);
  EXPECT_EQ(log.substr(log.rfind("\"T\"")), "\"T\",#10:00:07#,4\r\n");
  // One message for the gap, saying when it began and when logging resumed.
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_NE(prompter.messages[0].find("10:00:02"), std::string::npos) << prompter.messages[0];
  EXPECT_NE(prompter.messages[0].find("resumed"), std::string::npos);
  EXPECT_NE(prompter.messages[0].find("10:00:06"), std::string::npos);
  EXPECT_EQ(form.Text3(), "Logging to full.log");
  EXPECT_TRUE(form.logDataLost());
}

TEST_F(LogSafetyTest, ADayFileThatCannotBeMadePausesLoggingUntilItCan) {
  form.setDailyLogRotation(parseIsoDay("2026-12-31"));
  startLogging("d.log", "23:59:58");
  const std::string next = path("d-2027-01-01.log");
  std::filesystem::create_directory(next);  // in the way of the new day's file
  second();
  second();  // midnight
  second();
  EXPECT_TRUE(form.logPaused());
  std::filesystem::remove(next);
  second();
  form.closeFiles();
  EXPECT_EQ(count(readFile(path("d.log")), "\"T\","), 2u);
  const std::string day = readFile(next);
  EXPECT_EQ(day.substr(day.rfind("\"T\"")), "\"T\",#1899-12-31 00:00:02#,4\r\n");
  EXPECT_EQ(count(readFile(next), "\"D\","), 20u);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_NE(prompter.messages[0].find("resumed"), std::string::npos);
}

TEST_F(LogSafetyTest, ARunEndingAtMidnightLeavesNoEmptyDayFile) {
  form.setDailyLogRotation(parseIsoDay("2026-12-31"));
  startLogging("m.log", "23:59:58");
  second();
  second();  // midnight: the first file is complete
  form.scrollClick();
  form.closeFiles();
  EXPECT_EQ(count(readFile(path("m.log")), "\"T\","), 2u);
  EXPECT_FALSE(std::filesystem::exists(path("m-2027-01-01.log")));
  EXPECT_FALSE(form.logDataLost());
}

TEST_F(LogSafetyTest, UnattendedLogsNeverEmptyAFileThatHoldsRecords) {
  const struct {
    std::vector<std::pair<std::string, std::string>> files;  // name, contents before the run
    const char* expected;                                    // the file the run logs to
  } cases[] = {
      {{}, "u.log"},
      {{{"u.log", ""}}, "u.log"},
      {{{"u.log", "\"T\",#09:00:00#,4\r\n"}}, "u-2.log"},
      {{{"u.log", "x"}, {"u-2.log", "y"}}, "u-3.log"},
      {{{"u.log", "x"}, {"u-2.log", ""}}, "u-2.log"},
  };
  form.setKeepLogRecords(true);
  for (const auto& c : cases) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    for (const auto& [name, text] : c.files) writeFile(path(name), text);
    prompter.messages.clear();
    if (!form.LoggingEnabled()) form.enableLoggingClick();
    prompter.files.push_back(path("u.log"));
    form.scrollClick();
    second();
    form.scrollClick();
    form.closeFiles();
    EXPECT_EQ(form.LogFileName(), path(c.expected));
    EXPECT_EQ(count(readFile(path(c.expected)), "\"T\","), 1u) << c.expected;
    for (const auto& [name, text] : c.files) {
      if (name != c.expected) {
        EXPECT_EQ(readFile(path(name)), text) << name;
      }
    }
    // The operator is told once where the log went, and only when it moved.
    EXPECT_EQ(prompter.messages.size(), std::string(c.expected) == "u.log" ? 0u : 1u);
  }
  // Dated files alike.
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  writeFile(path("u-2027-01-01.log"), "kept");
  form.setDailyLogRotation(parseIsoDay("2026-12-31"));
  prompter.inputs.push_back(std::string("23:59:59"));
  form.command2Click();
  prompter.files.push_back(path("u.log"));
  form.scrollClick();
  second();
  second();
  form.closeFiles();
  EXPECT_EQ(readFile(path("u-2027-01-01.log")), "kept");
  EXPECT_EQ(count(readFile(path("u-2027-01-01-2.log")), "\"T\","), 1u);
}

// Logs that end in a record cut short, or hold a record that is not one: playback and the CSV
// export both refuse them at the record's line.
TEST_F(LogSafetyTest, ACutOrInvalidRecordIsReportedWithItsLine) {
  const struct {
    const char* text;
    int line;  // 0: the log is whole
  } cases[] = {
      {"\"T\",#10:00:00#,4\r\n\"D\",2289.323\r\n\"D\",228", 3},
      {"\"T\",#10:00:00#,4\r\n\"D\",2289.323\r", 2},
      {"\"D\",1\r\n\"T\",#10:00:01#,4", 2},
      {"\"D\",1\r\n\"T\",#10:00:01#,4\r\n\r\n\"X\",1\r\n", 4},
      {"\"D\",1\r\n\"T\",#10:00:01#,4\r\n", 0},
      {"\"D\",1\n\"T\",#10:00:01#,4\n", 0},
  };
  for (const auto& c : cases) {
    writeFile(path("c.log"), c.text);
    std::string error;
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(exportCsv(path("c.log"), std::nullopt, 0, out, error), c.line == 0) << c.text;
    std::fclose(out);
    if (c.line != 0) {
      EXPECT_NE(error.find("ine " + std::to_string(c.line)), std::string::npos) << error;
    }
    prompter.files.push_back(path("c.log"));
    form.playbackButtonClick();
    for (int tick = 0; tick < 5 && form.Playing(); ++tick) form.playBackTimerTick();
    EXPECT_EQ(form.playbackRefused(), c.line != 0) << c.text;
    EXPECT_EQ(form.playbackRefusedLine(), c.line) << c.text;
  }
}

TEST_F(LogSafetyTest, DataWithoutTimeRecordsIsReadInBoundedPieces) {
  std::string text;
  for (int i = 0; i < 150000; ++i) text += "\"D\",1\r\n";
  writeFile(path("big.log"), text);
  std::string error;
  std::FILE* out = std::tmpfile();
  EXPECT_FALSE(exportCsv(path("big.log"), std::nullopt, 0, out, error));
  std::fclose(out);
  EXPECT_NE(error.find("Line 65537"), std::string::npos) << error;

  prompter.files.push_back(path("big.log"));
  form.playbackButtonClick();
  int ticks = 0;
  while (form.Playing() && ticks < 10) {
    chart.chartData.clear();
    form.playBackTimerTick();
    ++ticks;
    int points = 0;
    for (const auto& call : chart.chartData) points += call.points;
    EXPECT_LE(points, static_cast<int>(kMaxRecordsPerPiece));
  }
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(form.playbackRefused());
}

}  // namespace
}  // namespace recorder::testing
