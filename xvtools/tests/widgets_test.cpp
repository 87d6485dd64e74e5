#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "xvtools/xv_led_panel.h"
#include "xvtools/xv_spin_button.h"
#include "xvtools/xv_switch.h"

namespace xvtools {
namespace {

TEST(SpinButton, ValueStaysInRangeAndChangeFiresOncePerChange) {
  XVSpinButtonX spin(2, 5, 4);
  int changes = 0;
  spin.onChange([&] { ++changes; });
  EXPECT_EQ(spin.Increment(), 1);
  spin.up();
  EXPECT_EQ(spin.Value(), 5);
  spin.up();  // at the top: no change, no event
  EXPECT_EQ(spin.Value(), 5);
  EXPECT_EQ(changes, 1);
  spin.setValue(9);  // a log's row beyond the range
  EXPECT_EQ(spin.Value(), 5);
  spin.setValue(-3);
  EXPECT_EQ(spin.Value(), 2);
  EXPECT_EQ(changes, 2);
  spin.down();
  EXPECT_EQ(spin.Value(), 2);
  spin.setValue(3);
  EXPECT_EQ(changes, 3);
}

TEST(SpinButton, StepsByIncrementAndClampsTheLastStep) {
  XVSpinButtonX spin(0, 32000, 4000);
  spin.setIncrement(100);
  spin.up();
  EXPECT_EQ(spin.Value(), 4100);
  spin.setValue(31950);
  spin.up();
  EXPECT_EQ(spin.Value(), 32000);
  spin.setValue(50);
  spin.down();
  EXPECT_EQ(spin.Value(), 0);
  EXPECT_THROW(spin.setIncrement(0), std::invalid_argument);
  // No wrap-around at the type's limits.
  XVSpinButtonX wide(INT32_MIN, INT32_MAX, INT32_MAX - 1);
  wide.setIncrement(10);
  wide.up();
  EXPECT_EQ(wide.Value(), INT32_MAX);
  wide.setValue(INT32_MIN + 1);
  wide.down();
  EXPECT_EQ(wide.Value(), INT32_MIN);
}

TEST(SpinButton, DisabledArrowsDoNothingButTheProgramMaySetTheValue) {
  XVSpinButtonX spin(2, 5, 4);
  int changes = 0;
  spin.onChange([&] { ++changes; });
  spin.setEnabled(false);
  spin.up();
  spin.down();
  EXPECT_EQ(spin.Value(), 4);
  spin.setValue(2);
  EXPECT_EQ(spin.Value(), 2);
  EXPECT_EQ(changes, 1);
}

TEST(SpinButton, NarrowingTheRangeClampsTheValue) {
  XVSpinButtonX spin(0, 100, 50);
  int changes = 0, notices = 0;
  spin.onChange([&] { ++changes; });
  spin.onDisplayChanged([&] { ++notices; });
  spin.setMaxValue(10);
  EXPECT_EQ(spin.Value(), 10);
  spin.setMinValue(20);  // past the maximum: the maximum follows
  EXPECT_EQ(spin.MaxValue(), 20);
  EXPECT_EQ(spin.Value(), 20);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(notices, 2) << "one notice per setter";
  spin.setMaxValue(30);  // the value stays: no Change
  EXPECT_EQ(changes, 2);
}

TEST(LEDPanel, ShowsItsDigitsWithOrWithoutLeadingZeros) {
  XVLEDPanelX led;
  led.setDigits(3);
  led.setValue(50);
  EXPECT_EQ(led.text(), "050");
  led.setBlankLeadingZeros(true);
  EXPECT_EQ(led.text(), " 50");
  led.setValue(0);
  EXPECT_EQ(led.text(), "  0");
  led.setValue(120);
  EXPECT_EQ(led.text(), "120");
  led.setDigits(1);
  led.setValue(8);
  EXPECT_EQ(led.text(), "8");
}

TEST(LEDPanel, NegativeAndOversizedNumbersAreNeverShownWrong) {
  XVLEDPanelX led;
  led.setMinValue(-99999);
  led.setMaxValue(99999);
  led.setDigits(4);
  led.setValue(-12);
  EXPECT_EQ(led.text(), "-012");
  led.setBlankLeadingZeros(true);
  EXPECT_EQ(led.text(), " -12");
  led.setValue(12345);  // would read 2345 if cut
  EXPECT_EQ(led.text(), "----");
  led.setValue(-1234);
  EXPECT_EQ(led.text(), "----");
  EXPECT_THROW(led.setDigits(0), std::invalid_argument);
}

TEST(LEDPanel, ValueIsClampedAndEachChangeNotifiesOnce) {
  XVLEDPanelX led;
  led.setDigits(4);
  led.setMaxValue(9999);
  int notices = 0;
  led.onDisplayChanged([&] { ++notices; });
  led.setValue(512);
  led.setValue(512);
  led.setFillColor(0x00FFFF);
  led.setFillColor(0x00FFFF);
  EXPECT_EQ(notices, 2);
  led.setValue(123456);
  EXPECT_EQ(led.Value(), 9999);
  led.setValue(-5);
  EXPECT_EQ(led.Value(), 0);
}

TEST(Switch, TwoPositionsAndChangeOnlyWhenMoved) {
  XVSwitchX sw;
  EXPECT_EQ(sw.Position(), 1);
  int changes = 0;
  sw.onChange([&] { ++changes; });
  sw.setPosition(1);
  EXPECT_EQ(changes, 0);
  sw.toggle();
  EXPECT_EQ(sw.Position(), 0);
  sw.setPosition(1);
  EXPECT_EQ(changes, 2);
  EXPECT_THROW(sw.setPosition(2), std::invalid_argument);
  EXPECT_EQ(sw.Position(), 1);
  sw.setEnabled(false);
  sw.toggle();
  EXPECT_EQ(sw.Position(), 1);
}

}  // namespace
}  // namespace xvtools
