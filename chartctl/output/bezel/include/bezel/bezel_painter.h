// Draws the chart's frame into a surface and fills what it leaves with the background. Each step
// shrinks the working rectangle by what it drew.
#pragma once

#include <cstdint>

#include "bezel/bezel_settings.h"
#include "gdi/device_context.h"
#include "gdi/geometry.h"

namespace kvplotax::bezel {

void drawOutline(gdi::DeviceContext& dc, const OutlineSettings& outline, gdi::Rect& work);

// One bevel band of width w: inset and raised styles draw; any other style leaves work as is.
void drawBevelBand(gdi::DeviceContext& dc, gdi::Rect& work, std::int32_t style, int width,
                   gdi::ColorRef light, gdi::ColorRef shadow);

// Outer bevel, border band and inner bevel.
void drawBevels(gdi::DeviceContext& dc, const BevelSettings& bevel, gdi::Rect& work);

// Outline then bevels and border.
void drawBezel(gdi::DeviceContext& dc, const OutlineSettings& outline, const BevelSettings& bevel,
               gdi::Rect& work);

void fillBackground(gdi::DeviceContext& dc, std::uint32_t backColor, const gdi::Rect& work);

}  // namespace kvplotax::bezel
