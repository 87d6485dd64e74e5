// Live recording: start-up state, blocks to points, the clock and its labels, the Time box.
#include "form_fixture.h"

namespace recorder::testing {
namespace {

TEST_F(FormTest, StartsIdleWithTheStoredDisplays) {
  EXPECT_EQ(form.XVLEDPanelX1().Value(), 50);
  EXPECT_EQ(form.XVLEDPanelX2().Value(), 30);
  EXPECT_EQ(form.XVLEDPanelX3().Value(), 8);
  EXPECT_EQ(form.XVLEDPanelX1().text(), " 50");
  EXPECT_EQ(form.XVLEDPanelX3().text(), "8");
  EXPECT_EQ(form.Text3(), "Data logging NOT enabled!");
  EXPECT_EQ(form.scrollCaption(), "Start");
  EXPECT_EQ(form.Running(), 0);
  EXPECT_FALSE(form.XVHiTimerX1().Enabled());
  EXPECT_FALSE(form.PlayBackTimer().Enabled());
  EXPECT_TRUE(form.PlayBackTimer().WaitForTerminate());
  EXPECT_EQ(form.XVWaveInX1().SampleRate(), 8000);
  EXPECT_EQ(form.XVWaveInX1().BufferSize(), 8000);
  EXPECT_EQ(form.LogFileName(), "Zelk.log");
  EXPECT_TRUE(chart.chartData.empty());
}

TEST_F(FormTest, BlockBecomesOneChartDataCallOfTenMeans) {
  form.scrollClick();
  ASSERT_EQ(form.Running(), 1);
  EXPECT_EQ(form.scrollCaption(), "Stop");
  EXPECT_TRUE(form.XVHiTimerX1().Enabled());
  std::vector<std::int16_t> block(4000);
  for (std::size_t i = 0; i < block.size(); ++i) {
    block[i] = static_cast<std::int16_t>((i % 2 ? -1 : 1) * static_cast<int>(i / 400 * 10 + 5));
  }
  feed(block);
  ASSERT_EQ(chart.chartData.size(), 1u);
  const auto& call = chart.chartData[0];
  EXPECT_EQ(call.channel, 1);
  EXPECT_EQ(call.points, 10);
  EXPECT_EQ(call.yOffset, 0);
  EXPECT_EQ(call.xOffset, 0);
  EXPECT_TRUE(call.byReferenceArrays);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(call.ys[i], i * 10.0f + 5.0f);
    EXPECT_EQ(call.xs[i], (i + 1) * static_cast<double>(0.05f * 26.5417f));
  }
  EXPECT_EQ(host.doEventsCalls, 1);

