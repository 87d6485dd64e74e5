// An input read at its own rate beside the wave input's: the samples a station recorder measures
// before the wave input converts them to the form's rate.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "xvtools/audio_source.h"
#include "xvtools/input_spec.h"

namespace xvtools {

// Receives each block of samples at the input's own rate, on the thread that reads the input,
// before the block is converted.
using NativeTap = std::function<void(std::span<const std::int16_t>)>;

// The rate an input is read at when asked for its own: a recording's rate, 96000 for the VLF
// signal, `wanted` for the plain synthetic signal, and for a sound card `wanted` when the device
// offers it, else 0. Throws AudioError when the input cannot be opened; a recording that is not
// a regular file (a pipe can be read only once) answers 0.
int inputOwnRate(const InputSpec& choice, int wanted);

// Opens the input at nativeRate, hands every block read to tap, and delivers it converted to
// sampleRate. stop as for openAudioSource.
std::unique_ptr<AudioSource> openTappedAudioSource(const InputSpec& choice, int nativeRate,
                                                   int sampleRate, NativeTap tap,
                                                   const std::atomic<bool>* stop = nullptr);

}  // namespace xvtools
