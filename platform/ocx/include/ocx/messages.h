// Window messages, key-state flags and clipboard formats a control receives or uses.
#pragma once

#include <cstdint>

namespace ocx {

constexpr unsigned kWmPaint = 0x000F;
constexpr unsigned kWmSetCursor = 0x0020;
constexpr unsigned kWmKeyDown = 0x0100;
constexpr unsigned kWmKeyUp = 0x0101;
constexpr unsigned kWmChar = 0x0102;
constexpr unsigned kWmTimer = 0x0113;
constexpr unsigned kWmMouseMove = 0x0200;
constexpr unsigned kWmLButtonDown = 0x0201;
constexpr unsigned kWmLButtonUp = 0x0202;
constexpr unsigned kWmLButtonDblClk = 0x0203;
constexpr unsigned kWmRButtonDown = 0x0204;
constexpr unsigned kWmRButtonUp = 0x0205;
constexpr unsigned kWmRButtonDblClk = 0x0206;
constexpr unsigned kWmMButtonDown = 0x0207;
constexpr unsigned kWmMButtonUp = 0x0208;
constexpr unsigned kWmMButtonDblClk = 0x0209;
// First number free for a control's own posted messages.
constexpr unsigned kWmUser = 0x0400;

constexpr unsigned kMkLButton = 0x01;
constexpr unsigned kMkRButton = 0x02;
constexpr unsigned kMkShift = 0x04;
constexpr unsigned kMkControl = 0x08;
constexpr unsigned kMkMButton = 0x10;

constexpr unsigned kCfBitmap = 2;
constexpr unsigned kCfDib = 8;

}  // namespace ocx
