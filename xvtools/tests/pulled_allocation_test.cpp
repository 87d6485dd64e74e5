// The headless run pulls buffers as fast as the machine goes; once running, handing a buffer
// over must not touch the heap.
#include <gtest/gtest.h>

#include "allocation_counter.h"
#include "xvtools/xv_dsp_interface.h"
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

}  // namespace
}  // namespace xvtools
