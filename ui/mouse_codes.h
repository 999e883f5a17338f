#pragma once
// The button and shift codes that the window's press handlers take, as the design numbers them.

#include <Qt>

namespace velmaro::ui {

// 1 left, 2 right, 4 middle, 8 and 16 the extra buttons, 0 any other.
int ButtonCode(Qt::MouseButton button);
// 1 Shift, 2 Ctrl, 4 Alt, added up.
int ShiftCode(Qt::KeyboardModifiers modifiers);

}  // namespace velmaro::ui
