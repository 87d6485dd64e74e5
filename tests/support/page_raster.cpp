#include "page_raster.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace zelk::testing {

std::optional<PagePart> rasterisePage(const std::filesystem::path& pdf, const gdi::Rect& area,
                                      int page) {
  return rasterisePage(pdf, area, page, 300);
}

std::optional<PagePart> rasterisePage(const std::filesystem::path& pdf, const gdi::Rect& area,
                                      int page, int dotsPerInch) {
  const std::string stem = pdf.string() + "-part";
  const std::string number = std::to_string(page);
  const std::string command = "pdftoppm -r " + std::to_string(dotsPerInch) + " -f " + number +
                              " -l " + number + " -x " + std::to_string(area.left) + " -y " +
                              std::to_string(area.top) + " -W " + std::to_string(area.width()) +
                              " -H " + std::to_string(area.height()) + " -singlefile '" +
                              pdf.string() + "' '" + stem + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) return std::nullopt;
  const std::filesystem::path ppm = stem + ".ppm";
  std::ifstream in(ppm, std::ios::binary);
  std::string magic;
  int width = 0;
  int height = 0;
  int maxValue = 0;
  in >> magic >> width >> height >> maxValue;
  in.get();
  const std::vector<unsigned char> rgb((std::istreambuf_iterator<char>(in)), {});
  std::filesystem::remove(ppm);
  if (magic != "P6" || maxValue != 255 || width != area.width() || height != area.height() ||
      rgb.size() != std::size_t(width) * height * 3)
    return std::nullopt;
  PagePart part{area, {}};
  part.pixels.reserve(rgb.size() / 3);
  for (std::size_t i = 0; i < rgb.size(); i += 3)
    part.pixels.push_back(rgb[i] | (rgb[i + 1] << 8) | (std::uint32_t{rgb[i + 2]} << 16));
  return part;
}

}  // namespace zelk::testing
