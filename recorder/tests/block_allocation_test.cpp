// The block handler runs twice a second for hours: once warmed up it must not allocate.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <vector>

#include "fake_front_end.h"
#include "recorder/zelk_chrt_form.h"

namespace {
std::atomic<bool> gCounting{false};
std::atomic<int> gAllocations{0};
}  // namespace

// The replacements pair malloc with free; the compiler cannot see that through inlining.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  if (gCounting) ++gAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (gCounting) ++gAllocations;
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace recorder::testing {
namespace {

// A chart that answers ChartData with the point count and ignores writes, allocating nothing.
class QuietChart : public automation::Dispatch {
 public:
  automation::DispId idOfName(std::string_view name) const override {
    return name == "ChartData" ? 0x70 : 1;
  }
  automation::Variant get(automation::DispId) override { return {}; }
  void put(automation::DispId, const automation::Variant&) override {}
  automation::Variant call(automation::DispId, std::span<automation::Variant> args) override {
    return automation::Variant(args[1].toI4());
  }
};

TEST(BlockAllocation, WarmBlockHandlerAllocatesNothingWhileLogging) {
  QuietChart chart;
  FakeHost host;
  ScriptedPrompter prompter;
  ZelkChrtForm form(chart, host, prompter);
  form.load();
  form.XVWaveInX1().setMode(xvtools::XVWaveInX::Mode::Pulled);
  const auto log = std::filesystem::temp_directory_path() /
                   ("zelk_alloc_" + std::to_string(::getpid()) + ".log");
  form.enableLoggingClick();
  prompter.files.push_back(log.string());
  form.scrollClick();
  ASSERT_TRUE(form.LogFileOpen());

  std::vector<std::int16_t> samples(4000);
  for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<std::int16_t>(i * 7);
  WAVEHDR hdr{};
  hdr.lpData = reinterpret_cast<char*>(samples.data());
  hdr.dwBufferLength = hdr.dwBytesRecorded = 8000;
  form.bufferReady(&hdr);  // binds the library and the method once

  gAllocations = 0;
  gCounting = true;
  for (int i = 0; i < 20; ++i) form.bufferReady(&hdr);
  gCounting = false;
  EXPECT_EQ(gAllocations.load(), 0);
  EXPECT_EQ(form.PointCount(), 10);
  form.closeFiles();
  std::filesystem::remove(log);
}

}  // namespace
}  // namespace recorder::testing
