#include "ocx/page_field.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "util/text.h"

namespace ocx {
namespace {

using automation::Variant;

std::string_view trimmed(std::string_view text) { return util::trim(text, " \t"); }

// Limits as the dialog shows them: whole numbers without a decimal part.
std::string limitText(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

}  // namespace

std::string colorText(std::uint32_t color) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "&H%08X", color);
  return buffer;
}

std::optional<std::uint32_t> parseColorText(std::string_view text) {
  text = trimmed(text);
  if (text.size() < 3 || text.size() > 10 || text[0] != '&' || (text[1] != 'H' && text[1] != 'h')) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [last, ec] = std::from_chars(text.data() + 2, end, value, 16);
  if (ec != std::errc() || last != end) return std::nullopt;
  return value;
}

std::optional<std::int32_t> parseIntegerText(std::string_view text) {
  text = trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [last, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || last != end) return std::nullopt;
  return value;
}

std::optional<double> parseRealText(std::string_view text) {
  text = trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [last, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || last != end || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::string fieldText(const FieldBinding& field, const Variant& value) {
  switch (field.kind) {
    case FieldKind::Check:
      return value.toBool() ? "1" : "0";
    case FieldKind::DropList: {
      const std::int32_t v = value.toI4();
      if (v >= 0 && static_cast<std::size_t>(v) < field.items.size()) {
        return std::string(field.items[static_cast<std::size_t>(v)]);
      }
      return std::to_string(v);
    }
    case FieldKind::Selector:
    case FieldKind::Integer:
      return std::to_string(value.toI4());
    case FieldKind::Color:
      return colorText(static_cast<std::uint32_t>(value.toI4()));
    case FieldKind::Real:
    case FieldKind::Text:
      break;
  }
  return value.toString();
}

FieldValue fieldValue(const FieldBinding& field, std::string_view text) {
  switch (field.kind) {
    case FieldKind::Check:
      return {Variant(trimmed(text) != "0" && !trimmed(text).empty()), {}};
    case FieldKind::DropList: {
      for (std::size_t i = 0; i < field.items.size(); ++i) {
        if (field.items[i] == text) return {Variant(static_cast<std::int16_t>(i)), {}};
      }
      // A value the list does not name is shown as its number and written back as such.
      if (const auto v = parseIntegerText(text)) return {Variant(*v), {}};
      return {std::nullopt, "Select an entry from the list."};
    }
    case FieldKind::Selector:
    case FieldKind::Integer: {
      const auto v = parseIntegerText(text);
      if (!v) return {std::nullopt, "Enter an integer."};
      if (field.ranged && (*v < field.low || *v > field.high)) {
        return {std::nullopt, "Enter an integer between " + limitText(field.low) + " and " +
                                  limitText(field.high) + "."};
      }
      return {Variant(*v), {}};
    }
    case FieldKind::Real: {
      const auto v = parseRealText(text);
      if (!v) return {std::nullopt, "Enter a number."};
      if (field.ranged && (*v < field.low || *v > field.high)) {
        return {std::nullopt, "Enter a number between " + limitText(field.low) + " and " +
                                  limitText(field.high) + "."};
      }
      return {Variant(*v), {}};
    }
    case FieldKind::Text:
      return {Variant(std::string(text)), {}};
    case FieldKind::Color:
      if (const auto v = parseColorText(text)) return {Variant(static_cast<std::int32_t>(*v)), {}};
      return {std::nullopt, "Enter a colour as &H followed by up to eight hexadecimal digits."};
  }
  return {std::nullopt, {}};
}

}  // namespace ocx
