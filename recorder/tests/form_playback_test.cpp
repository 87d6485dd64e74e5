// Playback: one recorded second per tick, and how a playback ends.
#include "form_fixture.h"

#include "recorder/log_number.h"

namespace recorder::testing {
namespace {

class PlaybackTest : public FormTest {
 protected:
  void play(const std::string& name, const std::string& text) {
    writeFile(path(name), text);
    prompter.files.push_back(path(name));
    form.playbackButtonClick();
  }
  static std::string dataRecords(int count, float value) {
    std::string out;
    char number[kMaxNumberText];
    for (int i = 0; i < count; ++i) {
      out += "\"D\",";
      out.append(number, formatSingle(value, number));
      out += "\r\n";
    }
    return out;
  }
};

TEST_F(PlaybackTest, ALogStartingWithATimeRecordDrawsNothingFirst) {
  play("a.log", "\"T\",#14:05:09#,3\r\n" + dataRecords(10, 5) + "\"T\",#14:05:10#,3\r\n" +
                    dataRecords(10, 6) + "\"T\",#14:05:11#,3\r\n");
  EXPECT_TRUE(form.Playing());
  EXPECT_EQ(form.Text3(), "Playback from a.log");
  EXPECT_EQ(form.scrollCaption(), "Stop");
  EXPECT_FALSE(form.XVSpinButtonX1().Enabled());
  EXPECT_TRUE(form.PlayBackTimer().Enabled());
  EXPECT_EQ(chart.writes.back().name, "ChnDspAction");  // the trace is cleared first

  form.playBackTimerTick();
  ASSERT_EQ(chart.chartData.size(), 1u);
  EXPECT_EQ(chart.chartData[0].points, 0);
  EXPECT_EQ(form.TimeDisp(), "14:05:09");
  EXPECT_EQ(form.Text1(), "14:02:09");
  EXPECT_EQ(form.Text2(), "13:59:09");
  EXPECT_EQ(form.XVSpinButtonX1().Value(), 3);
  EXPECT_EQ(form.SamplesPerPoint(), 160);
  EXPECT_FLOAT_EQ(form.SecondsPerPoint(), 0.02f);
  EXPECT_EQ(form.XVLEDPanelX1().Value(), 20);

  form.playBackTimerTick();
  ASSERT_EQ(chart.chartData.size(), 2u);
  EXPECT_EQ(chart.chartData[1].points, 10);
  EXPECT_EQ(chart.chartData[1].ys[0], 5.0f);
  EXPECT_FLOAT_EQ(chart.chartData[1].xs[0], 0.02f * 26.5417f);
  EXPECT_EQ(form.TimeDisp(), "14:05:10");
  EXPECT_TRUE(form.Playing());

  form.playBackTimerTick();  // the last line is a time record: the playback ends here
  EXPECT_EQ(chart.chartData[2].points, 10);
  EXPECT_EQ(chart.chartData[2].ys[9], 6.0f);
  EXPECT_FALSE(form.Playing());
  EXPECT_EQ(form.Text3(), "End of File a.log");
  EXPECT_EQ(form.scrollCaption(), "Start");
  EXPECT_TRUE(form.XVSpinButtonX1().Enabled());
  EXPECT_FALSE(form.PlayBackTimer().Enabled());
}

TEST_F(PlaybackTest, DataWithoutATimeRecordIsDrawnInOneTickThenEnds) {
  play("b.log", dataRecords(25, 9));
  form.playBackTimerTick();
  ASSERT_EQ(chart.chartData.size(), 1u);
  EXPECT_EQ(chart.chartData[0].points, 25);
  EXPECT_EQ(form.Text3(), "End of File b.log");
  EXPECT_FALSE(form.Playing());
}

TEST_F(PlaybackTest, MoreThanTheArraysHoldIsDrawnInParts) {
  play("c.log", dataRecords(900, 2) + "\"T\",#01:00:00#,4\r\n");
  form.playBackTimerTick();
  ASSERT_EQ(chart.chartData.size(), 3u);
  EXPECT_EQ(chart.chartData[0].points, 401);
  EXPECT_EQ(chart.chartData[1].points, 401);
  EXPECT_EQ(chart.chartData[2].points, 98);
  EXPECT_NEAR(chart.chartData[2].xs.back(), 900 * 0.05 * 26.5417, 0.05);  // float steps
  EXPECT_EQ(form.Text3(), "End of File c.log");  // after the note about the parts
}

TEST_F(PlaybackTest, AnInvalidRecordEndsThePlaybackWithoutDrawingItsSecond) {
  play("d.log", dataRecords(3, 1) + "\"T\",#10:00:00#,4\r\n" + dataRecords(2, 1) + "\"X\",1\r\n" +
                    dataRecords(5, 1));
  form.playBackTimerTick();
  form.playBackTimerTick();
  ASSERT_EQ(chart.chartData.size(), 1u);  // the second tick's two records are not drawn
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0], "Invalid log file format!");
  EXPECT_FALSE(form.Playing());
  EXPECT_EQ(form.Text3(), "");
  EXPECT_TRUE(form.XVSpinButtonX1().Enabled());
  EXPECT_EQ(form.scrollCaption(), "Start");
  form.playBackTimerTick();  // the file is closed: a late tick does nothing
  EXPECT_EQ(chart.chartData.size(), 1u);
}

