#include "plugin/DLLRPCtrller.h"

#include "net/SocketTransport.h"
#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/Library.h"
#include "platform/Machine.h"

namespace ox {

FormClassRef frmBaseGeneClass = nullptr;

namespace {

// A handler the form had before the controller hooked the event, called with the same
// sender.
void CallSaved(const TMethod& saved, void* sender) {
  const TNotifyEvent event(saved);
  event(static_cast<TObject*>(sender));
}

// 0 when the step returns, -1 when it raises: the host hears of no error.
template <typename Step>
std::int32_t ZeroUnlessRaises(Step&& step) {
  try {
    step();
    return 0;
  } catch (...) {
    return -1;
  }
}

}  // namespace

std::string PluginModulePath() {
  return GetModuleFileName(reinterpret_cast<const void*>(&PluginModulePath));
}

TDLLRPCtrller::~TDLLRPCtrller() {
  FreeForm();
}

void TDLLRPCtrller::GetVersion(std::u16string& version) {
  if (form_ != nullptr) version = MultiByteToWide(GetACP(), form_->Version);
}

std::int32_t TDLLRPCtrller::GetVisible() {
  return form_ != nullptr && form_->Visible() ? -1 : 0;
}

void TDLLRPCtrller::SetVisible(std::int16_t value) {
  if (form_ == nullptr) return;
  try {
    form_->SetVisible(value != 0);
    if (value != 0 && form_->WindowState() == TWindowState::wsMinimized)
      form_->SetWindowState(TWindowState::wsNormal);
    SetForegroundWindow(form_->Handle());
  } catch (...) {
    // The form's own show handlers failed; the host keeps driving it.
  }
}

std::intptr_t TDLLRPCtrller::GetHandle() {
  return form_ != nullptr ? reinterpret_cast<std::intptr_t>(form_->Handle()) : 0;
}

std::int32_t TDLLRPCtrller::CreateForm(const Variant& params) {
  if (form_ == nullptr) {
    if (frmBaseGeneClass == nullptr)
      throw Exception("QMX DLL Internal Error :\rNot Assign \"frmBaseGeneClass\" varible");
    // The form's server connection reaches a remote server over TCP.
    net::InstallSocketTransport();
    try {
      form_ = dynamic_cast<TfrmBaseGene*>(CreateFormOfClass(frmBaseGeneClass(), nullptr));
    } catch (const std::exception&) {
      return -1;
    }
    if (form_ == nullptr) return -1;
    form_->SetModulePath(PluginModulePath());
    form_->HostObject = ApplicationObject;
    DoFormCreated();
  }
  savedOnShow_ = form_->OnShow.Method();
  form_->OnShow = MakeMethod<&TDLLRPCtrller::FormShown>(this);
  savedOnHide_ = form_->OnHide.Method();
  form_->OnHide = MakeMethod<&TDLLRPCtrller::FormHidden>(this);
  savedOnDestroy_ = form_->OnDestroy.Method();
  form_->OnDestroy = MakeMethod<&TDLLRPCtrller::FormDestroyed>(this);
  try {
    return form_->InitForm(params) ? 0 : -1;
  } catch (const std::exception&) {
    return -1;
  }
}

std::int32_t TDLLRPCtrller::Execute(const Variant& params) {
  if (form_ == nullptr || params.isNull() || !params.isArray()) return -1;
  return ZeroUnlessRaises([&] { form_->HostRun(VarArrayOf({true, params[1]})); });
}

std::int32_t TDLLRPCtrller::Notify(std::int32_t kind, const Variant& value) {
  if (form_ == nullptr || (kind != 5 && kind != 9)) return -1;
  return ZeroUnlessRaises([&] { form_->HostRun(VarArrayOf({false, value})); });
}

void TDLLRPCtrller::ShowFormModal(Variant& result) {
  if (form_ == nullptr) {
    result = 2;
    return;
  }
  try {
    result = static_cast<std::int32_t>(form_->ShowModal());
  } catch (...) {
    result = 2;
  }
}

void TDLLRPCtrller::FreeForm() {
  if (form_ == nullptr || form_->IsDestroying()) return;
  try {
    form_->Free();  // OnDestroy forgets the form
  } catch (...) {
    // A destroy handler failed: the form is forgotten all the same.
  }
  form_ = nullptr;
}

std::int32_t TDLLRPCtrller::GetInfo(Variant& info) {
  if (form_ == nullptr) return -1;
  info = VarArrayOf(
      {form_->UserID, form_->CompanyID, UpperAscii(form_->ProgramCode), form_->ProgramName});
  return 0;
}

bool TDLLRPCtrller::IsFormFreed() {
  return form_ == nullptr;
}

void TDLLRPCtrller::DoFormShow(void* sender) {
  CallSaved(savedOnShow_, sender);
  DoEvent(kEventFormShown);
}

void TDLLRPCtrller::DoFormHide(void* sender) {
  CallSaved(savedOnHide_, sender);
  DoEvent(kEventFormHidden);
}

void TDLLRPCtrller::DoFormDestroy(void* sender) {
  if (form_ != nullptr) {
    ResultCode = static_cast<std::int32_t>(form_->ResultCode);
    ResultValue = form_->ResultValue;
    CallSaved(savedOnDestroy_, sender);
    DoEvent(kEventFormDestroyed);
  }
  form_ = nullptr;
}

}  // namespace ox
