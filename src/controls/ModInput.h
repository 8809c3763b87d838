#pragma once

#include <Qt>

class QKeyEvent;

// The numbers control events carry for mouse buttons, shift state and keys:
// buttons 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt; key codes
// are the desktop's virtual-key codes (letters and digits are their upper-case
// ASCII codes).
namespace ModInput {

int ButtonCode(Qt::MouseButtons buttons);
int ShiftCode(Qt::KeyboardModifiers modifiers);
int KeyCode(const QKeyEvent* event);
// The character code of a key that types a character, or 0.
int KeyAscii(const QKeyEvent* event);

} // namespace ModInput
