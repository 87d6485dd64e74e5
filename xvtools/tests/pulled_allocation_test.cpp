// The headless run pulls buffers as fast as the machine goes; once running, handing a buffer
// over must not touch the heap.
#include <gtest/gtest.h>

#include "allocation_counter.h"
#include "xvtools/xv_connector.h"
#include "xvtools/xv_dsp_interface.h"
#include "xvtools/xv_meter.h"
#include "xvtools/xv_spectrogram.h"
#include "xvtools/xv_wave_in.h"

namespace xvtools {
namespace {

TEST(PulledInput, HandingOverBuffersAllocatesNothing) {
  XVWaveInX input;
  XVDSPInterfaceX dsp;
  long sum = 0;
  dsp.onBufferReady([&](WAVEHDR* hdr) { sum += hdr->dwBytesRecorded; });
  input.setMode(XVWaveInX::Mode::Pulled);
  input.setInput(*InputSpec::parse("synthetic:11"));
  input.link(&dsp);
  input.Start();
  ASSERT_TRUE(input.pull());
  zelk::testing::AllocationCount count;
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(input.pull());
  EXPECT_EQ(count.stop(), 0);
  EXPECT_EQ(sum, 21 * 8000);
}

// The spectrograph's chain: every column of the spectrogram (window, transform, levels, colours,
// the column written) and the meter's level, once their settings are made.
TEST(PulledInput, SpectrogramColumnsAndMeterAllocateNothing) {
  XVWaveInX input;
  XVConnectorX connector;
  XVMeterX meter;
  XVSpectrogramX spectrogram;
  spectrogram.setLogAmp(true);
  spectrogram.setEmboss(true);
  spectrogram.setDrawScale(true);
  input.setMode(XVWaveInX::Mode::Pulled);
  input.setInput(*InputSpec::parse("synthetic:3"));
  input.link(&connector);
  connector.link(&meter);
  connector.link(&spectrogram);
  input.Start();
  ASSERT_TRUE(input.pull());
  const auto before = spectrogram.columns();
  zelk::testing::AllocationCount count;
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(input.pull());
  EXPECT_EQ(count.stop(), 0);
  EXPECT_GT(spectrogram.columns(), before);
  EXPECT_EQ(spectrogram.columns(), (21u * 4000 - 512) / 256 + 1);  // a column every hop once full
  EXPECT_GT(meter.level(), XVMeterX::kFloorDb);
}

}  // namespace
}  // namespace xvtools
