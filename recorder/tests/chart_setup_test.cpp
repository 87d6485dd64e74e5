// The chart is configured by writes whose order matters; these check the sequences the control
// receives when the vertical scale changes, a recording starts and the spin buttons turn. What
// the start-up sets is judged by the picture it draws (chart_picture_test.cpp).
#include <gtest/gtest.h>

#include <utility>

#include "fake_chart.h"
#include "fake_front_end.h"
#include "recorder/zelk_chrt_form.h"

namespace recorder::testing {
namespace {

using Expected = std::vector<std::pair<std::string, double>>;

Expected windowWrites(double divisions, double height) {
  return {{"Wnd_Select", 1},        {"WndXmin", 0},
          {"WndWidth", 9600},       {"MajorDivVert", divisions},
          {"WndHeight", height},    {"WndYmin", 4000},
          {"Scale_Select", 1},      {"ScaleViewport", 1},
          {"ScaleWindow", 1},       {"ScaleDimension", 1},
          {"ScalePen", 4},          {"ScaleLocation", 2},
          {"ScalePosition", 0},     {"ScaleOrientation", 1},
          {"ScalePath", 0},         {"ScaleGap", 1},
          {"ScaleFactor", 0.00025}, {"ScalePlaces", 1},
          {"LabelCaption", 0},      {"LabelPen", 4},
          {"LabelLocation", 1},     {"LabelPosition", 0},
          {"LabelOrientation", 1},  {"LabelPath", 0},
          {"FontBold", 0},          {"FontItalic", 0},
          {"FontName", 0},          {"FontSize", 8},
          {"FontStrikethru", 0},    {"FontUnderline", 0},
          {"ScaleVisibility", 3},   {"ScaleAction", 1}};
}

Expected channelWrites(double offsetY) {
  return {{"Chn_Select", 1},        {"ChnDspViewport", 1},   {"ChnDspWindow", 1},
          {"ChnDspPen", 1},         {"ChnDspBufLen", 16000}, {"ChnDspMode", 1},
          {"ChnDspStyle", 1},       {"ChnDspOffsetX", 0},    {"ChnDspOffsetY", offsetY},
          {"ChnData_Dimension", 1}, {"ChnDataShape", 0},     {"ChnDataType", 6},
          {"ChnDataOffset", 0},     {"ChnDataIncr", 1},      {"ChnDataXform", 0},
          {"ChnData_Dimension", 0}, {"ChnDataShape", 0},     {"ChnDataType", 7},
          {"ChnDataIncr", 1},       {"ChnDataXform", 0},     {"ChnDspAction", 1}};
}

void expectWrites(const FakeChart& chart, std::size_t from, const Expected& expected) {
  ASSERT_EQ(chart.writes.size() - from, expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const PropertyWrite& w = chart.writes[from + i];
    EXPECT_EQ(w.name, expected[i].first) << "write " << i;
    EXPECT_DOUBLE_EQ(w.number, expected[i].second) << w.name << " (write " << i << ")";
  }
}

class ChartSetupTest : public ::testing::Test {
 protected:
  FakeChart chart;
  FakeHost host;
  ScriptedPrompter prompter;
  ZelkChrtForm form{chart, host, prompter};
};

TEST_F(ChartSetupTest, VerticalScaleChangeRerunsWindowThenChannelKeepingOffset) {
  form.load();
  form.XVSpinButtonX3().setValue(6000);
  std::size_t from = chart.writes.size();
  form.XVSpinButtonX4().setValue(0);
  Expected e = windowWrites(5, 4000);
  const Expected channel = channelWrites(6000);
  e.insert(e.end(), channel.begin(), channel.end());
  expectWrites(chart, from, e);
  EXPECT_EQ(form.XVLEDPanelX3().Value(), 2);
  EXPECT_FLOAT_EQ(form.VertFraction(), 0.125f);

  from = chart.writes.size();
  form.XVSpinButtonX4().setValue(1);
  EXPECT_DOUBLE_EQ(chart.writes[from + 3].number, 6);
  EXPECT_DOUBLE_EQ(chart.writes[from + 4].number, 12000);
  EXPECT_EQ(form.XVLEDPanelX3().Value(), 4);
}

TEST_F(ChartSetupTest, StartOfRecordingRerunsOnlyTheWindowThenInitialises) {
  form.load();
  form.XVWaveInX1().setMode(xvtools::XVWaveInX::Mode::Pulled);
  const std::size_t from = chart.writes.size();
  form.scrollClick();
  Expected e = windowWrites(7, 28000);
  e.push_back({"ChnDspAction", 1});
  expectWrites(chart, from, e);
}

TEST_F(ChartSetupTest, SpinButtonsDriveTheChannelCommands) {
  form.load();
  std::size_t from = chart.writes.size();
  form.XVSpinButtonX3().setValue(4100);
  expectWrites(chart, from, {{"ChnDspOffsetY", 4100}, {"ChnDspAction", 9}});
  from = chart.writes.size();
  form.XVSpinButtonX2().setValue(0);
  expectWrites(chart, from, {{"ChnDspAction", 2}});
  EXPECT_FLOAT_EQ(form.SpeedFactor(), 132.7083f);
  EXPECT_EQ(form.XVLEDPanelX2().Value(), 6);
  from = chart.writes.size();
  form.eraseButtonClick();
  expectWrites(chart, from, {{"ChnDspAction", 2}});
}

TEST_F(ChartSetupTest, PrintSendsTheWholeWindowBestFit) {
  form.load();
  form.command1Click();
  ASSERT_EQ(chart.printCalls.size(), 1u);
  const auto& args = chart.printCalls[0];
  ASSERT_EQ(args.size(), 6u);
  EXPECT_EQ(args[1].toI4(), 1);
  EXPECT_EQ(args[2].toI4(), 1);
  EXPECT_EQ(args[3].toI4(), 1);
  EXPECT_EQ(args[4].toI4(), 1);
  EXPECT_EQ(args[5].toString(), "ZelkChart");
}

}  // namespace
}  // namespace recorder::testing
