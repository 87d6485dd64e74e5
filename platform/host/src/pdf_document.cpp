#include "pdf_document.h"

#include <zlib.h>

#include <algorithm>
#include <string>

namespace host {

namespace {

// Rows compressed between two questions whether to go on: a cancel is seen within a fraction
// of a second on a 300 dpi page.
constexpr int kRowsPerRun = 256;

constexpr std::uint32_t kPaper = 0x00FFFFFF;
// Beyond this many rectangles a page is cheaper as an image.
constexpr std::size_t kMaxRectangles = 200000;

struct Block {
  int left, top, right, bottom;
  std::uint32_t colour;
};

// A colour component as a fraction that comes back as the same byte.
std::string component(std::uint32_t byte) {
  char text[16];
  std::snprintf(text, sizeof text, "%.6g", byte / 255.0);
  return text;
}

class Deflater {
 public:
  Deflater() { ok_ = deflateInit(&stream_, Z_DEFAULT_COMPRESSION) == Z_OK; }
  ~Deflater() {
    if (ok_) deflateEnd(&stream_);
  }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  bool add(const std::uint8_t* data, std::size_t size, bool last, std::vector<std::uint8_t>& out) {
    if (!ok_) return false;
    stream_.next_in = const_cast<Bytef*>(data);
    stream_.avail_in = static_cast<uInt>(size);
    const int flush = last ? Z_FINISH : Z_NO_FLUSH;
    std::uint8_t chunk[16384];
    int status;
    do {
      stream_.next_out = chunk;
      stream_.avail_out = sizeof chunk;
      status = deflate(&stream_, flush);
      if (status == Z_STREAM_ERROR) return false;
      out.insert(out.end(), chunk, chunk + (sizeof chunk - stream_.avail_out));
    } while (stream_.avail_out == 0 || (last && status != Z_STREAM_END));
    return true;
  }

 private:
  z_stream stream_{};
  bool ok_ = false;
};

// Dots in points (1/72 inch), with two decimals: exact at 300 dots per inch, where a dot is
// 0.24 points (2480 dots are 595.2 points).
std::string points(int dots, int dotsPerInch) {
  const long hundredths = (static_cast<long>(dots) * 7200 + dotsPerInch / 2) / dotsPerInch;
  std::string text = std::to_string(hundredths / 100);
  const long fraction = hundredths % 100;
  if (fraction != 0) {
    text += '.';
    text += static_cast<char>('0' + fraction / 10);
    if (fraction % 10 != 0) text += static_cast<char>('0' + fraction % 10);
  }
  return text;
}

class Writer {
 public:
  explicit Writer(std::FILE* out) : out_(out) {}
  void text(const std::string& s) { bytes(s.data(), s.size()); }
  void bytes(const void* data, std::size_t size) {
    if (size != 0 && std::fwrite(data, 1, size, out_) != size) failed_ = true;
    offset_ += static_cast<long>(size);
  }
  void beginObject(int number) {
    if (static_cast<std::size_t>(number) >= offsets_.size()) offsets_.resize(number + 1, 0);
    offsets_[number] = offset_;
    text(std::to_string(number) + " 0 obj\n");
  }
  long offset() const { return offset_; }
  const std::vector<long>& offsets() const { return offsets_; }
  bool ok() const { return !failed_; }

 private:
  std::FILE* out_;
  long offset_ = 0;
  bool failed_ = false;
  std::vector<long> offsets_;
};

}  // namespace

bool PdfDocument::addPage(const gdi::Bitmap& page, const gdi::Rect& drawn,
                          const std::function<bool()>& keepGoing) {
  if (page.isEmpty()) return false;
  const gdi::Rect area = drawn.intersect(page.bounds());
  Page compressed{page.width(), page.height(), area, {}, {}};
  if (area.isEmpty()) {
    compressed.area = {};
    pages_.push_back(std::move(compressed));
    return true;
  }
  if (keepGoing && !keepGoing()) return false;
  if (addRectangles(page, area, compressed)) {
    pages_.push_back(std::move(compressed));
    return true;
  }
  Deflater deflater;
  std::vector<std::uint8_t> rows(static_cast<std::size_t>(area.width()) * 3 * kRowsPerRun);
  for (int top = area.top; top < area.bottom; top += kRowsPerRun) {
    if (keepGoing && !keepGoing()) return false;
    const int count = std::min(kRowsPerRun, area.bottom - top);
    std::uint8_t* out = rows.data();
    for (int y = top; y < top + count; ++y) {
      for (const std::uint32_t colour : std::span(page.row(y) + area.left, area.width())) {
        *out++ = static_cast<std::uint8_t>(colour);
        *out++ = static_cast<std::uint8_t>(colour >> 8);
        *out++ = static_cast<std::uint8_t>(colour >> 16);
      }
    }
    const bool last = top + count == area.bottom;
    if (!deflater.add(rows.data(), static_cast<std::size_t>(out - rows.data()), last,
                      compressed.image))
      return false;
  }
  pages_.push_back(std::move(compressed));
  return true;
}

bool PdfDocument::addRectangles(const gdi::Bitmap& page, const gdi::Rect& area, Page& out) const {
  // Runs of equal pixels in a row; a run equal to one of the row above makes its block taller.
  std::vector<Block> done;
  std::vector<Block> open;
  std::vector<Block> row;
  std::vector<Block> next;
  for (int y = area.top; y <= area.bottom; ++y) {
    row.clear();
    if (y < area.bottom) {
      const std::uint32_t* pixels = page.row(y);
      for (int x = area.left; x < area.right;) {
        const std::uint32_t colour = pixels[x];
        int end = x + 1;
        while (end < area.right && pixels[end] == colour) ++end;
        if (colour != kPaper) row.push_back({x, y, end, y + 1, colour});
        x = end;
      }
    }
    // Both lists are ordered by their left edges.
    next.clear();
    std::size_t above = 0;
    for (Block run : row) {
      while (above < open.size() && open[above].left < run.left) done.push_back(open[above++]);
      if (above < open.size() && open[above].left == run.left && open[above].right == run.right &&
          open[above].colour == run.colour) {
        run.top = open[above++].top;
      }
      next.push_back(run);
    }
    while (above < open.size()) done.push_back(open[above++]);
    open.swap(next);
    if (done.size() > kMaxRectangles) return false;
  }
  std::stable_sort(done.begin(), done.end(),
                   [](const Block& a, const Block& b) { return a.colour < b.colour; });
  // Printer pixels as the unit, y downwards from the page's top.
  const std::string pixel = points(1, dotsPerInch_);
  std::string text =
      pixel + " 0 0 -" + pixel + " 0 " + points(page.height(), dotsPerInch_) + " cm\n";
  for (std::size_t i = 0; i < done.size(); ++i) {
    const Block& b = done[i];
    if (i == 0 || done[i - 1].colour != b.colour) {
      if (i != 0) text += "f\n";
      text += component(b.colour & 0xFF) + " " + component((b.colour >> 8) & 0xFF) + " " +
              component((b.colour >> 16) & 0xFF) + " rg\n";
    }
    // A rasteriser counts a sample on a block's edge as inside it: each block stops a hundredth
    // of a pixel short on the right and at the bottom, so that it never shades the next pixel.
    text += std::to_string(b.left) + " " + std::to_string(b.top) + " " +
            std::to_string(b.right - b.left - 1) + ".99 " + std::to_string(b.bottom - b.top - 1) +
            ".99 re\n";
  }
  if (!done.empty()) text += "f\n";
  Deflater deflater;
  return deflater.add(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), true,
                      out.drawing);
}

