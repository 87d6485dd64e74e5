#include <atomic>
#include <cmath>
#include <cstdio>
#include <limits>

#include "gdi/device_context.h"
#include "ocx/printing.h"
#include "output/dib_errors.h"
#include "output/printing.h"

namespace kvplotax::output {

namespace {

// The dialog and the spooler see at most this many characters of the job name.
constexpr std::size_t kDocumentNameCharacters = 31;
// Print rectangles stay far inside the range of the printer's pixel coordinates.
constexpr double kMaxPrintExtent = 1 << 30;

// One print job at a time in the process: a print started from the message loop of a running
// print would share the job's state, so it is refused instead. The job holds the turn from its
// first look until it returns.
class PrintTurn {
 public:
  PrintTurn() : taken_(!busy().exchange(true)) {}
  ~PrintTurn() {
    if (taken_) busy().store(false);
  }
  PrintTurn(const PrintTurn&) = delete;
  PrintTurn& operator=(const PrintTurn&) = delete;
  bool taken() const { return taken_; }

 private:
  static std::atomic<bool>& busy() {
    static std::atomic<bool> flag{false};
    return flag;
  }
  bool taken_;
};

int extent(double value) {
  if (!(value > 0)) return 0;
  return static_cast<int>(std::min(value, kMaxPrintExtent));
}

std::string format(const char* pattern, const std::string& a, const std::string& b = {}) {
  const int n = std::snprintf(nullptr, 0, pattern, a.c_str(), b.c_str());
  std::string text(static_cast<std::size_t>(std::max(n, 0)), '\0');
  std::snprintf(text.data(), text.size() + 1, pattern, a.c_str(), b.c_str());
  return text;
}

}  // namespace

std::string cutCharacters(std::string_view text, std::size_t maxCharacters) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Continuation bytes belong to the character before them.
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (count == maxCharacters) return std::string(text.substr(0, i));
    ++count;
  }
  return std::string(text);
}

gdi::Rect printRectangle(const ocx::PrinterDC& printer, int option, std::uint16_t xScale,
                         std::uint16_t yScale, int dibWidth, int dibHeight) {
  const int horzRes = printer.getDeviceCaps(gdi::HORZRES);
  const int vertRes = printer.getDeviceCaps(gdi::VERTRES);
  switch (option) {
    case kPrintBestFit: {
      const double logX = printer.getDeviceCaps(gdi::LOGPIXELSX);
      const double logY = printer.getDeviceCaps(gdi::LOGPIXELSY);
      const double height = static_cast<double>(dibHeight) * horzRes * logY / (dibWidth * logX);
      return {0, 0, horzRes, std::isfinite(height) ? extent(height) : 0};
    }
    case kPrintScale:
      return {0, 0, extent(static_cast<double>(dibWidth) * xScale),
              extent(static_cast<double>(dibHeight) * yScale)};
    default:
      return {0, 0, horzRes, vertRes};
  }
}

std::uint16_t drawBand(ocx::PrinterDC& printer, const gdi::Rect& print, const gdi::Rect& band,
                       bool graphics, const gdi::PackedDib& dib) {
  if (!graphics) return 0;
  const double xs = static_cast<double>(print.width()) / dib.width();
  const double ys = static_cast<double>(print.height()) / dib.height();
  const gdi::Rect c = print.intersect(band);
  if (c.isEmpty()) return 0;
  const int srcX = static_cast<int>((c.left - print.left) / xs + 0.5);
  const int srcTop = static_cast<int>((c.top - print.top) / ys + 0.5);
  const int srcBottom = static_cast<int>(c.height() / ys + srcTop + 0.5);
  const int srcWidth = static_cast<int>(c.width() / xs + srcX + 0.5) - srcX;
  // DIB rows are stored bottom-up, hence the source y.
  const int drawn =
      printer.stretchDIBits(c.left, c.top, c.width(), c.height(), srcX, dib.height() - srcBottom,
                            srcWidth, srcBottom - srcTop, dib);
  return drawn > 0 ? 0 : ERR_STRETCHDIBITS;
}

std::uint16_t PrintPackedDib(ocx::PrintServices* services, const gdi::PackedDib* dib, int option,
                             std::uint16_t xScale, std::uint16_t yScale, std::string_view jobName) {
  if (dib == nullptr) return ERR_INVALIDHANDLE;
  if (dib->bytes().empty() || dib->width() <= 0 || dib->height() <= 0) return ERR_LOCK;
  const PrintTurn turn;
  if (!turn.taken()) return ERR_STARTDOC;
  if (services == nullptr) return ERR_GETDC;
  const std::optional<ocx::PrinterEntry> entry = services->defaultPrinter();
  if (!entry || !entry->complete()) return ERR_GETDC;
  // Set by Cancel; the printer's abort procedure reads it as long as the printer lives.
  bool userAbort = false;
  std::unique_ptr<ocx::PrinterDC> printer = services->createPrinterDC(*entry);
  if (!printer) return ERR_GETDC;

  const gdi::Rect print =
      printRectangle(*printer, option, xScale, yScale, dib->width(), dib->height());

  // Cancel closes the dialog at once; the job notices at its next call of the abort procedure.
  std::unique_ptr<ocx::AbortDialog> dialog =
      services->createAbortDialog([&userAbort] { userAbort = true; });
  const std::string documentName = cutCharacters(jobName, kDocumentNameCharacters);
  if (dialog) {
    dialog->setItemText(ocx::kAbortItemPrinter, format("to %s on %s", entry->device, entry->port));
    dialog->setItemText(ocx::kAbortItemJob, format("Printing '%s'", documentName));
  }

  const bool installed = printer->setAbortProc([services, &userAbort] {
    while (!userAbort) {
      if (!services->dispatchOneMessage()) break;
    }
    return !userAbort;
  });
  if (!installed) return ERR_SETABORTPROC;
  if (printer->startDoc(documentName) < 1) return ERR_STARTDOC;

  // Banding is a path of printers that take their pages in bands on one old system only; every
  // printer here takes whole pages.
  if (printer->startPage() < 1) return ERR_STARTPAGE;
  if (dialog && !userAbort)
    dialog->setItemText(ocx::kAbortItemProgress, "Sending bitmap to printer...");
  std::uint16_t result = drawBand(*printer, print, print, true, *dib);
  // After a cancel the page is abandoned, not failed: the result stays the band's.
  if (printer->endPage() < 1 && !userAbort) result = ERR_ENDPAGE;

  if (!userAbort) {
    if (printer->endDoc() < 1) result = ERR_ENDDOC;
  } else {
    printer->abortDoc();
  }
  return result;
}

}  // namespace kvplotax::output
