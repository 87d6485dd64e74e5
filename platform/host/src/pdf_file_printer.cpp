#include "pdf_file_printer.h"

#include "gdi/device_context.h"
#include "gdi/packed_dib.h"
#include "host/output_file.h"
#include "host/printers.h"
#include "replace_file.h"

namespace host {

namespace {

constexpr gdi::ColorRef kPaper = 0x00FFFFFF;

}  // namespace

PdfFilePrinter::PdfFilePrinter(std::filesystem::path path) : path_(std::move(path)) {}

int PdfFilePrinter::getDeviceCaps(int index) const {
  return printerDeviceCaps(index, kPdfPageWidth, kPdfPageHeight, kPdfDotsPerInch);
}

bool PdfFilePrinter::setAbortProc(std::function<bool()> proc) {
  abortProc_ = std::move(proc);
  return true;
}

int PdfFilePrinter::startDoc(const std::string&) {
  // A file that could never be written fails the document at once, not after the pages.
  if (state_ != State::kIdle || !replaceProblem(path_).empty()) return kError;
  document_.emplace(kPdfDotsPerInch);
  state_ = State::kDocument;
  return 1;
}

int PdfFilePrinter::startPage() {
  if (state_ == State::kAbandoned) return kAppAbort;
  if (state_ != State::kDocument) return kError;
  page_ = gdi::Bitmap(kPdfPageWidth, kPdfPageHeight, kPaper);
  if (page_.isEmpty()) return kError;
  drawn_ = {};
  state_ = State::kPage;
  return 1;
}

int PdfFilePrinter::stretchDIBits(int x, int y, int width, int height, int srcX, int srcY,
                                  int srcWidth, int srcHeight, const gdi::PackedDib& dib) {
  if (state_ != State::kPage) return 0;
  gdi::DeviceContext dc(&page_);
  const int rows = dc.stretchDIBits(x, y, width, height, srcX, srcY, srcWidth, srcHeight, dib);
  if (rows > 0) {
    const gdi::Rect area = gdi::Rect{x, y, x + width, y + height}.intersect(page_.bounds());
    drawn_ = drawn_.unite(area);
  }
  return rows;
}

int PdfFilePrinter::endPage() {
  if (state_ == State::kAbandoned) return kAppAbort;
  if (state_ != State::kPage) return kError;
  // The page is spooled a run of rows at a time, asking the abort procedure before each run
  // (and once for a page with nothing drawn).
  bool abandoned = abortProc_ && !abortProc_();
  const bool added = !abandoned && document_->addPage(page_, drawn_, [this, &abandoned] {
    abandoned = abortProc_ && !abortProc_();
    return !abandoned;
  });
  page_ = gdi::Bitmap();
  if (abandoned) {
    abortDoc();
    return kAppAbort;
  }
  if (!added) return kError;
  state_ = State::kDocument;
  return 1;
}

int PdfFilePrinter::endDoc() {
  if (state_ == State::kAbandoned) return kAppAbort;
  if (state_ != State::kDocument) return kError;
  const PdfDocument& document = *document_;
  const bool written =
      replaceFile(path_, [&document](std::FILE* out) { return document.write(out); });
  document_.reset();
  state_ = State::kIdle;
  return written ? 1 : kError;
}

int PdfFilePrinter::abortDoc() {
  document_.reset();
  page_ = gdi::Bitmap();
  state_ = State::kAbandoned;
  return 1;
}

}  // namespace host
