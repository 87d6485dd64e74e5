#include "automation/picture.h"

#include <strings.h>
#include <algorithm>
#include <array>

namespace automation {
namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr DispId kType = 1;
constexpr DispId kWidth = 2;
constexpr DispId kHeight = 3;

std::uint32_t bigEndian32(std::span<const std::uint8_t> b) {
  return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) |
         b[3];
}

}  // namespace

std::shared_ptr<Picture> Picture::fromPng(std::span<const std::uint8_t> png) {
  // Signature, then the header chunk: length 13, "IHDR", width, height.
  constexpr std::size_t kHeaderEnd = 8 + 8 + 8;
  if (png.size() < kHeaderEnd || !std::equal(kSignature.begin(), kSignature.end(), png.begin()))
    return nullptr;
  if (bigEndian32(png.subspan(8, 4)) != 13 ||
      !std::equal(png.begin() + 12, png.begin() + 16, std::begin("IHDR")))
    return nullptr;
  const std::uint32_t width = bigEndian32(png.subspan(16, 4));
  const std::uint32_t height = bigEndian32(png.subspan(20, 4));
  if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return nullptr;
  return std::shared_ptr<Picture>(new Picture(std::vector<std::uint8_t>(png.begin(), png.end()),
                                              static_cast<int>(width), static_cast<int>(height)));
}

DispId Picture::idOfName(std::string_view name) const {
  struct Entry {
    std::string_view name;
    DispId id;
  };
  static constexpr Entry kNames[] = {{"Type", kType}, {"Width", kWidth}, {"Height", kHeight}};
  for (const Entry& e : kNames) {
    if (e.name.size() == name.size() && strncasecmp(e.name.data(), name.data(), name.size()) == 0)
      return e.id;
  }
  return kDispIdUnknown;
}

Variant Picture::get(DispId id) {
  switch (id) {
    case kType:
      return Variant(std::int16_t{1});
    case kWidth:
      return Variant(static_cast<std::int32_t>(width_));
    case kHeight:
      return Variant(static_cast<std::int32_t>(height_));
    default:
      throw AutomationError::standard(kErrNotSupported);
  }
}

void Picture::put(DispId, const Variant&) { throw AutomationError::standard(kErrSetNotSupported); }

Variant Picture::call(DispId id, std::span<Variant> args) {
  if (args.empty()) return get(id);
  throw AutomationError::standard(kErrNotSupported);
}

}  // namespace automation
