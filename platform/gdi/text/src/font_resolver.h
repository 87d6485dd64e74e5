// Finding the installed font file for a logical font.
#pragma once

#include <string>
#include <vector>

#include "gdi/log_font.h"

namespace gdi::detail {

struct FaceFile {
  std::string path;
  int index = 0;
  std::string family;
  // The file lacks the asked-for weight or slant, which are then made from the outlines.
  bool emboldened = false;
  bool slanted = false;
};

// The candidates to open, best first: the match for the face name, weight and slant, then the
// standard sans-serif faces. Empty when no font is installed at all.
std::vector<FaceFile> faceFilesFor(const LogFont& logFont);

}  // namespace gdi::detail
