// Drives the wave-buffer helpers with arbitrary header fields. The header, its buffer, the
// source and the destination all lie in one heap arena of exact size, so the address sanitizer
// reports any access outside it; a shadow copy checks that nothing but the promised bytes
// change.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "xvaxtool.h"

namespace {

constexpr std::size_t kArena = 512;

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint32_t u32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | byte();
    return v;
  }
  std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// A length the caller states truthfully for a region starting at offset: any negative value, or
// a non-negative one no larger than what the arena holds from there.
std::int32_t boundedLength(std::uint32_t raw, std::size_t offset) {
  const auto asSigned = static_cast<std::int32_t>(raw);
  if (asSigned < 0) return asSigned;
  return static_cast<std::int32_t>(raw % (kArena - offset + 1));
}

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  std::vector<char> arena(kArena);
  for (std::size_t i = 0; i < kArena; ++i) arena[i] = static_cast<char>(in.byte());
  std::vector<char> shadow = arena;

  const std::uint8_t op = in.byte();
  const std::uint8_t nulls = in.byte();
  const std::size_t dataOff = in.byte() % (kArena + 1);
  const std::size_t otherOff = in.byte() % (kArena + 1);

  WAVEHDR hdr{};
  hdr.lpData = (nulls & 1) ? nullptr : arena.data() + dataOff;
  hdr.dwBufferLength = static_cast<std::uint32_t>(boundedLength(in.u32(), dataOff));
  hdr.dwBytesRecorded = in.u32();  // anything at all: the helpers must not trust it
  hdr.dwUser = in.u32();
  const WAVEHDR before = hdr;
  const std::int32_t len = boundedLength(in.u32(), otherOff);
  char* other = (nulls & 2) ? nullptr : arena.data() + otherOff;
  WAVEHDR* header = (nulls & 4) ? nullptr : &hdr;

  switch (op % 4) {
    case 0: {
      const std::int32_t n = ParseWaveHeader(header);
      check(n >= 0);
      break;
    }
    case 1: {
      const std::int32_t n = CopyWaveHeader(header, other, len);
      check(n == 0 || (n > 0 && n <= len));
      if (n > 0) {
        check(n <= static_cast<std::int32_t>(hdr.dwBufferLength));
        std::memmove(shadow.data() + otherOff, shadow.data() + dataOff,
                     static_cast<std::size_t>(n));
      }
      check(std::memcmp(&hdr, &before, sizeof hdr) == 0);
      break;
    }
    case 2: {
      const std::int32_t ok = FillWaveHeader(header, other, len);
      check(ok == 0 || ok == 1);
      if (ok == 1) {
        check(len >= 0 && len <= static_cast<std::int32_t>(before.dwBufferLength));
        check(hdr.dwBytesRecorded == static_cast<std::uint32_t>(len));
        std::memmove(shadow.data() + dataOff, shadow.data() + otherOff,
                     static_cast<std::size_t>(len));
      } else {
        check(std::memcmp(&hdr, &before, sizeof hdr) == 0);
      }
      break;
    }
    default:
      check(GetAddress(other) == reinterpret_cast<uintptr_t>(other));
      break;
  }
  check(arena == shadow);
  return 0;
}
