// The controller's base and the class variable naming the controller class the export
// makes.
#pragma once

#include "plugin/include/MVAR52Controller.h"

namespace ox {

// Makes a controller of the plug-in's controller class; set while the library loads.
using ControllerFactory = TDLLBaseController* (*)();
extern ControllerFactory DLLControllerClass;

}  // namespace ox
