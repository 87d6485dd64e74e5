// Base64 (RFC 4648, with padding) for the binary entries of a property bag.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ocx {

std::string encodeBase64(std::span<const std::uint8_t> bytes);
// Null for text that is not base64 (white space is not allowed).
std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text);

}  // namespace ocx
