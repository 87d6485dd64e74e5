#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "xvtools/xv_connector.h"
#include "xvtools/xv_meter.h"

namespace xvtools {
namespace {

struct Buffer {
  std::vector<std::int16_t> samples;
  WAVEHDR hdr{};
  explicit Buffer(std::vector<std::int16_t> s) : samples(std::move(s)) {
    hdr.lpData = reinterpret_cast<char*>(samples.data());
    hdr.dwBufferLength = hdr.dwBytesRecorded = static_cast<std::uint32_t>(samples.size() * 2);
  }
};

Buffer sine(double amplitude, std::size_t count) {
  std::vector<std::int16_t> s(count);
  for (std::size_t i = 0; i < count; ++i) {
    s[i] = static_cast<std::int16_t>(
        std::lround(amplitude * 32767 * std::sin(2 * std::numbers::pi * 500 * i / 8000.0)));
  }
  return Buffer(std::move(s));
}

TEST(Meter, ReadsTheLevelOfTheLastSamplesInDecibels) {
  XVMeterX meter;
  EXPECT_EQ(meter.level(), XVMeterX::kFloorDb);
  Buffer full = sine(1.0, 1000);
  meter.bufferFilled(&full.hdr);
  EXPECT_NEAR(meter.level(), 0.0, 0.05);
  EXPECT_DOUBLE_EQ(meter.barFraction(), 1.0);
  Buffer quiet = sine(0.01, 600);
  meter.bufferFilled(&quiet.hdr);  // 400 loud samples still count
  EXPECT_GT(meter.level(), -5.0);
  meter.bufferFilled(&quiet.hdr);
  EXPECT_NEAR(meter.level(), -40.0, 0.1);
  EXPECT_NEAR(meter.barFraction(), 20.0 / 60.0, 0.01);
  Buffer silence(std::vector<std::int16_t>(1000, 0));
  meter.bufferFilled(&silence.hdr);
  EXPECT_EQ(meter.level(), XVMeterX::kFloorDb);
  EXPECT_EQ(meter.barFraction(), 0.0);
  EXPECT_THROW(meter.setSamples(0), std::invalid_argument);
  EXPECT_THROW(meter.setMinDb(0), std::invalid_argument);
}

TEST(Connector, HandsEachBufferToEveryConsumerOnce) {
  struct Counting : WaveSink {
    int buffers = 0;
    std::uint32_t bytes = 0;
    void bufferFilled(WAVEHDR* hdr) override {
      ++buffers;
      bytes += hdr->dwBytesRecorded;
    }
  } a, b;
  XVConnectorX connector;
  connector.link(&a);
  connector.link(&b);
  connector.link(&a);
  connector.link(&connector);  // a loop would never end
  EXPECT_EQ(connector.linkCount(), 2u);
  Buffer buffer = sine(0.5, 100);
  connector.bufferFilled(&buffer.hdr);
  connector.unlink(&b);
  connector.bufferFilled(&buffer.hdr);
  EXPECT_EQ(a.buffers, 2);
  EXPECT_EQ(b.buffers, 1);
  EXPECT_EQ(a.bytes, 400u);
}

}  // namespace
}  // namespace xvtools
