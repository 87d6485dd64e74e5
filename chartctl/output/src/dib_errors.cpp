#include "output/dib_errors.h"

#include <array>
#include <string>

#include "ocx/control_site.h"

namespace kvplotax::output {

namespace {

constexpr std::array<std::string_view, 22> kTexts = {
    "Not a Windows DIB file!",
    "Couldn't allocate memory!",
    "Error reading file!",
    "Error locking memory!",
    "Error opening file!",
    "Error creating palette!",
    "Error getting a DC!",
    "Error creating Device Dependent Bitmap",
    "StretchBlt() failed!",
    "StretchDIBits() failed!",
    "SetDIBitsToDevice() failed!",
    "Printer: StartDoc failed!",
    "Printing: GetModuleHandle() couldn't find GDI!",
    "Printer: SetAbortProc failed!",
    "Printer: StartPage failed!",
    "Printer: NEWFRAME failed!",
    "Printer: EndPage failed!",
    "Printer: EndDoc failed!",
    "SetDIBits() failed!",
    "File Not Found!",
    "Invalid Handle",
    "General Error on call to DIB function",
};

}  // namespace

std::string_view dibErrorText(int code) {
  if (code < 0 || code >= static_cast<int>(kTexts.size())) return "Undefined Error!";
  return kTexts[static_cast<std::size_t>(code)];
}

void showDibError(ocx::ControlSite* site, int code) {
  if (site) site->showMessage("", std::string(dibErrorText(code)));
}

}  // namespace kvplotax::output
