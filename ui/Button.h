// Push buttons. A click sets the parent form's ModalResult (when the button has one)
// and then fires OnClick, so a handler can still keep the form open. A mouse press
// first gives the button the focus, which runs OnExit of the control being left; when
// that handler keeps the focus, the release clicks nothing. Enter clicks the focused
// button, or the Default button when no button has the focus; Escape clicks the
// Cancel button; Space clicks the focused button; the caption's accelerator clicks it.
#pragma once

#include <cstdint>

#include "ui/Controls.h"
#include "ui/Dialogs.h"

namespace ox {

class TButton : public TWinControl {
 public:
  OX_CLASS_INFO()
  explicit TButton(TComponent* owner);

  bool Default() const { return default_; }
  void SetDefault(bool value) { default_ = value; }
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }

  void Click() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  bool DialogKey(std::uint16_t key, TShiftState shift) override;
  bool DialogChar(char key, TShiftState shift) override;

 protected:
  void DefaultKeyDown(std::uint16_t key, TShiftState shift) override;
  // Whether Enter clicks this button: the focused button does, and the Default button
  // while no button has the focus.
  bool TakesEnter() const;

 private:
  bool default_ = false;
  bool cancel_ = false;
  TModalResult modalResult_ = mrNone;
  bool pressed_ = false;  // a left press the release may complete into a click
};

}  // namespace ox
