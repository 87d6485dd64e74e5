// Qt's mouse and keyboard input in the platform's terms: window message numbers, MK_* key flags
// and virtual-key codes.
#pragma once

#include <Qt>

class QKeyEvent;

namespace host::qt {

constexpr unsigned kWmKeyDown = 0x0100;
constexpr unsigned kWmKeyUp = 0x0101;
constexpr unsigned kWmChar = 0x0102;

// MK_* flags of the buttons held and of Shift and Ctrl.
unsigned mouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
// The WM_*BUTTONDOWN, WM_*BUTTONUP or WM_*BUTTONDBLCLK message of a button; 0 for buttons the
// platform has no message for.
unsigned buttonMessage(Qt::MouseButton button, bool down, bool doubleClick);
// The virtual-key code of a key; 0 for keys without one.
int virtualKey(const QKeyEvent& event);

}  // namespace host::qt
