// Hands arbitrary bytes to the spectrogram and the meter as a caller's wave buffer, under
// settings taken from the first bytes: any samples, any odd byte count, any length, window,
// palette, gain and switches draw columns without reading or writing out of bounds.
#include <cstdint>
#include <vector>

#include "xvtools/xv_meter.h"
#include "xvtools/xv_spectrogram.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  xvtools::XVSpectrogramX spec(xvtools::XVSpectrogramX::kScaleWidth + 1 + data[0] % 64,
                               2 + data[1] % 300);
  xvtools::XVMeterX meter;
  spec.setFFTLength(64 << (data[2] % 6));
  spec.setWindow(data[2] / 6 % 7);
  spec.setPalette(data[3] % 8);
  spec.setGain(data[3] / 8 % 3);
  spec.setLogAmp(data[3] & 0x20);
  spec.setEmboss(data[3] & 0x40);
  spec.setDrawScale(data[3] & 0x80);
  spec.setSampleRate(1 + data[1] * 700);
  std::vector<char> bytes(data + 4, data + size);
  WAVEHDR hdr{};
  hdr.lpData = bytes.data();
  hdr.dwBufferLength = static_cast<std::uint32_t>(bytes.size());
  hdr.dwBytesRecorded = hdr.dwBufferLength;
  spec.bufferFilled(&hdr);
  meter.bufferFilled(&hdr);
  std::vector<std::uint32_t> image(std::size_t(spec.width()) * std::size_t(spec.height()));
  spec.render(image);
  return 0;
}
