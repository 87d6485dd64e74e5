// A loaded recorder form on a fake chart with scripted answers, and helpers to feed it blocks.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fake_chart.h"
#include "fake_front_end.h"
#include "recorder/zelk_chrt_form.h"

namespace recorder::testing {

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.load();
    form.XVWaveInX1().setMode(xvtools::XVWaveInX::Mode::Pulled);
    dir = std::filesystem::temp_directory_path() /
          ("zelk_recorder_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override {
    form.closeFiles();
    std::filesystem::remove_all(dir);
  }

  std::string path(const std::string& name) const { return (dir / name).string(); }

  // Hands the form one audio buffer holding these samples.
  void feed(const std::vector<std::int16_t>& samples) {
    std::vector<std::int16_t> buffer = samples;
    WAVEHDR hdr{};
    hdr.lpData = reinterpret_cast<char*>(buffer.data());
    hdr.dwBufferLength = static_cast<std::uint32_t>(buffer.size() * 2);
    hdr.dwBytesRecorded = hdr.dwBufferLength;
    form.bufferReady(&hdr);
  }
  void feedConstant(std::int16_t value, std::size_t count = 4000) {
    feed(std::vector<std::int16_t>(count, value));
  }

  static std::string readFile(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void writeFile(const std::string& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary);
    out << text;
  }

  FakeChart chart;
  FakeHost host;
  ScriptedPrompter prompter;
  ZelkChrtForm form{chart, host, prompter};
  std::filesystem::path dir;
};

}  // namespace recorder::testing
