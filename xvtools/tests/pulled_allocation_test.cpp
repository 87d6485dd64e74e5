// The headless run pulls buffers as fast as the machine goes; once running, handing a buffer
// over must not touch the heap.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "xvtools/xv_dsp_interface.h"
#include "xvtools/xv_wave_in.h"

namespace {
std::atomic<long> allocations{0};
}

// The replacements pair malloc with free; the compiler cannot see that through inlining.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

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
  const long before = allocations;
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(input.pull());
  EXPECT_EQ(allocations - before, 0);
  EXPECT_EQ(sum, 21 * 8000);
}

}  // namespace
}  // namespace xvtools
