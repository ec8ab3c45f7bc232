// Focusing a control the way the window manager does on a mouse press or an
// accelerator: quietly, and only when the control can have the focus.
#pragma once

namespace ox {

class TWinControl;

// Whether `control` can have the focus now: its form showing and enabled, the control
// and its parents visible and enabled.
bool CanTakeFocus(const TWinControl& control);
// Focuses `control` when it can have the focus; answers whether the control has the
// focus afterwards (an OnExit of the control being left may keep the focus there).
bool TakeFocus(TWinControl& control);

}  // namespace ox
