// Bitmap files: the 14-byte file header ("BM", file size, reserved, offset of the pixel rows)
// followed by a packed DIB exactly as it is held in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gdi/packed_dib.h"

namespace kvplotax::output {

using gdi::bitmapFileHeader;

// Writes header and block as the file at path, replacing it whole. Only a regular file of the
// writer's own that no other open holds locked is replaced; false on any failure, which leaves an
// existing file as it was.
bool writeBitmapFile(const std::string& path, std::span<const std::uint8_t> packedDib);

}  // namespace kvplotax::output
