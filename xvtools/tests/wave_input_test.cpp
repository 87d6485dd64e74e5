#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "xvaxtool.h"
#include "xvtools/audio_source.h"
#include "xvtools/form_thread.h"
#include "xvtools/xv_dsp_interface.h"
#include "xvtools/xv_wave_in.h"

namespace xvtools {
namespace {

using namespace std::chrono_literals;

TEST(InputSpec, ParsesTheInputForms) {
  using Kind = InputSpec::Kind;
  EXPECT_EQ(InputSpec::parse("default"), (InputSpec{Kind::DefaultDevice, {}, 1}));
  EXPECT_EQ(InputSpec::parse("device:USB Audio: Mic"),
            (InputSpec{Kind::Device, "USB Audio: Mic", 1}));
  EXPECT_EQ(InputSpec::parse("synthetic"), (InputSpec{Kind::Synthetic, {}, 1}));
  EXPECT_EQ(InputSpec::parse("synthetic:18446744073709551615"),
            (InputSpec{Kind::Synthetic, {}, 18446744073709551615ull}));
  EXPECT_EQ(InputSpec::parse("night.wav"), (InputSpec{Kind::File, "night.wav", 1}));
  EXPECT_EQ(InputSpec::parse("synthetic.wav"), (InputSpec{Kind::File, "synthetic.wav", 1}));
  EXPECT_EQ(InputSpec::parse("synthetic:meteors"), (InputSpec{Kind::SyntheticMeteors, {}, 1}));
  EXPECT_EQ(InputSpec::parse("synthetic:meteors:7"), (InputSpec{Kind::SyntheticMeteors, {}, 7}));
  for (const char* bad :
       {"", "device:", "synthetic:", "synthetic:12x", "synthetic:-1",
        "synthetic:99999999999999999999", "synthetic:meteors:", "synthetic:meteorsx"}) {
    EXPECT_FALSE(InputSpec::parse(bad)) << bad;
  }
  for (const char* text :
       {"default", "device:hw", "synthetic:5", "synthetic:meteors:5", "/tmp/a b.flac"}) {
    EXPECT_EQ(InputSpec::parse(text)->toString(), text);
  }
}

TEST(WaveInput, RefusesSettingsItCannotDeliver) {
  XVWaveInX input;
  EXPECT_EQ(input.BufferSize(), 8000);
  EXPECT_EQ(input.BitLength(), 16);
  EXPECT_EQ(input.SampleRate(), 8000);
  EXPECT_THROW(input.setBufferSize(0), std::invalid_argument);
  EXPECT_THROW(input.setBufferSize(7999), std::invalid_argument);
  EXPECT_THROW(input.setBufferSize(XVWaveInX::kMaxBufferSize + 2), std::invalid_argument);
  EXPECT_THROW(input.setBitLength(8), std::invalid_argument);
  EXPECT_THROW(input.setSampleRate(0), std::invalid_argument);
  EXPECT_EQ(input.BufferSize(), 8000);
  // Real time needs the form's thread to post to.
  input.setInput(*InputSpec::parse("synthetic"));
  EXPECT_THROW(input.Start(), std::logic_error);
  EXPECT_FALSE(input.Running());
}

TEST(WaveInput, PulledBuffersAreWholeAndSynchronous) {
  XVWaveInX input;
  XVDSPInterfaceX dsp;
  input.setMode(XVWaveInX::Mode::Pulled);
  input.setInput(*InputSpec::parse("synthetic:3"));
  input.link(&dsp);
  int calls = 0;
  dsp.onBufferReady([&](WAVEHDR* hdr) {
    ++calls;
    EXPECT_EQ(hdr->dwBufferLength, 8000u);
    EXPECT_EQ(hdr->dwBytesRecorded, 8000u);
    EXPECT_EQ(ParseWaveHeader(hdr), 8000);
    std::int16_t copy[4001];
    EXPECT_EQ(CopyWaveHeader(hdr, copy, sizeof copy), 8000);
  });
  EXPECT_FALSE(input.pull()) << "not started";
  input.Start();
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(input.pull());
  EXPECT_EQ(calls, 5);
  EXPECT_EQ(input.samplesDelivered(), 20000u);
  EXPECT_EQ(input.sourceDescription(), "synthetic:3");
  input.Stop();
  EXPECT_FALSE(input.pull());
  EXPECT_EQ(dsp.buffersReady(), 5u);
}

TEST(WaveInput, SinkMayStopTheInputInsideTheEvent) {
  XVWaveInX input;
  XVDSPInterfaceX dsp;
  input.setMode(XVWaveInX::Mode::Pulled);
  input.link(&dsp);
  int calls = 0;
  dsp.onBufferReady([&](WAVEHDR* hdr) {
    ++calls;
    input.Stop();
    EXPECT_EQ(hdr->dwBytesRecorded, 8000u) << "the header stays valid for the whole event";
  });
  input.Start();
  EXPECT_TRUE(input.pull());
  EXPECT_FALSE(input.Running());
  EXPECT_FALSE(input.pull());
  EXPECT_EQ(calls, 1);
}

TEST(WaveInput, RealTimeBuffersArrivePacedOnTheFormThread) {
  FormQueue form;
  XVWaveInX input;
  XVDSPInterfaceX dsp;
  input.setFormThread(&form);
  input.setBufferSize(800);  // 50 ms per buffer keeps the test short
  input.link(&dsp);
  const auto formThread = std::this_thread::get_id();
  int calls = 0;
  dsp.onBufferReady([&](WAVEHDR* hdr) {
    ++calls;
    EXPECT_EQ(std::this_thread::get_id(), formThread);
    EXPECT_EQ(hdr->dwBytesRecorded, 800u);
  });
  const auto start = std::chrono::steady_clock::now();
  input.Start();
  while (calls < 6 && std::chrono::steady_clock::now() - start < 5s) form.waitAndRun(20ms);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(calls, 6);
  EXPECT_GE(elapsed, 290ms) << "six buffers of 50 ms cannot arrive sooner";

  // Buffers posted before Stop are not handed over afterwards.
  std::this_thread::sleep_for(120ms);
  input.Stop();
  const int atStop = calls;
  std::this_thread::sleep_for(100ms);
  form.runPending();
  EXPECT_EQ(calls, atStop);
  EXPECT_FALSE(input.Running());
}

TEST(WaveInput, DestroyingARunningInputIsSafe) {
  FormQueue form;
  XVDSPInterfaceX dsp;
  {
    XVWaveInX input;
    input.setFormThread(&form);
    input.setBufferSize(160);
    input.link(&dsp);
    input.Start();
    std::this_thread::sleep_for(100ms);
  }
  // Buffers posted by the destroyed input are dropped, never handed over.
  form.runPending();
  EXPECT_EQ(dsp.buffersReady(), 0u);
}

TEST(LiveCapture, DefaultDeviceDeliversBuffers) {
  if (captureDeviceNames().empty()) GTEST_SKIP() << "no audio capture device on this machine";
  XVWaveInX input;
  XVDSPInterfaceX dsp;
  input.setMode(XVWaveInX::Mode::Pulled);
  input.setInput(*InputSpec::parse("default"));
  input.link(&dsp);
  try {
    input.Start();
  } catch (const AudioError& e) {
    GTEST_SKIP() << "capture device present but not usable: " << e.what();
  }
  EXPECT_TRUE(input.pull());
  EXPECT_EQ(dsp.buffersReady(), 1u);
}

TEST(LiveCapture, UnknownDeviceNameIsAClearError) {
  XVWaveInX input;
  input.setMode(XVWaveInX::Mode::Pulled);
  input.setInput(*InputSpec::parse("device:no such capture device 7f3a"));
  try {
    input.Start();
    FAIL() << "opened a device that does not exist";
  } catch (const AudioError& e) {
    EXPECT_NE(std::string(e.what()).find("no such capture device 7f3a"), std::string::npos)
        << e.what();
  }
}

}  // namespace
}  // namespace xvtools
