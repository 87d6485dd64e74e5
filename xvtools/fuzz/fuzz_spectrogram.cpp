// Hands arbitrary bytes to the spectrogram and the meter as a caller's wave buffer, under
// settings taken from the first bytes: any samples, any odd byte count, any length, window,
// palette, gain and switches draw columns without reading or writing out of bounds.
#include <cstdint>
#include <vector>

#include "xvtools/xv_meter.h"
#include "xvtools/xv_spectrogram.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  xvtools::XVSpectrogramX spectrogram(xvtools::XVSpectrogramX::kScaleWidth + 1 + data[0] % 64,
                                      2 + data[1] % 300);
  xvtools::XVMeterX meter;
  spectrogram.setFFTLength(64 << (data[2] % 6));
  spectrogram.setWindow(data[2] / 6 % 7);
  spectrogram.setPalette(data[3] % 8);
  spectrogram.setGain(data[3] / 8 % 3);
  spectrogram.setLogAmp(data[3] & 0x20);
  spectrogram.setEmboss(data[3] & 0x40);
  spectrogram.setDrawScale(data[3] & 0x80);
  spectrogram.setSampleRate(1 + data[1] * 700);
  std::vector<char> bytes(data + 4, data + size);
  WAVEHDR hdr{};
  hdr.lpData = bytes.data();
  hdr.dwBufferLength = static_cast<std::uint32_t>(bytes.size());
  hdr.dwBytesRecorded = hdr.dwBufferLength;
  spectrogram.bufferFilled(&hdr);
  meter.bufferFilled(&hdr);
  std::vector<std::uint32_t> image(std::size_t(spectrogram.width()) *
                                   std::size_t(spectrogram.height()));
  spectrogram.render(image);
  return 0;
}
