#include "plugin/DLLBaseCtrller.h"

#include "platform/Exceptions.h"

namespace ox {

ControllerFactory DLLControllerClass = nullptr;

void TDLLBaseController::DoFormCreated() {
  DoEvent(kEventFormCreated);
}

void TDLLBaseController::DoFormShow(void*) {
  DoEvent(kEventFormShown);
}

void TDLLBaseController::DoFormHide(void*) {
  DoEvent(kEventFormHidden);
}

void TDLLBaseController::DoFormDestroy(void*) {
  DoEvent(kEventFormDestroyed);
}

void TDLLBaseController::SignalHost() {
  DoEvent(kEventSignal);
}

void TDLLBaseController::DoEvent(std::int32_t code) {
  if (OnEvent.Code != nullptr) OnEvent.Code(OnEvent.Data, code, this);
}

void TDLLBaseController::Reserved() {}

}  // namespace ox

extern "C" __attribute__((visibility("default"))) ox::TDLLBaseController* GetController() {
  if (ox::DLLControllerClass == nullptr)
    throw ox::Exception("QMX DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible");
  return ox::DLLControllerClass();
}
