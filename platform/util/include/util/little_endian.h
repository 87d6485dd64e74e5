// Little-endian numbers in byte blocks, as every file and stream format of ours stores them,
// whatever the byte order of the machine. Floats are stored as their IEEE bits.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>
#include <vector>

namespace util {

namespace le_detail {

template <class T>
using Bits = std::conditional_t<
    sizeof(T) == 1, std::uint8_t,
    std::conditional_t<sizeof(T) == 2, std::uint16_t,
                       std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>>;

template <class T>
T load(const std::uint8_t* from) {
  Bits<T> bits = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) bits |= static_cast<Bits<T>>(from[i]) << (8 * i);
  return std::bit_cast<T>(bits);
}

template <class T>
void store(std::uint8_t* to, T value) {
  const auto bits = std::bit_cast<Bits<T>>(value);
  for (std::size_t i = 0; i < sizeof(T); ++i) to[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

template <class T>
void append(std::vector<std::uint8_t>& out, T value) {
  const auto bits = std::bit_cast<Bits<T>>(value);
  for (std::size_t i = 0; i < sizeof(T); ++i)
    out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

}  // namespace le_detail

// The number in the first bytes of from, which must hold at least as many as the number has
// (use LittleEndianReader where the block may be short).
inline std::uint16_t loadU16(std::span<const std::uint8_t> from) {
  return le_detail::load<std::uint16_t>(from.data());
}
inline std::uint32_t loadU32(std::span<const std::uint8_t> from) {
  return le_detail::load<std::uint32_t>(from.data());
}
inline std::int16_t loadI16(std::span<const std::uint8_t> from) {
  return le_detail::load<std::int16_t>(from.data());
}
inline std::int32_t loadI32(std::span<const std::uint8_t> from) {
  return le_detail::load<std::int32_t>(from.data());
}
inline float loadF32(std::span<const std::uint8_t> from) {
  return le_detail::load<float>(from.data());
}
inline double loadF64(std::span<const std::uint8_t> from) {
  return le_detail::load<double>(from.data());
}

// Writes the number into the first bytes of to, which must have room for it.
inline void storeU16(std::span<std::uint8_t> to, std::uint16_t v) {
  le_detail::store(to.data(), v);
}
inline void storeU32(std::span<std::uint8_t> to, std::uint32_t v) {
  le_detail::store(to.data(), v);
}
inline void storeI16(std::span<std::uint8_t> to, std::int16_t v) { le_detail::store(to.data(), v); }
inline void storeI32(std::span<std::uint8_t> to, std::int32_t v) { le_detail::store(to.data(), v); }
inline void storeF32(std::span<std::uint8_t> to, float v) { le_detail::store(to.data(), v); }
inline void storeF64(std::span<std::uint8_t> to, double v) { le_detail::store(to.data(), v); }

// Adds the number at the end of out.
inline void appendU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  le_detail::append(out, v);
}
inline void appendU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  le_detail::append(out, v);
}
inline void appendI16(std::vector<std::uint8_t>& out, std::int16_t v) { le_detail::append(out, v); }
inline void appendI32(std::vector<std::uint8_t>& out, std::int32_t v) { le_detail::append(out, v); }
inline void appendF32(std::vector<std::uint8_t>& out, float v) { le_detail::append(out, v); }
inline void appendF64(std::vector<std::uint8_t>& out, double v) { le_detail::append(out, v); }

// Reads numbers one after the other from a block that may end early. A read past the end takes
// nothing and gives 0 (an empty view for bytes), and so does every read after it: ok() tells
// whether everything read so far was there, so a caller may check once, after a run of reads.
class LittleEndianReader {
 public:
  explicit LittleEndianReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint8_t u8() { return read<std::uint8_t>(); }
  std::uint16_t u16() { return read<std::uint16_t>(); }
  std::uint32_t u32() { return read<std::uint32_t>(); }
  std::int16_t i16() { return read<std::int16_t>(); }
  std::int32_t i32() { return read<std::int32_t>(); }
  float f32() { return read<float>(); }
  double f64() { return read<double>(); }
  // The next count bytes, as a view into the block.
  std::span<const std::uint8_t> bytes(std::size_t count) {
    if (!take(count)) return {};
    return bytes_.subspan(at_ - count, count);
  }
  void skip(std::size_t count) { take(count); }

  bool ok() const { return ok_; }
  std::size_t offset() const { return at_; }
  // What is left after the last read; nothing once a read failed.
  std::span<const std::uint8_t> rest() const { return bytes_.subspan(ok_ ? at_ : bytes_.size()); }

 private:
  bool take(std::size_t count) {
    if (!ok_ || bytes_.size() - at_ < count) {
      ok_ = false;
      return false;
    }
    at_ += count;
    return true;
  }
  template <class T>
  T read() {
    if (!take(sizeof(T))) return T{};
    return le_detail::load<T>(bytes_.data() + at_ - sizeof(T));
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

}  // namespace util
