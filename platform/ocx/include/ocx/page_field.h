// The fields of a property page: what kind of widget shows a property and how its text reads
// and writes the property's value.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "automation/automation.h"

namespace ocx {

enum class FieldKind : std::int32_t {
  Check = 0,     // a BOOL property; text "1" or "0"
  DropList = 1,  // an enumerated property; the list index is the value, the text the entry's
  Selector = 2,  // an editable combo of object numbers; the text is the decimal number
  Integer = 3,   // a whole number
  Real = 4,      // a real number
  Text = 5,      // a string
  Color = 6,     // an OLE colour written "&H" and eight upper-case hexadecimal digits
};

struct FieldBinding {
  std::string_view property;
  FieldKind kind;
  std::span<const std::string_view> items = {};  // DropList entries, one per value from 0
  automation::DispId lists = 0;  // Selector: the selector DISPID of the kind it lists
  bool selects = false;          // changing it runs the page's selector change sequence
  bool command = false;          // choosing an entry performs the command at once
  bool ranged = false;           // the value must lie in [low, high] before anything is written
  bool spin = false;             // a spin button stepping through [low, high]
  double low = 0;
  double high = 0;
};

// "&H00FFFF00" for 0x00FFFF00.
std::string colorText(std::uint32_t color);
// "&H" (or "&h") and one to eight hexadecimal digits, spaces around allowed.
std::optional<std::uint32_t> parseColorText(std::string_view text);
std::optional<std::int32_t> parseIntegerText(std::string_view text);
std::optional<double> parseRealText(std::string_view text);

// The text a field shows for a property value.
std::string fieldText(const FieldBinding& field, const automation::Variant& value);

// The value a field's text writes, or the message that tells the user what to type instead. Range
// checks are made here, before any property is written.
struct FieldValue {
  std::optional<automation::Variant> value;
  std::string message;
};
FieldValue fieldValue(const FieldBinding& field, std::string_view text);

}  // namespace ocx
