#include "xvtools/input_spec.h"

#include <charconv>
#include <utility>

namespace xvtools {

namespace {

constexpr std::string_view kDevicePrefix = "device:";
constexpr std::string_view kSynthetic = "synthetic";
constexpr std::string_view kVlf = "synthetic:vlf";
constexpr std::string_view kMeteors = "synthetic:meteors";

// A decimal seed, the whole of digits.
std::optional<std::uint64_t> parseSeed(std::string_view digits) {
  std::uint64_t seed = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), seed);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) {
    return std::nullopt;
  }
  return seed;
}

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
  // A named synthetic signal, with or without its seed.
  for (const auto& [prefix, kind] :
       {std::pair{kVlf, Kind::SyntheticVlf}, std::pair{kMeteors, Kind::SyntheticMeteors}}) {
    if (text != prefix && !text.starts_with(std::string(prefix) + ":")) continue;
    choice.kind = kind;
    if (text.size() == prefix.size()) return choice;
    const auto seed = parseSeed(text.substr(prefix.size() + 1));
    if (!seed) return std::nullopt;
    choice.seed = *seed;
    return choice;
  }
  if (text == kSynthetic) {
    choice.kind = Kind::Synthetic;
    return choice;
  }
  if (text.starts_with(kSynthetic) && text.size() > kSynthetic.size() &&
      text[kSynthetic.size()] == ':') {
    const auto seed = parseSeed(text.substr(kSynthetic.size() + 1));
    if (!seed) return std::nullopt;
    choice.seed = *seed;
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
    case Kind::SyntheticVlf:
      return std::string(kVlf) + ":" + std::to_string(seed);
    case Kind::SyntheticMeteors:
      return std::string(kMeteors) + ":" + std::to_string(seed);
    case Kind::Synthetic:
      break;
  }
  return std::string(kSynthetic) + ":" + std::to_string(seed);
}

}  // namespace xvtools
