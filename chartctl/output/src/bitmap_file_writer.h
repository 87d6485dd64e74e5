// Bitmap files: the 14-byte file header ("BM", file size, reserved, offset of the pixel rows)
// followed by a packed DIB exactly as it is held in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kvplotax::output {

// The file header for a packed DIB; none when the block's header cannot be read or the sizes do
// not fit the header's 32-bit fields.
std::optional<std::vector<std::uint8_t>> bitmapFileHeader(std::span<const std::uint8_t> packedDib);

// Writes header and block as the file at path, replacing it whole. Only a regular file of the
// writer's own that no other open holds locked is replaced; false on any failure, which leaves an
// existing file as it was.
bool writeBitmapFile(const std::string& path, std::span<const std::uint8_t> packedDib);

}  // namespace kvplotax::output