bool PdfDocument::write(std::FILE* out) const {
  Writer w(out);
  w.text("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
  const int count = static_cast<int>(pages_.size());
  // Objects: 1 catalog, 2 page tree, then per page: page, contents, image.
  auto pageObject = [](int index) { return 3 + index * 3; };
  w.beginObject(1);
  w.text("<< /Type /Catalog /Pages 2 0 R >>\nendobj\n");
  w.beginObject(2);
  std::string kids;
  for (int i = 0; i < count; ++i) kids += std::to_string(pageObject(i)) + " 0 R ";
  w.text("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(count) + " >>\nendobj\n");
  for (int i = 0; i < count; ++i) {
    const Page& page = pages_[i];
    const int number = pageObject(i);
    const bool image = !page.area.isEmpty() && page.drawing.empty();
    w.beginObject(number);
    w.text("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + points(page.width, dotsPerInch_) + " " +
           points(page.height, dotsPerInch_) + "] /Resources << " +
           (image ? "/XObject << /Im0 " + std::to_string(number + 2) + " 0 R >> " : "") +
           ">> /Contents " + std::to_string(number + 1) + " 0 R >>\nendobj\n");
    // PDF's y axis points up from the bottom of the page.
    const std::string contents = image ? "q " + points(page.area.width(), dotsPerInch_) + " 0 0 " +
                                             points(page.area.height(), dotsPerInch_) + " " +
                                             points(page.area.left, dotsPerInch_) + " " +
                                             points(page.height - page.area.bottom, dotsPerInch_) +
                                             " cm /Im0 Do Q\n"
                                       : "";
    w.beginObject(number + 1);
    if (!page.drawing.empty()) {
      w.text("<< /Filter /FlateDecode /Length " + std::to_string(page.drawing.size()) +
             " >>\nstream\n");
      w.bytes(page.drawing.data(), page.drawing.size());
      w.text("\nendstream\nendobj\n");
    } else {
      w.text("<< /Length " + std::to_string(contents.size()) + " >>\nstream\n" + contents +
             "endstream\nendobj\n");
    }
    // Every page has its three objects, so that numbering stays simple; an empty page's image
    // object is an empty dictionary nothing refers to.
    w.beginObject(number + 2);
    if (!image) {
      w.text("<< >>\nendobj\n");
      continue;
    }
    w.text("<< /Type /XObject /Subtype /Image /Width " + std::to_string(page.area.width()) +
           " /Height " + std::to_string(page.area.height()) +
           " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Interpolate false /Filter /FlateDecode "
           "/Length " +
           std::to_string(page.image.size()) + " >>\nstream\n");
    w.bytes(page.image.data(), page.image.size());
    w.text("\nendstream\nendobj\n");
  }
  const long xref = w.offset();
  const std::size_t objects = w.offsets().size();
  w.text("xref\n0 " + std::to_string(objects) + "\n0000000000 65535 f \n");
  char entry[32];
  for (std::size_t i = 1; i < objects; ++i) {
    std::snprintf(entry, sizeof entry, "%010ld 00000 n \n", w.offsets()[i]);
    w.text(entry);
  }
  w.text("trailer\n<< /Size " + std::to_string(objects) + " /Root 1 0 R >>\nstartxref\n" +
         std::to_string(xref) + "\n%%EOF\n");
  return w.ok();
}

}  // namespace host
