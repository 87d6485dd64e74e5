// The four wave-buffer helpers. They keep no state and may be called from any thread.
#include <cstring>

#include "xvaxtool.h"

namespace {

// Lengths travel as 32-bit fields but are compared as signed values, so a count with the top
// bit set reads as negative and is never taken for a huge positive size.
std::int32_t asSigned(std::uint32_t v) { return static_cast<std::int32_t>(v); }

}  // namespace

extern "C" {

uintptr_t GetAddress(const void* p) { return reinterpret_cast<uintptr_t>(p); }

int32_t FillWaveHeader(WAVEHDR* hdr, const void* src, int32_t len) {
  if (hdr == nullptr || src == nullptr || hdr->lpData == nullptr) return 0;
  if (len < 0 || len > asSigned(hdr->dwBufferLength)) return 0;
  if (len > 0) std::memmove(hdr->lpData, src, static_cast<std::size_t>(len));
  hdr->dwBytesRecorded = static_cast<std::uint32_t>(len);
  return 1;
}

int32_t CopyWaveHeader(const WAVEHDR* hdr, void* dest, int32_t len) {
  if (hdr == nullptr || dest == nullptr || hdr->lpData == nullptr) return 0;
  const std::int32_t recorded = asSigned(hdr->dwBytesRecorded);
  // A recorded count of 0 or less copies nothing, and reporting it as "bytes copied" would hand
  // the caller a negative size; a count beyond the buffer's capacity would read past it.
  if (recorded <= 0 || recorded > asSigned(hdr->dwBufferLength)) return 0;
  if (len < recorded) return 0;
  std::memmove(dest, hdr->lpData, static_cast<std::size_t>(recorded));
  return recorded;
}

int32_t ParseWaveHeader(const WAVEHDR* hdr) {
  if (hdr == nullptr) return 0;
  const std::int32_t recorded = asSigned(hdr->dwBytesRecorded);
  if (recorded > 0) return recorded;
  const std::int32_t capacity = asSigned(hdr->dwBufferLength);
  return capacity > 0 ? capacity : 0;
}

}  // extern "C"
