// A part of a printed page as pdftoppm draws it at the file printer's 300 dots per inch: one
// device pixel per printer pixel, 0x00BBGGRR like the screen.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "gdi/geometry.h"

namespace zelk::testing {

struct PagePart {
  gdi::Rect area;  // in printer pixels
  std::vector<std::uint32_t> pixels;
  std::uint32_t at(int x, int y) const {
    return pixels[static_cast<std::size_t>(y - area.top) * area.width() + (x - area.left)];
  }
};

// Nothing when pdftoppm fails or the page is smaller than area.
std::optional<PagePart> rasterisePage(const std::filesystem::path& pdf, const gdi::Rect& area,
                                      int page = 1);
// The same at another resolution. A picture enlarged less than four times is smoothed by the
// rasteriser; above that its pixels come back as blocks of their own colour.
std::optional<PagePart> rasterisePage(const std::filesystem::path& pdf, const gdi::Rect& area,
                                      int page, int dotsPerInch);

}  // namespace zelk::testing
