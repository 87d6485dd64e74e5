// The file printer: pages of 2480 x 3508 printer pixels (A4 portrait at 300 dots per inch,
// printable to the edges) written as a PDF file when the document ends. Nothing is written for
// an abandoned document, and a failed write leaves no partial file.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include "gdi/bitmap.h"
#include "ocx/printing.h"
#include "pdf_document.h"

namespace host {

class PdfFilePrinter : public ocx::PrinterDC {
 public:
  explicit PdfFilePrinter(std::filesystem::path path);

  int getDeviceCaps(int index) const override;
  bool setAbortProc(std::function<bool()> proc) override;
  int startDoc(const std::string& documentName) override;
  int startPage() override;
  int stretchDIBits(int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                    int srcHeight, const gdi::PackedDib& dib) override;
  int endPage() override;
  int endDoc() override;
  int abortDoc() override;

 private:
  enum class State { kIdle, kDocument, kPage, kAbandoned };
  // The printing system's answer to a call on a job the abort procedure stopped.
  static constexpr int kAppAbort = -2;
  static constexpr int kError = -1;

  std::filesystem::path path_;
  std::function<bool()> abortProc_;
  State state_ = State::kIdle;
  std::optional<PdfDocument> document_;
  gdi::Bitmap page_;
  gdi::Rect drawn_;  // the part of the page drawn on
};

}  // namespace host
