// The checks before a channel command, in their order, with the error base added.
#include "channel_validation.h"

#include <gtest/gtest.h>

#include "automation/automation.h"
#include "enums.h"

namespace kvplotax {
namespace {

class ChannelValidationTest : public ::testing::Test {
 protected:
  // A channel that passes: pen 1, window 1 (1 x 1), viewport 1, scalar vertical data and an
  // autoincrement horizontal description.
  void SetUp() override {
    state.settings().errBase = 1000;
    state.selectPen(1);
    state.selectWindow(1);
    state.selectChannel(1);
    state.selectDataDimension(1);
    state.selectDataDimension(0);
    state.staged().data.shape = Plotrex_AutoIncr;
    state.commitData();
  }

  int errorNumber() {
    try {
      validateChannel(state);
    } catch (const automation::AutomationError& e) {
      text = e.what();
      return e.number();
    }
    return -1;
  }

  void setVertical(std::int32_t shape, std::int32_t incr = 1, std::int32_t xform = 0) {
    state.selectDataDimension(1);
    state.staged().data.shape = shape;
    state.staged().data.incr = incr;
    state.staged().data.xform = xform;
    state.commitData();
  }

  void setTransform(std::int32_t kind, float gain, std::int32_t msb, std::int32_t lsb) {
    state.selectXform(2);
    state.staged().xform = {kind, gain, 0.0f, msb, lsb};
    state.commitXform();
    setVertical(Plotrex_Scalar, 1, 2);
  }

  CChartState state;
  std::string text;
};

TEST_F(ChannelValidationTest, SoundChannelPasses) { EXPECT_EQ(errorNumber(), -1); }

TEST_F(ChannelValidationTest, UndefinedPenComesFirst) {
  state.staged().channel.pen = 7;
  state.staged().channel.window = 9;
  EXPECT_EQ(errorNumber(), 1001);
  EXPECT_EQ(text, "Invalid/undefined pen specified");
  state.staged().channel.pen = 0;
  EXPECT_EQ(errorNumber(), 1001);
}

TEST_F(ChannelValidationTest, WindowChecks) {
  state.staged().channel.window = 9;
  EXPECT_EQ(errorNumber(), 1000);
  state.staged().channel.window = 1;
  state.staged().window.width = 0.0f;
  EXPECT_EQ(errorNumber(), 1003);  // the staged window is committed first
  state.staged().window.width = 1.0f;
  state.staged().window.height = -1.0f;
  EXPECT_EQ(errorNumber(), 1004);
}

TEST_F(ChannelValidationTest, ViewportMustHaveAnObject) {
  state.staged().channel.viewport = 2;
  EXPECT_EQ(errorNumber(), 1002);
  state.setViewportCount(2);
  EXPECT_EQ(errorNumber(), -1);
}

TEST_F(ChannelValidationTest, DataDescriptions) {
  setVertical(Plotrex_Scalar, 0);
  EXPECT_EQ(errorNumber(), 1006);
  EXPECT_EQ(text, "Invalid data increment");
  setVertical(Plotrex_AutoIncr, 0);  // autoincrement needs no increment, but is incompatible
  EXPECT_EQ(errorNumber(), 1014);
  setVertical(Plotrex_Pair, 1);  // pairs need no horizontal description
  EXPECT_EQ(errorNumber(), -1);
}

TEST_F(ChannelValidationTest, ShapeCompatibility) {
  state.selectDataDimension(0);
  state.staged().data.shape = Plotrex_Pair;
  state.commitData();
  setVertical(Plotrex_Scalar);
  EXPECT_EQ(errorNumber(), 1014);
  EXPECT_EQ(text, "Horz/vert shapes incompatible");
  state.selectDataDimension(0);
  state.staged().data.shape = Plotrex_Scalar;
  state.commitData();
  EXPECT_EQ(errorNumber(), -1);
}

TEST_F(ChannelValidationTest, BufferLength) {
  state.staged().channel.bufLen = -1;
  EXPECT_EQ(errorNumber(), 1007);
  state.staged().channel.bufLen = 0x1FFFFFFF;
  EXPECT_EQ(errorNumber(), -1);
  state.staged().channel.bufLen = 0x20000000;
  EXPECT_EQ(errorNumber(), 1007);
}

TEST_F(ChannelValidationTest, TransformRules) {
  setVertical(Plotrex_Scalar, 1, 5);  // names no transform
  EXPECT_EQ(errorNumber(), 1009);
  setTransform(2, 1.0f, -1, -1);
  EXPECT_EQ(errorNumber(), 1022);
  setTransform(1, 0.0f, -1, -1);
  EXPECT_EQ(errorNumber(), 1023);
  setTransform(0, 1.0f, 3, 4);  // MSB below LSB
  EXPECT_EQ(errorNumber(), 1012);
  setTransform(0, 1.0f, -1, 2);
  EXPECT_EQ(errorNumber(), 1012);
  setTransform(0, 1.0f, 3, -1);
  EXPECT_EQ(errorNumber(), 1013);
  setTransform(0, 1.0f, -1, 0);
  EXPECT_EQ(errorNumber(), 1013);
  setTransform(0, 1.0f, 0, -1);
  EXPECT_EQ(errorNumber(), -1);
  setTransform(0, 1.0f, 11, 4);
  EXPECT_EQ(errorNumber(), -1);
}

TEST_F(ChannelValidationTest, ErrorNumberWrapsInSixteenBits) {
  state.settings().errBase = -1;
  state.staged().channel.pen = 0;
  EXPECT_EQ(errorNumber(), 0);  // -1 + 1
}

}  // namespace
}  // namespace kvplotax
