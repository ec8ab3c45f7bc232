// Push buttons. A click sets the parent form's ModalResult (when the button has one)
// and then fires OnClick, so a handler can still keep the form open. The press,
// release and Space handling are those of every button control (ui/ButtonControl.h).
// Enter clicks the focused button, or the Default button when no button has the focus;
// Escape clicks the Cancel button; the caption's accelerator clicks it.
#pragma once

#include <cstdint>

#include "ui/ButtonControl.h"
#include "ui/Dialogs.h"

namespace ox {

class TButton : public TButtonControl {
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
  bool DialogKey(std::uint16_t key, TShiftState shift) override;
  bool DialogChar(char key, TShiftState shift) override;

 protected:
  // Whether Enter clicks this button: the focused button does, and the Default button
  // while no button has the focus.
  bool TakesEnter() const;

 private:
  bool default_ = false;
  bool cancel_ = false;
  TModalResult modalResult_ = mrNone;
};

}  // namespace ox
