#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_prompter.h"
#include "spectrograph/form1.h"

namespace spectrograph {
namespace {

// A chart control that only records the calls made on it, or refuses them all.
class RecordingChart : public automation::Dispatch {
 public:
  bool refuse = false;
  std::vector<automation::Variant> lastArgs;
  automation::DispId idOfName(std::string_view) const override { return 1; }
  automation::Variant get(automation::DispId) override { return {}; }
  void put(automation::DispId, const automation::Variant&) override {}
  automation::Variant call(automation::DispId, std::span<automation::Variant> args) override {
    if (refuse) throw automation::AutomationError(0x800A01B6, "Object doesn't support this method");
    lastArgs.assign(args.begin(), args.end());
    return automation::Variant(std::int32_t{0});
  }
};

class Form1Test : public ::testing::Test {
 protected:
  struct Host : SpecHost {
    bool ended = false;
    std::int32_t windowHandle() const override { return 4242; }
    void endProgram() override { ended = true; }
  } host;
  RecordingChart chart;
  testing::RecordingPrompter prompter;
  Form1 form{&chart, host, prompter};
};

TEST_F(Form1Test, StartsWithTheStoredSettingsAndTheLoadedTexts) {
  form.load();
  EXPECT_EQ(form.FFTLength().Value(), 512);
  EXPECT_EQ(form.FFTLength().text(), " 512");
  EXPECT_EQ(form.WindowText(), "Gaussian");  // the window in force, on which the button stands
  EXPECT_EQ(form.WindowButton().Value(), 4);
  EXPECT_EQ(form.PalletText(), "Threshold");
  EXPECT_EQ(form.GainText(), "0dB");
  EXPECT_EQ(form.startStopCaption(), "Start");
  EXPECT_EQ(form.Spec().Window(), 4);
  EXPECT_EQ(form.Spec().FFTLength(), 512);
  EXPECT_TRUE(form.Spec().DrawScale());
  EXPECT_TRUE(form.Spec().Scroll());
  EXPECT_EQ(form.XVMeterX1().Caption(), "dB");
  EXPECT_EQ(form.XVMeterX1().Samples(), 1000);
  EXPECT_TRUE(form.XVMeterX1().Font().bold);
  EXPECT_EQ(form.XVConnectorX1().linkCount(), 2u);
  EXPECT_EQ(form.tables().FFTTable[5], 2048.0f);
  EXPECT_EQ(form.tables().PalletTable[8], "");
}

TEST_F(Form1Test, SpinButtonsPassTheirRowsAndShowTheirNames) {
  form.load();
  struct Step {
    xvtools::XVSpinButtonX& button;
    int value;
    std::function<int()> property;
    std::function<std::string()> shown;
    int expectedProperty;
    std::string expectedShown;
  };
  const Step steps[] = {
      {form.FFTButton(), 4, [&] { return form.Spec().FFTLength(); },
       [&] { return std::to_string(form.FFTLength().Value()); }, 1024, "1024"},
      {form.FFTButton(), 0, [&] { return form.Spec().FFTLength(); },
       [&] { return std::to_string(form.FFTLength().Value()); }, 64, "64"},
      {form.WindowButton(), 6, [&] { return form.Spec().Window(); },
       [&] { return form.WindowText(); }, 6, "Parzen"},
      {form.WindowButton(), 9, [&] { return form.Spec().Window(); },
       [&] { return form.WindowText(); }, 6, "Parzen"},
      {form.PalletButton(), 7, [&] { return form.Spec().Palette(); },
       [&] { return form.PalletText(); }, 7, "Hot"},
      {form.PalletButton(), 2, [&] { return form.Spec().Palette(); },
       [&] { return form.PalletText(); }, 2, "Black on White"},
      {form.GainButton(), 2, [&] { return form.Spec().Gain(); }, [&] { return form.GainText(); }, 2,
       "+12dB"},
      {form.GainButton(), 1, [&] { return form.Spec().Gain(); }, [&] { return form.GainText(); }, 1,
       "+6dB"},
  };
  for (const Step& s : steps) {
    s.button.setValue(s.value);
    EXPECT_EQ(s.property(), s.expectedProperty) << s.expectedShown;
    EXPECT_EQ(s.shown(), s.expectedShown);
  }
  // The operator's arrows: 3 to 4 gives 1024.
  form.FFTButton().setValue(3);
  form.FFTButton().up();
  EXPECT_EQ(form.Spec().FFTLength(), 1024);
  EXPECT_EQ(form.FFTLength().Value(), 1024);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(Form1Test, SwitchesTurnTheirOptionOnWhenDownAndOffWhenUp) {
  form.load();
  form.Spec().setLogAmp(true);  // the spectrogram's own setting stands until a switch moves
  EXPECT_TRUE(form.Spec().LogAmp());
  struct Case {
    xvtools::XVSwitchX& sw;
    std::function<bool()> option;
  };
  const Case cases[] = {{form.LogAmpSwitch(), [&] { return form.Spec().LogAmp(); }},
                        {form.Embosswitch(), [&] { return form.Spec().Emboss(); }}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.sw.Position(), 1);
    c.sw.setPosition(0);
    EXPECT_TRUE(c.option());
    c.sw.setPosition(1);
    EXPECT_FALSE(c.option());
  }
}

TEST_F(Form1Test, StartStopExitAndPrint) {
  form.load();
  form.WaveIn().setInput(*xvtools::InputSpec::parse("synthetic:5"));
  form.WaveIn().setMode(xvtools::XVWaveInX::Mode::Pulled);
  form.startStopClick();
  EXPECT_EQ(form.startStopCaption(), "Stop");
  for (int i = 0; i < 16; ++i) ASSERT_TRUE(form.WaveIn().pull());  // one second
  EXPECT_EQ(form.Spec().columns(), (16u * 512 - 512) / 256 + 1);
  EXPECT_GT(form.XVMeterX1().level(), xvtools::XVMeterX::kFloorDb);
  form.startStopClick();
  EXPECT_EQ(form.startStopCaption(), "Start");
  EXPECT_FALSE(form.WaveIn().Running());

  form.printButtonClick();
  ASSERT_EQ(chart.lastArgs.size(), 6u);
  EXPECT_EQ(chart.lastArgs[0].toI4(), 4242);
  EXPECT_EQ(chart.lastArgs[1].toI4(), 1);
  EXPECT_EQ(chart.lastArgs[2].toI4(), 1);
  EXPECT_EQ(chart.lastArgs[5].toString(), "ZelkSpec");
  EXPECT_TRUE(form.printFailure().empty());
  // A control without printing: the failure is reported, not thrown.
  chart.refuse = true;
  form.printButtonClick();
  EXPECT_FALSE(form.printFailure().empty());
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_NE(prompter.messages[0].find("Printing is not available"), std::string::npos);

  form.startStopClick();
  form.exitButtonClick();
  EXPECT_TRUE(host.ended);
  EXPECT_FALSE(form.WaveIn().Running());
}

TEST_F(Form1Test, AnInputThatCannotOpenIsReportedAndTheFormStaysStopped) {
  form.load();
  form.WaveIn().setInput(*xvtools::InputSpec::parse("/nonexistent/recording.wav"));
  form.WaveIn().setMode(xvtools::XVWaveInX::Mode::Pulled);
  form.startStopClick();
  EXPECT_EQ(form.startStopCaption(), "Start");
  EXPECT_EQ(prompter.messages.size(), 1u);
}

}  // namespace
}  // namespace spectrograph
