// The kHz scale at the left of a spectrogram: tick marks and figures in a built-in 5 x 7 pixel
// font (no font files, so the scale's pixels are the same everywhere), "kHz" in the top corner.
#pragma once

#include <cstddef>
#include <cstdint>

namespace xvtools {

inline constexpr std::uint32_t kScaleBackColor = 0x00000000;
inline constexpr std::uint32_t kScaleForeColor = 0x00FFFFFF;

// Draws into the strip of width x height pixels starting at pixels (rows top-down, stride in
// pixels). Row 0 of the plot (the bottom row) is 0 Hz, the top row half the sample rate.
void drawFrequencyScale(std::uint32_t* pixels, std::size_t stride, int width, int height,
                        int sampleRate);

// Spacing of the figures in kHz for the given half sample rate and plot height: the smallest
// 1-2-5 step whose figures stand at least kMinLabelSpacing pixels apart.
double labelStepKhz(double nyquistKhz, int height);
inline constexpr int kMinLabelSpacing = 24;

}  // namespace xvtools
