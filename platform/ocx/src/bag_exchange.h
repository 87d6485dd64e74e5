// The property-bag form of the property exchange (see ocx/prop_exchange.h).
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ocx/prop_exchange.h"

namespace ocx {

class BagSaver final : public PropExchange {
 public:
  explicit BagSaver(const automation::Guid& clsid);
  bool loading() const override { return false; }
  bool version(std::uint32_t& value) override;
  bool i2(std::string_view name, std::int16_t& value) override;
  bool i4(std::string_view name, std::int32_t& value) override;
  bool color(std::string_view name, std::uint32_t& value) override;
  bool boolean(std::string_view name, bool& value) override;
  bool r4(std::string_view name, float& value) override;
  bool text(std::string_view name, std::string& value) override;
  bool binary(std::string_view name, std::vector<std::uint8_t>& bytes) override;
  bool object(std::string_view name, automation::Guid& clsid,
              std::vector<std::uint8_t>& stream) override;
  std::string take() { return std::move(out_); }

 private:
  void line(std::string_view name, std::string_view value);
  std::string out_;
};

// An entry exchanged a second time under the same name takes the bag's second line of that
// name, or its last one when the bag has fewer.
class BagLoader final : public PropExchange {
 public:
  explicit BagLoader(std::string_view text);
  bool loading() const override { return true; }
  bool version(std::uint32_t& value) override;
  bool i2(std::string_view name, std::int16_t& value) override;
  bool i4(std::string_view name, std::int32_t& value) override;
  bool color(std::string_view name, std::uint32_t& value) override;
  bool boolean(std::string_view name, bool& value) override;
  bool r4(std::string_view name, float& value) override;
  bool text(std::string_view name, std::string& value) override;
  bool binary(std::string_view name, std::vector<std::uint8_t>& bytes) override;
  bool object(std::string_view name, automation::Guid& clsid,
              std::vector<std::uint8_t>& stream) override;

 private:
  // The raw value text of the entry's next line, null when there is none.
  const std::string* next(std::string_view name);
  bool integer(std::string_view name, std::int64_t lo, std::int64_t hi, std::int64_t& value);

  struct Lines {
    std::vector<std::string> values;
    std::size_t used = 0;
  };
  // Names compare without regard to case, as the platform's property bags do.
  struct LessNoCase {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  std::map<std::string, Lines, LessNoCase> lines_;
};

}  // namespace ocx
