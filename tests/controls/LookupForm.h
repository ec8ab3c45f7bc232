// A test form that logs the lookup requests (WM_OPENWIN) it receives, the clicks of its
// buttons and the dialogs its edits ask for.
#pragma once

#include <string>

#include "controls/F2Button.h"
#include "ui/Forms.h"

namespace ox::test {

class TLookupForm : public TForm {
 public:
  OX_CLASS_INFO()
  explicit TLookupForm(TComponent* owner) : TForm(owner) { SetBounds(0, 0, 400, 300); }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_OPENWIN) {
      log += "openwin:" + reinterpret_cast<TComponent*>(lParam)->Name() + ":" +
             std::to_string(wParam) + " ";
      return 0;
    }
    return TForm::WindowProc(message, wParam, lParam);
  }
  void Clicked(TObject*) { log += "click "; }
  void Dialog(TObject* sender) {
    log += "dialog:" + static_cast<TComponent*>(sender)->Name() + " ";
  }

  std::string log;
};

inline const ClassInfo& TLookupForm::StaticClassInfo() {
  static const ClassInfo info =
      ClassBuilder<TLookupForm>("TLookupForm", &TForm::StaticClassInfo()).build();
  return info;
}

}  // namespace ox::test
