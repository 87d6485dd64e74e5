// Golden images for the drawing tests: a bitmap is compared pixel for pixel with a PNG kept in
// the source tree. A missing or different golden leaves the actual image in the build folder.
#pragma once

#include <string>

#include "gdi/bitmap.h"

namespace kvplotax::testing {

// Empty when the bitmap equals golden/<name>.png; else a description of the first difference.
std::string compareWithGolden(const gdi::Bitmap& actual, const std::string& name);

bool writePng(const gdi::Bitmap& bitmap, const std::string& path);
bool readPng(const std::string& path, gdi::Bitmap& bitmap);

}  // namespace kvplotax::testing
