// The stored object records in their saved form: a block of eight sections (pens, viewport
// settings, windows, transforms, channels, horizontal and vertical data descriptions, scales),
// each a 32-bit count, a 32-bit section version and (key, record) entries, little-endian.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "setting_maps.h"

namespace kvplotax {

void writeSettingMaps(const CSettingMaps& maps, std::vector<std::uint8_t>& out);

// Builds maps from the saved bytes, reading what they hold whole: an entry cut short ends its
// section and everything after it. Records with a key that no selector can make (0 or below)
// are skipped. False when the block header or the first section's version is not the expected
// one; maps then stay empty.
bool readSettingMaps(std::span<const std::uint8_t> bytes, CSettingMaps& maps);

// The factor, caption and label settings of each scale's other axis, which the scale record
// holds only once (for the scale's current dimension): a block of its own, empty when every
// scale's axes agree in them.
void writeScaleAxisLabels(const CSettingMaps& maps, std::vector<std::uint8_t>& out);
// Applies what the block holds whole to the scales of maps.
void readScaleAxisLabels(std::span<const std::uint8_t> bytes, CSettingMaps& maps);

}  // namespace kvplotax
