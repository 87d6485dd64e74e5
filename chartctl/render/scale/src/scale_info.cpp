#include "scale/scale_info.h"

#include <algorithm>
#include <string_view>

#include "util/little_endian.h"
#include "util/utf8.h"

namespace kvplotax::scale {
namespace {

constexpr std::uint16_t kMarker = 0xFFFF;
constexpr std::uint16_t kVersion = 1;
constexpr std::string_view kName = "ScaleInfo";

}  // namespace

void writeScaleInfo(const ScaleInfo& info, std::vector<std::uint8_t>& out) {
  util::appendU16(out, kMarker);
  util::appendU16(out, kVersion);
  util::appendU16(out, static_cast<std::uint16_t>(kName.size()));
  out.insert(out.end(), kName.begin(), kName.end());
  for (std::int32_t v : {info.number, info.action, info.window, info.viewport, info.dimension})
    util::appendI32(out, v);
  for (const ScaleInfoAxis& a : info.axes) {
    for (std::int32_t v :
         {a.pen, a.places, a.gap, a.position, a.orientation, a.location, a.path, a.visibility})
      util::appendI32(out, v);
  }
  util::appendF32(out, info.factor);
  // The length is one byte: a longer caption is cut rather than wrapped around to a few
  // characters (or none).
  const std::size_t n = savedCaptionBytes(info.caption);
  out.push_back(static_cast<std::uint8_t>(n));
  out.insert(out.end(), info.caption.begin(), info.caption.begin() + static_cast<long>(n));
  for (std::int32_t v : {info.descender, info.labelPen, info.labelPosition, info.labelOrientation,
                         info.labelLocation, info.labelPath})
    util::appendI32(out, v);
}

std::size_t savedCaptionBytes(std::string_view caption) {
  return util::utf8Prefix(caption, kScaleInfoCaptionMax);
}

std::size_t readScaleInfo(std::span<const std::uint8_t> bytes, ScaleInfo& info) {
  util::LittleEndianReader r(bytes);
  if (r.u16() != kMarker || r.u16() != kVersion || r.u16() != kName.size()) return 0;
  const auto name = r.bytes(kName.size());
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
  read.factor = r.f32();
  const auto caption = r.bytes(r.u8());
  read.caption.assign(caption.begin(), caption.end());
  for (std::int32_t* v : {&read.descender, &read.labelPen, &read.labelPosition,
                          &read.labelOrientation, &read.labelLocation, &read.labelPath})
    *v = r.i32();
  if (!r.ok()) return 0;
  info = std::move(read);
  return r.offset();
}

}  // namespace kvplotax::scale
