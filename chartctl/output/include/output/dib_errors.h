// Result codes of the bitmap and print routines, and the texts shown for them.
#pragma once

#include <cstdint>
#include <string_view>

namespace ocx {
class ControlSite;
}

namespace kvplotax::output {

enum DibErrorCode : std::int16_t {
  ERR_NOT_DIB = 0,
  ERR_MEMORY = 1,
  ERR_READ = 2,
  ERR_LOCK = 3,
  ERR_OPEN = 4,
  ERR_CREATEPAL = 5,
  ERR_GETDC = 6,
  ERR_CREATEDDB = 7,
  ERR_STRETCHBLT = 8,
  ERR_STRETCHDIBITS = 9,
  ERR_SETDIBITSTODEVICE = 10,
  ERR_STARTDOC = 11,
  ERR_NOGDIMODULE = 12,
  ERR_SETABORTPROC = 13,
  ERR_STARTPAGE = 14,
  ERR_NEWFRAME = 15,
  ERR_ENDPAGE = 16,
  ERR_ENDDOC = 17,
  ERR_SETDIBITS = 18,
  ERR_FILENOTFOUND = 19,
  ERR_INVALIDHANDLE = 20,
  ERR_DIBFUNCTION = 21,
};

// The text of a code; "Undefined Error!" for any number outside 0..21.
std::string_view dibErrorText(int code);

// A stop-icon message box with the code's text and the system's default caption.
void showDibError(ocx::ControlSite* site, int code);

}  // namespace kvplotax::output
