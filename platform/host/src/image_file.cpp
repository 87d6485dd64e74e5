#include "host/image_file.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace host {

bool writeImageFile(const std::filesystem::path& path, const PixelView& image) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".bmp") return writeBmp(path, image);
  if (extension == ".png") return writePng(path, image);
  return false;
}

}  // namespace host
