#include <gtest/gtest.h>

#include <cstring>

#include "scale/scale_info.h"

namespace kvplotax::scale {
namespace {

ScaleInfo sample() {
  ScaleInfo info;
  info.number = 3;
  info.action = 1;
  info.window = 2;
  info.viewport = 4;
  info.dimension = 1;
  info.axes[0].places = 2;
  info.axes[1] = {4, 1, 1, 0, 1, 2, 0, 3};
  info.factor = 0.00025f;
  info.caption = "Volts";
  info.labelLocation = 1;
  return info;
}

TEST(ScaleInfoRecord, LayoutIsMarkedVersionedNamedAndLittleEndian) {
  std::vector<std::uint8_t> bytes;
  writeScaleInfo(sample(), bytes);
  ASSERT_EQ(bytes.size(), 2u + 2 + 2 + 9 + 5 * 4 + 16 * 4 + 4 + 1 + 5 + 6 * 4);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFF);
  EXPECT_EQ(bytes[2], 1);
  EXPECT_EQ(bytes[4], 9);
  EXPECT_EQ(std::string(bytes.begin() + 6, bytes.begin() + 15), "ScaleInfo");
  EXPECT_EQ(bytes[15], 3);  // scale number, low byte first
  // Dimension 1's pen follows dimension 0's eight fields.
  EXPECT_EQ(bytes[15 + 20 + 32], 4);
  float factor = 0;
  std::memcpy(&factor, &bytes[15 + 20 + 64], 4);
  EXPECT_EQ(factor, 0.00025f);
  EXPECT_EQ(bytes[15 + 20 + 64 + 4], 5);
  EXPECT_EQ(std::string(bytes.begin() + 104, bytes.begin() + 109), "Volts");
}

TEST(ScaleInfoRecord, RoundTripsAndRefusesDamagedRecords) {
  std::vector<std::uint8_t> bytes;
  writeScaleInfo(sample(), bytes);
  bytes.push_back(0x42);  // whatever follows is not the record's
  ScaleInfo read;
  EXPECT_EQ(readScaleInfo(bytes, read), bytes.size() - 1);
  EXPECT_EQ(read, sample());
  bytes.pop_back();
  for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
    ScaleInfo untouched;
    EXPECT_EQ(readScaleInfo(std::span(bytes).first(cut), untouched), 0u) << cut;
    EXPECT_EQ(untouched, ScaleInfo());
  }
  for (std::size_t at : {0u, 2u, 4u, 6u, 14u}) {
    std::vector<std::uint8_t> damaged = bytes;
    damaged[at] ^= 0x01;
    EXPECT_EQ(readScaleInfo(damaged, read), 0u) << at;
  }
}

TEST(ScaleInfoRecord, LongCaptionsAreCutNotWrapped) {
  ScaleInfo info = sample();
  info.caption = std::string(256, 'x') + "abc";
  std::vector<std::uint8_t> bytes;
  writeScaleInfo(info, bytes);
  ScaleInfo read;
  ASSERT_NE(readScaleInfo(bytes, read), 0u);
  EXPECT_EQ(read.caption, std::string(255, 'x'));
}

}  // namespace
}  // namespace kvplotax::scale
