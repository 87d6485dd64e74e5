// Property exchange: one walk over a control's persisted entries that either saves them or
// loads them, in the stream form or the property-bag form.
//
// Stream form, little-endian, no names: the version (32-bit), then each entry in exchange order;
// shorts 16-bit, longs and colours 32-bit, BOOLs 16-bit (-1/0), floats 32-bit, strings a 32-bit
// byte count and UTF-8, binary data (a picture: its PNG bytes) a 32-bit byte count and the bytes
// (0 for none), an object its class identifier (16 bytes), a 32-bit byte count and the object's
// own stream.
//
// Property-bag form, UTF-8 text: "[Class {CLSID}]", then one "Name = Value" line per entry in
// exchange order; integers decimal, colours &H and 8 upper-case hex digits, BOOLs True/False,
// floats decimal, strings in double quotes (a quote doubled), binary data as base64 of its
// bytes and objects as base64 of the stream form's bytes. A missing line leaves the value as it
// is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "automation/automation.h"

namespace ocx {

class PropExchange {
 public:
  virtual ~PropExchange();
  virtual bool loading() const = 0;

  // Each exchange saves the value, or loads it and returns true; when the saved data have no
  // value for the entry (missing, cut short or unreadable) the value is left as it is.
  virtual bool version(std::uint32_t& value) = 0;
  virtual bool i2(std::string_view name, std::int16_t& value) = 0;
  virtual bool i4(std::string_view name, std::int32_t& value) = 0;
  virtual bool color(std::string_view name, std::uint32_t& value) = 0;
  virtual bool boolean(std::string_view name, bool& value) = 0;
  virtual bool r4(std::string_view name, float& value) = 0;
  virtual bool text(std::string_view name, std::string& value) = 0;
  // Binary data, e.g. a picture's PNG bytes (empty for no picture).
  virtual bool binary(std::string_view name, std::vector<std::uint8_t>& bytes) = 0;
  virtual bool object(std::string_view name, automation::Guid& clsid,
                      std::vector<std::uint8_t>& stream) = 0;
};

}  // namespace ocx
