#include "scale/scale_info.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace kvplotax::scale {
namespace {

constexpr std::uint16_t kMarker = 0xFFFF;
constexpr std::uint16_t kVersion = 1;
constexpr std::string_view kName = "ScaleInfo";

void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void putI32(std::vector<std::uint8_t>& out, std::int32_t v) {
  put32(out, static_cast<std::uint32_t>(v));
}

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool ok() const { return ok_; }
  std::size_t used() const { return at_; }

  std::span<const std::uint8_t> take(std::size_t n) {
    if (!ok_ || bytes_.size() - at_ < n) {
      ok_ = false;
      return {};
    }
    const auto piece = bytes_.subspan(at_, n);
    at_ += n;
    return piece;
  }
  std::uint32_t u(std::size_t n) {
    const auto piece = take(n);
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < piece.size(); ++i) v |= std::uint32_t{piece[i]} << (8 * i);
    return v;
  }
  std::int32_t i32() { return static_cast<std::int32_t>(u(4)); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

}  // namespace

void writeScaleInfo(const ScaleInfo& info, std::vector<std::uint8_t>& out) {
  put16(out, kMarker);
  put16(out, kVersion);
  put16(out, static_cast<std::uint16_t>(kName.size()));
  out.insert(out.end(), kName.begin(), kName.end());
  for (std::int32_t v : {info.number, info.action, info.window, info.viewport, info.dimension})
    putI32(out, v);
  for (const ScaleInfoAxis& a : info.axes) {
    for (std::int32_t v :
         {a.pen, a.places, a.gap, a.position, a.orientation, a.location, a.path, a.visibility})
      putI32(out, v);
  }
  std::uint32_t factorBits = 0;
  std::memcpy(&factorBits, &info.factor, sizeof factorBits);
  put32(out, factorBits);
  // The length is one byte: a longer caption is cut rather than wrapped around to a few
  // characters (or none).
  const std::size_t n = savedCaptionBytes(info.caption);
  out.push_back(static_cast<std::uint8_t>(n));
  out.insert(out.end(), info.caption.begin(), info.caption.begin() + static_cast<long>(n));
  for (std::int32_t v : {info.descender, info.labelPen, info.labelPosition, info.labelOrientation,
                         info.labelLocation, info.labelPath})
    putI32(out, v);
}

std::size_t savedCaptionBytes(std::string_view caption) {
  if (caption.size() <= kScaleInfoCaptionMax) return caption.size();
  // Back up over the continuation bytes of the character the cut would split (at most three
  // in UTF-8; text that is not UTF-8 is cut where it is).
  std::size_t n = kScaleInfoCaptionMax;
  for (int i = 0; i < 3 && n > 0 && (static_cast<unsigned char>(caption[n]) & 0xC0) == 0x80; ++i)
    --n;
  if ((static_cast<unsigned char>(caption[n]) & 0xC0) == 0x80) return kScaleInfoCaptionMax;
  return n;
}

std::size_t readScaleInfo(std::span<const std::uint8_t> bytes, ScaleInfo& info) {
  Reader r(bytes);
  if (r.u(2) != kMarker || r.u(2) != kVersion || r.u(2) != kName.size()) return 0;
  const auto name = r.take(kName.size());
  if (!r.ok() || !std::equal(name.begin(), name.end(), kName.begin())) return 0;
  ScaleInfo read;
  read.number = r.i32();
  read.action = r.i32();
  read.window = r.i32();
  read.viewport = r.i32();
  read.dimension = r.i32();
  for (ScaleInfoAxis& a : read.axes) {
    for (std::int32_t* v : {&a.pen, &a.places, &a.gap, &a.position, &a.orientation, &a.location,
                            &a.path, &a.visibility})
      *v = r.i32();
  }
  const std::uint32_t factorBits = r.u(4);
  std::memcpy(&read.factor, &factorBits, sizeof factorBits);
  const std::size_t n = r.u(1);
  const auto caption = r.take(n);
  read.caption.assign(caption.begin(), caption.end());
  for (std::int32_t* v : {&read.descender, &read.labelPen, &read.labelPosition,
                          &read.labelOrientation, &read.labelLocation, &read.labelPath})
    *v = r.i32();
  if (!r.ok()) return 0;
  info = std::move(read);
  return r.used();
}

}  // namespace kvplotax::scale
