#include "xvtools/input_spec.h"

#include <charconv>

namespace xvtools {

namespace {

constexpr std::string_view kDevicePrefix = "device:";
constexpr std::string_view kSynthetic = "synthetic";

}  // namespace

std::optional<InputSpec> InputSpec::parse(std::string_view text) {
  if (text.empty()) return std::nullopt;
  InputSpec choice;
  if (text == "default") {
    choice.kind = Kind::DefaultDevice;
    return choice;
  }
  if (text.starts_with(kDevicePrefix)) {
    choice.kind = Kind::Device;
    choice.name = std::string(text.substr(kDevicePrefix.size()));
    if (choice.name.empty()) return std::nullopt;
    return choice;
  }
  if (text == kSynthetic) {
    choice.kind = Kind::Synthetic;
    return choice;
  }
  if (text.starts_with(kSynthetic) && text.size() > kSynthetic.size() &&
      text[kSynthetic.size()] == ':') {
    const std::string_view digits = text.substr(kSynthetic.size() + 1);
    std::uint64_t seed = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), seed);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) {
      return std::nullopt;
    }
    choice.kind = Kind::Synthetic;
    choice.seed = seed;
    return choice;
  }
  choice.kind = Kind::File;
  choice.name = std::string(text);
  return choice;
}

std::string InputSpec::toString() const {
  switch (kind) {
    case Kind::DefaultDevice:
      return "default";
    case Kind::Device:
      return std::string(kDevicePrefix) + name;
    case Kind::File:
      return name;
    case Kind::Synthetic:
      break;
  }
  return std::string(kSynthetic) + ":" + std::to_string(seed);
}

}  // namespace xvtools
