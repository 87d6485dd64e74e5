#include "font_dispatch.h"

#include <strings.h>
#include <array>

namespace ocx {
namespace {

using automation::DispId;
using automation::Variant;

// The platform font object's DISPIDs.
constexpr DispId kName = 0;
constexpr DispId kSize = 2;
constexpr DispId kBold = 3;
constexpr DispId kItalic = 4;
constexpr DispId kUnderline = 5;
constexpr DispId kStrikethrough = 6;
constexpr DispId kWeight = 7;

struct Entry {
  const char* name;
  DispId id;
};
constexpr std::array<Entry, 7> kEntries{{{"Name", kName},
                                         {"Size", kSize},
                                         {"Bold", kBold},
                                         {"Italic", kItalic},
                                         {"Underline", kUnderline},
                                         {"Strikethrough", kStrikethrough},
                                         {"Weight", kWeight}}};

}  // namespace

FontDispatch::FontDispatch(std::function<Font()> read, std::function<void(const Font&)> write)
    : read_(std::move(read)), write_(std::move(write)) {}

DispId FontDispatch::idOfName(std::string_view name) const {
  for (const Entry& e : kEntries) {
    if (name.size() == std::char_traits<char>::length(e.name) &&
        strncasecmp(name.data(), e.name, name.size()) == 0) {
      return e.id;
    }
  }
  return automation::kDispIdUnknown;
}

Variant FontDispatch::get(DispId id) {
  const Font f = read_();
  switch (id) {
    case kName:
      return Variant(f.name);
    case kSize:
      return Variant(static_cast<double>(f.size));
    case kBold:
      return Variant(f.bold);
    case kItalic:
      return Variant(f.italic);
    case kUnderline:
      return Variant(f.underline);
    case kStrikethrough:
      return Variant(f.strikethrough);
    case kWeight:
      return Variant(f.weight());
    default:
      throw automation::AutomationError::standard(automation::kErrNotSupported);
  }
}

void FontDispatch::put(DispId id, const Variant& value) {
  Font f = read_();
  switch (id) {
    case kName:
      f.name = value.toString();
      break;
    case kSize: {
      const float size = value.toR4();
      if (!(size > 0.0f))
        throw automation::AutomationError::standard(automation::kErrInvalidPropertyValue);
      f.size = size;
      break;
    }
    case kBold:
      f.bold = value.toBool();
      break;
    case kItalic:
      f.italic = value.toBool();
      break;
    case kUnderline:
      f.underline = value.toBool();
      break;
    case kStrikethrough:
      f.strikethrough = value.toBool();
      break;
    case kWeight:
      f.bold = value.toI2() >= 600;
      break;
    default:
      throw automation::AutomationError::standard(automation::kErrNotSupported);
  }
  write_(f);
}

Variant FontDispatch::call(DispId, std::span<Variant>) {
  throw automation::AutomationError::standard(automation::kErrNotSupported);
}

Font FontDispatch::fromDispatch(automation::Dispatch& font) {
  Font f;
  f.name = font.get("Name").toString();
  f.size = font.get("Size").toR4();
  f.bold = font.get("Bold").toBool();
  f.italic = font.get("Italic").toBool();
  f.underline = font.get("Underline").toBool();
  f.strikethrough = font.get("Strikethrough").toBool();
  return f;
}

}  // namespace ocx
