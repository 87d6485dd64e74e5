#include "xvtools/input_spec.h"

#include <charconv>

namespace xvtools {

namespace {

constexpr std::string_view kDevicePrefix = "device:";
constexpr std::string_view kSynthetic = "synthetic";
constexpr std::string_view kMeteors = "meteors";

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
    std::string_view digits = text.substr(kSynthetic.size() + 1);
    if (digits.starts_with(kMeteors) &&
        (digits.size() == kMeteors.size() || digits[kMeteors.size()] == ':')) {
      choice.signal = std::string(kMeteors);
      if (digits.size() == kMeteors.size()) return choice;
      digits.remove_prefix(kMeteors.size() + 1);
    }
    std::uint64_t seed = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), seed);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) {
      return std::nullopt;
    }
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
  const std::string signalPart = signal.empty() ? std::string() : signal + ":";
  return std::string(kSynthetic) + ":" + signalPart + std::to_string(seed);
}

}  // namespace xvtools