TEST_F(PlaybackTest, AnUnreadableFieldDrawsWhatCameBeforeItAndStops) {
  play("e.log", dataRecords(4, 3) + "\"D\",3,5\r\n\"D\",oops\r\n" + dataRecords(4, 3));
  form.playBackTimerTick();
  // "5" is read as a tag: an invalid record, so nothing of this second is drawn.
  EXPECT_TRUE(chart.chartData.empty());
  EXPECT_EQ(prompter.messages.back(), "Invalid log file format!");

  play("f.log", dataRecords(4, 3) + "\"D\",oops\r\n" + dataRecords(4, 3));
  form.playBackTimerTick();
  ASSERT_EQ(chart.chartData.size(), 1u);
  EXPECT_EQ(chart.chartData[0].points, 4);
  EXPECT_NE(prompter.messages.back().find("Line 5 of f.log"), std::string::npos);
  EXPECT_EQ(form.Text3(), "Playback stopped at line 5 of f.log");
  EXPECT_FALSE(form.Playing());
}

TEST_F(PlaybackTest, RowsOnlyALogReachesAreApplied) {
  play("g.log", "\"T\",#10:00:00#,0\r\n" + dataRecords(250, 4) + "\"T\",#10:00:01#,6\r\n" +
                    dataRecords(10, 4) + "\"T\",#10:00:02#,4\r\n");
  form.playBackTimerTick();
  EXPECT_EQ(form.SamplesPerPoint(), 16);  // row 0, below the spin button's range
  EXPECT_EQ(form.XVLEDPanelX1().Value(), 2);
  EXPECT_EQ(form.sampleSizeRow(), 0);
  form.playBackTimerTick();
  EXPECT_NEAR(chart.chartData.back().xs.back(), 0.5 * 26.5417, 1e-3);
  // Row 6 has no sample size: the row in force stays, and the status line says so.
  EXPECT_EQ(form.SamplesPerPoint(), 16);
  EXPECT_NE(form.Text3().find("row 6"), std::string::npos);
  form.playBackTimerTick();
  EXPECT_EQ(form.SamplesPerPoint(), 400);
}

TEST_F(PlaybackTest, CancelAnsweredNoLeavesThePlaybackRunning) {
  play("h.log", dataRecords(3, 1) + "\"T\",#10:00:00#,4\r\n" + dataRecords(3, 1));
  prompter.answers.push_back(host::vbNo);
  form.playbackButtonClick();
  EXPECT_EQ(prompter.messages.back(), "Cancel current playback?");
  EXPECT_EQ(prompter.styles.back(), host::vbYesNo | host::vbInformation);
  EXPECT_TRUE(form.Playing());
  EXPECT_TRUE(form.PlayBackTimer().Enabled());
  // Scroll pauses and resumes it.
  form.scrollClick();
  EXPECT_FALSE(form.PlayBackTimer().Enabled());
  EXPECT_EQ(form.scrollCaption(), "Start");
  form.scrollClick();
  EXPECT_TRUE(form.PlayBackTimer().Enabled());
  prompter.answers.push_back(host::vbYes);
  form.playbackButtonClick();
  EXPECT_FALSE(form.Playing());
  EXPECT_EQ(form.Text3(), "");
  EXPECT_TRUE(form.XVSpinButtonX1().Enabled());
}

TEST_F(PlaybackTest, PlaybackAlongsideRecordingLocksScroll) {
  form.scrollClick();
  play("i.log", dataRecords(3, 1) + "\"T\",#10:00:00#,4\r\n" + dataRecords(3, 1));
  EXPECT_TRUE(form.Playing());
  EXPECT_EQ(form.Running(), 1);
  form.scrollClick();  // does nothing while both run
  EXPECT_EQ(form.Running(), 1);
  EXPECT_TRUE(form.PlayBackTimer().Enabled());
  form.playBackTimerTick();
  form.playBackTimerTick();
  EXPECT_FALSE(form.Playing());
  form.scrollClick();
  EXPECT_EQ(form.Running(), 0);
}

TEST_F(PlaybackTest, ARecordedLogPlaysBackAsTheSamePoints) {
  const std::string log = path("round.log");
  form.enableLoggingClick();
  prompter.files.push_back(log);
  form.scrollClick();
  form.clockTick();  // the log starts with a time record, as a real one does
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<std::int16_t>(seed >> 16);
  };
  const int rows[] = {4, 4, 2, 2, 5, 5, 3, 3, 4, 4};
  for (int second = 0; second < 5; ++second) {
    for (int half = 0; half < 2; ++half) {
      std::vector<std::int16_t> block(4000);
      for (auto& s : block) s = next();
      feed(block);
    }
    form.XVSpinButtonX1().setValue(rows[second * 2]);
    form.clockTick();
  }
  form.scrollClick();
  const std::vector<float> recordedY = chart.allYs();
  const std::vector<double> recordedX = chart.allXs();
  ASSERT_GT(recordedY.size(), 100u);
  form.XVSpinButtonX1().setValue(4);
  chart.chartData.clear();

  prompter.files.push_back(log);
  form.playbackButtonClick();
  while (form.Playing()) form.playBackTimerTick();
  const std::vector<float> playedY = chart.allYs();
  const std::vector<double> playedX = chart.allXs();
  ASSERT_EQ(playedY.size(), recordedY.size());
  for (std::size_t i = 0; i < playedY.size(); ++i) {
    EXPECT_EQ(playedX[i], recordedX[i]) << i;
    // The log keeps 7 significant digits of each value.
    char text[kMaxNumberText];
    const auto logged = parseSingle(std::string_view(text, formatSingle(recordedY[i], text)));
    EXPECT_EQ(playedY[i], *logged) << i;
    EXPECT_NEAR(playedY[i], recordedY[i], recordedY[i] * 1e-6f) << i;
  }
  EXPECT_EQ(form.Text3(), "End of File round.log");
}

}  // namespace
}  // namespace recorder::testing
