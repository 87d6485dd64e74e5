// The block handler runs twice a second for hours: once warmed up it must not allocate.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "allocation_counter.h"
#include "fake_front_end.h"
#include "quiet_chart.h"
#include "recorder/zelk_chrt_form.h"

namespace recorder::testing {
namespace {

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

  zelk::testing::startCountingAllocations();
  for (int i = 0; i < 20; ++i) form.bufferReady(&hdr);
  EXPECT_EQ(zelk::testing::stopCountingAllocations(), 0);
  EXPECT_EQ(form.PointCount(), 10);
  form.closeFiles();
  std::filesystem::remove(log);
}

}  // namespace
}  // namespace recorder::testing
