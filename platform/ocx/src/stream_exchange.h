// The stream form of the property exchange (see ocx/prop_exchange.h).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "ocx/prop_exchange.h"
#include "util/little_endian.h"

namespace ocx {

class StreamSaver final : public PropExchange {
 public:
  bool loading() const override { return false; }
  bool version(std::uint32_t& value) override;
  bool i2(std::string_view, std::int16_t& value) override;
  bool i4(std::string_view, std::int32_t& value) override;
  bool color(std::string_view, std::uint32_t& value) override;
  bool boolean(std::string_view, bool& value) override;
  bool r4(std::string_view, float& value) override;
  bool text(std::string_view, std::string& value) override;
  bool binary(std::string_view, std::vector<std::uint8_t>& bytes) override;
  bool object(std::string_view, automation::Guid& clsid,
              std::vector<std::uint8_t>& stream) override;
  std::vector<std::uint8_t> take() { return std::move(out_); }

 private:
  void putBytes(std::span<const std::uint8_t> bytes);
  std::vector<std::uint8_t> out_;
};

// Reads the entries in order; once the bytes run out every later entry is left as it is.
class StreamLoader final : public PropExchange {
 public:
  explicit StreamLoader(std::span<const std::uint8_t> bytes) : in_(bytes) {}
  bool loading() const override { return true; }
  bool version(std::uint32_t& value) override;
  bool i2(std::string_view, std::int16_t& value) override;
  bool i4(std::string_view, std::int32_t& value) override;
  bool color(std::string_view, std::uint32_t& value) override;
  bool boolean(std::string_view, bool& value) override;
  bool r4(std::string_view, float& value) override;
  bool text(std::string_view, std::string& value) override;
  bool binary(std::string_view, std::vector<std::uint8_t>& bytes) override;
  bool object(std::string_view, automation::Guid& clsid,
              std::vector<std::uint8_t>& stream) override;

 private:
  // Stores what was read in value only when all of it was there.
  template <class T>
  bool get(T& value, T read) {
    if (!in_.ok()) return false;
    value = read;
    return true;
  }
  bool getBytes(std::vector<std::uint8_t>& out);
  util::LittleEndianReader in_;
};

// Guid in its 16-byte binary form (data1 to data3 little-endian, then data4).
void appendGuid(std::vector<std::uint8_t>& out, const automation::Guid& guid);
automation::Guid guidFromBytes(std::span<const std::uint8_t, 16> bytes);

}  // namespace ocx
