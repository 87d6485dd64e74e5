// Builds the converter class that a dimension's data description and display mode call for.
#pragma once

#include <memory>
#include <span>

#include "gdi/geometry.h"
#include "render/converter_params.h"
#include "render/sample_converter.h"

namespace kvplotax {

// points is the channel's point buffer (ChnDspBufLen + 2 entries, or ChnDspBufLen when that
// is all there is); bufferLength is ChnDspBufLen, clamped to the buffer. The shape decides
// first (auto-increment needs no data type); a data type outside 0..7 yields no converter.
std::unique_ptr<SampleConverter> createSampleConverter(const ConverterParams& params,
                                                       std::span<gdi::Point> points,
                                                       std::int32_t bufferLength);

}  // namespace kvplotax
