// Logging: when the file is chosen, what is written, byte for byte, and when it stops.
#include "form_fixture.h"
#include "recorder/log_rotation.h"

namespace recorder::testing {
namespace {

TEST_F(FormTest, KnownInputGivesAByteExactLog) {
  const std::string log = path("night.log");
  prompter.inputs.push_back(std::string("14:05:08"));
  form.command2Click();
  form.enableLoggingClick();
  EXPECT_TRUE(form.enableLoggingChecked());
  prompter.files.push_back(log);
  form.scrollClick();
  EXPECT_EQ(prompter.filters.at(0), "Log Files (*.log)|*.log|All (*.*)|*.*");
  EXPECT_EQ(form.Text3(), "Logging to night.log");
  form.clockTick();
  std::vector<std::int16_t> block(4000, 0);
  for (std::size_t i = 0; i < 400; ++i) block[400 + i] = static_cast<std::int16_t>(i % 2 ? 1 : 2);
  for (std::size_t i = 0; i < 400; ++i) block[800 + i] = static_cast<std::int16_t>(-32768);
  block[1200] = 1;                                                                       // 1/400
  for (std::size_t i = 0; i < 400; ++i) block[1600 + i] = static_cast<std::int16_t>(i);  // 199.5
  block[2000] = 493;                                                                     // 1.2325
  feed(block);
  form.XVSpinButtonX1().setValue(5);  // the row in force from the next tick on
  form.clockTick();
  form.scrollClick();  // stopping keeps the log open
  EXPECT_TRUE(form.LogFileOpen());
  form.closeFiles();
  EXPECT_EQ(readFile(log),
            "\"T\",#14:05:09#,4\r\n"
            "\"D\",0\r\n\"D\",1.5\r\n\"D\",32768\r\n\"D\",0.0025\r\n\"D\",199.5\r\n"
            "\"D\",1.2325\r\n\"D\",0\r\n\"D\",0\r\n\"D\",0\r\n\"D\",0\r\n"
            "\"T\",#14:05:10#,5\r\n");
}

TEST_F(FormTest, TimeRecordsCarryTheDateOnceTheClockPassesMidnight) {
  const std::string log = path("midnight.log");
  prompter.inputs.push_back(std::string("23:59:59"));
  form.command2Click();
  form.enableLoggingClick();
  prompter.files.push_back(log);
  form.scrollClick();
  form.clockTick();
  form.clockTick();
  form.closeFiles();
  EXPECT_EQ(readFile(log), "\"T\",#1899-12-31#,4\r\n\"T\",#1899-12-31 00:00:01#,4\r\n");
}

TEST_F(FormTest, DailyLogsFollowTheClockAcrossStopAndStart) {
  const std::string log = path("rx.log");
  form.setDailyLogRotation(parseIsoDay("2026-12-31"));
  prompter.inputs.push_back(std::string("23:59:59"));
  form.command2Click();
  form.enableLoggingClick();
  prompter.files.push_back(log);
  form.scrollClick();
  form.clockTick();  // midnight: its record ends the first file, the next day's file opens
  EXPECT_EQ(form.Text3(), "Logging to rx-2027-01-01.log");
  form.clockTick();
  form.scrollClick();
  // Started again with the clock set back to a time of day: the open file keeps its day.
  prompter.inputs.push_back(std::string("10:00:00"));
  form.command2Click();
  form.scrollClick();
  form.clockTick();
  form.closeFiles();
  EXPECT_EQ(readFile(log), "\"T\",#1899-12-31#,4\r\n");
  EXPECT_EQ(readFile(path("rx-2027-01-01.log")),
            "\"T\",#1899-12-31 00:00:01#,4\r\n\"T\",#10:00:01#,4\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
  EXPECT_FALSE(form.logDataLost());
}

TEST_F(FormTest, LoggingTurnedOnWhileRecordingWaitsForTheNextStart) {
  const std::string log = path("later.log");
  form.scrollClick();
  form.enableLoggingClick();
  feedConstant(5);
  form.clockTick();
  EXPECT_TRUE(prompter.filters.empty());  // no file chosen yet
  EXPECT_FALSE(form.LogFileOpen());
  form.scrollClick();
  prompter.files.push_back(log);
  form.scrollClick();
  EXPECT_TRUE(form.LogFileOpen());
  feedConstant(5);
  form.closeFiles();
  EXPECT_EQ(readFile(log).size(), 10 * std::string("\"D\",5\r\n").size());
}

TEST_F(FormTest, LoggingTurnedOffWhileRecordingStopsAtOnce) {
  const std::string log = path("off.log");
  form.enableLoggingClick();
  prompter.files.push_back(log);
  form.scrollClick();
  feedConstant(7, 400);
  form.enableLoggingClick();
  EXPECT_EQ(form.Text3(), "Data logging NOT enabled!");
  EXPECT_FALSE(form.LogFileOpen());
  EXPECT_FALSE(form.enableLoggingChecked());
  feedConstant(7);
  form.clockTick();
  EXPECT_EQ(readFile(log), "\"D\",7\r\n");
  EXPECT_EQ(form.Running(), 1);
}

TEST_F(FormTest, CancellingTheFileDialogRecordsWithoutLogging) {
  form.enableLoggingClick();
  form.scrollClick();  // no file chosen
  EXPECT_EQ(form.Running(), 1);
  EXPECT_FALSE(form.LoggingEnabled());
  EXPECT_FALSE(form.enableLoggingChecked());
  EXPECT_FALSE(form.LogFileOpen());
  EXPECT_EQ(form.Text3(), "Data logging NOT enabled!");
}

TEST_F(FormTest, AnUnwritableLogKeepsRecordingFromStarting) {
  form.enableLoggingClick();
  prompter.files.push_back(path("no/such/folder/x.log"));
  form.scrollClick();
  EXPECT_EQ(form.Running(), 0);
  EXPECT_TRUE(form.LoggingEnabled());
  EXPECT_FALSE(form.LogFileOpen());
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_NE(prompter.messages[0].find("x.log"), std::string::npos);
  // The next Start asks again.
  const std::string log = path("ok.log");
  prompter.files.push_back(log);
  form.scrollClick();
  EXPECT_EQ(form.Running(), 1);
  EXPECT_TRUE(form.LogFileOpen());
}

TEST_F(FormTest, AfterAPlaybackTheLogMustBeAnExistingFileWhichIsEmptied) {
  const std::string old = path("old.log");
  writeFile(old, "\"D\",1\r\n\"T\",#10:00:00#,4\r\n");
  prompter.files.push_back(old);
  form.playbackButtonClick();
  EXPECT_EQ(prompter.flagsSeen.back(), 4096);
  EXPECT_EQ(prompter.filters.back(), "Log Files(*.log)|*.log|All|*.*");
  form.playBackTimerTick();
  ASSERT_FALSE(form.Playing());

  // The dialog keeps its flags: a new name is refused, and logging is off again.
  form.enableLoggingClick();
  prompter.files.push_back(path("new.log"));
  form.scrollClick();
  EXPECT_EQ(prompter.flagsSeen.back(), 4096);
  EXPECT_FALSE(form.LoggingEnabled());
  EXPECT_FALSE(std::filesystem::exists(path("new.log")));
  form.scrollClick();

  // Choosing the played file empties it: a log never appends across openings.
  form.enableLoggingClick();
  prompter.files.push_back(old);
  form.scrollClick();
  EXPECT_TRUE(form.LogFileOpen());
  form.closeFiles();
  EXPECT_EQ(readFile(old), "");
}

TEST_F(FormTest, StartingAPlaybackClosesTheLogButKeepsLoggingChosen) {
  const std::string log = path("rec.log");
  form.enableLoggingClick();
  prompter.files.push_back(log);
  form.scrollClick();
  feedConstant(1, 400);
  form.scrollClick();
  form.playbackButtonClick();  // dialog cancelled: no playback, the log is closed all the same
  EXPECT_FALSE(form.LogFileOpen());
  EXPECT_TRUE(form.LoggingEnabled());
  EXPECT_FALSE(form.Playing());
  EXPECT_EQ(readFile(log), "\"D\",1\r\n");
}

}  // namespace
}  // namespace recorder::testing
