// Reads an input on a second thread while the caller works on what was read: decoding and
// resampling a recording go on one core while its transforms are computed on the other.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>

#include "xvtools/audio_source.h"

namespace spectrograph {

// Hands consume() the input's samples in order, at most limit of them, until the input ends,
// stop (when given) is set or consume() returns false. An error reading the input is thrown here,
// after what was read before it has been consumed.
void readAhead(xvtools::AudioSource& source, std::uint64_t limit, const std::atomic<bool>* stop,
               const std::function<bool(std::span<const std::int16_t>)>& consume);

}  // namespace spectrograph
