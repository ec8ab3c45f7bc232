// The binary interface between a host program and the MVAR52C plug-in.
//
// The host loads "MVAR52C.so" (or "MVAR52C.dll"), finds the exported C function
// "GetController" by name, and drives the plug-in only through the controller it
// returns: it writes the application object and the event handler, calls the virtual
// operations, reads the result members, and deletes the controller when it is done.
//
// Host and plug-in must be built with the same C++ toolchain and against the same
// ox_platform library (libox_platform.so), which they share at run time: the
// controller's layout, its table of virtual operations and ox::Variant cross the
// boundary as they are. The members and the order of the operations below are fixed.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Variant.h"

namespace ox {

class TDLLBaseController;

// The host's event handler: a function and the object it belongs to, called as
// Code(Data, code, controller). Assigned when Code is not null.
struct ControllerEvent {
  void (*Code)(void* data, std::int32_t code, TDLLBaseController* sender) = nullptr;
  void* Data = nullptr;
};

// Event codes delivered to OnEvent.
enum : std::int32_t {
  kEventFormCreated = 256,  // before the form is initialised
  kEventFormShown = 272,
  kEventFormHidden = 288,
  kEventFormDestroyed = 304,  // the result members are already filled
  kEventSignal = 320,         // raised only through SignalHost
};

class TDLLBaseController {
 public:
  virtual ~TDLLBaseController() = default;

  // 0..10: the form operations.
  virtual void GetVersion(std::u16string& version) = 0;
  virtual std::int32_t GetVisible() = 0;  // -1 visible, 0 not (or no form)
  virtual void SetVisible(std::int16_t value) = 0;
  virtual std::intptr_t GetHandle() = 0;
  // [user ID, company ID, database, host window handle, reserved] -> 0 or -1.
  virtual std::int32_t CreateForm(const Variant& params) = 0;
  virtual std::int32_t Execute(const Variant& params) = 0;
  virtual std::int32_t Notify(std::int32_t kind, const Variant& value) = 0;
  virtual void ShowFormModal(Variant& result) = 0;
  virtual void FreeForm() = 0;
  // [user ID, company ID, program code, program name] -> 0, or -1 without a form.
  virtual std::int32_t GetInfo(Variant& info) = 0;
  virtual bool IsFormFreed() = 0;
  // 11..17: the notifications.
  virtual void DoFormCreated();
  virtual void DoFormShow(void* sender);
  virtual void DoFormHide(void* sender);
  virtual void DoFormDestroy(void* sender);
  virtual void SignalHost();
  virtual void DoEvent(std::int32_t code);
  virtual void Reserved();

  // Written by the host before CreateForm.
  Variant ApplicationObject;
  // Written by the controller when the form is destroyed: 0 closed, 1 submitted,
  // 2 cancelled; and the server's reply after a submission.
  std::int32_t ResultCode = 0;
  Variant ResultValue;
  // Written by the host.
  ControllerEvent OnEvent;
};

}  // namespace ox

// The plug-in's one export: a new controller, owned by the caller. Raises (as a C++
// exception) when the plug-in's controller class is not set.
extern "C" ox::TDLLBaseController* GetController();
