#include "util/little_endian.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace util {
namespace {

// Reads a run of fields from a block: each must give the stored value while the block lasts, and
// 0 with ok() false from the first field the block cannot hold, whatever its size, even when a
// smaller field after it would still fit.
TEST(LittleEndian, ReadsWhatWasStoredAndNothingPastTheEnd) {
  enum Kind { kU8, kU16, kU32, kI16, kI32, kF32, kF64, kBytes };
  struct Field {
    Kind kind;
    double value;  // or the count, for kBytes
  };
  struct Case {
    const char* what;
    std::vector<Field> fields;
    std::size_t cut;    // bytes of the stored block the reader is given
    std::size_t whole;  // fields read in full
  };
  const Case cases[] = {
      {"every kind",
       {{kU8, 0xAB},
        {kU16, 0xFEDC},
        {kU32, 0x89ABCDEF},
        {kI16, -2},
        {kI32, -123456789},
        {kF32, -1.5},
        {kF64, 1e300},
        {kBytes, 3}},
       1 + 2 + 4 + 2 + 4 + 4 + 8 + 3,
       8},
      {"cut inside a 32-bit field", {{kU16, 7}, {kU32, 0xFFFFFFFF}, {kU8, 1}}, 2 + 3, 1},
      {"cut before a byte run", {{kI32, -1}, {kBytes, 5}, {kU8, 9}}, 4 + 4, 1},
      {"empty block", {{kU8, 1}}, 0, 0},
      {"a double one byte short", {{kF64, 2.0}}, 7, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::uint8_t> block;
    for (const Field& f : c.fields) {
      switch (f.kind) {
        case kU8:
          block.push_back(static_cast<std::uint8_t>(f.value));
          break;
        case kU16:
          appendU16(block, static_cast<std::uint16_t>(f.value));
          break;
        case kU32:
          appendU32(block, static_cast<std::uint32_t>(f.value));
          break;
        case kI16:
          appendI16(block, static_cast<std::int16_t>(f.value));
          break;
        case kI32:
          appendI32(block, static_cast<std::int32_t>(f.value));
          break;
        case kF32:
          appendF32(block, static_cast<float>(f.value));
          break;
        case kF64:
          appendF64(block, f.value);
          break;
        case kBytes:
          block.insert(block.end(), static_cast<std::size_t>(f.value), 0x5A);
          break;
      }
    }
    block.resize(c.cut);
    LittleEndianReader in(block);
    for (std::size_t i = 0; i < c.fields.size(); ++i) {
      const Field& f = c.fields[i];
      const double expected = i < c.whole ? f.value : 0;
      switch (f.kind) {
        case kU8:
          EXPECT_EQ(in.u8(), expected);
          break;
        case kU16:
          EXPECT_EQ(in.u16(), expected);
          break;
        case kU32:
          EXPECT_EQ(in.u32(), expected);
          break;
        case kI16:
          EXPECT_EQ(in.i16(), expected);
          break;
        case kI32:
          EXPECT_EQ(in.i32(), expected);
          break;
        case kF32:
          EXPECT_EQ(in.f32(), expected);
          break;
        case kF64:
          EXPECT_EQ(in.f64(), expected);
          break;
        case kBytes:
          EXPECT_EQ(in.bytes(static_cast<std::size_t>(f.value)).size(), i < c.whole ? f.value : 0);
          break;
      }
      EXPECT_EQ(in.ok(), i < c.whole) << "field " << i;
    }
    EXPECT_TRUE(in.rest().empty());
  }
  // The byte order itself, as the formats on disk have it.
  std::vector<std::uint8_t> bytes(4);
  storeI16(bytes, -2);
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0xFE, 0xFF, 0, 0}));
  storeF32(bytes, 1.0f);
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0, 0, 0x80, 0x3F}));
  EXPECT_EQ(loadU32(bytes), 0x3F800000u);
}

}  // namespace
}  // namespace util
