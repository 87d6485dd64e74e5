// A PDF document of pages of printer pixels on white paper. A page is drawn as filled rectangles,
// one for each block of equal pixels, with edges on printer pixel boundaries: a rasteriser at the
// printer's resolution reproduces every pixel exactly, and at any other it scales the page
// without smoothing. A page too busy for that (a photograph) is one image of its drawn part
// instead. Pages are compressed as they come; the file is written at the end.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

#include "gdi/bitmap.h"
#include "gdi/geometry.h"

namespace host {

class PdfDocument {
 public:
  explicit PdfDocument(int dotsPerInch) : dotsPerInch_(dotsPerInch) {}

  // Adds a page of the bitmap's size whose drawn part is area (nothing drawn when it is empty).
  // keepGoing is asked between runs of rows; when it says no, nothing is added and false is
  // returned. False also when compression fails.
  bool addPage(const gdi::Bitmap& page, const gdi::Rect& area,
               const std::function<bool()>& keepGoing);
  std::size_t pageCount() const { return pages_.size(); }
  // The whole file; false when a write failed.
  bool write(std::FILE* out) const;

 private:
  struct Page {
    int width;
    int height;
    gdi::Rect area;                     // where the image lies, in page pixels
    std::vector<std::uint8_t> image;    // Flate-compressed RGB rows of area, top row first
    std::vector<std::uint8_t> drawing;  // or the Flate-compressed rectangles of the page
  };
  // The page as rectangles; false when it has too many for that, or compression failed.
  bool addRectangles(const gdi::Bitmap& page, const gdi::Rect& area, Page& out) const;
  int dotsPerInch_;
  std::vector<Page> pages_;
};

}  // namespace host
