// The plug-in library's start-up block: the controller class the export makes and the
// report form class the controller creates.
#include "plugin/DLLRPCtrller.h"
#include "report/MVAR52CF.h"

namespace ox {
namespace {

TDLLBaseController* MakeController() {
  return new TDLLRPCtrller();
}

struct StartUp {
  StartUp() {
    DLLControllerClass = &MakeController;
    frmBaseGeneClass = &TfrmMVAR52::StaticClassInfo;
  }
};
const StartUp startUp;

}  // namespace
}  // namespace ox
