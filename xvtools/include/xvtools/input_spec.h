// Where an audio input's samples come from, as the programs' --input option names it:
// default | device:NAME | FILE | synthetic[:SEED] | synthetic:vlf[:SEED] | synthetic:meteors[:SEED]
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xvtools {

struct InputSpec {
  enum class Kind { DefaultDevice, Device, File, Synthetic, SyntheticVlf, SyntheticMeteors };
  static constexpr std::uint64_t kDefaultSeed = 1;

  Kind kind = Kind::Synthetic;
  std::string name;                   // device name or file path
  std::uint64_t seed = kDefaultSeed;  // synthetic signals only

  // nullopt for an empty text, "device:" without a name, or a seed that is not a decimal number.
  static std::optional<InputSpec> parse(std::string_view text);
  std::string toString() const;
  bool operator==(const InputSpec&) const = default;
};

}  // namespace xvtools