  feedConstant(-32768);
  ASSERT_EQ(chart.chartData.size(), 2u);
  for (float y : chart.chartData[1].ys) EXPECT_EQ(y, 32768.0f);
  EXPECT_NEAR(form.LastX(), 2 * 0.5 * 26.5417, 1e-3);
}

TEST_F(FormTest, SampleSizeChangesAtTheNextBlockAndColoursTheDisplay) {
  form.scrollClick();
  feedConstant(100);
  form.XVSpinButtonX1().setValue(5);  // 100 ms
  EXPECT_EQ(form.XVLEDPanelX1().Value(), 100);
  EXPECT_EQ(form.XVLEDPanelX1().FillColor(), 0x00FF00u);  // 100/30 >= 0.6
  feedConstant(100);
  form.XVSpinButtonX1().setValue(2);  // 10 ms: 10/30 < 0.6
  EXPECT_EQ(form.XVLEDPanelX1().FillColor(), 0x00FFFFu);
  feedConstant(100);
  ASSERT_EQ(chart.chartData.size(), 3u);
  EXPECT_EQ(chart.chartData[0].points, 10);
  EXPECT_EQ(chart.chartData[1].points, 5);
  EXPECT_EQ(chart.chartData[2].points, 50);
  const float perBlock = 0.5f * 26.5417f;
  EXPECT_NEAR(chart.chartData[0].xs.back(), perBlock, 1e-3);
  EXPECT_NEAR(chart.chartData[1].xs.back(), 2 * perBlock, 1e-3);
  EXPECT_NEAR(chart.chartData[2].xs.back(), 3 * perBlock, 1e-3);
  // Changing the sample size never erases; changing the chart speed does.
  for (const auto& w : chart.writes) EXPECT_FALSE(w.name == "ChnDspAction" && w.number == 2);
}

TEST_F(FormTest, EmptyAndOversizedBlocks) {
  form.scrollClick();
  std::vector<std::int16_t> buffer(4000, 9);
  WAVEHDR empty{};
  empty.lpData = reinterpret_cast<char*>(buffer.data());
  empty.dwBufferLength = 8000;
  form.bufferReady(&empty);  // nothing recorded: no points, but the call is made
  ASSERT_EQ(chart.chartData.size(), 1u);
  EXPECT_EQ(chart.chartData[0].points, 0);

  feedConstant(3, 8000);  // twice the block: drawn in two parts, nothing dropped
  ASSERT_EQ(chart.chartData.size(), 3u);
  EXPECT_EQ(chart.chartData[1].points, 10);
  EXPECT_EQ(chart.chartData[2].points, 10);
  EXPECT_EQ(chart.chartData[2].ys[9], 3.0f);
  EXPECT_EQ(prompter.messages.size(), 1u);
  feedConstant(3, 8000);
  EXPECT_EQ(prompter.messages.size(), 1u);  // told once
}

TEST_F(FormTest, StopThenStartClearsTheTraceAndRestartsX) {
  form.scrollClick();
  feedConstant(10);
  form.scrollClick();
  EXPECT_EQ(form.Running(), 0);
  EXPECT_EQ(form.LastX(), 0.0);
  EXPECT_FALSE(form.XVHiTimerX1().Enabled());
  const std::size_t from = chart.writes.size();
  form.scrollClick();
  EXPECT_EQ(chart.writes.back().name, "ChnDspAction");
  EXPECT_EQ(chart.writes.back().number, 1);
  EXPECT_GT(chart.writes.size(), from);
  feedConstant(10);
  EXPECT_FLOAT_EQ(chart.chartData.back().xs[0], 0.05f * 26.5417f);
}

TEST_F(FormTest, ClockLabelsWrapAtMidnight) {
  prompter.inputs.push_back(std::string("23:59:59"));
  form.command2Click();
  EXPECT_EQ(prompter.prompts.at(0), "Enter the start time for the data (hh:mm:ss)");
  EXPECT_EQ(prompter.proposed.at(0), "14:05:08");  // the host's time of day
  EXPECT_TRUE(form.StartTimeSet());
  host.clockSeconds = 8 * 3600;  // a later start keeps the typed time
  form.scrollClick();
  form.clockTick();
  EXPECT_EQ(form.TimeDisp(), "00:00:00");
  EXPECT_EQ(form.Text1(), "23:57:00");
  EXPECT_EQ(form.Text2(), "23:54:00");
  form.clockTick();
  EXPECT_EQ(form.TimeDisp(), "00:00:01");
  EXPECT_EQ(form.Text1(), "23:57:01");
  EXPECT_EQ(oleDateToSeconds(form.CurrentTime()), kSecondsPerDay + 1);
}

TEST_F(FormTest, TimeBoxAnswers) {
  prompter.inputs.push_back(std::string("12:00:00"));
  form.command2Click();
  EXPECT_EQ(oleDateToSeconds(form.CurrentTime()), 12 * 3600);
  // Empty: back to the system time, but the typed start time still counts as set.
  prompter.inputs.push_back(std::string(""));
  form.command2Click();
  EXPECT_EQ(oleDateToSeconds(form.CurrentTime()), host.clockSeconds);
  EXPECT_TRUE(form.StartTimeSet());
  // Not a time of day: told, and nothing changes.
  prompter.inputs.push_back(std::string("half past ten"));
  form.command2Click();
  EXPECT_EQ(oleDateToSeconds(form.CurrentTime()), host.clockSeconds);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_NE(prompter.messages[0].find("half past ten"), std::string::npos);
  // Cancelled box: like an empty answer.
  host.clockSeconds = 100;
  form.command2Click();
  EXPECT_EQ(oleDateToSeconds(form.CurrentTime()), 100);
}

TEST_F(FormTest, WithoutAStartTimeRecordingTakesTheSystemTime) {
  host.clockSeconds = 3600;
  form.scrollClick();
  form.clockTick();
  EXPECT_EQ(form.TimeDisp(), "01:00:01");
  EXPECT_EQ(form.Text2(), "00:54:01");
}

TEST_F(FormTest, ExitStopsTheInputAndEndsTheProgram) {
  form.scrollClick();
  EXPECT_TRUE(form.XVWaveInX1().Running());
  form.exitClick();
  EXPECT_FALSE(form.XVWaveInX1().Running());
  EXPECT_TRUE(host.ended);
}

TEST_F(FormTest, ChartErrorsAreShownNotFatal) {
  class RefusingChart : public FakeChart {
   public:
    void put(automation::DispId, const automation::Variant&) override {
      throw automation::AutomationError::standard(380);
    }
  } refusing;
  ZelkChrtForm other(refusing, host, prompter);
  other.load();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_NE(prompter.messages[0].find("380"), std::string::npos);
}

TEST_F(FormTest, BuffersTakenInPartsFollowTheWholeBufferRules) {
  struct Case {
    const char* what;
    std::uint32_t length;
    std::uint32_t recorded;
    bool data;
    int points;  // what the parts plot and log together
  };
  const Case cases[] = {
      {"full", 16000, 16000, true, 20},        {"partly recorded", 16000, 12000, true, 15},
      {"nothing recorded", 16000, 0, true, 0}, {"nothing recorded, no data", 24000, 0, false, 0},
      {"no data", 16000, 16000, false, 0},     {"negative count", 16000, 0x80000000u, true, 0},
  };
  form.enableLoggingClick();
  prompter.files.push_back(path("parts.log"));
  form.scrollClick();
  std::vector<std::int16_t> buffer(12000, 7);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t calls = chart.chartData.size();
    WAVEHDR hdr{};
    hdr.lpData = c.data ? reinterpret_cast<char*>(buffer.data()) : nullptr;
    hdr.dwBufferLength = c.length;
    hdr.dwBytesRecorded = c.recorded;
    form.bufferReady(&hdr);
    int points = 0;
    for (std::size_t i = calls; i < chart.chartData.size(); ++i)
      points += chart.chartData[i].points;
    EXPECT_EQ(points, c.points);
  }
  form.closeFiles();
  const std::string log = readFile(path("parts.log"));
  std::size_t records = 0;
  for (auto at = log.find("\"D\","); at != std::string::npos; at = log.find("\"D\",", at + 1)) {
    ++records;
  }
  EXPECT_EQ(records, 35u);  // only the recorded samples are logged
}

}  // namespace
}  // namespace recorder::testing
