// Printing a packed DIB on the default printer behind a progress dialog with Cancel, and
// printing a window as the screen shows it. Results are DibErrorCode values, 0 for success.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "gdi/geometry.h"
#include "gdi/packed_dib.h"

namespace ocx {
class PrintServices;
class PrinterDC;
}  // namespace ocx

namespace kvplotax::output {

// Print areas and placement options, as the control's interface numbers them.
inline constexpr int kPrintWindow = 1;
inline constexpr int kPrintClientArea = 2;
inline constexpr int kPrintBestFit = 1;
inline constexpr int kPrintStretchToPage = 2;
inline constexpr int kPrintScale = 3;

// What a print that could not even start its conversion returns (a surface without an image,
// or whose window has gone).
inline constexpr std::uint16_t kPrintNotDone = 0xFFFF;

// The first maxCharacters characters of a UTF-8 text (a character is never split).
std::string cutCharacters(std::string_view text, std::size_t maxCharacters);

// The page rectangle the image covers, at the top-left corner of the printable area: best fit
// fills the page width and keeps the aspect on printers with unequal resolutions; scale
// multiplies the image's size; stretch (and any other option) covers the printable area.
gdi::Rect printRectangle(const ocx::PrinterDC& printer, int option, std::uint16_t xScale,
                         std::uint16_t yScale, int dibWidth, int dibHeight);

// Draws the part of the print rectangle that lies in band; nothing when graphics is false.
std::uint16_t drawBand(ocx::PrinterDC& printer, const gdi::Rect& print, const gdi::Rect& band,
                       bool graphics, const gdi::PackedDib& dib);

// Prints dib on the default printer as one page. A null dib gives 20 (invalid handle).
std::uint16_t PrintPackedDib(ocx::PrintServices* services, const gdi::PackedDib* dib, int option,
                             std::uint16_t xScale, std::uint16_t yScale, std::string_view jobName);

// Captures the window (area 1 with its frame, area 2 its client area) from the screen and
// prints it. Window 0 gives 20; no capture gives 21.
std::uint16_t CaptureAndPrintWindow(ocx::PrintServices* services, std::uintptr_t window, int area,
                                    int option, std::uint16_t xScale, std::uint16_t yScale,
                                    std::string_view jobName);

// The screen's picture of a window area, clamped to the screen; empty when there is none.
gdi::Bitmap captureWindow(ocx::PrintServices& services, std::uintptr_t window, int area);

}  // namespace kvplotax::output
