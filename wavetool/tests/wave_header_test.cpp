#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>

#include "xvaxtool.h"

namespace {

// A header over a buffer with a guard byte on each side, so over-runs show.
struct Fixture {
  static constexpr std::size_t kCapacity = 8000;
  std::array<char, kCapacity + 2> storage{};
  WAVEHDR hdr{};

  explicit Fixture(std::uint32_t recorded = 0) {
    storage.fill('G');
    std::iota(storage.begin() + 1, storage.end() - 1, char{0});
    hdr.lpData = storage.data() + 1;
    hdr.dwBufferLength = kCapacity;
    hdr.dwBytesRecorded = recorded;
  }
  bool guardsIntact() const { return storage.front() == 'G' && storage.back() == 'G'; }
};

TEST(ParseWaveHeader, ReportsRecordedBytesOrCapacity) {
  Fixture f(0);
  EXPECT_EQ(ParseWaveHeader(&f.hdr), 8000);
  f.hdr.dwBytesRecorded = 4000;
  EXPECT_EQ(ParseWaveHeader(&f.hdr), 4000);
  EXPECT_EQ(ParseWaveHeader(nullptr), 0);
}

TEST(ParseWaveHeader, NegativeFieldsAreNeverReportedAsCounts) {
  Fixture f(0x80000000u);  // negative as signed: not "recorded"
  EXPECT_EQ(ParseWaveHeader(&f.hdr), 8000);
  f.hdr.dwBufferLength = 0xFFFFFFFFu;
  EXPECT_EQ(ParseWaveHeader(&f.hdr), 0);
  f.hdr.dwBytesRecorded = 0;
  f.hdr.dwBufferLength = 0;
  EXPECT_EQ(ParseWaveHeader(&f.hdr), 0);
}

TEST(CopyWaveHeader, CopiesWhenTheDestinationHoldsTheData) {
  Fixture f(4000);
  std::array<char, 4002> dest{};
  dest.fill('D');
  EXPECT_EQ(CopyWaveHeader(&f.hdr, dest.data() + 1, 4000), 4000);
  EXPECT_EQ(std::memcmp(dest.data() + 1, f.hdr.lpData, 4000), 0);
  EXPECT_EQ(dest.front(), 'D');
  EXPECT_EQ(dest.back(), 'D');
}

TEST(CopyWaveHeader, RefusesWithoutCopying) {
  Fixture f(4000);
  std::array<char, 4000> dest{};
  dest.fill('D');
  auto untouched = [&] {
    return std::all_of(dest.begin(), dest.end(), [](char c) { return c == 'D'; });
  };
  EXPECT_EQ(CopyWaveHeader(&f.hdr, dest.data(), 3999), 0) << "one byte too small";
  EXPECT_TRUE(untouched());
  EXPECT_EQ(CopyWaveHeader(&f.hdr, dest.data(), -1), 0);
  EXPECT_EQ(CopyWaveHeader(&f.hdr, nullptr, 4000), 0);
  EXPECT_EQ(CopyWaveHeader(nullptr, dest.data(), 4000), 0);
  f.hdr.dwBytesRecorded = 0;
  EXPECT_EQ(CopyWaveHeader(&f.hdr, dest.data(), 4000), 0) << "nothing recorded";
  EXPECT_EQ(CopyWaveHeader(&f.hdr, dest.data(), 0x7FFFFFFF), 0);
  f.hdr.dwBytesRecorded = 0xFFFFFFF0u;  // negative as signed
  EXPECT_EQ(CopyWaveHeader(&f.hdr, dest.data(), 4000), 0);
  f.hdr.dwBytesRecorded = 4000;
  f.hdr.lpData = nullptr;
  EXPECT_EQ(CopyWaveHeader(&f.hdr, dest.data(), 4000), 0);
  EXPECT_TRUE(untouched());
}

TEST(CopyWaveHeader, NeverReadsPastTheBuffer) {
  Fixture f(8001);  // more recorded than the buffer holds
  std::array<char, 9000> dest{};
  EXPECT_EQ(CopyWaveHeader(&f.hdr, dest.data(), 9000), 0);
}

TEST(CopyWaveHeader, ToleratesOverlap) {
  Fixture f(100);
  char* data = f.hdr.lpData;
  std::array<char, 100> expected{};
  std::memcpy(expected.data(), data, 100);
  EXPECT_EQ(CopyWaveHeader(&f.hdr, data + 10, 7990), 100);
  EXPECT_EQ(std::memcmp(data + 10, expected.data(), 100), 0);
  EXPECT_TRUE(f.guardsIntact());
}

TEST(FillWaveHeader, FillsUpToCapacity) {
  Fixture f;
  std::array<char, 8001> src{};
  src.fill('S');
  EXPECT_EQ(FillWaveHeader(&f.hdr, src.data(), 8000), 1);
  EXPECT_EQ(f.hdr.dwBytesRecorded, 8000u);
  EXPECT_EQ(f.hdr.lpData[0], 'S');
  EXPECT_EQ(f.hdr.lpData[7999], 'S');
  EXPECT_TRUE(f.guardsIntact());

  EXPECT_EQ(FillWaveHeader(&f.hdr, src.data(), 0), 1);
  EXPECT_EQ(f.hdr.dwBytesRecorded, 0u);
}

TEST(FillWaveHeader, RefusesAndLeavesTheHeaderUnchanged) {
  Fixture f(123);
  std::array<char, 8001> src{};
  src.fill('S');
  const WAVEHDR before = f.hdr;
  auto unchanged = [&] {
    return f.hdr.lpData == before.lpData && f.hdr.dwBufferLength == before.dwBufferLength &&
           f.hdr.dwBytesRecorded == before.dwBytesRecorded && f.hdr.lpData[0] == 0 &&
           f.guardsIntact();
  };
  EXPECT_EQ(FillWaveHeader(&f.hdr, src.data(), 8001), 0) << "one byte over capacity";
  EXPECT_TRUE(unchanged());
  EXPECT_EQ(FillWaveHeader(&f.hdr, src.data(), -1), 0);
  EXPECT_EQ(FillWaveHeader(&f.hdr, nullptr, 10), 0);
  EXPECT_EQ(FillWaveHeader(nullptr, src.data(), 10), 0);
  EXPECT_TRUE(unchanged());
  f.hdr.dwBufferLength = 0x80000010u;  // negative capacity holds nothing
  EXPECT_EQ(FillWaveHeader(&f.hdr, src.data(), 16), 0);
  f.hdr.dwBufferLength = 8000;
  f.hdr.lpData = nullptr;
  EXPECT_EQ(FillWaveHeader(&f.hdr, src.data(), 16), 0);
}

TEST(FillWaveHeader, ToleratesOverlap) {
  Fixture f;
  char* data = f.hdr.lpData;
  std::array<char, 50> expected{};
  std::memcpy(expected.data(), data + 5, 50);
  EXPECT_EQ(FillWaveHeader(&f.hdr, data + 5, 50), 1);
  EXPECT_EQ(std::memcmp(data, expected.data(), 50), 0);
}

TEST(GetAddress, ReturnsTheAddressItself) {
  int variable = 0;
  EXPECT_EQ(GetAddress(&variable), reinterpret_cast<uintptr_t>(&variable));
  EXPECT_EQ(GetAddress(nullptr), 0u);
}

}  // namespace
