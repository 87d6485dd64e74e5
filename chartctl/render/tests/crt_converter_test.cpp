#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "converter_test_support.h"

namespace kvplotax {
namespace {

using testing::bytesOf;
using testing::Channel;
using testing::xParams;
using testing::yParams;

constexpr std::int32_t kU8 = 0, kI8 = 1, kU16 = 2, kI16 = 3, kU32 = 4, kI32 = 5, kF32 = 6, kF64 = 7;

// World value w maps to pixel w on a 1:1 X axis, so the tests read the transform directly.
ConverterParams identityAxis(std::int32_t type) { return xParams(type, 1000.0f, 0, 1000); }

std::vector<std::int32_t> convert(ConverterParams params, const auto& samples) {
  const auto count = static_cast<std::int32_t>(samples.size());
  Channel channel(params, count);
  EXPECT_EQ(channel.converter->append(bytesOf(samples), count, 0), kAppendOk);
  return channel.coordinates(0, count, params.axis);
}

TEST(SampleTransform, UnsignedByteFoldsGainOffsetAndMappingAroundTheCentre) {
  // World Y 0..100 on rows 300 (bottom) to 100 (top): s = -2, b = 300.
  ConverterParams p = yParams(kU8, 100.0f, 300, 100);
  p.transform = SampleTransform{0.5f, -10.0f, -1, -1};
  // 200 -> world 90 -> 120; 0 -> world -10 -> 320; 255 -> world 117.5 -> 65.
  EXPECT_EQ(convert(p, std::vector<std::uint8_t>{200, 0, 255, 128}),
            (std::vector<std::int32_t>{120, 320, 65, 192}));
}

TEST(SampleTransform, WholeWordOfEachIntegerType) {
  EXPECT_EQ(convert(identityAxis(kI8), std::vector<std::int8_t>{-128, -1, 0, 127}),
            (std::vector<std::int32_t>{-128, -1, 0, 127}));
  EXPECT_EQ(convert(identityAxis(kU16), std::vector<std::uint16_t>{0, 1, 32767, 32768, 65535}),
            (std::vector<std::int32_t>{0, 1, 32767, 32767, 32767}));
  EXPECT_EQ(convert(identityAxis(kI16), std::vector<std::int16_t>{-32768, -5, 5, 32767}),
            (std::vector<std::int32_t>{-32768, -5, 5, 32767}));

  // 32-bit words keep their full range: scaled down by 2^-16 they stay inside the pixels.
  ConverterParams u32 = identityAxis(kU32);
  u32.transform = SampleTransform{1.0f / 65536.0f, 0.0f, -1, -1};
  EXPECT_EQ(convert(u32, std::vector<std::uint32_t>{0, 65536, 0x80000000u, 0xFFFFFFFFu}),
            (std::vector<std::int32_t>{0, 1, 32767, 32767}));
  u32.transform = SampleTransform{1.0f / 131072.0f, 0.0f, -1, -1};
  EXPECT_EQ(convert(u32, std::vector<std::uint32_t>{0x80000000u, 0xFFFFFFFFu}),
            (std::vector<std::int32_t>{16384, 32767}));
  ConverterParams i32 = identityAxis(kI32);
  i32.transform = SampleTransform{1.0f / 65536.0f, 0.0f, -1, -1};
  EXPECT_EQ(convert(i32, std::vector<std::int32_t>{std::numeric_limits<std::int32_t>::min(), -65536,
                                                   131072, 2147483647}),
            (std::vector<std::int32_t>{-32768, -1, 2, 32767}));
}

TEST(SampleTransform, BitFieldOfUnsignedWordIsUsedInPlaceAndDividedByItsLowBit) {
  ConverterParams p = identityAxis(kU16);
  p.transform = SampleTransform{1.0f, 0.0f, 11, 4};
  EXPECT_EQ(convert(p, std::vector<std::uint16_t>{0xFFFF, 0x000F, 0x0010, 0xF00F, 0x0805}),
            (std::vector<std::int32_t>{255, 0, 1, 0, 128}));
  // MSB = LSB selects the whole word.
  p.transform = SampleTransform{1.0f, 0.0f, 5, 5};
  EXPECT_EQ(convert(p, std::vector<std::uint16_t>{1234, 40}),
            (std::vector<std::int32_t>{1234, 40}));
  p.transform = SampleTransform{1.0f, 0.0f, -1, 0};
  EXPECT_EQ(convert(p, std::vector<std::uint16_t>{1234}), (std::vector<std::int32_t>{1234}));
}

TEST(SampleTransform, BitFieldOfSignedWordIsSignExtendedFromItsTopBit) {
  ConverterParams p = identityAxis(kI16);
  p.transform = SampleTransform{1.0f, 0.0f, 11, 4};
  // 0x0FF0: field 0xFF = -1; 0x07F0: 127; 0x0800: -128; 0x8000: the word's sign bit lies
  // outside the field, which reads 0.
  EXPECT_EQ(convert(p, std::vector<std::int16_t>{0x0FF0, 0x07F0, 0x0800, -32768, 0x0010}),
            (std::vector<std::int32_t>{-1, 127, -128, 0, 1}));
  ConverterParams byte = identityAxis(kI8);
  byte.transform = SampleTransform{1.0f, 0.0f, 3, 0};
  EXPECT_EQ(convert(byte, std::vector<std::int8_t>{0x0F, 0x07, 0x78, 0x08}),
            (std::vector<std::int32_t>{-1, 7, -8, -8}));
}

TEST(SampleTransform, FieldsBeyondTheWordAreCutToIt) {
  ConverterParams p = identityAxis(kU8);
  p.transform = SampleTransform{1.0f, 0.0f, 20, 4};  // bits 4..7 remain
  EXPECT_EQ(convert(p, std::vector<std::uint8_t>{0xF3}), (std::vector<std::int32_t>{15}));
  p.transform = SampleTransform{2.0f, 7.0f, 12, 9};  // nothing of the byte is selected
  EXPECT_EQ(convert(p, std::vector<std::uint8_t>{0xFF, 0}), (std::vector<std::int32_t>{7, 7}));
}

TEST(SampleTransform, FloatInfinitiesAndNaNSaturateBeforeTheDisplayOffset) {
  constexpr float kInf = std::numeric_limits<float>::infinity();
  ConverterParams p = identityAxis(kF32);
  EXPECT_EQ(convert(p, std::vector<float>{kInf, -kInf, std::nanf(""), 1.0e30f, 12.9f, -12.9f}),
            (std::vector<std::int32_t>{32767, -32768, -32768, 32767, 12, -12}));
  p.displayOffset = 100.0f;
  EXPECT_EQ(convert(p, std::vector<float>{kInf, -kInf, std::nanf("")}),
            (std::vector<std::int32_t>{32767, -32668, -32668}));
  ConverterParams d = identityAxis(kF64);
  d.transform = SampleTransform{2.0f, 1.0f, 3, 1};  // bit numbers mean nothing to floats
  EXPECT_EQ(convert(d, std::vector<double>{1.0e300, -1.0e300, 2.25, std::nan("")}),
            (std::vector<std::int32_t>{32767, -32768, 5, -32768}));
}

TEST(CrtAppend, BlockThatDoesNotFitBeforeTheEndIsRefusedWhole) {
  Channel channel(yParams(kI16, 100.0f, 100, 0), 100);
  std::vector<std::int16_t> block(90, 50);
  ASSERT_EQ(channel.converter->append(bytesOf(block), 90, 0), kAppendOk);
  EXPECT_EQ(channel.converter->writePosition(), 90);
  const auto before = channel.points;
  std::vector<std::int16_t> next(20, 10);
  EXPECT_EQ(channel.converter->append(bytesOf(next), 20, 0), kAppendBounds);
  EXPECT_EQ(channel.converter->check(bytesOf(next), 20, 0), kAppendBounds);
  EXPECT_EQ(channel.points, before);
  EXPECT_EQ(channel.converter->writePosition(), 90);
  // Exactly filling the buffer wraps the write position to the start.
  EXPECT_EQ(channel.converter->append(bytesOf(next), 10, 0), kAppendOk);
  EXPECT_EQ(channel.converter->writePosition(), 0);
  EXPECT_EQ(channel.at(99, Axis::Y), 90);
  EXPECT_EQ(channel.converter->append(bytesOf(next), 0, 0), kAppendBounds);
}

TEST(CrtAppend, ReadsOnlyInsideTheCallersArray) {
  const std::vector<std::int16_t> data{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  ConverterParams p = identityAxis(kI16);
  p.dataOffset = 8;
  Channel channel(p, 100);
  EXPECT_EQ(channel.converter->append(bytesOf(data), 3, 0), kAppendBounds);
  EXPECT_EQ(channel.converter->append(bytesOf(data), 2, 0), kAppendOk);
  EXPECT_EQ(channel.coordinates(0, 2, Axis::X), (std::vector<std::int32_t>{8, 9}));
  // A source cut short in the middle of an element does not count that element.
  EXPECT_EQ(channel.converter->append(bytesOf(data).first(19), 2, 0), kAppendBounds);
  EXPECT_EQ(channel.converter->append({}, 1, 0), kAppendBounds);

  p.dataOffset = -1;
  Channel before(p, 100);
  EXPECT_EQ(before.converter->append(bytesOf(data), 1, 0), kAppendBounds);

  // Wide strides that would overflow 64-bit byte arithmetic are refused, not wrapped.
  p.dataOffset = 0;
  p.dataIncrement = std::numeric_limits<std::int32_t>::max();
  Channel wide(p, 100);
  EXPECT_EQ(wide.converter->append(bytesOf(data), 2, std::numeric_limits<std::int32_t>::max()),
            kAppendBounds);
  EXPECT_EQ(wide.converter->append(bytesOf(data), 1, 0), kAppendOk);
}

TEST(CrtAppend, NegativeIncrementReadsBackwardsFromTheOffset) {
  const std::vector<std::int16_t> data{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  ConverterParams p = identityAxis(kI16);
  p.dataOffset = 5;
  p.dataIncrement = -2;
  Channel channel(p, 10);
  EXPECT_EQ(channel.converter->append(bytesOf(data), 4, 0), kAppendBounds);  // would need -1
  ASSERT_EQ(channel.converter->append(bytesOf(data), 3, 0), kAppendOk);
  EXPECT_EQ(channel.coordinates(0, 3, Axis::X), (std::vector<std::int32_t>{5, 3, 1}));
  EXPECT_EQ(channel.converter->minimum(), 1);
  EXPECT_EQ(channel.converter->maximum(), 5);
}

TEST(CrtAppend, PairsShareOneArrayWithXFirst) {
  // (x, y) pairs of 16-bit words; ChnDataOffset and ChnDataIncr count pairs.
  const std::vector<std::int16_t> pairs{10, 20, 11, 21, 12, 22, 13, 23, 14};
  ConverterParams x = identityAxis(kI16);
  x.shape = 1;
  x.dataOffset = 1;
  x.dataIncrement = 2;
  ConverterParams y = x;
  y.axis = Axis::Y;
  y.pixelStart = 0;
  y.pixelEnd = 1000;
  Channel xs(x, 4);
  Channel ys(y, 4);
  EXPECT_EQ(xs.converter->append(bytesOf(pairs), 2, 0), kAppendOk);
  EXPECT_EQ(xs.coordinates(0, 2, Axis::X), (std::vector<std::int32_t>{11, 13}));
  EXPECT_EQ(ys.converter->append(bytesOf(pairs), 2, 0), kAppendOk);
  EXPECT_EQ(ys.coordinates(0, 2, Axis::Y), (std::vector<std::int32_t>{21, 23}));
  // Pair 5 is missing altogether; pair 4 has its x (element 8) but not its y.
  EXPECT_EQ(xs.converter->append(bytesOf(pairs), 1, 2), kAppendBounds);
  EXPECT_EQ(ys.converter->append(bytesOf(pairs), 1, 2), kAppendBounds);
  x.dataOffset = 4;
  y.dataOffset = 4;
  Channel lastX(x, 4);
  Channel lastY(y, 4);
  EXPECT_EQ(lastX.converter->append(bytesOf(pairs), 1, 0), kAppendOk);
  EXPECT_EQ(lastX.at(0, Axis::X), 14);
  EXPECT_EQ(lastY.converter->append(bytesOf(pairs), 1, 0), kAppendBounds);
}

TEST(CrtAppend, SourceStartsWhereTheCallersOffsetInItsOwnElementsPutsIt) {
  // An array of bytes with three skipped bytes, read as 16-bit words: the words start at an
  // odd address and are read as they lie.
  const std::vector<std::uint8_t> bytes{0xFF, 0xFF, 0xFF, 0x34, 0x12, 0x78, 0x06};
  Channel channel(identityAxis(kI16), 10);
  channel.converter->append(bytesOf(bytes).subspan(3), 2, 0);
  EXPECT_EQ(channel.coordinates(0, 2, Axis::X), (std::vector<std::int32_t>{0x1234, 0x0678}));
}

TEST(CrtAppend, SkippedLeadingPointsAreNotRead) {
  std::vector<std::int16_t> block(30);
  for (int i = 0; i < 30; ++i) block[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(i);
  ConverterParams p = identityAxis(kI16);
  p.dataIncrement = 1;
  Channel channel(p, 100);
  ASSERT_EQ(channel.converter->append(bytesOf(block), 20, 10), kAppendOk);
  EXPECT_EQ(channel.at(0, Axis::X), 10);
  EXPECT_EQ(channel.at(19, Axis::X), 29);
  EXPECT_EQ(channel.converter->append(bytesOf(block), 21, 10), kAppendBounds);
}

TEST(DisplayOffset, AddedToNewPointsAndTranslatedOntoHeldOnes) {
  ConverterParams p = yParams(kF32, 10.0f, 300, 100);  // s = -20
  p.displayOffset = 1.0f;                              // -20 pixels
  Channel channel(p, 8);
  const std::vector<float> block{0.0f, 5.0f, 10.0f, 2000.0f};
  ASSERT_EQ(channel.converter->append(bytesOf(block), 4, 0), kAppendOk);
  EXPECT_EQ(channel.coordinates(0, 4, Axis::Y), (std::vector<std::int32_t>{280, 180, 80, -32768}));
  EXPECT_EQ(channel.converter->minimum(), -32768);
  EXPECT_EQ(channel.converter->maximum(), 280);
  EXPECT_TRUE(channel.converter->isSaturated(0, 4));
  EXPECT_FALSE(channel.converter->isSaturated(0, 3));

  EXPECT_FALSE(channel.converter->offsetChanged(1.0f));
  EXPECT_TRUE(channel.converter->offsetChanged(-2.0f));
  EXPECT_TRUE(channel.converter->translate(-2.0f, 0, 4));  // +60 pixels
  EXPECT_EQ(channel.coordinates(0, 4, Axis::Y), (std::vector<std::int32_t>{340, 240, 140, -32708}));
  EXPECT_EQ(channel.converter->minimum(), -32708);
  EXPECT_EQ(channel.converter->maximum(), 340);
  EXPECT_EQ(channel.at(4, Axis::Y), -1);                     // outside the range: untouched
  EXPECT_FALSE(channel.converter->translate(-2.01f, 0, 4));  // 0.2 pixel
  EXPECT_FALSE(channel.converter->offsetChanged(-2.01f));

  ASSERT_EQ(channel.converter->append(bytesOf(block), 1, 0), kAppendOk);
  EXPECT_EQ(channel.at(4, Axis::Y), 340);
  channel.converter->reset();
  EXPECT_EQ(channel.converter->writePosition(), 0);
}

TEST(ConverterFactory, PicksByShapeThenType) {
  std::vector<gdi::Point> points(12);
  ConverterParams p = identityAxis(8);
  EXPECT_EQ(createSampleConverter(p, points, 10), nullptr);
  p.dataType = -1;
  EXPECT_EQ(createSampleConverter(p, points, 10), nullptr);
  p.shape = 2;  // auto-increment reads no data and needs no type
  EXPECT_NE(createSampleConverter(p, points, 10), nullptr);
  p.dataType = kU8;
  p.shape = 0;
  const auto clamped = createSampleConverter(p, points, 1000);
  ASSERT_NE(clamped, nullptr);
  EXPECT_EQ(clamped->bufferLength(), 12);
  EXPECT_EQ(createSampleConverter(p, points, -5)->bufferLength(), 0);
  EXPECT_TRUE(usesVerticalDescription(Axis::X, 1));
  EXPECT_FALSE(usesVerticalDescription(Axis::X, 0));
}

}  // namespace
}  // namespace kvplotax
