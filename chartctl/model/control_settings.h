// Control-wide settings with their construction defaults.
#pragma once

#include <cstdint>
#include <string>

namespace kvplotax {

struct ControlSettings {
  std::int32_t ctlVersion = 101;
  std::int32_t errBase = 0;
  std::string imageFile;
  bool hitTest = false;
  std::int32_t framesPerSec = 0;
  bool autoSize = false;
  std::int32_t colorDepth = 0;
  // Stored inverted: GridSymmetry reads 1 - isotropic.
  bool isotropic = false;
  // Bezel.
  std::uint32_t borderColor = 0x8000000F;
  std::uint32_t lightColor = 0x8000000E;
  std::uint32_t shadowColor = 0x80000010;
  std::uint32_t outlineColor = 0x80000006;
  std::int32_t bevelInner = 0;
  std::int32_t bevelOuter = 2;
  std::int32_t bevelWidthInner = 1;
  std::int32_t bevelWidthOuter = 1;
  std::int32_t borderWidth = 3;
  bool outline = true;
  bool roundedCorners = false;
  // Viewports.
  std::int32_t viewports = 1;
  std::uint32_t viewportStorageColor = 0x00C0C0C0;
  // Graticule and layout.
  bool frameOn = true;
  std::int32_t frameTics = 0;
  std::int32_t axesType = 0;
  std::int32_t gridType = 0;
  std::int32_t axesTics = 0;
  bool gridOn = true;
  std::uint32_t backColor = 0x00808000;
  std::uint32_t frameColor = 0x00FFFF00;
  std::uint32_t axesColor = 0x00FFFF00;
  std::uint32_t gridColor = 0x00808080;
  std::int32_t majorDivHorz = 10;
  std::int32_t majorDivVert = 8;
  std::int32_t minorDiv = 5;
  std::int32_t marginLeft = 20;
  std::int32_t marginTop = 20;
  std::int32_t marginRight = 20;
  std::int32_t marginBottom = 20;
  std::int32_t mousePointer = 0;
};

}  // namespace kvplotax
