#include <cstdio>
#include <tuple>

#include "automation/automation.h"
#include "util/text.h"

namespace automation {
namespace {

// Reads exactly `digits` hex digits at `pos`; false on anything else.
bool readHex(std::string_view text, std::size_t pos, std::size_t digits, std::uint64_t& out) {
  out = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    const int v = util::hexDigitValue(text[pos + i]);
    if (v < 0) return false;
    out = (out << 4) | static_cast<std::uint64_t>(v);
  }
  return true;
}

}  // namespace

std::optional<Guid> Guid::parse(std::string_view text) {
  constexpr std::size_t kBareLength = 36;
  if (text.size() == kBareLength + 2) {
    if (text.front() != '{' || text.back() != '}') return std::nullopt;
    text = text.substr(1, kBareLength);
  }
  if (text.size() != kBareLength) return std::nullopt;
  if (text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-') return std::nullopt;

  Guid g;
  std::uint64_t v = 0;
  if (!readHex(text, 0, 8, v)) return std::nullopt;
  g.data1 = static_cast<std::uint32_t>(v);
  if (!readHex(text, 9, 4, v)) return std::nullopt;
  g.data2 = static_cast<std::uint16_t>(v);
  if (!readHex(text, 14, 4, v)) return std::nullopt;
  g.data3 = static_cast<std::uint16_t>(v);
  static constexpr std::size_t kBytePos[8] = {19, 21, 24, 26, 28, 30, 32, 34};
  for (std::size_t i = 0; i < 8; ++i) {
    if (!readHex(text, kBytePos[i], 2, v)) return std::nullopt;
    g.data4[i] = static_cast<std::uint8_t>(v);
  }
  return g;
}

std::string Guid::toString() const {
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(data1), static_cast<unsigned>(data2),
                static_cast<unsigned>(data3), data4[0], data4[1], data4[2], data4[3], data4[4],
                data4[5], data4[6], data4[7]);
  return buf;
}

namespace {
auto key(const Guid& g) {
  return std::tie(g.data1, g.data2, g.data3, g.data4[0], g.data4[1], g.data4[2], g.data4[3],
                  g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
}
}  // namespace

bool operator==(const Guid& a, const Guid& b) { return key(a) == key(b); }
bool operator<(const Guid& a, const Guid& b) { return key(a) < key(b); }

}  // namespace automation
